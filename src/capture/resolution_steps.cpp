#include "capture/resolution_steps.h"

#include <fmt/format.h>

namespace lensora {
namespace {

constexpr std::array<CaptureSize, kResolutionSteps> kLarge{{{640, 480}, {1280, 960}, {1600, 1200}}};
constexpr std::array<CaptureSize, kResolutionSteps> kSmall{{{320, 240}, {640, 480}, {1280, 1024}}};

const std::array<CaptureSize, kResolutionSteps>& Steps(bool largeSensor) {
    return largeSensor ? kLarge : kSmall;
}

}  // namespace

CaptureSize ResolutionStepSize(bool largeSensor, int step) {
    if (step < 0 || step >= kResolutionSteps) {
        return {};
    }
    return Steps(largeSensor)[static_cast<std::size_t>(step)];
}

int ResolutionStepOfWidth(bool largeSensor, int captureWidth) {
    for (int i = 0; i < kResolutionSteps; ++i) {
        if (Steps(largeSensor)[static_cast<std::size_t>(i)].width == captureWidth) {
            return i;
        }
    }
    return -1;
}

std::array<std::string, kResolutionSteps> ResolutionComboTexts(bool largeSensor) {
    std::array<std::string, kResolutionSteps> texts;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        texts[i] = fmt::format("{}*{}", Steps(largeSensor)[i].width, Steps(largeSensor)[i].height);
    }
    return texts;
}

std::string ResolutionHotkeyHint(bool largeSensor) {
    // U+FF1A FULLWIDTH COLON after F10; the spacing is the one operators know from the panel.
    return largeSensor ? "F10\xEF\xBC\x9A"
                         "640x480  F11: 1280x960   F12: 1600x1200"
                       : " F10\xEF\xBC\x9A"
                         "320x240  F11: 640x480   F12: 1280x1024";
}

}  // namespace lensora
