// The automatic tools of one view (the still canvas or the live window owns one instance and
// hands it to its interaction as the AutoToolHandler): the click sequences that collect the
// user's clicks and run the edge searches and fits of the detection code, the check-edge
// section and the whole-picture edge painting.
//
// Coordinates: the interaction gives the tools stored points (client + scroll in the still
// view, video-area pixels in the live view); the detection code works in view pixels (client
// position, no scroll) with the view's ViewTransform. The tools convert with view = stored -
// mapping scroll, so the mapping's scroll offset must be the one the interaction adds.
//
// Tools and what their clicks do:
//   Auto Line-Length1 (still 23)           two clicks draw a segment; the second stores the
//                                          record and its label follows the pointer
//   Auto Line-spacing (still 18, live 24)  two segments (four clicks); the fourth stores
//   Auto Angle-detection (still 21, live 25)  two segments (four clicks); the fourth stores
//   Auto circle (still 19, live 21)        each left click is snapped onto the nearest edge
//   Auto arc (still 333, live 23)          and collected; the right click, once enough
//   Auto Line-Length2 (still 24, live 22)  points are set, stores the record with its label
//                                          where the fit puts it (no placing click)
// Working() lists the clicks of a segment tool (consecutive pairs are the drawn segments) and
// the snapped points of a point tool (each shown as a small cross), in stored coordinates.
// A right click on a point tool that is not ready is not used, so the still view cancels and
// the live view opens its context menu; a ready tool whose fit finds no circle or line keeps
// its points and uses the click.
//
// Automatic line calibration needs nothing of its own here: the line spacing record (p0, p1
// the two edge points, view pixels plus scroll) is stored like any other, and the view's
// interaction hands it over as the calibration line (StillInteraction::ExpectCalibrationLine);
// its pixel length is |p1 - p0|.
//
// Ownership: the hooks are copied; the tools made here keep their own reference to them, so
// they may outlive this object. User-interface thread only.
#pragma once

#include <functional>
#include <memory>
#include <string_view>

#include "base/view_transform.h"
#include "imaging/cx_image.h"
#include "measure/auto_tool.h"

namespace lensora {

// What the tools need from the window that owns them. Every member may be left empty: no
// picture, the identity mapping, no notification. No hook may choose a tool or change the
// records: the tool that calls it is still running.
struct DetectionHooks {
    // The picture to work on: the still picture, or the live view's current frame grab;
    // mutable for edge painting. nullptr: no picture (snapped clicks are ignored, segment
    // searches find nothing and the drawn segments are used).
    std::function<CxImage*()> picture;
    // Scroll offset and view-to-picture factors at this moment.
    std::function<ViewTransform()> mapping;
    // true before a segment search or an edge painting, false after it; always paired. The
    // view shows the busy cursor in between.
    std::function<void(bool busy)> busy;
    // Edge painting changed the picture's pixels: redraw from the picture.
    std::function<void()> pictureChanged;
    // A notice for the user, e.g. kNoEdgeFoundText when a sub-pixel click finds no edge.
    std::function<void(std::string_view text)> notify;
};

class DetectionTools final : public AutoToolHandler {
  public:
    explicit DetectionTools(DetectionHooks hooks);
    ~DetectionTools() override;

    // nullptr for modes and codes that are not automatic tools of that view.
    std::unique_ptr<ClickTool> MakeStillTool(StillMode mode, ToolEnv& env) override;
    std::unique_ptr<ClickTool> MakeLiveTool(LiveKind kind, ToolEnv& env) override;

    // Check edge (portion): paints the edges inside the section whose corners the still
    // interaction passes in stored coordinates (client + scroll). Busy around the painting,
    // then pictureChanged. False (nothing changed, no notification) without a 24-bit picture
    // or for a section outside it.
    bool ProcessSection(PixelPoint corner1, PixelPoint corner2) override;

    // "Edge Detect(Global)": paints the edges of the whole picture, with the same
    // notifications.
    bool PaintWholePicture();

  private:
    bool Paint(const std::function<bool(CxImage&)>& paint);

    std::shared_ptr<const DetectionHooks> hooks_;
};

}  // namespace lensora
