#include "measure/measure_tools.h"

#include <span>
#include <vector>

#include "measure/geometry.h"
#include "measure/measured_values.h"
#include "measure/path_tools.h"
#include "measure/two_circles_tool.h"

namespace lensora {

namespace {

struct Built {
    MeasureRecord record;
    int anchorIndex = -1;
};

using Clicks = std::span<const PixelPoint>;
using Builder = std::optional<Built> (*)(Clicks, const ToolSetup&, ToolEnv&);

bool IsKind(const ToolSetup& setup, StillKind still, LiveKind live) {
    return setup.kind ==
           static_cast<int>(setup.live ? static_cast<int>(live) : static_cast<int>(still));
}

// A record of the tool with its points and labels; the anchor is the last point.
std::optional<Built> Finish(const ToolSetup& setup, ToolEnv& env, std::vector<PixelPoint> points,
                            Labels labels) {
    Built built{env.MakeRecord(setup.kind), static_cast<int>(points.size()) - 1};
    built.record.points = std::move(points);
    built.record.labels = std::move(labels);
    return built;
}

std::optional<Built> BuildLine(Clicks c, const ToolSetup& setup, ToolEnv& env) {
    std::optional<Labels> labels = LineLabels(c[0], c[1], env.Scale());
    if (!labels) {
        return std::nullopt;
    }
    if (setup.live) {
        // The live renderer derives the end ticks from start and end.
        return Finish(setup, env, {c[0], c[1], c[1]}, std::move(*labels));
    }
    const bool parallel = IsKind(setup, StillKind::kParallelLine, LiveKind::kParallelLine);
    const auto ticks =
        EndTicks(c[0], c[1], parallel ? kParallelTickHalfLength : kLineTickHalfLength);
    return Finish(setup, env, {c[0], c[1], ticks[0], ticks[1], ticks[2], ticks[3], c[1]},
                  std::move(*labels));
}

std::optional<Built> BuildDotLine(Clicks c, const ToolSetup& setup, ToolEnv& env) {
    std::optional<DotLineValues> values = DotLineLabels(c[0], c[1], c[2], env.Scale());
    if (!values) {
        return std::nullopt;
    }
    return Finish(setup, env, {c[0], c[1], c[2], c[2]}, std::move(values->labels));
}

std::optional<Built> BuildRadiusCircle(Clicks c, const ToolSetup& setup, ToolEnv& env) {
    std::optional<Labels> labels = RadiusCircleLabels(c[0], c[1], env.Scale());
    if (!labels) {
        return std::nullopt;
    }
    return Finish(setup, env, {c[0], c[1], c[1]}, std::move(*labels));
}

std::optional<Built> BuildDiameterCircle(Clicks c, const ToolSetup& setup, ToolEnv& env) {
    std::optional<DiameterCircleValues> values = DiameterCircleLabels(c[0], c[1], env.Scale());
    if (!values) {
        return std::nullopt;
    }
    return Finish(setup, env, {values->centre, c[0], c[1], c[1]}, std::move(values->labels));
}

std::optional<Built> BuildRectangle(Clicks c, const ToolSetup& setup, ToolEnv& env) {
    // A box without width or height is kept: it reads an area of zero and its one real side.
    const bool ellipse = setup.live && setup.kind == static_cast<int>(LiveKind::kEllipse);
    Labels labels =
        ellipse ? EllipseLabels(c[0], c[1], env.Scale()) : RectangleLabels(c[0], c[1], env.Scale());
    return Finish(setup, env, {c[0], c[1], c[1]}, std::move(labels));
}

std::optional<Built> BuildAngle(Clicks c, const ToolSetup& setup, ToolEnv& env) {
    std::optional<Labels> labels = AngleLabels(c[0], c[1], c[2]);
    if (!labels) {
        return std::nullopt;
    }
    return Finish(setup, env, {c[0], c[1], c[2], c[2]}, std::move(*labels));
}

std::optional<Built> BuildFourPointAngle(Clicks c, const ToolSetup& setup, ToolEnv& env) {
    std::optional<Labels> labels = FourPointAngleLabels(c[0], c[1], c[2], c[3]);
    if (!labels) {
        return std::nullopt;
    }
    return Finish(setup, env, {c[0], c[1], c[2], c[3], c[3]}, std::move(*labels));
}

std::optional<Built> BuildThreePointCircle(Clicks c, const ToolSetup& setup, ToolEnv& env) {
    std::optional<ThreePointCircleValues> values =
        ThreePointCircleLabels(c[0], c[1], c[2], env.Scale());
    if (!values) {
        return std::nullopt;
    }
    return Finish(setup, env, {values->centre, c[1], c[0], c[2], c[2]}, std::move(values->labels));
}

std::optional<Built> BuildArc(Clicks c, const ToolSetup& setup, ToolEnv& env) {
    std::optional<ArcValues> values = ArcLabels(c[0], c[1], c[2], env.Scale());
    if (!values) {
        return std::nullopt;
    }
    // The centre follows the anchor (p3).
    Built built{env.MakeRecord(setup.kind), 3};
    built.record.points = {c[0], c[1], c[2], c[2], values->centre};
    built.record.labels = std::move(values->labels);
    return built;
}

std::optional<Built> BuildNumberLabel(Clicks c, const ToolSetup& setup, ToolEnv& env) {
    const bool circle = IsKind(setup, StillKind::kCircleLabel, LiveKind::kCircleLabel);
    Built built{env.MakeRecord(setup.kind), -1};
    built.record.points = {c[0]};
    built.record.labels = {circle ? env.Counters().NextCircleLabel()
                                  : env.Counters().NextSquareLabel()};
    if (setup.live) {
        built.record.textColor = built.record.labelColor;
    }
    return built;
}

// Which rubber band follows the pointer: `shape` from the last click when exactly one click
// is fixed, else a line from the last click when bit n of lineAfter is set for n clicks.
struct BandRule {
    RubberBandKind first = RubberBandKind::Line;
    unsigned lineAfter = 0;
};

struct FixedToolSpec {
    int clicks;
    Builder build;
    BandRule band;
};

constexpr unsigned Bit(int n) {
    return 1u << n;
}

// A tool whose record follows from a fixed number of clicks.
class FixedClickTool final : public ClickTool {
  public:
    FixedClickTool(const FixedToolSpec& spec, ToolSetup setup, ToolEnv& env)
        : spec_(spec), setup_(setup), env_(env) {}

