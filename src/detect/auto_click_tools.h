// The click sequences behind DetectionTools (detection_tools.h): the segment tools, whose
// drawn segments are searched for the real edge at the storing click, and the point tools,
// whose snapped clicks are fitted at the right click. Points in stored coordinates; the
// hooks give the picture, the mapping and the notifications. User-interface thread only.
#pragma once

#include <memory>

#include "detect/auto_point_tools.h"
#include "detect/auto_tool_result.h"
#include "detect/detection_tools.h"
#include "measure/click_tool.h"

namespace lensora {

using SharedHooks = std::shared_ptr<const DetectionHooks>;

enum class SegmentTool { kLineLength1, kLineSpacing, kAngle };

// Line length 1 (one drawn segment), line spacing and angle detection (two drawn segments).
std::unique_ptr<ClickTool> MakeSegmentTool(SegmentTool tool, AutoView view, SharedHooks hooks,
                                           ToolEnv& env);
// Auto circle, auto arc and line length 2.
std::unique_ptr<ClickTool> MakePointTool(PointTool tool, AutoView view, SharedHooks hooks,
                                         ToolEnv& env);

// The hooks' mapping, or the identity when there is none.
ViewTransform CurrentMapping(const DetectionHooks& hooks);
// A stored point as the detection code sees it: minus the mapping's scroll offset.
PixelPoint StoredToView(PixelPoint stored, const ViewTransform& mapping);

// Reports busy from construction to destruction.
class BusyScope {
  public:
    explicit BusyScope(const DetectionHooks& hooks);
    ~BusyScope();
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

  private:
    const DetectionHooks& hooks_;
};

}  // namespace lensora
