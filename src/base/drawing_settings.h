// The current drawing settings of a canvas: how measurements made from now on look (pen,
// label colour and font) and how far edge snapping searches. Existing records keep their own
// pen and font. Colours 0x00BBGGRR; widths and ranges in pixels. UI thread only.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "base/drawing_surface.h"
#include "base/log_font.h"
#include "base/persisted_settings.h"

namespace lensora {

inline constexpr std::array<int, 6> kDetectionRanges = {10, 12, 14, 16, 18, 20};
inline constexpr int kDefaultDetectionRange = 20;
inline constexpr int kMinPenWidth = 1;
inline constexpr int kMaxPenWidth = 3;

struct DrawingSettings {
    int penStyle = 0;  // 0 solid, 1 dash, 2 dot
    int penWidth = 1;
    std::uint32_t penColour = 0;
    std::uint32_t labelColour = 0;
    LogFont labelFont = DefaultLogFont();
    int detectionRange = kDefaultDetectionRange;
    bool subPixelEdges = true;  // automatic tools refine their edges to sub-pixel positions

    Pen CurrentPen() const;
};

// The settings a canvas starts with: pen and colours from the program-wide settings (colours
// without their top byte) and the label font given (from the label font file or the default).
DrawingSettings InitialDrawingSettings(const AppSettings& settings, const LogFont& labelFont);

// The detection range of entry `index` of the range list ("10" ... "20"); 20 for any other.
int DetectionRangeForIndex(int index);
int DetectionRangeIndex(int range);

// The line type the pen dialog shows checked: solid whenever the width is not 1.
int LineTypeShownInDialog(int penWidth, int penStyle);

// The unit and decimals buttons of the dialog: an unknown unit shows "mm", decimals other than
// 2, 3 or 4 show 5.
inline constexpr std::array<std::string_view, 5> kDialogUnits = {"mm", "cm", "mil", "inch",
                                                                 setting::kMicrometreShown};
int UnitButtonIndex(std::string_view unit);
int DecimalsShownInDialog(int decimals);

}  // namespace lensora
