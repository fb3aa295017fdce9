#include "detect/auto_click_tools.h"

#include <utility>
#include <vector>

#include "detect/auto_line_tools.h"
#include "detect/noise_estimate.h"
#include "measure/record_move.h"

namespace lensora {

namespace {

// The record of a detection result with the view's current pen, colours and label font: the
// same record MakeAutoRecord builds, taken from the interaction so that automatic and manual
// records of a view look alike.
MeasureRecord RecordOf(const AutoToolResult& result, ToolEnv& env) {
    MeasureRecord record = env.MakeRecord(result.kind);
    record.points = result.points;
    record.labels = result.labels;
    record.fitRadius = result.fitRadius;
    record.refined = result.refined;
    return record;
}

ToolStep StoreStep(const AutoToolResult& result, ToolEnv& env, int anchorIndex) {
    ToolStep step = StepOf(false, true, true);
    step.record = RecordOf(result, env);
    step.anchorIndex = anchorIndex;
    return step;
}

class SegmentClickTool final : public ClickTool {
  public:
    SegmentClickTool(SegmentTool tool, AutoView view, SharedHooks hooks, ToolEnv& env)
        : tool_(tool), view_(view), hooks_(std::move(hooks)), env_(env) {}

    ToolStep Click(PixelPoint p) override {
        ToolStep step = StepOf(working_.points.empty(), true, false);
        working_.points.push_back(p);
        if (working_.points.size() < ClicksNeeded()) {
            return step;
        }
        const std::vector<PixelPoint> clicks = std::move(working_.points);
        working_.Clear();
        step.ended = true;
        return Store(clicks, step);
    }

    std::optional<RubberBand> Band(PixelPoint pointer) const override {
        // A line follows the pointer from the first click of each segment.
        if (working_.points.size() % 2 == 1) {
            return BandOf(RubberBandKind::Line, working_.points.back(), pointer);
        }
        return std::nullopt;
    }

    bool InProgress() const override { return !working_.points.empty(); }
    void Reset() override { working_.Clear(); }
    const WorkingLists& Working() const override { return working_; }

  private:
    std::size_t ClicksNeeded() const { return tool_ == SegmentTool::kLineLength1 ? 2 : 4; }

    // Runs the search on the drawn segments and turns the result into the step's record; the
    // anchor starts at the storing click, which is the record's last point.
    ToolStep Store(const std::vector<PixelPoint>& clicks, ToolStep step) {
        const ViewTransform mapping = CurrentMapping(*hooks_);
        const DrawnSegment first{StoredToView(clicks[0], mapping),
                                 StoredToView(clicks[1], mapping)};
        const PixelPoint anchor = StoredToView(clicks.back(), mapping);
        std::optional<DrawnSegment> second;
        if (clicks.size() == 4) {
            second =
                DrawnSegment{StoredToView(clicks[2], mapping), StoredToView(clicks[3], mapping)};
        }
        CxImage none;  // no picture: every search fails and the drawn segments stand in
        CxImage* picture = hooks_->picture ? hooks_->picture() : nullptr;
        const CxImage& image = picture != nullptr ? *picture : none;
        const ScaleContext scale = env_.Scale();

        std::optional<AutoToolResult> result;
        {
            BusyScope busy(*hooks_);
            const SubPixelNoise noise = env_.Drawing().subPixelEdges && picture != nullptr
                                            ? SubPixelNoise(noise_.SigmaFor(image))
                                            : std::nullopt;
            switch (tool_) {
                case SegmentTool::kLineLength1:
                    result = AutoLineLength1(image, first, anchor, mapping, scale, noise);
                    break;
                case SegmentTool::kLineSpacing:
                    if (std::optional<LineSpacingResult> spacing = AutoLineSpacing(
                            image, first, *second, anchor, mapping, scale, view_, noise)) {
                        result = std::move(spacing->record);
                    }
                    break;
                case SegmentTool::kAngle:
                    if (std::optional<AngleDetectionResult> angle = AutoAngleDetection(
                            image, first, *second, anchor, mapping, view_, noise)) {
                        result = std::move(angle->record);
                    }
                    break;
            }
        }
        if (!result || result->points.empty()) {
            return step;  // nothing to measure: nothing stored
        }
        ToolStep stored = StoreStep(*result, env_, static_cast<int>(result->points.size()) - 1);
        stored.started = step.started;
        return stored;
    }

    SegmentTool tool_;
    AutoView view_;
    SharedHooks hooks_;
    ToolEnv& env_;
    WorkingLists working_;
    NoiseCache noise_;
};

class PointClickTool final : public ClickTool {
  public:
    PointClickTool(PointTool tool, AutoView view, SharedHooks hooks, ToolEnv& env)
        : tool_(tool), view_(view), hooks_(std::move(hooks)), env_(env) {}

    ToolStep Click(PixelPoint p) override {
        CxImage* picture = hooks_->picture ? hooks_->picture() : nullptr;
        if (picture == nullptr) {
            return UnusedStep();
        }
        const ViewTransform mapping = CurrentMapping(*hooks_);
        const DrawingSettings drawing = env_.Drawing();
        if (drawing.subPixelEdges && refined_.size() == working_.points.size()) {
            return SubPixelClickStep(*picture, StoredToView(p, mapping), mapping,
                                     drawing.detectionRange);
        }
        const std::optional<PixelPoint> snapped =
            SnapClick(*picture, StoredToView(p, mapping), mapping, env_.Drawing().detectionRange);
        if (!snapped) {
            return UnusedStep();  // not a 24-bit picture: the click is ignored
        }
        const bool first = working_.points.empty();
        working_.points.push_back(mapping.ToRecord(*snapped));
        return StepOf(first, true, false);
    }

