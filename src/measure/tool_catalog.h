// The measuring tools of both views: the tool codes of each view side by side (the still
// view's selected mode, the still view's record code, the live view's code, which is both its
// mode and its record code), the still view's mode -> record code mapping, and the catalogue
// of captions, commands and point layouts. Constant data; safe to read from any thread.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace lensora {

// Record code of a freshly created record that no tool has claimed yet.
inline constexpr int kNoToolKind = 100;

// Tools as selected in the still view ("mode"). Four of them store another record code.
enum class StillMode : int {
    kStraightLine = 0,
    kRadiusCircle = 1,
    kRectangle = 2,
    kText = 3,
    kSelect = 4,
    kAngle = 5,
    kContinuousLine = 6,
    kPolygon = 7,
    kDiameterCircle = 8,
    kThreePointCircle = 9,
    kFourPointAngle = 10,
    kTwoCircles = 11,
    kParallelLine = 12,
    kCircleLabel = 13,
    kSquareLabel = 14,
    kMagnifier = 16,
    kAutoLineSpacing = 18,
    kAutoCircle = 19,
    kCheckEdgePortion = 20,
    kAutoAngle = 21,
    kDotLine = 22,
    kAutoLineLength1 = 23,
    kAutoLineLength2 = 24,
    kNone = 111,
    kArc = 222,
    kAutoArc = 333,
};

// Record codes (`kind`) of records made in the still view.
enum class StillKind : int {
    kStraightLine = 1,
    kRadiusCircle = 2,
    kRectangle = 3,
    kText = 4,
    kAngle = 5,
    kContinuousLine = 6,
    kPolygon = 7,
    kDiameterCircle = 8,
    kThreePointCircle = 9,
    kFourPointAngle = 10,
    kTwoCircles = 11,
    kParallelLine = 12,
    kCircleLabel = 13,
    kSquareLabel = 14,
    kAutoLineSpacing = 18,
    kAutoCircle = 19,
    kAutoAngle = 21,
    kDotLine = 22,
    kAutoLineLength1 = 23,
    kAutoLineLength2 = 24,
    kArc = 222,
    kAutoArc = 333,
};

// Tools of the live view; the same number is the selected mode and the record code.
// Codes 18 to 20 make reference shapes instead of records.
enum class LiveKind : int {
    kNone = 0,
    kStraightLine = 1,
    kDotLine = 2,
    kParallelLine = 3,
    kContinuousLine = 4,
    kRectangle = 5,
    kPolygon = 6,
    kEllipse = 7,
    kRadiusCircle = 8,
    kDiameterCircle = 9,
    kThreePointCircle = 10,
    kTwoCircles = 11,
    kAngle = 12,
    kFourPointAngle = 13,
    kCircleLabel = 14,
    kSquareLabel = 15,
    kText = 16,
    kArc = 17,
    kLengthLine = 18,
    kAngleLine = 19,
    kToleranceCircle = 20,
    kAutoCircle = 21,
    kAutoLineLength2 = 22,
    kAutoArc = 23,
    kAutoLineSpacing = 24,
    kAutoAngle = 25,
};

// The record code a still-view mode stores; nullopt for modes that store no record
// (select, magnifier, check edge, no tool).
std::optional<StillKind> StillModeToKind(StillMode mode);

// Whether a second press on the live toolbar button of this tool switches to no tool.
bool LiveToolToggles(LiveKind kind);

// Commands that start a line calibration with the parallel line tool or the automatic line
// spacing tool.
inline constexpr int kStillLineCalibrationCommand = 396;
inline constexpr int kStillAutoLineCalibrationCommand = 382;
inline constexpr int kLiveLineCalibrationCommand = 1197;
inline constexpr int kLiveLineCalibrationCommand2 = 1354;
inline constexpr int kLiveAutoLineCalibrationCommand = 1355;
inline constexpr int kStillCheckEdgeGlobalCommand = 1270;  // runs at once, no mode

// Number of points a still-view record of the tool holds: fixed + perItem * n, where n is the
// number of segments (continuous line) or vertices (polygon). fixed == 0: no record.
struct PointLayout {
    int fixed = 0;
    int perItem = 0;

    int Count(int items) const { return fixed + perItem * items; }
};

struct ToolInfo {
    std::string_view captionKey;      // text key of the caption; empty for live-only tools
    std::string_view defaultCaption;  // English caption (measure menu / still view)
    std::string_view drawCaption;     // draw-menu caption where it differs, else empty
    std::string_view drawCaptionKey;  // its text key where it has its own, else empty
    std::string_view liveCaption;     // live caption where it differs, else empty
    int stillDrawCommand = 0;         // 0: not in the draw menu
    int stillMeasureCommand = 0;      // 0: not in the still view
    std::optional<StillMode> stillMode;
    std::optional<StillKind> stillKind;
    int liveCommand = 0;  // 0: not in the live view
    std::optional<LiveKind> liveKind;
    PointLayout stillPoints;
    int labelLines = 0;  // label lines per record (per segment for the continuous line)
};

// Every tool of both views, in menu order.
std::span<const ToolInfo> ToolCatalog();

const ToolInfo* FindStillTool(StillMode mode);
const ToolInfo* FindStillToolByKind(StillKind kind);
const ToolInfo* FindLiveTool(LiveKind kind);
// The tool a command of either view selects (draw, measure or live command).
const ToolInfo* FindToolByCommand(int command);

}  // namespace lensora
