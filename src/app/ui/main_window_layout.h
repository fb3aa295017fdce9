// The fixed places of the main window's areas (client pixels), shared by the files of the
// main window.
#pragma once

#include <QRect>

#include "app/main_buttons.h"

namespace lensora::main_layout {

inline constexpr QRect kPreviewRect(98, 49, 640, 480);
inline constexpr QRect kStripRect(97, 530, 642, 115);
inline constexpr QRect kDragBand(0, 0, 700, 46);
inline constexpr QRect kZoomPadRect(738, 530, 120, 120);

// Buttons that work without a camera.
inline bool WorksWithoutCamera(int command) {
    return command == command::kClose || command == command::kMinimise ||
           command == command::kLanguage || command == command::kAboutButton ||
           command == command::kPictureFolder || command == command::kVideoFolder;
}

}  // namespace lensora::main_layout

namespace lensora::preview_command {
// The items of the preview's context menu.
inline constexpr int kCancel = 1273;
inline constexpr int kCross = 1243;
inline constexpr int kScale = 1244;
inline constexpr int kCircle = 1245;
inline constexpr int kTime = 395;
inline constexpr int kBmp = 1314;
inline constexpr int kJpg = 1315;
}  // namespace lensora::preview_command
