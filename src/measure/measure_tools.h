// The click sequences of the manual measuring tools of both views (ClickTool objects): the
// tools with a fixed number of clicks (lines, dot line, circles, rectangle, ellipse, angles,
// arc, circle and square labels), and the factories that pick the tool object of a still
// mode or a live tool, including the continuous line, polygon and two circles of
// path_tools.h and two_circles_tool.h. User-interface thread only.
#pragma once

#include <memory>

#include "measure/click_tool.h"
#include "measure/tool_catalog.h"

namespace lensora {

// How a tool stores its record: the record code of its view, whether values are computed
// (false: the still view's draw menu, empty labels, no label placement), whether it is the
// live view (fewer points for the straight and parallel line).
struct ToolSetup {
    int kind = kNoToolKind;
    bool measuring = true;
    bool live = false;
};

// The manual tool of a still mode, or nullptr for modes without a click sequence of their
// own (select, text, magnifier, check edge, automatic tools, no tool).
std::unique_ptr<ClickTool> MakeStillTool(StillMode mode, bool measuring, ToolEnv& env);
// The manual tool of a live tool code, or nullptr (no tool, text, comparison shapes,
// automatic tools).
std::unique_ptr<ClickTool> MakeLiveTool(LiveKind kind, ToolEnv& env);

}  // namespace lensora
