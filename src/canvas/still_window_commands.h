// The commands of the still-image window: its fourteen toolbar buttons and the items of its
// six popup menus, with their text keys and English texts. Constant data.
#pragma once

#include <array>
#include <span>
#include <string_view>

#include "base/text_keys.h"

namespace lensora {

enum class StillPopup { None, Measure, ImageProcess, Paint, Calibration, CheckEdge, AutoMeasure };

namespace still_command {
inline constexpr int kSaveAs = 1113;
inline constexpr int kSelect = 1137;
inline constexpr int kMeasureMenu = 1138;
inline constexpr int kImageProcessMenu = 1333;
inline constexpr int kPenSetting = 1140;
inline constexpr int kPaintMenu = 1257;
inline constexpr int kText = 1142;
inline constexpr int kDelete = 1127;
inline constexpr int kMove = 1128;
inline constexpr int kCalibrationMenu = 1289;
inline constexpr int kRevert = 1114;
inline constexpr int kMagnifier = 384;
inline constexpr int kCheckEdgeMenu = 1329;
inline constexpr int kAutoMeasureMenu = 1328;

inline constexpr int kMirror = 1264;
inline constexpr int kFlip = 1265;
inline constexpr int kNegative = 1267;
inline constexpr int kBrighter = 1268;
inline constexpr int kDarker = 1269;
inline constexpr int kMedian = 1271;
inline constexpr int kAverage = 1272;
inline constexpr int kExportExcel = 1279;
inline constexpr int kExportCad = 1318;
inline constexpr int kExportWord = 1319;
}  // namespace still_command

struct StillToolbarButton {
    int command;
    TextKey tooltip;
    std::string_view icon;
    StillPopup popup;
};

inline constexpr std::array<StillToolbarButton, 14> kStillToolbar = {{
    {still_command::kSaveAs, {"TipSave", "Save As"}, "file-save-as.svg", StillPopup::None},
    {still_command::kSelect, {"TipSelect", "Select"}, "tool-select.svg", StillPopup::None},
    {still_command::kMeasureMenu,
     {"TipMeasure", "Measurement"},
     "btn-measure-menu.svg",
     StillPopup::Measure},
    {still_command::kImageProcessMenu,
     {"TipOperate", "Image Process"},
     "btn-image-process.svg",
     StillPopup::ImageProcess},
    {still_command::kPenSetting,
     {"TipSetPen", "Pen Setting"},
     "btn-pen-setting.svg",
     StillPopup::None},
    {still_command::kPaintMenu, {"TipPaint", "Paint"}, "btn-paint.svg", StillPopup::Paint},
    {still_command::kText, {"TipText", "Input Text"}, "tool-text.svg", StillPopup::None},
    {still_command::kDelete, {"TipDelete", "Delete"}, "tool-delete.svg", StillPopup::None},
    {still_command::kMove, {"TipMove", "Move"}, "tool-move.svg", StillPopup::None},
    {still_command::kCalibrationMenu,
     {"TipCalibration", "Calibration"},
     "tool-line-calibration.svg",
     StillPopup::Calibration},
    {still_command::kRevert, {"TipRevert", "Cancel"}, "btn-revert.svg", StillPopup::None},
    {still_command::kMagnifier,
     {"TipMagnifier", "Magnifier"},
     "tool-magnifier.svg",
     StillPopup::None},
    {still_command::kCheckEdgeMenu,
     {"TipEdge", "Check Edge"},
     "tool-edge.svg",
     StillPopup::CheckEdge},
    {still_command::kAutoMeasureMenu,
     {"TipAutoMeasure", "Auto-Measurement"},
     "btn-auto-measure.svg",
     StillPopup::AutoMeasure},
}};

// An item of a popup menu; command 0 is a separator.
struct StillMenuItem {
    int command;
    TextKey caption;
    std::string_view icon;
};

// The items of a popup menu in their order.
std::span<const StillMenuItem> StillMenuItems(StillPopup popup);

class CxImage;

// Image operations of the image-process menu.
bool IsImageOperation(int command);
// Runs one image operation on the picture; false when the command is not one or the picture
// is not valid.
bool ApplyImageOperation(CxImage& image, int command);

// Brightness step of the two brightness commands.
inline constexpr int kBrightnessStep = 10;

}  // namespace lensora
