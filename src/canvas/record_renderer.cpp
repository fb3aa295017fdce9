#include "canvas/record_renderer.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <vector>

#include "canvas/arc_through.h"
#include "measure/geometry.h"
#include "measure/measured_values.h"

namespace lensora {
namespace {

// The drawing rules; both numbering schemes map onto them.
enum class Rule {
    TickedLine,       // p0-p1 with end ticks p2-p3, p4-p5; label at p6
    DerivedTicks,     // live: start, end, anchor; ticks derived from the segment
    PlainLine,        // p0-p1; label at p2
    DotLine,          // p0-p1 and the perpendicular from p2; label at p3
    RadiusCircle,     // centre p0 through p1, radius line; labels at p2
    DiameterCircle,   // centre p0 through p1, diameter p1-p2; labels at p3
    ThreePointCircle, // centre p0 through p1, line p0-p3, marks p2 p1 p3; labels at p4
    AutoCircle,       // centre p0, radius fitRadius; labels at p1
    TwoCircles,       // see DrawTwoCircles
    Rectangle,        // corners p0, p1; labels at p2
    Ellipse,          // live: box of corners p0, p1; labels at p2
    Angle,            // p0-p1, p1-p2; label at p3
    FourPointAngle,   // p0-p1, p2-p3; label at p4
    AutoAngleGuided,  // live: as FourPointAngle with dotted guides beside each segment
    Continuous,       // polyline p0, p1, p3, ...; labels at the even points; total
    Polygon,          // closed polygon p0 ... p(n-2); label at p(n-1)
    CircleLabel,      // circle of radius 10 around p0, number centred
    SquareLabel,      // square p0 +-10, number centred
    Text,             // text line at p0
    Arc,              // arc through p0, p1, p2; labels at p3
};

struct RuleInfo {
    Rule rule;
    int tickHalf = 0;  // DerivedTicks only
};

std::optional<RuleInfo> StillRule(int kind) {
    switch (static_cast<StillKind>(kind)) {
        case StillKind::kStraightLine:
        case StillKind::kParallelLine:
        case StillKind::kAutoLineSpacing: return RuleInfo{Rule::TickedLine};
        case StillKind::kRadiusCircle: return RuleInfo{Rule::RadiusCircle};
        case StillKind::kRectangle: return RuleInfo{Rule::Rectangle};
        case StillKind::kText: return RuleInfo{Rule::Text};
        case StillKind::kAngle: return RuleInfo{Rule::Angle};
        case StillKind::kContinuousLine: return RuleInfo{Rule::Continuous};
        case StillKind::kPolygon: return RuleInfo{Rule::Polygon};
        case StillKind::kDiameterCircle: return RuleInfo{Rule::DiameterCircle};
        case StillKind::kThreePointCircle: return RuleInfo{Rule::ThreePointCircle};
        case StillKind::kFourPointAngle:
        case StillKind::kAutoAngle: return RuleInfo{Rule::FourPointAngle};
        case StillKind::kTwoCircles: return RuleInfo{Rule::TwoCircles};
        case StillKind::kCircleLabel: return RuleInfo{Rule::CircleLabel};
        case StillKind::kSquareLabel: return RuleInfo{Rule::SquareLabel};
        case StillKind::kAutoCircle: return RuleInfo{Rule::AutoCircle};
        case StillKind::kDotLine: return RuleInfo{Rule::DotLine};
        case StillKind::kAutoLineLength1:
        case StillKind::kAutoLineLength2: return RuleInfo{Rule::PlainLine};
        case StillKind::kArc:
        case StillKind::kAutoArc: return RuleInfo{Rule::Arc};
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
        case LiveKind::kDotLine: return RuleInfo{Rule::DotLine};
        case LiveKind::kContinuousLine: return RuleInfo{Rule::Continuous};
        case LiveKind::kRectangle: return RuleInfo{Rule::Rectangle};
        case LiveKind::kPolygon: return RuleInfo{Rule::Polygon};
        case LiveKind::kEllipse: return RuleInfo{Rule::Ellipse};
        case LiveKind::kRadiusCircle: return RuleInfo{Rule::RadiusCircle};
        case LiveKind::kDiameterCircle: return RuleInfo{Rule::DiameterCircle};
        case LiveKind::kThreePointCircle: return RuleInfo{Rule::ThreePointCircle};
        case LiveKind::kTwoCircles: return RuleInfo{Rule::TwoCircles};
        case LiveKind::kAngle: return RuleInfo{Rule::Angle};
        case LiveKind::kFourPointAngle: return RuleInfo{Rule::FourPointAngle};
        case LiveKind::kCircleLabel: return RuleInfo{Rule::CircleLabel};
        case LiveKind::kSquareLabel: return RuleInfo{Rule::SquareLabel};
        case LiveKind::kText: return RuleInfo{Rule::Text};
        case LiveKind::kArc:
        case LiveKind::kAutoArc: return RuleInfo{Rule::Arc};
        case LiveKind::kAutoCircle: return RuleInfo{Rule::AutoCircle};
        case LiveKind::kAutoLineLength2: return RuleInfo{Rule::PlainLine};
        case LiveKind::kAutoAngle: return RuleInfo{Rule::AutoAngleGuided};
        default: return std::nullopt;  // no tool, reference shapes
    }
}

std::optional<RuleInfo> RuleFor(const MeasureRecord& r, RecordScheme scheme) {
    return scheme == RecordScheme::Still ? StillRule(r.kind) : LiveRule(r.kind, r.points.size());
}

constexpr std::uint32_t kGuideColour = 0x0000FF;
constexpr int kGuideOffset = 6;

// Draws one record's figure and labels with the transform applied to every stored point.
class RecordPainter {
public:
    RecordPainter(DrawingSurface& s, const MeasureRecord& r, const RenderTransform& t,
                  RuleInfo info)
        : s_(s), r_(r), t_(t), info_(info), n_(r.points.size()) {}

