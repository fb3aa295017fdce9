// Click sequences whose number of points is open: the continuous line (a vertex click, then
// the click that fixes that segment's label, until a double-click stores), its draw-only
// freehand variant (every pointer move adds a point, the second click stores) and the
// polygon (clicks add vertices, a double-click closes it and its label is placed next).
// Appending a point costs constant time, so paths of many thousand segments stay fluid.
// User-interface thread only.
#pragma once

#include "measure/click_tool.h"

namespace lensora {

// Points: p0 first vertex, then per segment its end vertex and its label's anchor; one label
// per segment. Clicking the last vertex again adds nothing (no zero-length segments).
class ContinuousLineTool final : public ClickTool {
  public:
    ContinuousLineTool(int kind, ToolEnv& env) : kind_(kind), env_(env) {}

    ToolStep Click(PixelPoint p) override;
    // Stores when at least one segment exists; its own position is not kept.
    ToolStep DoubleClick(PixelPoint p) override;
    std::optional<PixelBox> Move(PixelPoint p) override;
    std::optional<RubberBand> Band(PixelPoint pointer) const override;
    bool InProgress() const override { return !working_.points.empty(); }
    void Reset() override;
    const WorkingLists& Working() const override { return working_; }

  private:
    PixelPoint LastVertex() const;

    int kind_;
    ToolEnv& env_;
    WorkingLists working_;
    bool placingLabel_ = false;  // the newest segment's label follows the pointer
};

// Draw-only continuous line: the same point layout with empty labels.
class FreehandTool final : public ClickTool {
  public:
    FreehandTool(int kind, ToolEnv& env) : kind_(kind), env_(env) {}

    ToolStep Click(PixelPoint p) override;
    std::optional<PixelBox> Move(PixelPoint p) override;
    bool InProgress() const override { return !working_.points.empty(); }
    void Reset() override { working_.Clear(); }
    const WorkingLists& Working() const override { return working_; }

  private:
    void AddPoint(PixelPoint p);

    int kind_;
    ToolEnv& env_;
    WorkingLists working_;
};

// Points: the vertices in click order, the last being the double-click position, then the
// label anchor. Fewer than three vertices or no pixel inside: nothing is stored.
class PolygonTool final : public ClickTool {
  public:
    PolygonTool(int kind, ToolEnv& env) : kind_(kind), env_(env) {}

    ToolStep Click(PixelPoint p) override;
    ToolStep DoubleClick(PixelPoint p) override;
    std::optional<RubberBand> Band(PixelPoint pointer) const override;
    bool InProgress() const override { return !working_.points.empty(); }
    void Reset() override { working_.Clear(); }
    const WorkingLists& Working() const override { return working_; }

  private:
    int kind_;
    ToolEnv& env_;
    WorkingLists working_;
};

}  // namespace lensora