    ToolStep Click(PixelPoint p) override {
        ToolStep step;
        step.started = working_.points.empty() && spec_.clicks > 1;
        step.changed = true;
        working_.points.push_back(p);
        if (static_cast<int>(working_.points.size()) < spec_.clicks) {
            return step;
        }
        std::optional<Built> built = spec_.build(working_.points, setup_, env_);
        working_.Clear();
        step.ended = true;
        if (!built) {
            return step;  // degenerate: nothing stored, ready for a new first click
        }
        const bool numberLabel = IsKind(setup_, StillKind::kCircleLabel, LiveKind::kCircleLabel) ||
                                 IsKind(setup_, StillKind::kSquareLabel, LiveKind::kSquareLabel);
        if (!setup_.measuring && !numberLabel) {
            // Only the still view's draw menu makes draw-only records.
            built->record.labels = EmptyLabels(static_cast<StillKind>(setup_.kind));
            built->anchorIndex = -1;
        }
        step.record = std::move(built->record);
        step.anchorIndex = built->anchorIndex;
        return step;
    }

    std::optional<RubberBand> Band(PixelPoint pointer) const override {
        const auto fixed = static_cast<int>(working_.points.size());
        if (spec_.clicks == 1) {
            return BandOf(spec_.band.first, pointer, pointer);
        }
        if (fixed == 1 && spec_.band.first != RubberBandKind::Line) {
            return BandOf(spec_.band.first, working_.points[0], pointer);
        }
        if (fixed > 0 && (spec_.band.lineAfter & Bit(fixed - 1))) {
            return BandOf(RubberBandKind::Line, working_.points.back(), pointer);
        }
        return std::nullopt;
    }

    bool InProgress() const override { return !working_.points.empty(); }
    void Reset() override { working_.Clear(); }
    const WorkingLists& Working() const override { return working_; }

