#include "export/dxf_writer.h"

#include <fmt/format.h>

#include <algorithm>
#include <cmath>
#include <iterator>

#include "measure/geometry.h"

namespace lensora {
namespace {

// One group: the code right-aligned in three columns, then the value.
void Group(std::string& out, int code, std::string_view value) {
    fmt::format_to(std::back_inserter(out), "{:>3}\r\n{}\r\n", code, value);
}

void Group(std::string& out, int code, double value) {
    fmt::format_to(std::back_inserter(out), "{:>3}\r\n{:.6f}\r\n", code,
                   std::isfinite(value) ? value : 0.0);
}

void Group(std::string& out, int code, int value) {
    fmt::format_to(std::back_inserter(out), "{:>3}\r\n{}\r\n", code, value);
}

void Point(std::string& out, int code, PointD p) {
    Group(out, code, p.x);
    Group(out, code + 10, p.y);
    Group(out, code + 20, 0.0);
}

void Layer(std::string& out, std::string_view name, int colour) {
    Group(out, 0, "LAYER");
    Group(out, 2, name);
    Group(out, 70, 0);
    Group(out, 62, colour);
    Group(out, 6, "Continuous");
}

// Stored record points -> drawing coordinates through the picture pixels of the scale.
class Mapping {
  public:
    explicit Mapping(const ExportScale& s) : s_(s) {}

    PointD operator()(PointD p) const {
        return {p.x * s_.toPictureX * s_.unitsPerPixel,
                (s_.pictureHeight - p.y * s_.toPictureY) * s_.unitsPerPixel};
    }
    PointD operator()(PixelPoint p) const { return (*this)(ToPointD(p)); }
    double Distance(PixelPoint a, PixelPoint b) const {
        return std::hypot((b.x - double(a.x)) * s_.toPictureX,
                          (b.y - double(a.y)) * s_.toPictureY) *
               s_.unitsPerPixel;
    }
    double Length(double storedPixels) const {
        return storedPixels * s_.toPictureX * s_.unitsPerPixel;
    }

