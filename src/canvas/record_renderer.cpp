#include "canvas/record_renderer.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <vector>

#include "canvas/arc_through.h"
#include "canvas/record_rules.h"
#include "measure/geometry.h"
#include "measure/measured_values.h"

namespace lensora {
namespace {

constexpr std::uint32_t kGuideColour = 0x0000FF;
constexpr int kGuideOffset = 6;

// Draws one record's figure and labels with the transform applied to every stored point.
class RecordPainter {
  public:
    RecordPainter(DrawingSurface& s, const MeasureRecord& r, const ViewTransform& t, RuleInfo info,
                  double sizeScale = 1.0, double tickScale = 1.0)
        : s_(s),
          r_(r),
          t_(t),
          info_(info),
          n_(r.points.size()),
          size_(std::isfinite(sizeScale) && sizeScale > 0.0 ? sizeScale : 1.0) {
        // Ticks are worked out on the stored points, so their half-length is in stored pixels.
        if (std::isfinite(tickScale) && tickScale > 0.0 && tickScale != 1.0) {
            info_.tickHalf = RoundToPixel(info_.tickHalf * tickScale);
        }
    }

    void Figure(bool withGuides);
    void Labels(RecordScheme scheme, const RecordRenderOptions& options,
                std::uint32_t textHighlight);

  private:
    bool Has(std::size_t i) const { return i < n_; }
    PixelPoint P(std::size_t i) const { return t_.ToPicture(r_.points[i]); }
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
            s_.Rectangle(BoxAround(p, size_, size_));
        }
    }
    // Circle around point c through point rim, radius in whole pixels.
    void CircleThrough(std::size_t c, std::size_t rim) {
        if (Has(c) && Has(rim)) {
            const PixelPoint centre = P(c);
            const std::int32_t radius = IntegerRadius(centre, P(rim));
            s_.Ellipse(BoxAround(centre, radius, radius));
        }
    }
    void Block(std::size_t anchor, std::size_t lines) {
        if (Has(anchor)) {
            const std::size_t count = std::min(lines, r_.labels.size());
            DrawLabelLines(s_, P(anchor), std::span(r_.labels).first(count), LineGap());
        }
    }
    void Line0At(std::size_t anchor, std::size_t labelIndex) {
        if (Has(anchor) && labelIndex < r_.labels.size() && !r_.labels[labelIndex].empty()) {
            s_.TextOut(P(anchor), r_.labels[labelIndex]);
        }
    }
    int LineGap() const { return RoundToPixel(r_.lineGap * size_); }
    PixelBox ScaledLabelBox(PixelPoint p) const {
        return BoxAround(p, kLabelBoxHalf * size_, kLabelBoxHalf * size_);
    }
    void DotLinePerpendicular();
    void Guides(std::size_t i, std::size_t j);
    void ContinuousLabels(const RecordRenderOptions& options);

    DrawingSurface& s_;
    const MeasureRecord& r_;
    const ViewTransform& t_;
    RuleInfo info_;
    std::size_t n_;
    double size_;
};

void RecordPainter::DotLinePerpendicular() {
    if (!Has(2)) {
        return;
    }
    // The foot is the exact one of the stored points, rounded as the measured value's foot is,
    // so the drawn perpendicular ends where the distance was measured to.
    const std::optional<PointD> foot = PerpendicularFoot(r_.points[0], r_.points[1], r_.points[2]);
    if (foot) {
        Line(P(2), t_.ToPicture(RoundToPixel(*foot)));
    }
}

void RecordPainter::Guides(std::size_t i, std::size_t j) {
    if (Has(i) && Has(j)) {
        DrawSegmentGuides(s_, P(i), P(j));
    }
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
                Line(t_.ToPicture(ticks[0]), t_.ToPicture(ticks[1]));
                Line(t_.ToPicture(ticks[2]), t_.ToPicture(ticks[3]));
            }
            break;
        case Rule::PlainLine:
            Segment(0, 1);
            break;
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
                // A sub-pixel centre is drawn where it is, not where its truncation lies.
                const PixelPoint c =
                    r_.refined && r_.refined->centre
                        ? PixelPoint{RoundToPixel(t_.origin.x + r_.refined->centre->x * t_.fx),
                                     RoundToPixel(t_.origin.y + r_.refined->centre->y * t_.fy)}
                        : P(0);
                // The fitted radius is a length in stored pixels: it scales with the points.
                s_.Ellipse(BoxAround(c, RoundToPixel(r_.fitRadius * t_.fx),
                                     RoundToPixel(r_.fitRadius * t_.fy)));
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
                const PixelBox box = ScaledLabelBox(P(0));
                info_.rule == Rule::CircleLabel ? s_.Ellipse(box) : s_.Rectangle(box);
            }
            break;
        case Rule::Text:
            break;
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
    const std::string total =
        ContinuousLineTotalLabel(std::span(r_.labels).first(count),
                                 ScaleContext{1.0, options.totalUnit, options.totalDecimals});
    if (!total.empty()) {
        const PixelPoint a = P(last);
        s_.TextOut(OffsetPoint(a, 0, LineGap()), total);
    }
}