  private:
    FixedToolSpec spec_;
    ToolSetup setup_;
    ToolEnv& env_;
    WorkingLists working_;
};

// lineAfter bit n-1: a line from the n-th click follows the pointer.
constexpr FixedToolSpec kLineSpec{2, BuildLine, {RubberBandKind::Line, Bit(0)}};
constexpr FixedToolSpec kDotLineSpec{3, BuildDotLine, {RubberBandKind::Line, Bit(0)}};
constexpr FixedToolSpec kRadiusSpec{2, BuildRadiusCircle, {RubberBandKind::RadiusCircle, 0}};
constexpr FixedToolSpec kDiameterSpec{2, BuildDiameterCircle, {RubberBandKind::Line, Bit(0)}};
constexpr FixedToolSpec kRectangleSpec{2, BuildRectangle, {RubberBandKind::Rectangle, 0}};
constexpr FixedToolSpec kAngleSpec{3, BuildAngle, {RubberBandKind::Line, Bit(0) | Bit(1)}};
constexpr FixedToolSpec kFourPointSpec{
    4, BuildFourPointAngle, {RubberBandKind::Line, Bit(0) | Bit(2)}};
constexpr FixedToolSpec kThreePointSpec{3, BuildThreePointCircle, {RubberBandKind::Line, 0}};
constexpr FixedToolSpec kArcSpec{3, BuildArc, {RubberBandKind::Line, 0}};
constexpr FixedToolSpec kLabelSpec{1, BuildNumberLabel, {RubberBandKind::LabelBox, 0}};

std::unique_ptr<ClickTool> Fixed(const FixedToolSpec& spec, ToolSetup setup, ToolEnv& env) {
    return std::make_unique<FixedClickTool>(spec, setup, env);
}

}  // namespace

std::unique_ptr<ClickTool> MakeStillTool(StillMode mode, bool measuring, ToolEnv& env) {
    const std::optional<StillKind> kind = StillModeToKind(mode);
    if (!kind) {
        return nullptr;
    }
    const ToolSetup setup{static_cast<int>(*kind), measuring, false};
    switch (mode) {
        case StillMode::kStraightLine:
        case StillMode::kParallelLine:
            return Fixed(kLineSpec, setup, env);
        case StillMode::kDotLine:
            return Fixed(kDotLineSpec, setup, env);
        case StillMode::kRadiusCircle:
            return Fixed(kRadiusSpec, setup, env);
        case StillMode::kDiameterCircle:
            return Fixed(kDiameterSpec, setup, env);
        case StillMode::kRectangle:
            return Fixed(kRectangleSpec, setup, env);
        case StillMode::kAngle:
            return Fixed(kAngleSpec, setup, env);
        case StillMode::kFourPointAngle:
            return Fixed(kFourPointSpec, setup, env);
        case StillMode::kThreePointCircle:
            return Fixed(kThreePointSpec, setup, env);
        case StillMode::kArc:
            return Fixed(kArcSpec, setup, env);
        case StillMode::kCircleLabel:
        case StillMode::kSquareLabel:
            return Fixed(kLabelSpec, setup, env);
        case StillMode::kContinuousLine:
            if (!measuring) {
                return std::make_unique<FreehandTool>(setup.kind, env);
            }
            return std::make_unique<ContinuousLineTool>(setup.kind, env);
        case StillMode::kPolygon:
            return std::make_unique<PolygonTool>(setup.kind, env);
        case StillMode::kTwoCircles:
            return std::make_unique<TwoCirclesTool>(setup.kind, env);
        default:
            return nullptr;
    }
}

std::unique_ptr<ClickTool> MakeLiveTool(LiveKind kind, ToolEnv& env) {
    const ToolSetup setup{static_cast<int>(kind), true, true};
    switch (kind) {
        case LiveKind::kStraightLine:
        case LiveKind::kParallelLine:
            return Fixed(kLineSpec, setup, env);
        case LiveKind::kDotLine:
            return Fixed(kDotLineSpec, setup, env);
        case LiveKind::kRadiusCircle:
            return Fixed(kRadiusSpec, setup, env);
        case LiveKind::kDiameterCircle:
            return Fixed(kDiameterSpec, setup, env);
        case LiveKind::kRectangle:
        case LiveKind::kEllipse:
            return Fixed(kRectangleSpec, setup, env);
        case LiveKind::kAngle:
            return Fixed(kAngleSpec, setup, env);
        case LiveKind::kFourPointAngle:
            return Fixed(kFourPointSpec, setup, env);
        case LiveKind::kThreePointCircle:
            return Fixed(kThreePointSpec, setup, env);
        case LiveKind::kArc:
            return Fixed(kArcSpec, setup, env);
        case LiveKind::kCircleLabel:
        case LiveKind::kSquareLabel:
            return Fixed(kLabelSpec, setup, env);
        case LiveKind::kContinuousLine:
            return std::make_unique<ContinuousLineTool>(setup.kind, env);
        case LiveKind::kPolygon:
            return std::make_unique<PolygonTool>(setup.kind, env);
        case LiveKind::kTwoCircles:
            return std::make_unique<TwoCirclesTool>(setup.kind, env);
        default:
            return nullptr;
    }
}

}  // namespace lensora
