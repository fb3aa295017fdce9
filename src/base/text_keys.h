// Text keys of the user interface with their built-in English texts. Language files are
// written against these keys, so they never change.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "base/text_catalog.h"

namespace lensora {

struct TextKey {
    std::string_view key;
    std::string_view defaultText;
};

inline std::string GetText(const TextKey& text, std::size_t bufferChars = 256) {
    return GetText(text.key, text.defaultText, bufferChars);
}

namespace text {
inline constexpr TextKey kMsgTitle{"MsgTitle", "Lensora"};
inline constexpr TextKey kConnectMsg{"ConnectMsg", "Please connect Lensora Digital Microscope"};
inline constexpr TextKey kCalibrateBeforeMeasure{"CalibrateBeforeMeasure",
                                                 "Please calibrate before measurement"};
inline constexpr TextKey kTipPrompt{"TipPrompt", "Pop-up window next time."};
inline constexpr TextKey kEnterRate{"EnterRate", "Please input the zoomIn scale!"};
inline constexpr TextKey kBrowseToCamera{"BrowseToCamera", "Please select a picture or video"};
inline constexpr TextKey kEscRestore{"EscRestore", "ESC Restore"};

inline constexpr TextKey kTipMeasure{"TipMeasure", "Measure"};
inline constexpr TextKey kTipCalibration{"TipCalibration", "Calibration"};
inline constexpr TextKey kTipAutoMeasure{"TipAutoMeasure", "Auto Measure"};
inline constexpr TextKey kTipComparison{"TipComparison", "Comparison"};
inline constexpr TextKey kRate{"Rate", "Scale:"};

// Calibration.
inline constexpr TextKey kStraightlineCalibration{"straightlineCalibration", "Line Calibration"};
inline constexpr TextKey kAutoLineCalibration{"AutoLineCalibration", "Auto Line Calibration"};
inline constexpr TextKey kEnterActualDistance{"EnterActualDistance",
                                              "Please enter actual distance"};
inline constexpr TextKey kEnterDigital{"EnterDigital", "Please enter digital!"};

// The About box.
inline constexpr TextKey kAboutTitle{"AboutTitle", "About Lensora"};
inline constexpr TextKey kAboutMenuItem{"AboutMenuItem", "&About Lensora"};
inline constexpr TextKey kAboutProduct{"AboutProduct", "Lensora Digital Microscope"};
inline constexpr TextKey kAboutVersion{"AboutVersion", "Version"};
inline constexpr TextKey kAboutDescription{
    "AboutDescription",
    "Live view, snapshots, video and calibrated measurement for USB digital microscopes."};
inline constexpr TextKey kAboutLicence{"AboutLicence",
                                       "Free software under the GNU General Public License, "
                                       "version 3 or later."};
inline constexpr TextKey kOk{"OK", "OK"};
}  // namespace text

}  // namespace lensora
