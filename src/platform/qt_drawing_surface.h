// The drawing surface over QPainter on a QImage (32-bit RGB). Either paints on an image the
// caller owns and keeps alive, or owns one of a given size. The painter is active from
// construction to destruction. One thread at a time.
#pragma once

#include <QFont>
#include <QImage>
#include <QPainter>
#include <memory>

#include "base/drawing_surface.h"

namespace lensora {

class QtDrawingSurface : public DrawingSurface {
  public:
    explicit QtDrawingSurface(QImage& target);
    QtDrawingSurface(int width, int height);
    ~QtDrawingSurface() override;

    int Width() const override { return image_->width(); }
    int Height() const override { return image_->height(); }
    void SetPen(const Pen& pen) override;
    void SetFont(const LogFont& font) override;
    void SetTextColour(std::uint32_t colour) override;
    void SetRasterMode(RasterMode mode) override;
    void MoveTo(PixelPoint p) override;
    void LineTo(PixelPoint p) override;
    void Polyline(std::span<const PixelPoint> points) override;
    void Ellipse(const PixelBox& box) override;
    void Rectangle(const PixelBox& box) override;
    void Arc(const PixelBox& box, PixelPoint start, PixelPoint end) override;
    void TextOut(PixelPoint topLeft, std::string_view text) override;
    void DrawTextCentred(const PixelBox& box, std::string_view text) override;
    TextSize MeasureText(std::string_view text) override;
    void DrawStretched(const DibView& dib, const PixelBox& dest, const PixelBox& source) override;
    std::optional<PixelBufferView> Pixels() const override;

    QImage& Image() { return *image_; }
    QPainter& Painter() { return painter_; }

    // A QFont for a logical-font record: size from its height (negative: character height,
    // positive: cell height), weight, italic, underline, strike-out and face name.
    static QFont FontFor(const LogFont& font);
    // The logical-font record of a QFont chosen by the user: character height in pixels
    // (negative), weight, style flags and family; the other fields as in the default font.
    static LogFont LogFontFor(const QFont& font);
    static QColor ColourOf(std::uint32_t colour);

  private:
    void Begin();

    std::unique_ptr<QImage> owned_;
    QImage* image_;
    QPainter painter_;
    QPoint current_;
    QColor textColour_ = Qt::black;
    int escapementTenths_ = 0;
};

// Wraps a bottom-up DIB as an image without copying when Qt has a matching format; the result
// is upside down (first stored row on top) and must be drawn flipped. Returns a null image for
// bit depths it cannot show. `converted` receives a converted copy where one was needed.
QImage WrapDib(const DibView& dib);

}  // namespace lensora