  private:
    const ExportScale& s_;
};

void AddRecord(DxfDrawing& dxf, const MeasureRecord& r, RecordScheme scheme, const Mapping& m) {
    const auto rule = RuleFor(r, scheme);
    if (!rule) {
        return;
    }
    const auto& p = r.points;
    const auto has = [&p](std::size_t n) { return p.size() >= n; };
    switch (rule->rule) {
        case Rule::TickedLine:
        case Rule::DerivedTicks:
        case Rule::PlainLine:
            if (has(2)) {
                dxf.AddLine(m(p[0]), m(p[1]));
            }
            return;
        case Rule::Angle:
            if (has(3)) {
                dxf.AddLine(m(p[0]), m(p[1]));
                dxf.AddLine(m(p[1]), m(p[2]));
            }
            return;
        case Rule::FourPointAngle:
        case Rule::AutoAngleGuided:
            if (has(4)) {
                dxf.AddLine(m(p[0]), m(p[1]));
                dxf.AddLine(m(p[2]), m(p[3]));
            }
            return;
        case Rule::DotLine:
            if (has(3)) {
                if (const auto foot = PerpendicularFoot(p[0], p[1], p[2])) {
                    dxf.AddLine(m(p[2]), m(*foot));
                }
            }
            return;
        case Rule::RadiusCircle:
        case Rule::DiameterCircle:
        case Rule::ThreePointCircle:
            if (has(2)) {
                dxf.AddCircle(m(p[0]), m.Distance(p[0], p[1]));
            }
            return;
        case Rule::AutoCircle:
            if (has(1)) {
                dxf.AddCircle(m(p[0]), m.Length(r.fitRadius));
            }
            return;
        case Rule::TwoCircles:
            if (has(9)) {
                dxf.AddCircle(m(p[3]), m.Distance(p[0], p[3]));
                dxf.AddCircle(m(p[8]), m.Distance(p[5], p[8]));
                dxf.AddLine(m(p[3]), m(p[8]));
            }
            return;
        case Rule::Rectangle:
            if (has(2)) {
                dxf.AddPolyline({m(PixelPoint{p[0].x, p[0].y}), m(PixelPoint{p[0].x, p[1].y}),
                                 m(PixelPoint{p[1].x, p[1].y}), m(PixelPoint{p[1].x, p[0].y})},
                                true);
            }
            return;
        case Rule::Polygon: {
            // The last point is the label's anchor, not a vertex.
            std::vector<PointD> vertices;
            for (std::size_t i = 0; i + 1 < p.size(); ++i) {
                vertices.push_back(m(p[i]));
            }
            dxf.AddPolyline(std::move(vertices), true);
            return;
        }
        case Rule::Continuous: {
            // p0, then each segment's end vertex followed by its label anchor.
            std::vector<PointD> vertices;
            for (std::size_t i = 0; i < p.size(); i += (i == 0 ? 1 : 2)) {
                vertices.push_back(m(p[i]));
            }
            dxf.AddPolyline(std::move(vertices), false);
            return;
        }
        case Rule::Ellipse:
        case Rule::CircleLabel:
        case Rule::SquareLabel:
        case Rule::Text:
        case Rule::Arc:
            return;
    }
}

}  // namespace

void DxfDrawing::Extend(PointD p, double margin) {
    if (!any_) {
        min_ = max_ = p;
        any_ = true;
    }
    min_.x = std::min(min_.x, p.x - margin);
    min_.y = std::min(min_.y, p.y - margin);
    max_.x = std::max(max_.x, p.x + margin);
    max_.y = std::max(max_.y, p.y + margin);
}

void DxfDrawing::AddLine(PointD from, PointD to) {
    Group(entities_, 0, "LINE");
    Group(entities_, 8, kDxfLayer);
    Point(entities_, 10, from);
    Point(entities_, 11, to);
    Extend(from);
    Extend(to);
    ++lines_;
}

void DxfDrawing::AddCircle(PointD centre, double radius) {
    Group(entities_, 0, "CIRCLE");
    Group(entities_, 8, kDxfLayer);
    Point(entities_, 10, centre);
    Group(entities_, 40, radius);
    Extend(centre, radius);
    ++circles_;
}

void DxfDrawing::AddPolyline(std::vector<PointD> vertices, bool closed) {
    vertices.erase(std::unique(vertices.begin(), vertices.end()), vertices.end());
    if (closed && vertices.size() > 1 && vertices.front() == vertices.back()) {
        vertices.pop_back();
    }
    if (vertices.size() < 2) {
        return;
    }
    Group(entities_, 0, "POLYLINE");
    Group(entities_, 8, kDxfLayer);
    Group(entities_, 66, 1);
    Point(entities_, 10, PointD{});
    Group(entities_, 70, closed ? 1 : 0);
    for (const PointD& v : vertices) {
        Group(entities_, 0, "VERTEX");
        Group(entities_, 8, kDxfLayer);
        Point(entities_, 10, v);
        Extend(v);
    }
    Group(entities_, 0, "SEQEND");
    Group(entities_, 8, kDxfLayer);
    ++polylines_;
}

std::string DxfDrawing::Text() const {
    std::string out;
    out.reserve(entities_.size() + 2048);
    Group(out, 0, "SECTION");
    Group(out, 2, "HEADER");
    Group(out, 9, "$ACADVER");
    Group(out, 1, "AC1009");
    Group(out, 9, "$EXTMIN");
    Point(out, 10, any_ ? min_ : PointD{});
    Group(out, 9, "$EXTMAX");
    Point(out, 10, any_ ? max_ : PointD{});
    Group(out, 0, "ENDSEC");

    Group(out, 0, "SECTION");
    Group(out, 2, "TABLES");
    Group(out, 0, "TABLE");
    Group(out, 2, "LTYPE");
    Group(out, 70, 1);
    Group(out, 0, "LTYPE");
    Group(out, 2, "Continuous");
    Group(out, 70, 0);
    Group(out, 3, "Solid line");
    Group(out, 72, 65);
    Group(out, 73, 0);
    Group(out, 40, 0.0);
    Group(out, 0, "ENDTAB");
    Group(out, 0, "TABLE");
    Group(out, 2, "LAYER");
    Group(out, 70, 3);
    Layer(out, "0", 7);  // every DXF reader expects layer 0
    Layer(out, "Layer1", 1);
    Layer(out, "Layer2", 1);
    Group(out, 0, "ENDTAB");
    Group(out, 0, "ENDSEC");

    Group(out, 0, "SECTION");
    Group(out, 2, "ENTITIES");
    out += entities_;
    Group(out, 0, "ENDSEC");
    Group(out, 0, "EOF");
    return out;
}

DxfDrawing BuildDxf(const RecordList& records, RecordScheme scheme, const ExportScale& scale) {
    DxfDrawing dxf;
    const Mapping mapping(scale);
    for (const auto& record : records.records) {
        AddRecord(dxf, *record, scheme, mapping);
    }
    return dxf;
}

ExportResult ExportDxf(const std::string& path, const RecordList& records, RecordScheme scheme,
                       const ExportScale& scale, const FileSeam& seam) {
    if (!scale.Usable()) {
        return ExportResult::Failed("no scale to convert pixels into " + scale.unit +
                                    ": enter the magnification first");
    }
    if (auto why = SaveFileAtomically(path, BuildDxf(records, scheme, scale).Text(), seam)) {
        return ExportResult::Failed(*why);
    }
    return ExportResult::Saved();
}

}  // namespace lensora
