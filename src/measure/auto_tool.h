// The hook through which the automatic tools (edge snapping, fits, check edge) plug into the
// interaction of both views. The detection code implements AutoToolHandler; the interaction
// asks it for a ClickTool whenever an automatic tool is chosen and routes every click,
// double-click, right click and pointer move of that tool to it, exactly as for a manual
// tool: a right click the tool consumes finishes it (automatic circle, arc, line length 2);
// one it does not consume cancels (still view) or opens the context menu (live view).
// User-interface thread only.
#pragma once

#include <memory>

#include "measure/click_tool.h"
#include "measure/tool_catalog.h"

namespace lensora {

class AutoToolHandler {
  public:
    virtual ~AutoToolHandler() = default;

    // The tool object of a still-view automatic mode (18, 19, 21, 23, 24, 333) or a live
    // automatic tool (21 to 25). The tool stores points in the view's coordinates and builds
    // its records with env.MakeRecord and env.Scale(). nullptr: the tool takes no clicks.
    virtual std::unique_ptr<ClickTool> MakeStillTool(StillMode mode, ToolEnv& env) = 0;
    virtual std::unique_ptr<ClickTool> MakeLiveTool(LiveKind kind, ToolEnv& env) = 0;

    // Check edge (portion): the section marked by the press and release corners (stored
    // coordinates: client + scroll; either order, never empty). Returns whether it was
    // processed.
    virtual bool ProcessSection(PixelPoint corner1, PixelPoint corner2) = 0;
};

}  // namespace lensora
