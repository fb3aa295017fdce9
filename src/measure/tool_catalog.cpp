#include "measure/tool_catalog.h"

#include <array>

namespace lensora {

namespace {

using SM = StillMode;
using SK = StillKind;
using LK = LiveKind;

constexpr std::optional<SM> kNoMode;
constexpr std::optional<SK> kNoKind;
constexpr std::optional<LK> kNoLive;

// clang-format off
const std::array kTools = {
    ToolInfo{"straightline", "Straight Line", "", "", "", 1258, 1249, SM::kStraightLine, SK::kStraightLine, 1179, LK::kStraightLine, {7, 0}, 1},
    ToolInfo{"dotline", "Dot Line", "", "", "", 0, 399, SM::kDotLine, SK::kDotLine, 1180, LK::kDotLine, {4, 0}, 1},
    ToolInfo{"Parallelline", "Parallel line", "", "", "", 0, 1309, SM::kParallelLine, SK::kParallelLine, 1181, LK::kParallelLine, {7, 0}, 1},
    ToolInfo{"Continuousline", "Continuous Line", "Continue Line", "TipContinualline", "", 1259, 1250, SM::kContinuousLine, SK::kContinuousLine, 1182, LK::kContinuousLine, {1, 2}, 1},
    ToolInfo{"Rectangle", "Rectangle", "", "", "", 1261, 1251, SM::kRectangle, SK::kRectangle, 1183, LK::kRectangle, {3, 0}, 3},
    ToolInfo{"Ploygon", "Ploygon", "", "", "", 0, 1252, SM::kPolygon, SK::kPolygon, 1184, LK::kPolygon, {1, 1}, 1},
    ToolInfo{"", "Ellipse", "", "", "", 0, 0, kNoMode, kNoKind, 1185, LK::kEllipse, {0, 0}, 3},
    ToolInfo{"RadialCircle", "Radius circle", "Radius Circle", "", "", 1262, 1253, SM::kRadiusCircle, SK::kRadiusCircle, 1186, LK::kRadiusCircle, {3, 0}, 3},
    ToolInfo{"Diametercircle", "Diameter circle", "Diameter Circle", "", "", 1307, 416, SM::kDiameterCircle, SK::kDiameterCircle, 1187, LK::kDiameterCircle, {4, 0}, 3},
    ToolInfo{"Threepointcircle", "Three Points Circle", "", "", "", 1263, 1255, SM::kThreePointCircle, SK::kThreePointCircle, 1188, LK::kThreePointCircle, {5, 0}, 3},
    ToolInfo{"Twocircle", "Two Circles", "", "", "", 0, 1277, SM::kTwoCircles, SK::kTwoCircles, 1189, LK::kTwoCircles, {11, 0}, 3},
    ToolInfo{"Angle", "Angle", "", "", "", 1260, 1256, SM::kAngle, SK::kAngle, 1190, LK::kAngle, {4, 0}, 1},
    ToolInfo{"Fourpointangle", "Four points Angle", "", "", "", 0, 1334, SM::kFourPointAngle, SK::kFourPointAngle, 1191, LK::kFourPointAngle, {5, 0}, 1},
    ToolInfo{"TipCLabel", "Circle Label", "", "", "", 0, 1310, SM::kCircleLabel, SK::kCircleLabel, 1192, LK::kCircleLabel, {1, 0}, 1},
    ToolInfo{"TipSLabel", "Sqaure Label", "", "", "", 0, 1311, SM::kSquareLabel, SK::kSquareLabel, 1193, LK::kSquareLabel, {1, 0}, 1},
    ToolInfo{"TipText", "Input Text", "", "", "", 0, 1142, SM::kText, SK::kText, 1194, LK::kText, {2, 0}, 1},
    ToolInfo{"TipArc", "Arc Measurement", "", "", "", 0, 1231, SM::kArc, SK::kArc, 1205, LK::kArc, {5, 0}, 3},
    ToolInfo{"TipRuler", "Length-Line", "", "", "", 0, 0, kNoMode, kNoKind, 1212, LK::kLengthLine, {0, 0}, 0},
    ToolInfo{"TipMeasureAngle", "Angle-Line", "", "", "", 0, 0, kNoMode, kNoKind, 1141, LK::kAngleLine, {0, 0}, 0},
    ToolInfo{"TipDrawCircle", "Tolerance Circle", "", "", "", 0, 0, kNoMode, kNoKind, 1139, LK::kToleranceCircle, {0, 0}, 0},
    ToolInfo{"AutoLineSpace", "Auto Line-spacing", "", "", "", 0, 1312, SM::kAutoLineSpacing, SK::kAutoLineSpacing, 1357, LK::kAutoLineSpacing, {7, 0}, 1},
    ToolInfo{"AutoCircleDetection", "Auto circle-detection", "", "", "", 0, 1317, SM::kAutoCircle, SK::kAutoCircle, 1206, LK::kAutoCircle, {2, 0}, 3},
    ToolInfo{"EdgePortion", "Check Edge(Portion)", "", "", "", 0, 1266, SM::kCheckEdgePortion, kNoKind, 0, kNoLive, {0, 0}, 0},
    ToolInfo{"EdgeGlobal", "Check Edge(Global)", "", "", "", 0, kStillCheckEdgeGlobalCommand, kNoMode, kNoKind, 0, kNoLive, {0, 0}, 0},
    ToolInfo{"AutoAngleDetection", "Auto Angle-detection", "", "", "", 0, 1316, SM::kAutoAngle, SK::kAutoAngle, 1356, LK::kAutoAngle, {5, 0}, 1},
    ToolInfo{"AutoLineLength", "Auto Line-Length1", "", "", "", 0, 1340, SM::kAutoLineLength1, SK::kAutoLineLength1, 0, kNoLive, {3, 0}, 1},
    ToolInfo{"AutoLineLength2", "Auto Line-Length2", "", "", "", 0, 1347, SM::kAutoLineLength2, SK::kAutoLineLength2, 1349, LK::kAutoLineLength2, {3, 0}, 1},
    ToolInfo{"TipArc", "Auto Arc-detection", "", "", "Auto Circle-Arc ", 0, 1341, SM::kAutoArc, SK::kAutoArc, 1207, LK::kAutoArc, {5, 0}, 3},
    ToolInfo{"TipMagnifier", "Magnifier", "", "", "", 0, 384, SM::kMagnifier, kNoKind, 0, kNoLive, {0, 0}, 0},
    ToolInfo{"TipSelect", "Select", "", "", "", 0, 1137, SM::kSelect, kNoKind, 0, kNoLive, {0, 0}, 0},
};
// clang-format on

}  // namespace

std::span<const ToolInfo> ToolCatalog() {
    return kTools;
}

std::optional<StillKind> StillModeToKind(StillMode mode) {
    const ToolInfo* tool = FindStillTool(mode);
    return tool != nullptr ? tool->stillKind : std::nullopt;
}

bool LiveToolToggles(LiveKind kind) {
    const int code = static_cast<int>(kind);
    return (code >= 1 && code <= 13) || code == 17;
}

const ToolInfo* FindStillTool(StillMode mode) {
    for (const ToolInfo& tool : kTools) {
        if (tool.stillMode == mode) {
            return &tool;
        }
    }
    return nullptr;
}

const ToolInfo* FindStillToolByKind(StillKind kind) {
    for (const ToolInfo& tool : kTools) {
        if (tool.stillKind == kind) {
            return &tool;
        }
    }
    return nullptr;
}

const ToolInfo* FindLiveTool(LiveKind kind) {
    for (const ToolInfo& tool : kTools) {
        if (tool.liveKind == kind) {
            return &tool;
        }
    }
    return nullptr;
}

const ToolInfo* FindToolByCommand(int command) {
    if (command == 0) {
        return nullptr;
    }
    for (const ToolInfo& tool : kTools) {
        if (tool.stillDrawCommand == command || tool.stillMeasureCommand == command ||
            tool.liveCommand == command) {
            return &tool;
        }
    }
    return nullptr;
}

}  // namespace lensora
