#include "canvas/still_window_commands.h"

#include "imaging/cx_image.h"
#include "imaging/image_filters.h"

namespace lensora {
namespace {

constexpr StillMenuItem kSeparator{0, {"", ""}, ""};

constexpr StillMenuItem kPaintItems[] = {
    {1258, {"straightline", "Straight Line"}, "tool-line.svg"},
    {1259, {"TipContinualline", "Continue Line"}, "tool-polyline.svg"},
    {1260, {"Angle", "Angle"}, "tool-angle.svg"},
    {1261, {"Rectangle", "Rectangle"}, "tool-rectangle.svg"},
    {1262, {"RadialCircle", "Radius Circle"}, "tool-circle-radius.svg"},
    {1307, {"Diametercircle", "Diameter Circle"}, "tool-circle-diameter.svg"},
    {1263, {"Threepointcircle", "Three Points Circle"}, "tool-circle-3pt.svg"},
    {1310, {"TipCLabel", "Circle Label"}, "tool-label-circle.svg"},
    {1311, {"TipSLabel", "Sqaure Label"}, "tool-label-square.svg"},
};

constexpr StillMenuItem kMeasureItems[] = {
    {1249, {"straightline", "Straight Line"}, "tool-line.svg"},
    {399, {"dotline", "Dot Line"}, "tool-dot-line.svg"},
    {1309, {"Parallelline", "Parallel line"}, "tool-parallel-lines.svg"},
    {1250, {"Continuousline", "Continuous Line"}, "tool-polyline.svg"},
    {1251, {"Rectangle", "Rectangle"}, "tool-rectangle.svg"},
    {1252, {"Ploygon", "Ploygon"}, "tool-polygon.svg"},
    {1253, {"RadialCircle", "Radius circle"}, "tool-circle-radius.svg"},
    {416, {"Diametercircle", "Diameter circle"}, "tool-circle-diameter.svg"},
    {1255, {"Threepointcircle", "Three Points Circle"}, "tool-circle-3pt.svg"},
    {1231, {"TipArc", "Arc Measurement"}, "tool-arc.svg"},
    {1277, {"Twocircle", "Two Circles"}, "tool-two-circles.svg"},
    {1256, {"Angle", "Angle"}, "tool-angle.svg"},
    {1334, {"Fourpointangle", "Four points Angle"}, "tool-angle-4pt.svg"},
};

constexpr StillMenuItem kAutoItems[] = {
    {1312, {"AutoLineSpace", "Auto Line-spacing"}, "auto-line-spacing.svg"},
    {1340, {"AutoLineLength", "Auto Line-Length1"}, "auto-line-length1.svg"},
    {1347, {"AutoLineLength2", "Auto Line-Length2"}, "auto-line-length2.svg"},
    {1341, {"TipArc", "Auto Arc-detection"}, "auto-circle-arc.svg"},
    {1317, {"AutoCircleDetection", "Auto circle-detection"}, "auto-circle.svg"},
    {1316, {"AutoAngleDetection", "Auto Angle-detection"}, "auto-angle.svg"},
};

constexpr StillMenuItem kEdgeItems[] = {
    {1266, {"EdgePortion", "Edge Detect(Portion)"}, "tool-edge-portion.svg"},
    {1270, {"EdgeGlobal", "Edge Detect(Global)"}, "tool-edge-global.svg"},
};

constexpr StillMenuItem kCalibrationItems[] = {
    {396, {"straightlineCalibration", "Line Calibration"}, "tool-line-calibration.svg"},
    {382, {"AutoLineCalibration", "Auto Line Calibration"}, "auto-line-calibration.svg"},
};

constexpr StillMenuItem kImageItems[] = {
    {still_command::kMirror, {"Mirror", "Horizontal Mirror"}, "img-mirror.svg"},
    {still_command::kFlip, {"Flip", "Vertical Mirror"}, "img-flip.svg"},
    kSeparator,
    {still_command::kNegative, {"Negative", "Negative"}, "img-negative.svg"},
    {still_command::kBrighter, {"Light+", "Brightness(+)"}, "img-brighten.svg"},
    {still_command::kDarker, {"Light-", "Brightness(-)"}, "img-darken.svg"},
    kSeparator,
    {still_command::kMedian, {"Median", "Median value filter"}, "img-median.svg"},
    {still_command::kAverage, {"Filter", "Average value filter"}, "img-average.svg"},
    kSeparator,
    {still_command::kExportExcel, {"TipExceptexcel", "Export to excel"}, "btn-export-excel.svg"},
    {still_command::kExportWord, {"TipExceptword", "Export to word"}, "btn-export-word.svg"},
    {still_command::kExportCad, {"TipExportCAD", "Export to CAD"}, "btn-export-cad.svg"},
};

}  // namespace

std::span<const StillMenuItem> StillMenuItems(StillPopup popup) {
    switch (popup) {
        case StillPopup::Paint:
            return kPaintItems;
        case StillPopup::Measure:
            return kMeasureItems;
        case StillPopup::AutoMeasure:
            return kAutoItems;
        case StillPopup::CheckEdge:
            return kEdgeItems;
        case StillPopup::Calibration:
            return kCalibrationItems;
        case StillPopup::ImageProcess:
            return kImageItems;
        case StillPopup::None:
            break;
    }
    return {};
}

bool IsImageOperation(int command) {
    switch (command) {
        case still_command::kMirror:
        case still_command::kFlip:
        case still_command::kNegative:
        case still_command::kBrighter:
        case still_command::kDarker:
        case still_command::kMedian:
        case still_command::kAverage:
            return true;
        default:
            return false;
    }
}

bool ApplyImageOperation(CxImage& image, int command) {
    switch (command) {
        case still_command::kMirror:
            return MirrorHorizontal(image);
        case still_command::kFlip:
            return FlipVertical(image);
        case still_command::kNegative:
            return Negative(image);
        case still_command::kBrighter:
            return AdjustBrightness(image, kBrightnessStep);
        case still_command::kDarker:
            return AdjustBrightness(image, -kBrightnessStep);
        case still_command::kMedian:
            return MedianFilter3x3(image);
        case still_command::kAverage:
            return AverageFilter3x3(image);
        default:
            return false;
    }
}

}  // namespace lensora
