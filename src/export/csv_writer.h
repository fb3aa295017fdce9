// The spreadsheet export as delimited text (CSV, RFC 4180): UTF-8 with a byte order mark so
// that spreadsheet programs show µ and ° correctly, comma separated, CRLF line ends, a cell
// quoted when it holds a comma, quote, line break or leading/trailing blank. The previous file
// is kept as "<name>.bak". Plain functions.
#pragma once

#include <string>
#include <string_view>

#include "canvas/record_rules.h"
#include "export/export_file.h"
#include "export/export_result.h"
#include "export/export_scale.h"
#include "measure/record_lists.h"

namespace lensora {

// One cell as CSV writes it.
std::string CsvCell(std::string_view text);

// The whole file: BOM, header row, one row per exportable record.
std::string BuildCsv(const RecordList& records, RecordScheme scheme, const ExportScale& scale);

ExportResult ExportCsv(const std::string& path, const RecordList& records, RecordScheme scheme,
                       const ExportScale& scale, const FileSeam& seam = SystemFileSeam());

}  // namespace lensora
