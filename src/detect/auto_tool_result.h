// What an automatic tool hands back to the view that ran it: the record code, the record's
// points (view position plus scroll offset, in the order the renderer expects), its label
// lines and, for the automatic circle, the fitted radius. MakeAutoRecord turns it into a
// MeasureRecord with the view's current pen, colours and label font.
#pragma once

#include <optional>
#include <vector>

#include "base/persisted_settings.h"
#include "base/pixel_point.h"
#include "measure/measure_record.h"
#include "measure/measured_values.h"

namespace lensora {

// The view an automatic tool works for; it decides the record code and, for the line
// spacing, whether the tick points are stored (the live view's renderer derives them).
enum class AutoView { kStill, kLive };

struct AutoToolResult {
    int kind = kNoToolKind;
    std::vector<PixelPoint> points;
    Labels labels;
    double fitRadius = 0.0;                  // pixels; automatic circle only
    std::optional<RefinedGeometry> refined;  // sub-pixel results, record coordinates
};

MeasureRecord MakeAutoRecord(const AutoToolResult& result, const AppSettings& settings,
                             const ViewDrawingStyle& style);

}  // namespace lensora