    void Figure(bool withGuides);
    void Labels(RecordScheme scheme, const RecordRenderOptions& options,
                std::uint32_t textHighlight);

private:
    bool Has(std::size_t i) const { return i < n_; }
    PixelPoint P(std::size_t i) const { return t_.Apply(r_.points[i]); }
    void Line(PixelPoint a, PixelPoint b) {
        s_.MoveTo(a);
        s_.LineTo(b);
    }
    void Segment(std::size_t i, std::size_t j) {
        if (Has(i) && Has(j)) {
            Line(P(i), P(j));
        }
    }
    void Mark(std::size_t i) {
        if (Has(i)) {
            const PixelPoint p = P(i);
            s_.Rectangle({p.x - 1, p.y - 1, p.x + 1, p.y + 1});
        }
    }
    // Circle around point c through point rim, radius in whole pixels.
    void CircleThrough(std::size_t c, std::size_t rim) {
        if (Has(c) && Has(rim)) {
            const PixelPoint centre = P(c);
            const std::int32_t radius = IntegerRadius(centre, P(rim));
            s_.Ellipse({centre.x - radius, centre.y - radius, centre.x + radius, centre.y + radius});
        }
    }
    void Block(std::size_t anchor, std::size_t lines) {
        if (Has(anchor)) {
            const std::size_t count = std::min(lines, r_.labels.size());
            DrawLabelLines(s_, P(anchor), std::span(r_.labels).first(count), r_.lineGap);
        }
    }
    void Line0At(std::size_t anchor, std::size_t labelIndex) {
        if (Has(anchor) && labelIndex < r_.labels.size() && !r_.labels[labelIndex].empty()) {
            s_.TextOut(P(anchor), r_.labels[labelIndex]);
        }
    }
    void DotLinePerpendicular();
    void Guides(std::size_t i, std::size_t j);
    void ContinuousLabels(const RecordRenderOptions& options);

