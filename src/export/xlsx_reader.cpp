#include "export/xlsx_reader.h"

#include <pugixml.hpp>

#include <algorithm>
#include <charconv>
#include <map>

#include "export/zip_package.h"

namespace lensora {
namespace {

// Excel's limits: 1,048,576 rows and 16,384 columns.
constexpr int kMaxRows = 1 << 20;
constexpr int kMaxCols = 1 << 14;

bool LoadXml(pugi::xml_document& doc, const std::optional<std::string>& text) {
    return text &&
           doc.load_buffer(text->data(), text->size(), pugi::parse_default, pugi::encoding_utf8);
}

// Workbooks write characters that XML cannot hold (control characters) as "_xHHHH_".
std::string DecodeEscapes(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '_' && i + 6 < s.size() && s[i + 1] == 'x' && s[i + 6] == '_') {
            unsigned code = 0;
            const char* digits = s.data() + i + 2;
            const auto [end, ec] = std::from_chars(digits, digits + 4, code, 16);
            if (ec == std::errc() && end == digits + 4 && code < 0x80) {
                out += static_cast<char>(code);
                i += 6;
                continue;
            }
        }
        out += s[i];
    }
    return out;
}

// The text of a shared string or an inline string: its <t> elements, rich-text runs joined,
// phonetic hints left out.
std::string StringItemText(const pugi::xml_node& item) {
    std::string text;
    for (pugi::xml_node child : item.children()) {
        const std::string_view name = child.name();
        if (name == "t") {
            text += child.text().get();
        } else if (name == "r") {
            text += child.child("t").text().get();
        }
    }
    return DecodeEscapes(text);
}

std::string ResolveTarget(std::string_view target) {
    if (!target.empty() && target.front() == '/') {
        return std::string(target.substr(1));
    }
    return "xl/" + std::string(target);
}

}  // namespace

std::string SheetData::At(int row, int col) const {
    for (const SheetCell& c : cells) {
        if (c.row == row && c.col == col) {
            return c.text;
        }
    }
    return {};
}

int SheetData::RowCount() const {
    int rows = 0;
    for (const SheetCell& c : cells) {
        rows = std::max(rows, c.row + 1);
    }
    return rows;
}

const SheetData* WorkbookData::Find(std::string_view name) const {
    for (const SheetData& s : sheets) {
        if (s.name == name) {
            return &s;
        }
    }
    return nullptr;
}

bool ParseCellReference(std::string_view ref, int& row, int& col) {
    std::size_t i = 0;
    long c = 0;
    while (i < ref.size() && ref[i] >= 'A' && ref[i] <= 'Z') {
        c = c * 26 + (ref[i] - 'A' + 1);
        if (c > kMaxCols) {
            return false;
        }
        ++i;
    }
    if (i == 0 || i == ref.size()) {
        return false;
    }
    long r = 0;
    for (; i < ref.size(); ++i) {
        if (ref[i] < '0' || ref[i] > '9') {
            return false;
        }
        r = r * 10 + (ref[i] - '0');
        if (r > kMaxRows) {
            return false;
        }
    }
    if (r == 0) {
        return false;
    }
    row = static_cast<int>(r - 1);
    col = static_cast<int>(c - 1);
    return true;
}

std::optional<WorkbookData> ReadXlsx(const std::string& bytes, std::string* error) {
    const auto fail = [error](const char* why) -> std::optional<WorkbookData> {
        if (error != nullptr) {
            *error = why;
        }
        return std::nullopt;
    };
    ZipReader zip(bytes);
    if (!zip.Valid()) {
        return fail("not a zip package");
    }
    pugi::xml_document workbook;
    pugi::xml_document rels;
    if (!LoadXml(workbook, zip.Read("xl/workbook.xml")) ||
        !LoadXml(rels, zip.Read("xl/_rels/workbook.xml.rels"))) {
        return fail("no workbook in the package");
    }
    std::map<std::string, std::string> targets;
    for (pugi::xml_node r : rels.child("Relationships").children("Relationship")) {
        targets[r.attribute("Id").value()] = ResolveTarget(r.attribute("Target").value());
    }
    std::vector<std::string> shared;
    pugi::xml_document sst;
    if (LoadXml(sst, zip.Read("xl/sharedStrings.xml"))) {
        for (pugi::xml_node si : sst.child("sst").children("si")) {
            shared.push_back(StringItemText(si));
        }
    }

    WorkbookData data;
    for (pugi::xml_node s : workbook.child("workbook").child("sheets").children("sheet")) {
        SheetData sheet;
        sheet.name = s.attribute("name").value();
        const auto target = targets.find(s.attribute("r:id").value());
        if (target == targets.end()) {
            return fail("a sheet without its part");
        }
        pugi::xml_document part;
        if (!LoadXml(part, zip.Read(target->second))) {
            return fail("a sheet that cannot be read");
        }
        for (pugi::xml_node row : part.child("worksheet").child("sheetData").children("row")) {
            for (pugi::xml_node c : row.children("c")) {
                SheetCell cell;
                if (!ParseCellReference(c.attribute("r").value(), cell.row, cell.col)) {
                    return fail("a cell without a valid reference");
                }
                const std::string_view type = c.attribute("t").value();
                if (type == "s") {
                    const unsigned long index = c.child("v").text().as_ullong(~0ull);
                    if (index >= shared.size()) {
                        return fail("a shared string that does not exist");
                    }
                    cell.text = shared[index];
                } else if (type == "inlineStr") {
                    cell.text = StringItemText(c.child("is"));
                } else {
                    cell.text = c.child("v").text().get();
                    cell.number = type.empty() || type == "n";
                }
                if (!cell.text.empty()) {
                    sheet.cells.push_back(std::move(cell));
                }
            }
        }
        data.sheets.push_back(std::move(sheet));
    }
    if (data.sheets.empty()) {
        return fail("a workbook without sheets");
    }
    return data;
}

}  // namespace lensora
