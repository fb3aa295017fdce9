// The three capture sizes of each sensor class, shared by the hotkeys F10 to F12, the video
// settings dialog and the recorder dialog: step 0, 1, 2 = small, middle, large.
#pragma once

#include <array>
#include <string>

namespace lensora {

inline constexpr int kResolutionSteps = 3;

struct CaptureSize {
    int width = 0;
    int height = 0;
};

// The size of a step; {0, 0} for a step outside 0..2.
CaptureSize ResolutionStepSize(bool largeSensor, int step);
// The step whose width matches, or -1.
int ResolutionStepOfWidth(bool largeSensor, int captureWidth);
// "640*480", "1280*960", "1600*1200" (large) or "320*240", "640*480", "1280*1024".
std::array<std::string, kResolutionSteps> ResolutionComboTexts(bool largeSensor);
// The hint under the hotkey label (UTF-8; the first colon is the full-width one).
std::string ResolutionHotkeyHint(bool largeSensor);

}  // namespace lensora