    DrawingSurface& s_;
    const MeasureRecord& r_;
    const RenderTransform& t_;
    RuleInfo info_;
    std::size_t n_;
};

void RecordPainter::DotLinePerpendicular() {
    if (!Has(2)) {
        return;
    }
    // The foot is the exact one of the stored points, rounded as the measured value's foot is,
    // so the drawn perpendicular ends where the distance was measured to.
    const std::optional<PointD> foot = PerpendicularFoot(r_.points[0], r_.points[1], r_.points[2]);
    if (foot) {
        Line(P(2), t_.Apply(RoundToPixel(*foot)));
    }
}

void RecordPainter::Guides(std::size_t i, std::size_t j) {
    if (!Has(i) || !Has(j)) {
        return;
    }
    const PixelPoint a = P(i);
    const PixelPoint b = P(j);
    const std::array<PixelPoint, 4> off = EndTicks(a, b, kGuideOffset);
    Line(off[0], off[2]);
    Line(off[1], off[3]);
}

void RecordPainter::Figure(bool withGuides) {
    switch (info_.rule) {
        case Rule::TickedLine:
            Segment(0, 1);
            Segment(2, 3);
            Segment(4, 5);
            break;
        case Rule::DerivedTicks:
            if (Has(1)) {
                const std::array<PixelPoint, 4> ticks =
                    EndTicks(r_.points[0], r_.points[1], info_.tickHalf);
                Segment(0, 1);
                Line(t_.Apply(ticks[0]), t_.Apply(ticks[1]));
                Line(t_.Apply(ticks[2]), t_.Apply(ticks[3]));
            }
            break;
        case Rule::PlainLine: Segment(0, 1); break;
        case Rule::DotLine:
            Segment(0, 1);
            if (Has(1)) {
                DotLinePerpendicular();
            }
            break;
        case Rule::RadiusCircle:
            CircleThrough(0, 1);
            Segment(0, 1);
            break;
        case Rule::DiameterCircle:
            CircleThrough(0, 1);
            Segment(1, 2);
            break;
        case Rule::ThreePointCircle:
            CircleThrough(0, 1);
            Segment(0, 3);
            Mark(2);
            Mark(1);
            Mark(3);
            break;
        case Rule::AutoCircle:
            if (Has(0) && std::isfinite(r_.fitRadius)) {
                const PixelPoint c = P(0);
                // The fitted radius is a length in stored pixels: it scales with the points.
                const std::int32_t rx = RoundToPixel(r_.fitRadius * t_.fx);
                const std::int32_t ry = RoundToPixel(r_.fitRadius * t_.fy);
                s_.Ellipse({c.x - rx, c.y - ry, c.x + rx, c.y + ry});
            }
            break;
        case Rule::TwoCircles:
            Mark(0);
            Mark(1);
            Mark(2);
            CircleThrough(3, 0);
            Mark(5);
            Mark(6);
            Mark(7);
            CircleThrough(8, 5);
            Segment(3, 8);
            break;
        case Rule::Rectangle:
        case Rule::Ellipse:
            if (Has(1)) {
                const PixelPoint a = P(0);
                const PixelPoint b = P(1);
                const PixelBox box{std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x),
                                   std::max(a.y, b.y)};
                info_.rule == Rule::Rectangle ? s_.Rectangle(box) : s_.Ellipse(box);
            }
            break;
        case Rule::Angle:
            Segment(0, 1);
            Segment(1, 2);
            break;
        case Rule::FourPointAngle:
        case Rule::AutoAngleGuided:
            Segment(0, 1);
            Segment(2, 3);
            if (withGuides && info_.rule == Rule::AutoAngleGuided) {
                s_.SetPen({PenStyle::Dot, 1, kGuideColour});
                Guides(0, 1);
                Guides(2, 3);
            }
            break;
        case Rule::Continuous:
            if (n_ >= 2) {
                std::vector<PixelPoint> path{P(0), P(1)};
                for (std::size_t j = 1; j + 2 < n_; j += 2) {
                    path.push_back(P(j + 2));
                }
                s_.Polyline(path);
            }
            break;
        case Rule::Polygon:
            if (n_ >= 3) {
                // An edge ending at x = 0 or y = 0 is left out.
                const auto edge = [&](std::size_t i, std::size_t j) {
                    const PixelPoint b = P(j);
                    if (b.x != 0 && b.y != 0) {
                        Line(P(i), b);
                    }
                };
                for (std::size_t i = 0; i + 4 <= n_; ++i) {
                    edge(i, i + 1);
                }
                edge(n_ - 2, 0);
            }
            break;
        case Rule::CircleLabel:
        case Rule::SquareLabel:
            if (Has(0)) {
                const PixelPoint p = P(0);
                const PixelBox box{p.x - kLabelBoxHalf, p.y - kLabelBoxHalf, p.x + kLabelBoxHalf,
                                   p.y + kLabelBoxHalf};
                info_.rule == Rule::CircleLabel ? s_.Ellipse(box) : s_.Rectangle(box);
            }
            break;
        case Rule::Text: break;
        case Rule::Arc:
            if (Has(2)) {
                DrawArcThrough(s_, P(0), P(1), P(2));
            }
            break;
    }
}

void RecordPainter::ContinuousLabels(const RecordRenderOptions& options) {
    std::size_t last = 0;
    std::size_t k = 0;
    for (std::size_t i = 2; i < n_; i += 2, ++k) {
        Line0At(i, k);
        last = i;
    }
    if (!options.continuousTotal || last == 0 || last != n_ - 1) {
        return;
    }
    const std::size_t count = std::min(k, r_.labels.size());
    const std::string total = ContinuousLineTotalLabel(
        std::span(r_.labels).first(count),
        ScaleContext{1.0, options.totalUnit, options.totalDecimals});
    if (!total.empty()) {
        const PixelPoint a = P(last);
        s_.TextOut({a.x, a.y + r_.lineGap}, total);
    }
}

void RecordPainter::Labels(RecordScheme scheme, const RecordRenderOptions& options,
                           std::uint32_t textHighlight) {
    if (info_.rule == Rule::Text) {
        s_.SetFont(r_.textFont);
        s_.SetTextColour(textHighlight != 0 ? textHighlight : r_.textColor);
        Line0At(0, 0);
        return;
    }
    if (info_.rule == Rule::CircleLabel || info_.rule == Rule::SquareLabel) {
        if (Has(0) && !r_.labels.empty()) {
            const PixelPoint p = P(0);
            s_.SetFont(options.surfaceFont);
            // The live view keeps a label's colour in textColor.
            s_.SetTextColour(scheme == RecordScheme::Live ? r_.textColor : r_.labelColor);
            s_.DrawTextCentred({p.x - kLabelBoxHalf, p.y - kLabelBoxHalf, p.x + kLabelBoxHalf,
                                p.y + kLabelBoxHalf},
                               r_.labels[0]);
        }
        return;
    }
    s_.SetFont(r_.labelFont);
    s_.SetTextColour(r_.labelColor);
    switch (info_.rule) {
        case Rule::TickedLine: Line0At(6, 0); break;
        case Rule::DerivedTicks:
        case Rule::PlainLine: Line0At(2, 0); break;
        case Rule::DotLine:
        case Rule::Angle: Line0At(3, 0); break;
        case Rule::FourPointAngle:
        case Rule::AutoAngleGuided: Line0At(4, 0); break;
        case Rule::RadiusCircle:
        case Rule::Rectangle:
        case Rule::Ellipse: Block(2, 3); break;
        case Rule::DiameterCircle:
        case Rule::Arc: Block(3, 3); break;
        case Rule::ThreePointCircle: Block(4, 3); break;
        case Rule::AutoCircle: Block(1, 3); break;
        case Rule::TwoCircles:
            Line0At(4, 0);
            Line0At(9, 1);
            Line0At(10, 2);
            break;
        case Rule::Continuous: ContinuousLabels(options); break;
        case Rule::Polygon:
            if (n_ >= 1) {
                Line0At(n_ - 1, 0);
            }
            break;
        default: break;
    }
}

bool StaysMagentaWhenSaved(const MeasureRecord& r) {
    const auto kind = static_cast<StillKind>(r.kind);
    return kind == StillKind::kTwoCircles || kind == StillKind::kAutoLineLength1 ||
           kind == StillKind::kAutoLineLength2;
}

std::uint32_t HighlightColour(const MeasureRecord& r, RecordScheme scheme, Highlight h) {
    if (!r.selected || h == Highlight::None) {
        return 0;
    }
    if (h == Highlight::Saved && !(scheme == RecordScheme::Still && StaysMagentaWhenSaved(r))) {
        return kSavedSelectionColour;
    }
    return kScreenSelectionColour;
}

}  // namespace

