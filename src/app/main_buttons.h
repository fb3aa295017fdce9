// The buttons of the main window's panel: command number, tooltip text and icon. Language
// files are written against these tooltip keys, including the crossed-over keys of Undo and
// Redo and the key shared by the two arc tools.
#pragma once

#include <array>
#include <string_view>

#include "base/text_keys.h"

namespace lensora {

namespace command {
inline constexpr int kAbout = 16;  // also the About item of the window menu
inline constexpr int kPreview = 1014;
inline constexpr int kCamera = 1005;
inline constexpr int kVideo = 1006;
inline constexpr int kTimer = 1007;
inline constexpr int kVideoSetting = 1016;
inline constexpr int kExportWord = 1008;
inline constexpr int kExportExcel = 1009;
inline constexpr int kLanguage = 1293;
inline constexpr int kLine = 1179;
inline constexpr int kDotLine = 1180;
inline constexpr int kParallelLine = 1181;
inline constexpr int kContinualLine = 1182;
inline constexpr int kRectangle = 1183;
inline constexpr int kPolygon = 1184;
inline constexpr int kEllipse = 1185;
inline constexpr int kRadiusCircle = 1186;
inline constexpr int kDiameterCircle = 1187;
inline constexpr int kThreePointCircle = 1188;
inline constexpr int kTwoCircles = 1189;
inline constexpr int kAngle = 1190;
inline constexpr int kFourPointAngle = 1191;
inline constexpr int kCircleLabel = 1192;
inline constexpr int kSquareLabel = 1193;
inline constexpr int kText = 1194;
inline constexpr int kMinimise = 1175;
inline constexpr int kFullScreen = 1176;
inline constexpr int kClose = 1177;
inline constexpr int kUndo = 1195;
inline constexpr int kRedo = 1196;
inline constexpr int kLineCalibration = 1197;
inline constexpr int kMeasureSetting = 1198;
inline constexpr int kAboutButton = 1199;
inline constexpr int kPictureFolder = 1201;
inline constexpr int kVideoFolder = 1202;
inline constexpr int kSnapSwitch = 1204;
inline constexpr int kArc = 1205;
inline constexpr int kLengthLine = 1212;
inline constexpr int kAngleLine = 1141;
inline constexpr int kToleranceCircle = 1139;
inline constexpr int kExportDxf = 1326;
inline constexpr int kDeleteAll = 409;
inline constexpr int kAutoCircleArc = 1207;
inline constexpr int kAutoLineLength2 = 1349;
inline constexpr int kAutoCircleDetection = 1206;
inline constexpr int kAutoLineSpace = 1357;
inline constexpr int kAutoAngleDetection = 1356;
// Hotkey commands without a button (the numbers of their accelerator tables).
inline constexpr int kRecordStart = 225;
inline constexpr int kRecordStop = 226;
inline constexpr int kResolutionStep1 = 255;
inline constexpr int kResolutionStep2 = 253;
inline constexpr int kResolutionStep3 = 347;
}  // namespace command

struct MainButton {
    int command;
    TextKey tooltip;
    std::string_view icon;  // file name in the icon folder
    bool toggle = false;    // keeps an on/off state
};

// The camera-button tooltip while the camera's own button is on.
inline constexpr TextKey kTipSwitchEnable{"TipSwitchEnable", "Snapshot Enable"};

inline constexpr std::array<MainButton, 46> kMainButtons = {{
    {command::kPreview, {"TipPreview", "Preview"}, "btn-preview-pause.svg", true},
    {command::kCamera, {"TipCamera", "Camera  F2"}, "btn-snapshot.svg"},
    {command::kVideo, {"TipVideo", "Recording Video  F3/F4"}, "btn-record.svg", true},
    {command::kTimer, {"TipTimer", "Timer"}, "btn-timer.svg"},
    {command::kVideoSetting, {"TipVideoSetting", "Video setting"}, "btn-video-setting.svg"},
    {command::kExportWord, {"TipExceptword", "Export to word"}, "btn-export-word.svg"},
    {command::kExportExcel, {"TipExceptexcel", "Export to excel"}, "btn-export-excel.svg"},
    {command::kLanguage, {"TipLanguage", "Language"}, "btn-language.svg"},
    {command::kLine, {"TipLine", "Line Measurement"}, "tool-line.svg"},
    {command::kDotLine, {"TipDotLine", "Dot Line Measurement"}, "tool-dot-line.svg"},
    {command::kParallelLine,
     {"TipParallelline", "Parallel line Measurement"},
     "tool-parallel-lines.svg"},
    {command::kContinualLine,
     {"TipContinualline", "Continual line Measurement"},
     "tool-polyline.svg"},
    {command::kRectangle, {"TipRectangle", "Rectangle Measurement"}, "tool-rectangle.svg"},
    {command::kPolygon, {"TipPolygon", "Ploygon Measurement"}, "tool-polygon.svg"},
    {command::kEllipse, {"TipEllipse", "Ellipse Measurement"}, "tool-ellipse.svg"},
    {command::kRadiusCircle, {"TipRCircle", "Radius Circle Measurement"}, "tool-circle-radius.svg"},
    {command::kDiameterCircle,
     {"TipDCircle", "Diameter Circle Measurement"},
     "tool-circle-diameter.svg"},
    {command::kThreePointCircle,
     {"TipTCircle", "Three Points Circles Measurement"},
     "tool-circle-3pt.svg"},
    {command::kTwoCircles, {"TipTwoCircle", "Two Circles Measurement"}, "tool-two-circles.svg"},
    {command::kAngle, {"TipAngle", "Angle Measurement"}, "tool-angle.svg"},
    {command::kFourPointAngle,
     {"TipFAngle", "Four Points Angle Measurement"},
     "tool-angle-4pt.svg"},
    {command::kCircleLabel, {"TipCLabel", "Circle Label"}, "tool-label-circle.svg"},
    {command::kSquareLabel, {"TipSLabel", "Square Label"}, "tool-label-square.svg"},
    {command::kText, {"TipText", "Text"}, "tool-text.svg"},
    {command::kMinimise, {"TipMin", "minimum"}, "btn-minimize.svg"},
    {command::kFullScreen, {"TipFullScreen", "Full Screen"}, "btn-fullscreen.svg"},
    {command::kClose, {"TipClose", "Close"}, "btn-close.svg"},
    {command::kUndo, {"TipRedo", "Undo"}, "btn-undo.svg"},
    {command::kRedo, {"TipUndo", "Redo"}, "btn-redo.svg"},
    {command::kLineCalibration,
     {"straightlineCalibration", "Line Calibration"},
     "tool-line-calibration.svg"},
    {command::kMeasureSetting,
     {"TipMeasureSetting", "Measurement setting"},
     "btn-measure-settings.svg"},
    {command::kAboutButton, {"TipAbout", "About"}, "btn-about.svg"},
    {command::kPictureFolder, {"TipPicturefolder", "Image folder"}, "btn-folder-images.svg", true},
    {command::kVideoFolder, {"TipVideofolder", "Video folder"}, "btn-folder-videos.svg", true},
    {command::kSnapSwitch,
     {"TipSwitchDisable", "Snapshot Disable"},
     "btn-snap-key-disabled.svg",
     true},
    {command::kArc, {"TipArc", "Arc Measurement"}, "tool-arc.svg"},
    {command::kLengthLine, {"TipRuler", "Length-Line"}, "tool-length-line.svg"},
    {command::kAngleLine, {"TipMeasureAngle", "Angle-Line"}, "tool-angle-line.svg"},
    {command::kToleranceCircle, {"TipDrawCircle", "Tolerance Circle"}, "tool-tolerance-circle.svg"},
    {command::kExportDxf, {"TipExportDXF", "Export to CAD"}, "btn-export-cad.svg"},
    {command::kDeleteAll, {"DeleteAll", "Delete All"}, "btn-delete-all.svg"},
    {command::kAutoCircleArc, {"TipArc", "Auto Circle-Arc "}, "auto-circle-arc.svg"},
    {command::kAutoLineLength2, {"AutoLineLength2", "Auto Line-Length2"}, "auto-line-length2.svg"},
    {command::kAutoCircleDetection,
     {"AutoCircleDetection", "Auto Circle-Detection"},
     "auto-circle.svg"},
    {command::kAutoLineSpace, {"AutoLineSpace", "Auto Line-spacing"}, "auto-line-spacing.svg"},
    {command::kAutoAngleDetection,
     {"AutoAngleDetection", "Auto Angle-Detection"},
     "auto-angle.svg"},
}};

// The hotkeys of the main window, keys without modifiers: F2 takes a snapshot (the camera
// button's command), F3 starts and F4 stops a recording, F10 to F12 choose the resolution
// steps.
struct Hotkey {
    int command;
    std::string_view key;  // portable key name
};
inline constexpr std::array<Hotkey, 6> kHotkeys = {{
    {command::kCamera, "F2"},
    {command::kRecordStart, "F3"},
    {command::kRecordStop, "F4"},
    {command::kResolutionStep1, "F10"},
    {command::kResolutionStep2, "F11"},
    {command::kResolutionStep3, "F12"},
}};

// The tooltip of a button, looked up now in the current language. The camera button's text
// depends on whether the camera's own button is on.
std::string ButtonTooltip(const MainButton& button, bool snapButtonOn);

}  // namespace lensora
