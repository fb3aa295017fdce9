// The 2-D drawing operations the overlay renderer needs, in the coordinate conventions of the
// measurement code: integer pixels, y down, boxes with exclusive right and bottom edges,
// colours 0x00BBGGRR. Implemented over QPainter in the platform layer and by a recording
// surface in the tests. A surface is used by one thread at a time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "base/log_font.h"
#include "base/pixel_box.h"
#include "base/pixel_point.h"

namespace lensora {

enum class PenStyle : int { Solid = 0, Dash = 1, Dot = 2, DashDot = 3 };

struct Pen {
    PenStyle style = PenStyle::Solid;
    int width = 1;             // pixels; 0 draws one pixel wide
    std::uint32_t colour = 0;  // 0x00BBGGRR
    friend bool operator==(const Pen&, const Pen&) = default;
};

// How new pixels combine with the surface: copy, or NOT-XOR (drawing the same figure twice
// restores what was beneath it, which is how rubber bands are erased).
enum class RasterMode { Copy, NotXor };

// A device-independent bitmap in memory: rows stored bottom-up, each `stride` bytes, pixels of
// 1, 4, 8 bits (palette of blue-green-red-zero entries) or 16, 24, 32 bits (blue, green, red).
struct DibView {
    std::int32_t width = 0;
    std::int32_t height = 0;
    int bitsPerPixel = 24;
    std::size_t stride = 0;
    const std::uint8_t* bits = nullptr;     // first stored row: the bottom row of the picture
    const std::uint8_t* palette = nullptr;  // 4 bytes an entry
    int paletteEntries = 0;
};

// Pixels a surface holds: 32-bit blue-green-red-unused, rows top-down.
struct PixelBufferView {
    const std::uint8_t* data = nullptr;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::size_t stride = 0;
};

struct TextSize {
    int width = 0;
    int height = 0;
};

class DrawingSurface {
  public:
    virtual ~DrawingSurface() = default;

    virtual int Width() const = 0;
    virtual int Height() const = 0;

    // The current pen and font stay until replaced. Closed figures are never filled.
    virtual void SetPen(const Pen& pen) = 0;
    virtual void SetFont(const LogFont& font) = 0;
    virtual void SetTextColour(std::uint32_t colour) = 0;
    virtual void SetRasterMode(RasterMode mode) = 0;

    virtual void MoveTo(PixelPoint p) = 0;
    // A line from the current position to `p`, which becomes the current position.
    virtual void LineTo(PixelPoint p) = 0;
    virtual void Polyline(std::span<const PixelPoint> points) = 0;
    // The ellipse and rectangle that fit the box.
    virtual void Ellipse(const PixelBox& box) = 0;
    virtual void Rectangle(const PixelBox& box) = 0;
    // Part of the ellipse that fits the box, counter-clockwise (as seen on screen) from the ray
    // through `start` to the ray through `end`; the whole ellipse when both rays coincide.
    virtual void Arc(const PixelBox& box, PixelPoint start, PixelPoint end) = 0;

    // Text with the top-left corner of its cell at `topLeft`, transparent background. Text is
    // UTF-8.
    virtual void TextOut(PixelPoint topLeft, std::string_view text) = 0;
    // One line of text centred horizontally in the box, at its top.
    virtual void DrawTextCentred(const PixelBox& box, std::string_view text) = 0;
    virtual TextSize MeasureText(std::string_view text) = 0;

    // The picture scaled into `dest` (no smoothing); `source` in picture pixels, rows from the
    // top.
    virtual void DrawStretched(const DibView& dib, const PixelBox& dest,
                               const PixelBox& source) = 0;

    // The surface's pixels, for surfaces that hold any (saving what was drawn).
    virtual std::optional<PixelBufferView> Pixels() const { return std::nullopt; }
};

}  // namespace lensora
