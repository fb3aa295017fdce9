#include "export/export_tables.h"

#include <algorithm>

#include "measure/measured_values.h"

namespace lensora {
namespace {

constexpr int kNone = -1;
constexpr int kTotal = -2;  // the continuous line's total instead of a label

// Label index per column 2..10 (Length, Radius1, Radius2, Width, Height, Area, Angle, Girth,
// Arc); kNone leaves the cell empty.
using Cells = std::array<int, kSheetColumns - 1>;

struct SheetEntry {
    std::array<int, 4> kinds;  // 0 ends the list
    std::string_view name;
    Cells cells;
};

constexpr Cells kLength{0, kNone, kNone, kNone, kNone, kNone, kNone, kNone, kNone};
constexpr Cells kTotalLength{kTotal, kNone, kNone, kNone, kNone, kNone, kNone, kNone, kNone};
constexpr Cells kCircle{kNone, 1, kNone, kNone, kNone, 0, kNone, 2, kNone};
constexpr Cells kTwoCircles{2, 0, 1, kNone, kNone, kNone, kNone, kNone, kNone};
constexpr Cells kRectangle{kNone, kNone, kNone, 1, 2, 0, kNone, kNone, kNone};
constexpr Cells kArea{kNone, kNone, kNone, kNone, kNone, 0, kNone, kNone, kNone};
constexpr Cells kAngle{kNone, kNone, kNone, kNone, kNone, kNone, 0, kNone, kNone};
constexpr Cells kEllipse{kNone, 1, 2, kNone, kNone, 0, kNone, kNone, kNone};
// Arc labels are "R:", "Angle:", "Arc:" in both views.
constexpr Cells kArc{kNone, 0, kNone, kNone, kNone, kNone, 1, kNone, 2};

constexpr SheetEntry kStillSheet[] = {
    {{1, 18, 23, 24}, "Line", kLength},
    {{22}, "Dot Line", kLength},
    {{12}, "Parallel Line", kLength},
    {{6}, "Continual Line", kTotalLength},
    {{2}, "Radius Circle", kCircle},
    {{8}, "Diameter Circle", kCircle},
    {{9}, "Three Point Circle", kCircle},
    {{19}, "Identify Circle", kCircle},
    {{11}, "distance of two Circles", kTwoCircles},
    {{3}, "Rectangle", kRectangle},
    {{7}, "Ploygon", kArea},
    {{5}, "three point angle", kAngle},
    {{10}, "four point angle", kAngle},
    {{21}, "Auto Angle-Detection", kAngle},
    {{222, 333}, "Arc", kArc},
};

constexpr SheetEntry kLiveSheet[] = {
    {{1, 24}, "Line", kLength},
    {{2}, "dot Line", kLength},
    {{3}, "Parallel Line", kLength},
    {{22}, "Auto Line Measurement", kLength},
    {{4}, "Continual Line", kTotalLength},
    {{5}, "Rectangle", kRectangle},
    {{6}, "Ploygon", kArea},
    {{7}, "Ellipse", kEllipse},
    {{8}, "Radius Circle", kCircle},
    {{9}, "Diameter Circle", kCircle},
    {{10}, "Three Point Circle", kCircle},
    {{21}, "Auto Circle Measurement", kCircle},
    {{11}, "distance of two Circles", kTwoCircles},
    {{12}, "three point angle", kAngle},
    {{13, 25}, "four point angle", kAngle},
    {{17}, "Arc Measurement", kArc},
    {{23}, "Auto Arc Measurement", kArc},
};

struct ValueLine {
    std::string_view caption;
    int label = kNone;
};
using ValueLines = std::array<ValueLine, 3>;  // empty captions end the list

struct ReportEntry {
    std::array<int, 2> kinds;  // 0 ends the list
    std::string_view name;
    ValueLines lines;
};

constexpr ValueLines kLengthLines{{{"Length:", 0}}};
constexpr ValueLines kTotalLines{{{"Length:", kTotal}}};
constexpr ValueLines kCircleLines{{{"Radius1:", 1}, {"Area:", 0}, {"Girth:", 2}}};
constexpr ValueLines kTwoCircleLines{{{"Length:", 2}, {"Radius1:", 0}, {"Radius2:", 1}}};
constexpr ValueLines kRectangleLines{{{"Width:", 1}, {"Height:", 2}, {"Area:", 0}}};
constexpr ValueLines kAreaLines{{{"Area:", 0}}};
constexpr ValueLines kAngleLines{{{"Angle:", 0}}};
constexpr ValueLines kArcLines{{{"Radius:", 0}, {"Angle:", 1}, {"Arc:", 2}}};

constexpr ReportEntry kStillReport[] = {
    {{1}, "Line", kLengthLines},
    {{22}, "Dot Line", kLengthLines},
    {{12}, "Parallel Line", kLengthLines},
    {{18}, "Auto Line-Detection", kLengthLines},
    {{23}, "Auto Line-Length1", kLengthLines},
    {{24}, "Auto Line-Length2", kLengthLines},
    {{6}, "Continual Line", kTotalLines},
    {{2}, "Radius Circle", kCircleLines},
    {{8}, "Diameter Circle", kCircleLines},
    {{9}, "Three Point Circle", kCircleLines},
    {{19}, "Auto Circle-Detection", kCircleLines},
    {{11}, "distance of two Circles", kTwoCircleLines},
    {{3}, "Rectangle", kRectangleLines},
    {{7}, "Ploygon", kAreaLines},
    {{5}, "three point angle", kAngleLines},
    {{10}, "four point angle", kAngleLines},
    {{21}, "Auto Angle-Detection", kAngleLines},
    // The spreadsheet lists arcs; the report lists them too rather than dropping them.
    {{222}, "Arc Measurement", kArcLines},
    {{333}, "Auto Arc-detection", kArcLines},
};

constexpr ReportEntry kLiveReport[] = {
    {{1, 24}, "Line", kLengthLines},
    {{2}, "Dot Line", kLengthLines},
    {{3}, "Parallel Line", kLengthLines},
    {{22}, "Auto Line Measurement", kLengthLines},
    {{4}, "Continual Line", kTotalLines},
    {{5}, "Rectangle", kRectangleLines},
    {{6}, "Ploygon", kAreaLines},
    {{7}, "Ellipse", {{{"Area:", 0}, {"Radius1:", 1}, {"Radius2:", 2}}}},
    {{8}, "Radius Circle", kCircleLines},
    {{9}, "Diameter Circle", kCircleLines},
    {{10}, "Three Point Circle", kCircleLines},
    {{21}, "Auto Circle Measurement", {{{"Area:", 0}, {"Radius:", 1}, {"Girth:", 2}}}},
    {{11}, "distance of two Circles", kTwoCircleLines},
    {{12}, "three point angle", kAngleLines},
    {{13, 25}, "four point angle", kAngleLines},
    {{17}, "Arc Measurement", kArcLines},
    {{23}, "Auto Arc Measurement", kArcLines},
};

template <typename Entry, std::size_t N>
const Entry* Find(const Entry (&table)[N], int kind) {
    for (const Entry& e : table) {
        if (std::find(e.kinds.begin(), e.kinds.end(), kind) != e.kinds.end() && kind != 0) {
            return &e;
        }
    }
    return nullptr;
}

std::string ValueOf(const MeasureRecord& r, int label, int decimals, std::string_view unit) {
    if (label == kTotal) {
        return ContinuousTotalText(r, decimals, unit);
    }
    // A record with fewer labels than its tool prints leaves the cell empty.
    if (label < 0 || static_cast<std::size_t>(label) >= r.labels.size()) {
        return {};
    }
    return r.labels[static_cast<std::size_t>(label)];
}

}  // namespace

SheetRow SheetHeader(RecordScheme scheme) {
    return {"measuring objective",
            "Length",
            "Radius1",
            "Radius2",
            "Width",
            "Height",
            "Area",
            "Angle",
            "Girth",
            scheme == RecordScheme::Still ? "Arc" : "Arc-length"};
}

std::optional<SheetRow> SheetRowOf(const MeasureRecord& record, RecordScheme scheme, int decimals,
                                   std::string_view unit) {
    const SheetEntry* e = scheme == RecordScheme::Still ? Find(kStillSheet, record.kind)
                                                        : Find(kLiveSheet, record.kind);
    if (e == nullptr) {
        return std::nullopt;
    }
    SheetRow row;
    row[0] = std::string(e->name);
    for (std::size_t c = 0; c < e->cells.size(); ++c) {
        row[c + 1] = ValueOf(record, e->cells[c], decimals, unit);
    }
    return row;
}

std::optional<ReportGroup> ReportGroupOf(const MeasureRecord& record, RecordScheme scheme,
                                         int decimals, std::string_view unit) {
    const ReportEntry* e = scheme == RecordScheme::Still ? Find(kStillReport, record.kind)
                                                         : Find(kLiveReport, record.kind);
    if (e == nullptr) {
        return std::nullopt;
    }
    ReportGroup group{std::string(e->name), {}};
    for (const ValueLine& line : e->lines) {
        if (line.caption.empty()) {
            break;
        }
        group.values.push_back(std::string(line.caption) +
                               ValueOf(record, line.label, decimals, unit));
    }
    return group;
}

std::string ContinuousTotalText(const MeasureRecord& record, int decimals, std::string_view unit) {
    const std::size_t n = record.points.size();
    const std::size_t segments = n >= 1 ? (n - 1) / 2 : 0;
    const std::size_t count = std::min(segments, record.labels.size());
    ScaleContext ctx;
    ctx.unit = std::string(unit);
    ctx.decimals = decimals;
    return ContinuousLineTotalLabel(std::span<const std::string>(record.labels.data(), count), ctx);
}

}  // namespace lensora
