#include "canvas/record_rules.h"

#include "measure/geometry.h"

namespace lensora {
namespace {

std::optional<RuleInfo> StillRule(int kind) {
    switch (static_cast<StillKind>(kind)) {
        case StillKind::kStraightLine:
        case StillKind::kParallelLine:
        case StillKind::kAutoLineSpacing:
            return RuleInfo{Rule::TickedLine};
        case StillKind::kRadiusCircle:
            return RuleInfo{Rule::RadiusCircle};
        case StillKind::kRectangle:
            return RuleInfo{Rule::Rectangle};
        case StillKind::kText:
            return RuleInfo{Rule::Text};
        case StillKind::kAngle:
            return RuleInfo{Rule::Angle};
        case StillKind::kContinuousLine:
            return RuleInfo{Rule::Continuous};
        case StillKind::kPolygon:
            return RuleInfo{Rule::Polygon};
        case StillKind::kDiameterCircle:
            return RuleInfo{Rule::DiameterCircle};
        case StillKind::kThreePointCircle:
            return RuleInfo{Rule::ThreePointCircle};
        case StillKind::kFourPointAngle:
        case StillKind::kAutoAngle:
            return RuleInfo{Rule::FourPointAngle};
        case StillKind::kTwoCircles:
            return RuleInfo{Rule::TwoCircles};
        case StillKind::kCircleLabel:
            return RuleInfo{Rule::CircleLabel};
        case StillKind::kSquareLabel:
            return RuleInfo{Rule::SquareLabel};
        case StillKind::kAutoCircle:
            return RuleInfo{Rule::AutoCircle};
        case StillKind::kDotLine:
            return RuleInfo{Rule::DotLine};
        case StillKind::kAutoLineLength1:
        case StillKind::kAutoLineLength2:
            return RuleInfo{Rule::PlainLine};
        case StillKind::kArc:
        case StillKind::kAutoArc:
            return RuleInfo{Rule::Arc};
    }
    return std::nullopt;
}

std::optional<RuleInfo> LiveRule(int kind, std::size_t pointCount) {
    // Straight, parallel and spacing lines store start, end and anchor; a record that carries
    // its own ticks (seven points) is drawn from them.
    const bool ownTicks = pointCount >= 7;
    switch (static_cast<LiveKind>(kind)) {
        case LiveKind::kStraightLine:
        case LiveKind::kAutoLineSpacing:
            return ownTicks ? RuleInfo{Rule::TickedLine}
                            : RuleInfo{Rule::DerivedTicks, kLineTickHalfLength};
        case LiveKind::kParallelLine:
            return ownTicks ? RuleInfo{Rule::TickedLine}
                            : RuleInfo{Rule::DerivedTicks, kParallelTickHalfLength};
        case LiveKind::kDotLine:
            return RuleInfo{Rule::DotLine};
        case LiveKind::kContinuousLine:
            return RuleInfo{Rule::Continuous};
        case LiveKind::kRectangle:
            return RuleInfo{Rule::Rectangle};
        case LiveKind::kPolygon:
            return RuleInfo{Rule::Polygon};
        case LiveKind::kEllipse:
            return RuleInfo{Rule::Ellipse};
        case LiveKind::kRadiusCircle:
            return RuleInfo{Rule::RadiusCircle};
        case LiveKind::kDiameterCircle:
            return RuleInfo{Rule::DiameterCircle};
        case LiveKind::kThreePointCircle:
            return RuleInfo{Rule::ThreePointCircle};
        case LiveKind::kTwoCircles:
            return RuleInfo{Rule::TwoCircles};
        case LiveKind::kAngle:
            return RuleInfo{Rule::Angle};
        case LiveKind::kFourPointAngle:
            return RuleInfo{Rule::FourPointAngle};
        case LiveKind::kCircleLabel:
            return RuleInfo{Rule::CircleLabel};
        case LiveKind::kSquareLabel:
            return RuleInfo{Rule::SquareLabel};
        case LiveKind::kText:
            return RuleInfo{Rule::Text};
        case LiveKind::kArc:
        case LiveKind::kAutoArc:
            return RuleInfo{Rule::Arc};
        case LiveKind::kAutoCircle:
            return RuleInfo{Rule::AutoCircle};
        case LiveKind::kAutoLineLength2:
            return RuleInfo{Rule::PlainLine};
        case LiveKind::kAutoAngle:
            return RuleInfo{Rule::AutoAngleGuided};
        default:
            return std::nullopt;  // no tool, reference shapes
    }
}

}  // namespace

std::optional<RuleInfo> RuleFor(const MeasureRecord& r, RecordScheme scheme) {
    return scheme == RecordScheme::Still ? StillRule(r.kind) : LiveRule(r.kind, r.points.size());
}

}  // namespace lensora
