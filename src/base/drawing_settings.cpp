#include "base/drawing_settings.h"

#include <algorithm>

namespace lensora {

Pen DrawingSettings::CurrentPen() const {
    return Pen{static_cast<PenStyle>(std::clamp(penStyle, 0, 3)), penWidth, penColour};
}

DrawingSettings InitialDrawingSettings(const AppSettings& settings, const LogFont& labelFont) {
    DrawingSettings d;
    d.penStyle = static_cast<int>(std::min<std::uint32_t>(settings.lineType, 2));
    d.penWidth = static_cast<int>(std::clamp<std::uint32_t>(settings.lineWidth, kMinPenWidth, 64));
    d.penColour = UsableColour(settings.lineColor);
    d.labelColour = UsableColour(settings.measureTxtColor);
    d.labelFont = labelFont;
    d.subPixelEdges = settings.subPixelEdges != 0;
    return d;
}

int DetectionRangeForIndex(int index) {
    if (index < 0 || index >= static_cast<int>(kDetectionRanges.size())) {
        return kDefaultDetectionRange;
    }
    return kDetectionRanges[static_cast<std::size_t>(index)];
}

int DetectionRangeIndex(int range) {
    const auto it = std::find(kDetectionRanges.begin(), kDetectionRanges.end(), range);
    return it == kDetectionRanges.end() ? static_cast<int>(kDetectionRanges.size()) - 1
                                        : static_cast<int>(it - kDetectionRanges.begin());
}

int LineTypeShownInDialog(int penWidth, int penStyle) {
    if (penWidth != 1) {
        return 0;
    }
    return std::clamp(penStyle, 0, 2);
}

int UnitButtonIndex(std::string_view unit) {
    const auto it = std::find(kDialogUnits.begin(), kDialogUnits.end(), unit);
    return it == kDialogUnits.end() ? 0 : static_cast<int>(it - kDialogUnits.begin());
}

int DecimalsShownInDialog(int decimals) {
    return decimals == 2 || decimals == 3 || decimals == 4 ? decimals : 5;
}

}  // namespace lensora
