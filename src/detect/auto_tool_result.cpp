#include "detect/auto_tool_result.h"

namespace lensora {

MeasureRecord MakeAutoRecord(const AutoToolResult& result, const AppSettings& settings,
                             const ViewDrawingStyle& style) {
    MeasureRecord record = NewRecord(result.kind, settings, style);
    record.points = result.points;
    record.labels = result.labels;
    record.fitRadius = result.fitRadius;
    record.refined = result.refined;
    return record;
}

}  // namespace lensora