    // The click snapped and refined to a sub-pixel edge point, kept in record coordinates
    // beside its rounded cross; no edge: the user is told and the click is not collected.
    ToolStep SubPixelClickStep(const CxImage& picture, PixelPoint click, const ViewTransform& mapping,
                               int detectRange) {
        const SubPixelClick refined =
            SnapClickSubPixel(picture, click, mapping, detectRange, noise_.SigmaFor(picture));
        if (!refined.detectable) {
            return UnusedStep();
        }
        if (!refined.point) {
            if (hooks_->notify) {
                hooks_->notify(kNoEdgeFoundText);
            }
            return UnusedStep();
        }
        const bool first = working_.points.empty();
        const PointD stored = mapping.ToRecordD(*refined.point);
        refined_.push_back(stored);
        working_.points.push_back(RoundToPixel(stored));
        return StepOf(first, true, false);
    }

    ToolStep RightClick(PixelPoint p) override {
        if (!PointToolReady(tool_, working_.points.size())) {
            return UnusedStep();
        }
        const ViewTransform mapping = CurrentMapping(*hooks_);
        std::vector<PixelPoint> collected;
        collected.reserve(working_.points.size());
        for (PixelPoint stored : working_.points) {
            collected.push_back(StoredToView(stored, mapping));
        }
        const ScaleContext scale = env_.Scale();
        std::optional<AutoToolResult> result;
        if (refined_.size() == working_.points.size()) {
            result = EvaluateSubPixel(StoredToView(p, mapping), mapping, scale);
        } else {
            result = Evaluate(collected, StoredToView(p, mapping), mapping, scale);
        }
        if (!result) {
            // No circle or line through these points: they stay, and another click may
            // make the fit possible.
            return StepOf(false, false, false);
        }
        Reset();
        // Stored at once: the label stands where the fit puts it.
        return StoreStep(*result, env_, -1);
    }

    bool InProgress() const override { return !working_.points.empty(); }
    void Reset() override {
        working_.Clear();
        refined_.clear();
    }
    const WorkingLists& Working() const override { return working_; }

  private:
    std::optional<AutoToolResult> EvaluateSubPixel(PixelPoint rightClick,
                                                   const ViewTransform& mapping,
                                                   const ScaleContext& scale) const {
        std::vector<PointD> points;
        points.reserve(refined_.size());
        for (const PointD& stored : refined_) {
            points.push_back({stored.x - mapping.origin.x, stored.y - mapping.origin.y});
        }
        switch (tool_) {
            case PointTool::kCircle:
                return AutoCircleSubPixel(points, rightClick, mapping, scale, view_);
            case PointTool::kArc:
                return AutoArcSubPixel(points, mapping, scale, view_);
            case PointTool::kLineLength2:
                return AutoLineLength2SubPixel(points, mapping, scale, view_);
        }
        return std::nullopt;
    }

    std::optional<AutoToolResult> Evaluate(const std::vector<PixelPoint>& collected,
                                           PixelPoint rightClick, const ViewTransform& mapping,
                                           const ScaleContext& scale) const {
        std::optional<AutoToolResult> result;
        switch (tool_) {
            case PointTool::kCircle:
                result = AutoCircle(collected, rightClick, mapping, scale, view_);
                break;
            case PointTool::kArc:
                result = AutoArc(collected, mapping, scale, view_);
                break;
            case PointTool::kLineLength2:
                result = AutoLineLength2(collected, mapping, scale, view_);
                break;
        }
        return result;
    }

    PointTool tool_;
    AutoView view_;
    SharedHooks hooks_;
    ToolEnv& env_;
    WorkingLists working_;
    // Refined positions of the collected points (record coordinates), while every point was
    // collected with "Sub-pixel edges" on; otherwise the tool follows the integer rules.
    std::vector<PointD> refined_;
    NoiseCache noise_;
};

}  // namespace

ViewTransform CurrentMapping(const DetectionHooks& hooks) {
    return hooks.mapping ? hooks.mapping() : ViewTransform{};
}

PixelPoint StoredToView(PixelPoint stored, const ViewTransform& mapping) {
    return OffsetPoint(stored, -std::int64_t{mapping.origin.x}, -std::int64_t{mapping.origin.y});
}

BusyScope::BusyScope(const DetectionHooks& hooks) : hooks_(hooks) {
    if (hooks_.busy) {
        hooks_.busy(true);
    }
}

BusyScope::~BusyScope() {
    if (hooks_.busy) {
        hooks_.busy(false);
    }
}

std::unique_ptr<ClickTool> MakeSegmentTool(SegmentTool tool, AutoView view, SharedHooks hooks,
                                           ToolEnv& env) {
    return std::make_unique<SegmentClickTool>(tool, view, std::move(hooks), env);
}

std::unique_ptr<ClickTool> MakePointTool(PointTool tool, AutoView view, SharedHooks hooks,
                                         ToolEnv& env) {
    return std::make_unique<PointClickTool>(tool, view, std::move(hooks), env);
}

}  // namespace lensora
