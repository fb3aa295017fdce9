// Reads the cell values of an Office Open XML workbook (xlsx): every sheet's name and its
// cells as text, numbers flagged as such. Formatting, formulas and everything else is not
// read. Used to keep the previous export as a backup sheet, and by tests to read exports back.
// Plain functions; any thread.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lensora {

struct SheetCell {
    int row = 0;  // 0-based
    int col = 0;  // 0-based
    std::string text;
    bool number = false;  // a numeric cell; `text` holds its value as stored
};

struct SheetData {
    std::string name;
    std::vector<SheetCell> cells;  // in the order of the sheet's XML (row by row)

    // The cell's text, "" when the cell is empty or missing.
    std::string At(int row, int col) const;
    // One past the last row that holds a cell (0 for an empty sheet).
    int RowCount() const;
};

struct WorkbookData {
    std::vector<SheetData> sheets;  // in the workbook's order

    const SheetData* Find(std::string_view name) const;
};

// The workbook in `bytes`, or nullopt with `error` set when they are not a readable workbook.
std::optional<WorkbookData> ReadXlsx(const std::string& bytes, std::string* error = nullptr);

// "A1"-style reference -> 0-based row and column; false when it is not one.
bool ParseCellReference(std::string_view ref, int& row, int& col);

}  // namespace lensora
