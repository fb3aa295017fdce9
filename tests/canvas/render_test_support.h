// Shared helpers of the renderer tests: building records and reading recorded calls.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "canvas/record_renderer.h"
#include "support/recording_surface.h"

namespace lensora {
inline void PrintTo(const PixelPoint& p, std::ostream* os) {
    *os << "(" << p.x << "," << p.y << ")";
}
inline void PrintTo(const PixelBox& b, std::ostream* os) {
    *os << "[" << b.left << "," << b.top << " " << b.right << "," << b.bottom << "]";
}
}  // namespace lensora

namespace lensora::test {

using Op = DrawCall::Op;

inline MeasureRecord Rec(int kind, std::vector<PixelPoint> points,
                         std::vector<std::string> labels = {}) {
    MeasureRecord r;
    r.kind = kind;
    r.points = std::move(points);
    r.labels = std::move(labels);
    r.penColor = 0x00FF00;
    r.penWidth = 1;
    r.penStyle = 1;
    r.labelColor = 0x123456;
    r.labelFont = DefaultLogFont();
    r.textColor = 0x654321;
    r.textFont = DefaultLogFont();
    r.textFont.height = -20;
    r.lineGap = 13;
    return r;
}

inline MeasureRecord Still(StillKind kind, std::vector<PixelPoint> points,
                           std::vector<std::string> labels = {}) {
    return Rec(static_cast<int>(kind), std::move(points), std::move(labels));
}

inline MeasureRecord Live(LiveKind kind, std::vector<PixelPoint> points,
                          std::vector<std::string> labels = {}) {
    return Rec(static_cast<int>(kind), std::move(points), std::move(labels));
}

struct Seg {
    PixelPoint a, b;
    friend bool operator==(const Seg&, const Seg&) = default;
    friend void PrintTo(const Seg& s, std::ostream* os) {
        PrintTo(s.a, os);
        *os << "-";
        PrintTo(s.b, os);
    }
};

inline std::vector<Seg> Lines(const RecordingSurface& s) {
    std::vector<Seg> out;
    for (const DrawCall& c : s.Of(Op::Line)) {
        out.push_back({c.points[0], c.points[1]});
    }
    return out;
}

inline std::vector<std::pair<PixelPoint, std::string>> Texts(const RecordingSurface& s) {
    std::vector<std::pair<PixelPoint, std::string>> out;
    for (const DrawCall& c : s.Of(Op::Text)) {
        out.emplace_back(c.points[0], c.text);
    }
    return out;
}

inline PixelBox Around(PixelPoint c, int r) {
    return {c.x - r, c.y - r, c.x + r, c.y + r};
}

}  // namespace lensora::test