void RecordPainter::Labels(RecordScheme scheme, const RecordRenderOptions& options,
                           std::uint32_t textHighlight) {
    if (info_.rule == Rule::Text) {
        s_.SetFont(ScaledFont(r_.textFont, size_));
        s_.SetTextColour(textHighlight != 0 ? textHighlight : r_.textColor);
        Line0At(0, 0);
        return;
    }
    if (info_.rule == Rule::CircleLabel || info_.rule == Rule::SquareLabel) {
        if (Has(0) && !r_.labels.empty()) {
            s_.SetFont(ScaledFont(options.surfaceFont, size_));
            // The live view keeps a label's colour in textColor.
            s_.SetTextColour(scheme == RecordScheme::Live ? r_.textColor : r_.labelColor);
            s_.DrawTextCentred(ScaledLabelBox(P(0)), r_.labels[0]);
        }
        return;
    }
    s_.SetFont(ScaledFont(r_.labelFont, size_));
    s_.SetTextColour(r_.labelColor);
    switch (info_.rule) {
        case Rule::TickedLine:
            Line0At(6, 0);
            break;
        case Rule::DerivedTicks:
        case Rule::PlainLine:
            Line0At(2, 0);
            break;
        case Rule::DotLine:
        case Rule::Angle:
            Line0At(3, 0);
            break;
        case Rule::FourPointAngle:
        case Rule::AutoAngleGuided:
            Line0At(4, 0);
            break;
        case Rule::RadiusCircle:
        case Rule::Rectangle:
        case Rule::Ellipse:
            Block(2, 3);
            break;
        case Rule::DiameterCircle:
        case Rule::Arc:
            Block(3, 3);
            break;
        case Rule::ThreePointCircle:
            Block(4, 3);
            break;
        case Rule::AutoCircle:
            Block(1, 3);
            break;
        case Rule::TwoCircles:
            Line0At(4, 0);
            Line0At(9, 1);
            Line0At(10, 2);
            break;
        case Rule::Continuous:
            ContinuousLabels(options);
            break;
        case Rule::Polygon:
            if (n_ >= 1) {
                Line0At(n_ - 1, 0);
            }
            break;
        default:
            break;
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

LogFont ScaledFont(const LogFont& font, double scale) {
    if (!std::isfinite(scale) || scale <= 0.0 || scale == 1.0) {
        return font;
    }
    LogFont scaled = font;
    scaled.height = RoundToPixel(font.height * scale);
    if (font.height != 0 && scaled.height == 0) {
        scaled.height = font.height > 0 ? 1 : -1;
    }
    scaled.width = RoundToPixel(font.width * scale);
    return scaled;
}

LogFont SurfaceDefaultFont() {
    LogFont font = DefaultLogFont();
    font.height = 16;
    font.weight = 700;
    font.charSet = 1;
    return font;
}

std::int32_t IntegerRadius(PixelPoint centre, PixelPoint rim) {
    // Exact integer differences; their squares are summed in double, which stays exact for
    // any distance a picture can hold and cannot overflow.
    const double dx = double(std::int64_t{rim.x} - centre.x);
    const double dy = double(std::int64_t{rim.y} - centre.y);
    return TruncateToPixel(std::sqrt(dx * dx + dy * dy));
}

void DrawSegmentGuides(DrawingSurface& surface, PixelPoint a, PixelPoint b) {
    surface.SetPen({PenStyle::Dot, 1, kGuideColour});
    // The ends of ticks through a and b are the ends of the two parallels.
    const std::array<PixelPoint, 4> off = EndTicks(a, b, kGuideOffset);
    surface.MoveTo(off[0]);
    surface.LineTo(off[2]);
    surface.MoveTo(off[1]);
    surface.LineTo(off[3]);
}

PixelPoint OffsetPoint(PixelPoint p, double dx, double dy) {
    return {TruncateToPixel(p.x + dx), TruncateToPixel(p.y + dy)};
}

PixelBox BoxAround(PixelPoint c, double rx, double ry) {
    const PixelPoint a = OffsetPoint(c, -rx, -ry);
    const PixelPoint b = OffsetPoint(c, rx, ry);
    return {a.x, a.y, b.x, b.y};
}

PenStyle StoredPenStyle(int style, int width) {
    if (width > 1 || style < 0 || style > 2) {
        return PenStyle::Solid;
    }
    return static_cast<PenStyle>(style);
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
    const int width = std::clamp(record.penWidth, 0, kMaxPenWidthDrawn);
    return Pen{StoredPenStyle(record.penStyle, width), width,
               h != 0 ? h : UsableColour(record.penColor)};
}

void DrawRecord(DrawingSurface& surface, const MeasureRecord& record, RecordScheme scheme,
                const RecordRenderOptions& options) {
    const std::optional<RuleInfo> info = RuleFor(record, scheme);
    if (!info) {
        return;
    }
    RecordPainter painter(surface, record, options.transform, *info, options.sizeScale,
                          options.tickScale);
    Pen pen = RecordPen(record, scheme, options.highlight);
    if (options.sizeScale != 1.0 && std::isfinite(options.sizeScale) && options.sizeScale > 0.0) {
        // The style stays the one of the stored width; a hairline widens like a one-pixel pen.
        pen.width = std::clamp(RoundToPixel(std::max(pen.width, 1) * options.sizeScale), 1,
                               kMaxPenWidthDrawn);
    }
    surface.SetPen(pen);
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
                      const ViewTransform& transform, double tickScale) {
    if (const std::optional<RuleInfo> info = RuleFor(record, scheme)) {
        RecordPainter(surface, record, transform, *info, 1.0, tickScale).Figure(false);
    }
}

}  // namespace lensora
