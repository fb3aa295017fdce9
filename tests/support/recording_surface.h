// A drawing surface for tests that keeps every call, so that a test can assert what was drawn
// where, with which pen, font and text colour.
#pragma once

#include <string>
#include <vector>

#include "base/drawing_surface.h"

namespace lensora::test {

struct DrawCall {
    enum class Op { Line, Polyline, Ellipse, Rectangle, Arc, Text, CentredText, Image };
    Op op;
    std::vector<PixelPoint>
        points;    // Line: from, to; Polyline: all; Arc: start, end; Text: top-left
    PixelBox box;  // Ellipse, Rectangle, Arc, CentredText, Image destination
    std::string text;
    Pen pen;
    LogFont font;
    std::uint32_t textColour = 0;
    RasterMode mode = RasterMode::Copy;
};

class RecordingSurface : public DrawingSurface {
  public:
    RecordingSurface(int width = 640, int height = 480) : width_(width), height_(height) {}

    int Width() const override { return width_; }
    int Height() const override { return height_; }
    void SetPen(const Pen& pen) override { pen_ = pen; }
    void SetFont(const LogFont& font) override { font_ = font; }
    void SetTextColour(std::uint32_t colour) override { textColour_ = colour; }
    void SetRasterMode(RasterMode mode) override { mode_ = mode; }
    void MoveTo(PixelPoint p) override { current_ = p; }
    void LineTo(PixelPoint p) override {
        Add(DrawCall::Op::Line).points = {current_, p};
        current_ = p;
    }
    void Polyline(std::span<const PixelPoint> points) override {
        Add(DrawCall::Op::Polyline).points.assign(points.begin(), points.end());
    }
    void Ellipse(const PixelBox& box) override { Add(DrawCall::Op::Ellipse).box = box; }
    void Rectangle(const PixelBox& box) override { Add(DrawCall::Op::Rectangle).box = box; }
    void Arc(const PixelBox& box, PixelPoint start, PixelPoint end) override {
        DrawCall& c = Add(DrawCall::Op::Arc);
        c.box = box;
        c.points = {start, end};
    }
    void TextOut(PixelPoint topLeft, std::string_view text) override {
        DrawCall& c = Add(DrawCall::Op::Text);
        c.points = {topLeft};
        c.text = std::string(text);
    }
    void DrawTextCentred(const PixelBox& box, std::string_view text) override {
        DrawCall& c = Add(DrawCall::Op::CentredText);
        c.box = box;
        c.text = std::string(text);
    }
    TextSize MeasureText(std::string_view text) override {
        const int h = font_.height == 0 ? 16 : std::abs(font_.height);
        return {static_cast<int>(text.size()) * h / 2, h};
    }
    void DrawStretched(const DibView&, const PixelBox& dest, const PixelBox&) override {
        Add(DrawCall::Op::Image).box = dest;
    }

    std::vector<DrawCall> calls;

    std::vector<DrawCall> Of(DrawCall::Op op) const {
        std::vector<DrawCall> out;
        for (const DrawCall& c : calls) {
            if (c.op == op) {
                out.push_back(c);
            }
        }
        return out;
    }

  private:
    DrawCall& Add(DrawCall::Op op) {
        DrawCall c{op, {}, {}, {}, pen_, font_, textColour_, mode_};
        calls.push_back(std::move(c));
        return calls.back();
    }

    int width_;
    int height_;
    Pen pen_;
    LogFont font_;
    std::uint32_t textColour_ = 0;
    RasterMode mode_ = RasterMode::Copy;
    PixelPoint current_;
};

}  // namespace lensora::test
