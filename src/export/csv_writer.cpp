#include "export/csv_writer.h"

#include "base/utf.h"
#include "export/export_tables.h"

namespace lensora {
namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";

void AppendRow(std::string& out, const SheetRow& row) {
    for (std::size_t c = 0; c < row.size(); ++c) {
        if (c > 0) {
            out += ',';
        }
        out += CsvCell(row[c]);
    }
    out += "\r\n";
}

}  // namespace

std::string CsvCell(std::string_view raw) {
    std::string text = IsValidUtf8(raw) ? std::string(raw) : Utf16ToUtf8(Utf8ToUtf16(raw));
    // Control characters other than line breaks and tabs have no meaning in a cell and upset
    // some readers; they become blanks.
    for (char& ch : text) {
        const auto u = static_cast<unsigned char>(ch);
        if ((u < 0x20 && ch != '\n' && ch != '\r' && ch != '\t') || u == 0x7F) {
            ch = ' ';
        }
    }
    const bool quote = text.find_first_of(",\"\r\n") != std::string::npos ||
                       (!text.empty() && (text.front() == ' ' || text.back() == ' ' ||
                                          text.front() == '\t' || text.back() == '\t'));
    if (!quote) {
        return text;
    }
    std::string out = "\"";
    for (char ch : text) {
        if (ch == '"') {
            out += '"';
        }
        out += ch;
    }
    out += '"';
    return out;
}

std::string BuildCsv(const RecordList& records, RecordScheme scheme, const ExportScale& scale) {
    std::string out(kBom);
    AppendRow(out, SheetHeader(scheme));
    for (const auto& record : records.records) {
        if (auto row = SheetRowOf(*record, scheme, scale.decimals, scale.unit)) {
            AppendRow(out, *row);
        }
    }
    return out;
}

ExportResult ExportCsv(const std::string& path, const RecordList& records, RecordScheme scheme,
                       const ExportScale& scale, const FileSeam& seam) {
    const std::string bytes = BuildCsv(records, scheme, scale);
    if (FileExists(path)) {
        const auto previous = ReadWholeFile(path);
        if (!previous) {
            return ExportResult::Failed("the existing file cannot be read to keep a copy");
        }
        if (auto why = SaveFileAtomically(path + ".bak", *previous, seam)) {
            return ExportResult::Failed("the copy of the existing file cannot be kept: " + *why);
        }
    }
    if (auto why = SaveFileAtomically(path, bytes, seam)) {
        return ExportResult::Failed(*why);
    }
    return ExportResult::Saved();
}

}  // namespace lensora
