#include "export/xlsx_writer.h"

#include <unistd.h>
#include <xlsxwriter.h>

#include <charconv>
#include <cstdlib>
#include <filesystem>

#include "base/utf.h"
#include "export/export_tables.h"

namespace lensora {
namespace {

// The longest text a cell takes.
constexpr std::size_t kMaxCellBytes = 32767;

// Valid UTF-8 of at most kMaxCellBytes bytes, cut at a character boundary.
std::string CellText(std::string_view text) {
    std::string s = IsValidUtf8(text) ? std::string(text) : Utf16ToUtf8(Utf8ToUtf16(text));
    if (s.size() > kMaxCellBytes) {
        std::size_t cut = kMaxCellBytes;
        while (cut > 0 && (static_cast<unsigned char>(s[cut]) & 0xC0) == 0x80) {
            --cut;
        }
        s.resize(cut);
    }
    return s;
}

// A temporary file for the library to write to; removed when this goes.
struct TempFile {
    std::string path;
    TempFile() {
        std::error_code ec;
        std::string dir = std::filesystem::temp_directory_path(ec).string();
        if (ec || dir.empty()) {
            dir = "/tmp";
        }
        std::string pattern = dir + "/lensora-xlsx-XXXXXX";
        const int fd = ::mkstemp(pattern.data());
        if (fd >= 0) {
            ::close(fd);
            path = pattern;
        }
    }
    ~TempFile() {
        if (!path.empty()) {
            ::unlink(path.c_str());
        }
    }
};

}  // namespace

SheetData ExportSheet(const RecordList& records, RecordScheme scheme, const ExportScale& scale) {
    SheetData sheet;
    sheet.name = std::string(kExportSheetName);
    const auto addRow = [&sheet](int row, const SheetRow& cells) {
        for (int c = 0; c < kSheetColumns; ++c) {
            if (!cells[static_cast<std::size_t>(c)].empty()) {
                sheet.cells.push_back({row, c, cells[static_cast<std::size_t>(c)], false});
            }
        }
    };
    addRow(0, SheetHeader(scheme));
    int row = 1;
    for (const auto& record : records.records) {
        if (auto cells = SheetRowOf(*record, scheme, scale.decimals, scale.unit)) {
            addRow(row++, *cells);
        }
    }
    return sheet;
}

std::optional<std::string> BuildXlsx(const std::vector<SheetData>& sheets, std::string* error) {
    const auto fail = [error](std::string why) -> std::optional<std::string> {
        if (error != nullptr) {
            *error = std::move(why);
        }
        return std::nullopt;
    };
    TempFile temp;
    if (temp.path.empty()) {
        return fail("no temporary file for the workbook");
    }
    lxw_workbook* workbook = workbook_new(temp.path.c_str());
    if (workbook == nullptr) {
        return fail("the workbook cannot be created");
    }
    for (const SheetData& sheet : sheets) {
        lxw_worksheet* ws = workbook_add_worksheet(workbook, sheet.name.c_str());
        if (ws == nullptr) {
            workbook_close(workbook);
            return fail("the sheet \"" + sheet.name + "\" cannot be added");
        }
        for (const SheetCell& cell : sheet.cells) {
            const auto row = static_cast<lxw_row_t>(cell.row);
            const auto col = static_cast<lxw_col_t>(cell.col);
            double value = 0.0;
            const char* end = cell.text.data() + cell.text.size();
            const bool isNumber =
                cell.number && std::from_chars(cell.text.data(), end, value).ptr == end;
            const lxw_error err =
                isNumber
                    ? worksheet_write_number(ws, row, col, value, nullptr)
                    : worksheet_write_string(ws, row, col, CellText(cell.text).c_str(), nullptr);
            if (err != LXW_NO_ERROR) {
                workbook_close(workbook);
                return fail(lxw_strerror(err));
            }
        }
    }
    const lxw_error err = workbook_close(workbook);
    if (err != LXW_NO_ERROR) {
        return fail(lxw_strerror(err));
    }
    auto bytes = ReadWholeFile(temp.path);
    if (!bytes || bytes->empty()) {
        return fail("the workbook cannot be read back");
    }
    return bytes;
}

std::vector<SheetData> MergeWithPrevious(SheetData fresh, const WorkbookData* previous) {
    std::vector<SheetData> out;
    const SheetData* oldExport = previous != nullptr ? previous->Find(kExportSheetName) : nullptr;
    if (oldExport == nullptr) {
        out.push_back(std::move(fresh));
        if (previous != nullptr) {
            out.insert(out.end(), previous->sheets.begin(), previous->sheets.end());
        }
        return out;
    }
    for (const SheetData& sheet : previous->sheets) {
        if (sheet.name == kExportSheetName) {
            out.push_back(std::move(fresh));
            SheetData backup = sheet;
            backup.name = std::string(kBackupSheetName);
            out.push_back(std::move(backup));
        } else if (sheet.name != kBackupSheetName) {
            out.push_back(sheet);
        }
    }
    return out;
}

ExportResult ExportXlsx(const std::string& path, const RecordList& records, RecordScheme scheme,
                        const ExportScale& scale, const ReplaceQuestion& askReplace,
                        const FileSeam& seam) {
    std::optional<WorkbookData> previous;
    if (FileExists(path)) {
        std::string why = "the file cannot be read";
        if (auto bytes = ReadWholeFile(path)) {
            previous = ReadXlsx(*bytes, &why);
        }
        if (!previous && !(askReplace && askReplace(why))) {
            return ExportResult::Cancelled();
        }
    }
    std::string error;
    const auto bytes = BuildXlsx(
        MergeWithPrevious(ExportSheet(records, scheme, scale), previous ? &*previous : nullptr),
        &error);
    if (!bytes) {
        return ExportResult::Failed(error);
    }
    if (auto why = SaveFileAtomically(path, *bytes, seam)) {
        return ExportResult::Failed(*why);
    }
    return ExportResult::Saved();
}

}  // namespace lensora