LogFont SurfaceDefaultFont() {
    LogFont font = DefaultLogFont();
    font.height = 16;
    font.weight = 700;
    font.charSet = 1;
    return font;
}

std::int32_t IntegerRadius(PixelPoint centre, PixelPoint rim) {
    const std::int64_t dx = std::int64_t{rim.x} - centre.x;
    const std::int64_t dy = std::int64_t{rim.y} - centre.y;
    return TruncateToPixel(std::sqrt(double(dx * dx + dy * dy)));
}

void DrawLabelLines(DrawingSurface& surface, PixelPoint anchor, std::span<const std::string> lines,
                    int lineGap) {
    for (std::size_t k = 0; k < lines.size(); ++k) {
        if (!lines[k].empty()) {
            surface.TextOut({anchor.x, TruncateToPixel(double(anchor.y) + double(k) * lineGap)},
                            lines[k]);
        }
    }
}

Pen RecordPen(const MeasureRecord& record, RecordScheme scheme, Highlight highlight) {
    const std::uint32_t h = HighlightColour(record, scheme, highlight);
    const int style = record.penStyle >= 0 && record.penStyle <= 2 ? record.penStyle : 0;
    return Pen{static_cast<PenStyle>(style), std::clamp(record.penWidth, 0, 64),
               h != 0 ? h : UsableColour(record.penColor)};
}

void DrawRecord(DrawingSurface& surface, const MeasureRecord& record, RecordScheme scheme,
                const RecordRenderOptions& options) {
    const std::optional<RuleInfo> info = RuleFor(record, scheme);
    if (!info) {
        return;
    }
    RecordPainter painter(surface, record, options.transform, *info);
    surface.SetPen(RecordPen(record, scheme, options.highlight));
    painter.Figure(true);
    painter.Labels(scheme, options, HighlightColour(record, scheme, options.highlight));
}

void DrawRecords(DrawingSurface& surface, const RecordList& records, RecordScheme scheme,
                 const RecordRenderOptions& options) {
    for (const auto& r : records.records) {
        if (r != nullptr) {
            DrawRecord(surface, *r, scheme, options);
        }
    }
}

void DrawRecordFigure(DrawingSurface& surface, const MeasureRecord& record, RecordScheme scheme,
                      const RenderTransform& transform) {
    if (const std::optional<RuleInfo> info = RuleFor(record, scheme)) {
        RecordPainter(surface, record, transform, *info).Figure(false);
    }
}

}  // namespace lensora
