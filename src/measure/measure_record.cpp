#include "measure/measure_record.h"

#include <algorithm>
#include <array>
#include <limits>

namespace lensora {

namespace {

struct GapStep {
    std::int64_t maxSize;  // inclusive upper bound of the font sizes
    int gap;
};

// Line gaps of the label fonts, by font size; sizes above the last step fall back to 12.
constexpr std::array kGapSteps = {
    GapStep{13, 12}, GapStep{15, 13}, GapStep{16, 14}, GapStep{19, 16}, GapStep{21, 18},
    GapStep{24, 20}, GapStep{27, 22}, GapStep{29, 24}, GapStep{32, 26}, GapStep{35, 28},
    GapStep{37, 30}, GapStep{48, 36}, GapStep{64, 48}, GapStep{96, 72},
};

int ToInt(std::uint32_t value) {
    return static_cast<int>(std::min<std::uint32_t>(value, std::numeric_limits<int>::max()));
}

}  // namespace

int LineGapForFontSize(std::int64_t fontSize) {
    if (fontSize <= 0) {
        return kDefaultLineGap;
    }
    for (const GapStep& step : kGapSteps) {
        if (fontSize <= step.maxSize) {
            return step.gap;
        }
    }
    return kDefaultLineGap;
}

MeasureRecord NewRecord() {
    return MeasureRecord{};
}

MeasureRecord NewRecord(int kind, const AppSettings& settings, const ViewDrawingStyle& style) {
    MeasureRecord record;
    record.kind = kind;
    record.penStyle = ToInt(settings.lineType);
    record.penWidth = ToInt(settings.lineWidth);
    record.penColor = UsableColour(style.penColor);
    record.labelColor = UsableColour(style.labelColor);
    record.labelFont = style.labelFont;
    // Single-line labels never use the gap; taking it always also serves the continuous
    // line, whose total is drawn one gap below its last label.
    record.lineGap = LineGapForFontSize(settings.fontSize);
    return record;
}

MeasureRecord NewRecord(StillKind kind, const AppSettings& settings,
                        const ViewDrawingStyle& style) {
    return NewRecord(static_cast<int>(kind), settings, style);
}

MeasureRecord NewRecord(LiveKind kind, const AppSettings& settings, const ViewDrawingStyle& style) {
    return NewRecord(static_cast<int>(kind), settings, style);
}

std::vector<std::string> EmptyLabels(StillKind kind) {
    const ToolInfo* tool = FindStillToolByKind(kind);
    return std::vector<std::string>(tool != nullptr ? std::size_t(tool->labelLines) : 0);
}

}  // namespace lensora
