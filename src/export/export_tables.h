// What each exported measurement contributes, by tool code and view: the spreadsheet's ten
// columns and the report's name and value lines. Every value is one of the record's label
// texts as drawn, or the continuous line's total ("T:" sum). Kinds that the tables do not list
// (labels, text, edge checks) export nothing. Constant tables; any thread.
#pragma once

#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "canvas/record_rules.h"
#include "measure/measure_record.h"

namespace lensora {

inline constexpr int kSheetColumns = 10;
using SheetRow = std::array<std::string, kSheetColumns>;

// "measuring objective", "Length", ..., "Girth", then "Arc" (still) or "Arc-length" (live).
SheetRow SheetHeader(RecordScheme scheme);

// The row of a record: its tool name, then the label texts in their columns; nullopt for
// kinds that add no row.
std::optional<SheetRow> SheetRowOf(const MeasureRecord& record, RecordScheme scheme, int decimals,
                                   std::string_view unit);

struct ReportGroup {
    std::string name;                 // the tool name line
    std::vector<std::string> values;  // caption directly followed by the label ("Length:L:1mm")
};

// The report lines of a record; nullopt for kinds that write nothing.
std::optional<ReportGroup> ReportGroupOf(const MeasureRecord& record, RecordScheme scheme,
                                         int decimals, std::string_view unit);

// The continuous line's "T:%.*f%s" total of the segment labels (labels[j / 2 - 1] for every
// even j from 2 to n - 1, n points); empty when the sum is 0.
std::string ContinuousTotalText(const MeasureRecord& record, int decimals, std::string_view unit);

}  // namespace lensora
