#include "platform/qt_drawing_surface.h"

#include <QFontMetrics>
#include <QPainterPath>
#include <QTransform>
#include <cmath>
#include <numbers>

namespace lensora {
namespace {

QString ToQString(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

// Without antialiasing Qt fills the pixel to the right of and below each point, so integer
// coordinates put one-pixel lines and outlines on the pixels the measurement code names; the
// outline of a box stays inside its exclusive right and bottom edges.
QRectF OutlineRect(const PixelBox& box) {
    return QRectF(box.left, box.top, std::max(0, box.Width() - 1), std::max(0, box.Height() - 1));
}

QPointF Centre(QPoint p) {
    return QPointF(p.x(), p.y());
}

}  // namespace

QColor QtDrawingSurface::ColourOf(std::uint32_t colour) {
    return QColor(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                  static_cast<int>((colour >> 16) & 0xFF));
}

QFont QtDrawingSurface::FontFor(const LogFont& font) {
    QFont f(QString::fromStdU16String(font.faceName.empty() ? u"Arial" : font.faceName));
    f.setStyleHint(QFont::SansSerif);
    // Height 0 asks for the platform's default size; absurd sizes are cut to a drawable one.
    const int height = font.height == 0 ? 12 : std::min(std::abs(font.height), 500);
    f.setPixelSize(height);
    if (font.height > 0) {
        // A positive height is the whole cell; shrink the em size until the cell fits.
        const QFontMetrics fm(f);
        const int cell = fm.ascent() + fm.descent();
        if (cell > height) {
            f.setPixelSize(std::max(1, height * height / cell));
        }
    }
    if (font.weight > 0) {
        f.setWeight(static_cast<QFont::Weight>(std::clamp(font.weight, 1, 1000)));
    }
    f.setItalic(font.italic != 0);
    f.setUnderline(font.underline != 0);
    f.setStrikeOut(font.strikeOut != 0);
    return f;
}

LogFont QtDrawingSurface::LogFontFor(const QFont& font) {
    LogFont f = DefaultLogFont();
    int pixels = font.pixelSize();
    if (pixels <= 0) {
        // Points at the 96 dots per inch the records are drawn at.
        pixels = static_cast<int>(std::lround(font.pointSizeF() * 96.0 / 72.0));
    }
    f.height = -std::clamp(pixels, 1, 500);
    f.weight = font.weight();
    f.italic = font.italic() ? 1 : 0;
    f.underline = font.underline() ? 1 : 0;
    f.strikeOut = font.strikeOut() ? 1 : 0;
    f.faceName = font.family().left(LogFont::kFaceNameUnits - 1).toStdU16String();
    return f;
}

QtDrawingSurface::QtDrawingSurface(QImage& target) : image_(&target) {
    Begin();
}

QtDrawingSurface::QtDrawingSurface(int width, int height)
    : owned_(
          std::make_unique<QImage>(std::max(1, width), std::max(1, height), QImage::Format_RGB32)),
      image_(owned_.get()) {
    owned_->fill(Qt::black);
    Begin();
}

QtDrawingSurface::~QtDrawingSurface() {
    painter_.end();
}

void QtDrawingSurface::Begin() {
    painter_.begin(image_);
    painter_.setRenderHint(QPainter::Antialiasing, false);
    painter_.setBrush(Qt::NoBrush);
    painter_.setPen(QPen(Qt::black, 1));
}

void QtDrawingSurface::SetPen(const Pen& pen) {
    QPen p(ColourOf(pen.colour));
    p.setWidth(std::max(1, pen.width));
    switch (pen.style) {
        case PenStyle::Dash:
            p.setStyle(Qt::DashLine);
            break;
        case PenStyle::Dot:
            p.setStyle(Qt::DotLine);
            break;
        case PenStyle::DashDot:
            p.setStyle(Qt::DashDotLine);
            break;
        case PenStyle::Solid:
            p.setStyle(Qt::SolidLine);
            break;
    }
    p.setCapStyle(Qt::FlatCap);
    p.setJoinStyle(Qt::MiterJoin);
    painter_.setPen(p);
}

void QtDrawingSurface::SetFont(const LogFont& font) {
    painter_.setFont(FontFor(font));
    escapementTenths_ = font.escapement;
}

void QtDrawingSurface::SetTextColour(std::uint32_t colour) {
    textColour_ = ColourOf(colour);
}

void QtDrawingSurface::SetRasterMode(RasterMode mode) {
    painter_.setCompositionMode(mode == RasterMode::NotXor
                                    ? QPainter::RasterOp_NotSourceXorDestination
                                    : QPainter::CompositionMode_SourceOver);
}

void QtDrawingSurface::MoveTo(PixelPoint p) {
    current_ = QPoint(p.x, p.y);
}

void QtDrawingSurface::LineTo(PixelPoint p) {
    const QPoint to(p.x, p.y);
    if (to != current_) {
        painter_.drawLine(Centre(current_), Centre(to));
    } else {
        painter_.drawPoint(Centre(to));
    }
    current_ = to;
}

void QtDrawingSurface::Polyline(std::span<const PixelPoint> points) {
    if (points.size() < 2) {
        return;
    }
    QPolygonF poly;
    poly.reserve(static_cast<qsizetype>(points.size()));
    for (const PixelPoint& p : points) {
        poly << Centre(QPoint(p.x, p.y));
    }
    painter_.drawPolyline(poly);
}

void QtDrawingSurface::Ellipse(const PixelBox& box) {
    painter_.drawEllipse(OutlineRect(box));
}

void QtDrawingSurface::Rectangle(const PixelBox& box) {
    painter_.drawRect(OutlineRect(box));
}

void QtDrawingSurface::Arc(const PixelBox& box, PixelPoint start, PixelPoint end) {
    const QRectF r = OutlineRect(box);
    const QPointF c = r.center();
    // Angles as seen on screen: y grows downwards, so it is negated.
    const double a0 = std::atan2(-(start.y - c.y()), start.x - c.x());
    const double a1 = std::atan2(-(end.y - c.y()), end.x - c.x());
    double span = a1 - a0;
    while (span <= 0) {
        span += 2 * std::numbers::pi;
    }
    const auto toSixteenths = [](double rad) {
        return static_cast<int>(std::lround(rad * 180.0 / std::numbers::pi * 16.0));
    };
    painter_.drawArc(r, toSixteenths(a0), toSixteenths(span));
}

void QtDrawingSurface::TextOut(PixelPoint topLeft, std::string_view text) {
    const QFontMetrics fm(painter_.font());
    painter_.save();
    painter_.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter_.setPen(textColour_);
    painter_.translate(topLeft.x, topLeft.y);
    if (escapementTenths_ != 0) {
        painter_.rotate(-escapementTenths_ / 10.0);
    }
    painter_.drawText(QPointF(0, fm.ascent()), ToQString(text));
    painter_.restore();
}

void QtDrawingSurface::DrawTextCentred(const PixelBox& box, std::string_view text) {
    painter_.save();
    painter_.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter_.setPen(textColour_);
    // Like the platform's centred text without clipping: wider text spills on both sides.
    const QFontMetrics fm(painter_.font());
    const QString s = ToQString(text);
    const int w = fm.horizontalAdvance(s);
    const int x = box.left + (box.Width() - w) / 2;
    painter_.drawText(QPointF(x, box.top + fm.ascent()), s);
    painter_.restore();
}

TextSize QtDrawingSurface::MeasureText(std::string_view text) {
    const QFontMetrics fm(painter_.font());
    return {fm.horizontalAdvance(ToQString(text)), fm.height()};
}

QImage WrapDib(const DibView& dib) {
    if (dib.bits == nullptr || dib.width <= 0 || dib.height <= 0) {
        return {};
    }
    const auto stride = static_cast<qsizetype>(dib.stride);
    QImage image;
    switch (dib.bitsPerPixel) {
        case 32:
            image = QImage(dib.bits, dib.width, dib.height, stride, QImage::Format_RGB32);
            break;
        case 24:
            image = QImage(dib.bits, dib.width, dib.height, stride, QImage::Format_BGR888);
            break;
        case 16:
            image = QImage(dib.bits, dib.width, dib.height, stride, QImage::Format_RGB555);
            break;
        case 8:
        case 1: {
            image = QImage(dib.bits, dib.width, dib.height, stride,
                           dib.bitsPerPixel == 8 ? QImage::Format_Indexed8 : QImage::Format_Mono);
            QList<QRgb> table(1 << dib.bitsPerPixel, qRgb(0, 0, 0));
            for (int i = 0; i < dib.paletteEntries && i < table.size(); ++i) {
                const std::uint8_t* e = dib.palette + 4 * i;
                table[i] = qRgb(e[2], e[1], e[0]);
            }
            if (dib.palette == nullptr && dib.bitsPerPixel == 8) {
                for (int i = 0; i < 256; ++i) {
                    table[i] = qRgb(i, i, i);
                }
            }
            image.setColorTable(table);
            break;
        }
        case 4: {
            // Qt has no 4-bit format: spread the nibbles to bytes.
            image = QImage(dib.width, dib.height, QImage::Format_Indexed8);
            for (int y = 0; y < dib.height; ++y) {
                const std::uint8_t* src = dib.bits + static_cast<std::size_t>(y) * dib.stride;
                uchar* dst = image.scanLine(y);
                for (int x = 0; x < dib.width; ++x) {
                    dst[x] = (x & 1) ? (src[x / 2] & 0x0F) : (src[x / 2] >> 4);
                }
            }
            QList<QRgb> table(16, qRgb(0, 0, 0));
            for (int i = 0; i < dib.paletteEntries && i < 16; ++i) {
                const std::uint8_t* e = dib.palette + 4 * i;
                table[i] = qRgb(e[2], e[1], e[0]);
            }
            image.setColorTable(table);
            break;
        }
        default:
            break;
    }
    return image;
}

void QtDrawingSurface::DrawStretched(const DibView& dib, const PixelBox& dest,
                                     const PixelBox& source) {
    const QImage upsideDown = WrapDib(dib);
    if (upsideDown.isNull() || dest.Width() <= 0 || dest.Height() <= 0 || source.Width() <= 0 ||
        source.Height() <= 0) {
        return;
    }
    painter_.save();
    painter_.setCompositionMode(QPainter::CompositionMode_Source);
    painter_.setRenderHint(QPainter::SmoothPixmapTransform, false);
    // The stored rows run bottom-up: flip the source rectangle and the drawing vertically.
    const QRectF src(source.left, dib.height - source.bottom, source.Width(), source.Height());
    painter_.translate(dest.left, dest.bottom);
    painter_.scale(1.0, -1.0);
    painter_.drawImage(QRectF(0, 0, dest.Width(), dest.Height()), upsideDown, src);
    painter_.restore();
}

std::optional<PixelBufferView> QtDrawingSurface::Pixels() const {
    if (image_->format() != QImage::Format_RGB32 && image_->format() != QImage::Format_ARGB32) {
        return std::nullopt;
    }
    return PixelBufferView{image_->constBits(), image_->width(), image_->height(),
                           static_cast<std::size_t>(image_->bytesPerLine())};
}

}  // namespace lensora
