#include "measure/path_tools.h"

#include "measure/geometry.h"
#include "measure/measured_values.h"

namespace lensora {

namespace {

ToolStep Ended() {
    return StepOf(false, true, true);
}

// The record made of a path's working points and segment labels; none when no segment was
// measured.
ToolStep StoreWorkingPath(WorkingLists& working, ToolEnv& env, int kind) {
    ToolStep step = Ended();
    if (!working.labels.empty()) {
        MeasureRecord record = env.MakeRecord(kind);
        record.points = std::move(working.points);
        record.labels = std::move(working.labels);
        step.record = std::move(record);
    }
    return step;
}

ToolStep Ignored() {
    return UnusedStep();
}

}  // namespace

PixelPoint ContinuousLineTool::LastVertex() const {
    const auto& points = working_.points;
    return points.size() == 1 ? points[0] : points[points.size() - 2];
}

ToolStep ContinuousLineTool::Click(PixelPoint p) {
    auto& points = working_.points;
    if (points.empty()) {
        points.push_back(p);
        return StepOf(true, true, false);
    }
    if (placingLabel_) {
        points.back() = p;
        placingLabel_ = false;
        return StepOf(false, true, false);
    }
    if (p == LastVertex()) {
        return Ignored();
    }
    working_.labels.push_back(ContinuousSegmentLabel(LastVertex(), p, env_.Scale()));
    points.push_back(p);  // the segment's end vertex
    points.push_back(p);  // its label anchor, which now follows the pointer
    placingLabel_ = true;
    return StepOf(false, true, false);
}

ToolStep ContinuousLineTool::DoubleClick(PixelPoint p) {
    if (working_.points.empty()) {
        return Click(p);
    }
    ToolStep step = StoreWorkingPath(working_, env_, kind_);
    Reset();
    return step;
}

std::optional<PixelBox> ContinuousLineTool::Move(PixelPoint p) {
    if (!placingLabel_ || working_.points.back() == p) {
        return std::nullopt;
    }
    const std::vector<std::string> label{working_.labels.back()};
    const int gap = kDefaultLineGap;
    const PixelBox before = LabelArea(working_.points.back(), label, gap);
    working_.points.back() = p;
    return UnionRect(before, LabelArea(p, label, gap));
}

std::optional<RubberBand> ContinuousLineTool::Band(PixelPoint pointer) const {
    if (working_.points.empty() || placingLabel_) {
        return std::nullopt;
    }
    return BandOf(RubberBandKind::Line, LastVertex(), pointer);
}

void ContinuousLineTool::Reset() {
    working_.Clear();
    placingLabel_ = false;
}

void FreehandTool::AddPoint(PixelPoint p) {
    working_.points.push_back(p);
    working_.points.push_back(p);
    working_.labels.emplace_back();
}

ToolStep FreehandTool::Click(PixelPoint p) {
    auto& points = working_.points;
    if (points.empty()) {
        points.push_back(p);
        return StepOf(true, true, false);
    }
    if (p != points.back()) {
        AddPoint(p);
    }
    ToolStep step = StoreWorkingPath(working_, env_, kind_);
    Reset();
    return step;
}

std::optional<PixelBox> FreehandTool::Move(PixelPoint p) {
    if (working_.points.empty() || working_.points.back() == p) {
        return std::nullopt;
    }
    const PixelPoint last = working_.points.back();
    AddPoint(p);
    return SpanRect(last, p);
}

ToolStep PolygonTool::Click(PixelPoint p) {
    auto& points = working_.points;
    if (!points.empty() && points.back() == p) {
        return Ignored();
    }
    points.push_back(p);
    return StepOf(points.size() == 1, true, false);
}

ToolStep PolygonTool::DoubleClick(PixelPoint p) {
    auto& points = working_.points;
    if (points.empty()) {
        return Click(p);
    }
    // The first press of the double-click placed the last vertex; the double-click repeats
    // it, so the closing edge starts from the repeat and the edge to the last vertex is drawn.
    if (points.back() != p) {
        points.push_back(p);
    }
    points.push_back(p);
    // A polygon with fewer than three vertices or without an inside pixel is kept with an area
    // of zero; only coordinates beyond the counting limits store nothing.
    std::optional<Labels> labels = PolygonLabels(points, env_.Scale());
    if (!labels) {
        Reset();
        return Ended();
    }
    ToolStep step = Ended();
    MeasureRecord record = env_.MakeRecord(kind_);
    record.points = std::move(points);
    record.points.push_back(p);  // the label anchor starts at the double-click
    record.labels = std::move(*labels);
    step.anchorIndex = static_cast<int>(record.points.size()) - 1;
    step.record = std::move(record);
    Reset();
    return step;
}

std::optional<RubberBand> PolygonTool::Band(PixelPoint pointer) const {
    if (working_.points.empty()) {
        return std::nullopt;
    }
    return BandOf(RubberBandKind::Line, working_.points.back(), pointer);
}

}  // namespace lensora
