// One stored measurement: the tool code of the view that made it, its points in picture
// (still view) or video-area (live view) pixels, the finished label lines and the pen, colours
// and fonts it is drawn with. Records are owned by their view's list (record_lists.h) and are
// used on the user-interface thread only. Colours are 0x00BBGGRR.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/log_font.h"
#include "base/persisted_settings.h"
#include "base/pixel_point.h"
#include "measure/tool_catalog.h"

namespace lensora {

inline constexpr std::uint32_t kDefaultRecordColour = 255;  // red

// Sub-pixel results of an automatic tool run with "Sub-pixel edges" on, in the record's
// coordinates. The integer points stay as the tool's rules store them; labels were computed
// from these values, and drawing prefers them. Automatic circle: centre and radius; automatic
// arc: centre, radius and the refined first, middle and last points; line tools: the refined
// end points.
struct RefinedGeometry {
    std::optional<PointD> centre;
    double radius = 0.0;  // pixels
    std::vector<PointD> points;
};
inline constexpr int kDefaultLineGap = 12;

struct MeasureRecord {
    int penWidth = 1;  // pixels
    int penStyle = 0;  // 0 solid, 1 dash, 2 dot
    std::uint32_t penColor = kDefaultRecordColour;
    int kind = kNoToolKind;  // StillKind or LiveKind code, by the view that made it
    std::uint32_t labelColor = kDefaultRecordColour;
    LogFont labelFont;
    std::uint32_t textColor = 0;
    LogFont textFont;
    std::vector<PixelPoint> points;   // meaning per tool
    std::vector<std::string> labels;  // label lines in drawing order, value and unit included
    bool selected = false;
    int lineGap = kDefaultLineGap;  // pixels between successive label lines
    double fitRadius = 0.0;         // pixels; automatic circle detection only
    std::optional<RefinedGeometry> refined;
};

// What a view contributes to a new record: its current line colour and its measurement text
// colour and font.
struct ViewDrawingStyle {
    std::uint32_t penColor = kDefaultRecordColour;
    std::uint32_t labelColor = kDefaultRecordColour;
    LogFont labelFont = DefaultLogFont();
};

// Pixels between label lines for a label font size (|height| of the font).
int LineGapForFontSize(std::int64_t fontSize);

// A record with the defaults above.
MeasureRecord NewRecord();

// A record of the given tool code taking the current drawing settings: pen style and width
// from the program-wide settings, colours and label font from the view, and the line gap of
// the configured font size.
MeasureRecord NewRecord(int kind, const AppSettings& settings, const ViewDrawingStyle& style);
MeasureRecord NewRecord(StillKind kind, const AppSettings& settings, const ViewDrawingStyle& style);
MeasureRecord NewRecord(LiveKind kind, const AppSettings& settings, const ViewDrawingStyle& style);

// Label lines of a draw-only record: as many empty lines as the measuring tool would print.
std::vector<std::string> EmptyLabels(StillKind kind);

}  // namespace lensora
