// The spreadsheet export as an Office Open XML workbook (xlsx) written with libxlsxwriter:
// sheet "ExportData" with the view's header row and one row of text cells per exportable
// record. Exporting again to an existing workbook keeps its previous "ExportData" as
// "CSpreadSheetBackup" and the values of its other sheets (their formatting is not kept);
// a file that is not a readable workbook is replaced only when the caller agrees.
// Plain functions; one export at a time per target file.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "canvas/record_rules.h"
#include "export/export_file.h"
#include "export/export_result.h"
#include "export/export_scale.h"
#include "export/xlsx_reader.h"
#include "measure/record_lists.h"

namespace lensora {

inline constexpr std::string_view kExportSheetName = "ExportData";
inline constexpr std::string_view kBackupSheetName = "CSpreadSheetBackup";

// The "ExportData" sheet of a record list: header row, then one row per exportable record.
SheetData ExportSheet(const RecordList& records, RecordScheme scheme, const ExportScale& scale);

// The workbook of `sheets` in their order, every text cell as a string and number cells as
// numbers; nullopt with `error` set when the library fails.
std::optional<std::string> BuildXlsx(const std::vector<SheetData>& sheets, std::string* error);

// The sheets to write when `fresh` replaces "ExportData" of the workbook `previous`.
std::vector<SheetData> MergeWithPrevious(SheetData fresh, const WorkbookData* previous);

// Asked when the target exists but is not a readable workbook; true replaces it.
using ReplaceQuestion = std::function<bool(std::string_view reason)>;

ExportResult ExportXlsx(const std::string& path, const RecordList& records, RecordScheme scheme,
                        const ExportScale& scale, const ReplaceQuestion& askReplace,
                        const FileSeam& seam = SystemFileSeam());

}  // namespace lensora
