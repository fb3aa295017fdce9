#include "measure/relabel.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <span>

#include "base/number_format.h"
#include "measure/measured_values.h"
#include "measure/tool_catalog.h"

namespace lensora {
namespace {

std::optional<Labels> ContinuousLabels(const MeasureRecord& r, const ScaleContext& to) {
    // The path stores its start, then each segment's end vertex followed by its label anchor.
    const auto& p = r.points;
    Labels labels = r.labels;
    for (std::size_t i = 0; i < labels.size() && 2 * i + 1 < p.size(); ++i) {
        const PixelPoint from = i == 0 ? p[0] : p[2 * i - 1];
        labels[i] = ContinuousSegmentLabel(from, p[2 * i + 1], to);
    }
    return labels;
}

std::optional<Labels> PolygonRelabel(const MeasureRecord& r, const ScaleContext& to) {
    if (r.points.size() < 2) {
        return std::nullopt;
    }
    // The last point is the label anchor.
    return PolygonLabels(std::span<const PixelPoint>(r.points.data(), r.points.size() - 1), to);
}

std::optional<Labels> TwoCirclesRelabel(const MeasureRecord& r, const ScaleContext& to) {
    const auto& p = r.points;
    if (p.size() < 9) {
        return std::nullopt;
    }
    const std::array<PixelPoint, 6> clicks{p[0], p[1], p[2], p[5], p[6], p[7]};
    auto values = TwoCirclesLabels(clicks, to);
    if (!values) {
        return std::nullopt;
    }
    return std::move(values->labels);
}

enum class Shape {
    Line,
    DotLine,
    RadiusCircle,
    DiameterCircle,
    ThreePointCircle,
    Rectangle,
    Ellipse,
    Polygon,
    Continuous,
    TwoCircles,
    Arc,
    Converted,  // automatic tools: printed numbers converted
    Kept,       // angles, texts, label shapes
};

Shape ShapeOf(int kind, bool live) {
    if (live) {
        switch (static_cast<LiveKind>(kind)) {
            case LiveKind::kStraightLine:
            case LiveKind::kParallelLine:
                return Shape::Line;
            case LiveKind::kDotLine:
                return Shape::DotLine;
            case LiveKind::kContinuousLine:
                return Shape::Continuous;
            case LiveKind::kRectangle:
                return Shape::Rectangle;
            case LiveKind::kPolygon:
                return Shape::Polygon;
            case LiveKind::kEllipse:
                return Shape::Ellipse;
            case LiveKind::kRadiusCircle:
                return Shape::RadiusCircle;
            case LiveKind::kDiameterCircle:
                return Shape::DiameterCircle;
            case LiveKind::kThreePointCircle:
                return Shape::ThreePointCircle;
            case LiveKind::kTwoCircles:
                return Shape::TwoCircles;
            case LiveKind::kArc:
                return Shape::Arc;
            case LiveKind::kAutoCircle:
            case LiveKind::kAutoLineLength2:
            case LiveKind::kAutoArc:
            case LiveKind::kAutoLineSpacing:
                return Shape::Converted;
            default:
                return Shape::Kept;
        }
    }
    switch (static_cast<StillKind>(kind)) {
        case StillKind::kStraightLine:
        case StillKind::kParallelLine:
            return Shape::Line;
        case StillKind::kDotLine:
            return Shape::DotLine;
        case StillKind::kContinuousLine:
            return Shape::Continuous;
        case StillKind::kRectangle:
            return Shape::Rectangle;
        case StillKind::kPolygon:
            return Shape::Polygon;
        case StillKind::kRadiusCircle:
            return Shape::RadiusCircle;
        case StillKind::kDiameterCircle:
            return Shape::DiameterCircle;
        case StillKind::kThreePointCircle:
            return Shape::ThreePointCircle;
        case StillKind::kTwoCircles:
            return Shape::TwoCircles;
        case StillKind::kArc:
            return Shape::Arc;
        case StillKind::kAutoLineSpacing:
        case StillKind::kAutoCircle:
        case StillKind::kAutoLineLength1:
        case StillKind::kAutoLineLength2:
        case StillKind::kAutoArc:
            return Shape::Converted;
        default:
            return Shape::Kept;
    }
}

// The labels measured again from the stored points; nullopt when the points no longer define
// the shape (the labels are then converted instead).
std::optional<Labels> Remeasure(const MeasureRecord& r, Shape shape, const ScaleContext& to) {
    const auto& p = r.points;
    const auto need = [&](std::size_t n) { return p.size() >= n; };
    switch (shape) {
        case Shape::Line:
            return need(2) ? LineLabels(p[0], p[1], to) : std::nullopt;
        case Shape::DotLine:
            if (!need(3)) {
                return std::nullopt;
            }
            if (auto v = DotLineLabels(p[0], p[1], p[2], to)) {
                return std::move(v->labels);
            }
            return std::nullopt;
        case Shape::RadiusCircle:
            return need(2) ? RadiusCircleLabels(p[0], p[1], to) : std::nullopt;
        case Shape::DiameterCircle:
            if (!need(3)) {
                return std::nullopt;
            }
            if (auto v = DiameterCircleLabels(p[1], p[2], to)) {
                return std::move(v->labels);
            }
            return std::nullopt;
        case Shape::ThreePointCircle:
            // Stored as centre, second click, first click, third click.
            if (!need(4)) {
                return std::nullopt;
            }
            if (auto v = ThreePointCircleLabels(p[2], p[1], p[3], to)) {
                return std::move(v->labels);
            }
            return std::nullopt;
        case Shape::Rectangle:
            return need(2) ? std::optional<Labels>(RectangleLabels(p[0], p[1], to)) : std::nullopt;
        case Shape::Ellipse:
            return need(2) ? std::optional<Labels>(EllipseLabels(p[0], p[1], to)) : std::nullopt;
        case Shape::Polygon:
            return PolygonRelabel(r, to);
        case Shape::Continuous:
            return ContinuousLabels(r, to);
        case Shape::TwoCircles:
            return TwoCirclesRelabel(r, to);
        case Shape::Arc:
            if (!need(3)) {
                return std::nullopt;
            }
            if (auto v = ArcLabels(p[0], p[1], p[2], to)) {
                return std::move(v->labels);
            }
            return std::nullopt;
        case Shape::Converted:
        case Shape::Kept:
            return std::nullopt;
    }
    return std::nullopt;
}

// One printed value converted: "<prefix><number><unit>" with the unit of `from` becomes the
// same value in `to`; anything else (angles, texts) stays.
std::string ConvertLabel(const std::string& label, const ScaleContext& from,
                         const ScaleContext& to) {
    const std::size_t colon = label.find(':');
    const std::size_t start = colon == std::string::npos ? 0 : colon + 1;
    const std::string_view rest = std::string_view(label).substr(start);
    const bool area = label.compare(0, 2, "A:") == 0;
    const std::string fromUnit = area ? AreaUnitText(from.unit) : from.unit;
    if (rest.empty() || rest.size() <= fromUnit.size() ||
        rest.substr(rest.size() - fromUnit.size()) != fromUnit) {
        return label;
    }
    const std::string_view number = rest.substr(0, rest.size() - fromUnit.size());
    if (number.find_first_not_of("+-.0123456789") != std::string_view::npos) {
        return label;
    }
    const double ratio = to.s / from.s;
    const double value = ParseLeadingNumber(number) * (area ? ratio * ratio : ratio);
    const std::string prefix = label.substr(0, start);
    if (area) {
        return FormatArea(value, to);
    }
    return FormatLength(prefix, value, to);
}

}  // namespace

bool SameLabelScale(const ScaleContext& a, const ScaleContext& b) {
    return a.s == b.s && a.unit == b.unit && a.decimals == b.decimals &&
           a.areaSignificant == b.areaSignificant;
}

bool RelabelRecord(MeasureRecord& record, bool live, const ScaleContext& from,
                   const ScaleContext& to) {
    const bool unlabelled = std::all_of(record.labels.begin(), record.labels.end(),
                                        [](const std::string& l) { return l.empty(); });
    if (unlabelled || !(to.s > 0.0) || !std::isfinite(to.s)) {
        return false;
    }
    const Shape shape = ShapeOf(record.kind, live);
    if (shape == Shape::Kept) {
        return false;
    }
    std::optional<Labels> labels = Remeasure(record, shape, to);
    if (!labels) {
        if (!(from.s > 0.0) || !std::isfinite(from.s)) {
            return false;
        }
        labels = record.labels;
        for (std::string& l : *labels) {
            l = ConvertLabel(l, from, to);
        }
    }
    if (*labels == record.labels) {
        return false;
    }
    record.labels = std::move(*labels);
    return true;
}

int RelabelRecords(RecordList& list, bool live, const ScaleContext& from, const ScaleContext& to) {
    int changed = 0;
    for (auto& record : list.records) {
        if (record && RelabelRecord(*record, live, from, to)) {
            ++changed;
        }
    }
    return changed;
}

}  // namespace lensora
