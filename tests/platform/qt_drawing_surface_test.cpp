#include "platform/qt_drawing_surface.h"

#include <gtest/gtest.h>

#include <vector>

namespace lensora {
namespace {

QImage Blank(int w, int h, QColor c = Qt::white) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(c);
    return image;
}

int CountNot(const QImage& image, QRgb colour, QRect area) {
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            n += (image.pixel(x, y) & 0xFFFFFF) != (colour & 0xFFFFFF);
        }
    }
    return n;
}

TEST(QtDrawingSurface, LinesAndBoxesLandOnTheGivenPixelsInBgrColours) {
    QImage image = Blank(40, 40);
    {
        QtDrawingSurface s(image);
        s.SetPen({PenStyle::Solid, 1, 0x0000FF});  // red in 0x00BBGGRR
        s.MoveTo({5, 10});
        s.LineTo({30, 10});
        s.Rectangle({5, 20, 15, 30});
    }
    EXPECT_EQ(image.pixel(5, 10), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(29, 10), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(5, 11), qRgb(255, 255, 255));
    // The rectangle's outline runs from left/top to right-1/bottom-1.
    EXPECT_EQ(image.pixel(5, 20), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(14, 29), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(15, 29), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(10, 25), qRgb(255, 255, 255));  // never filled
}

TEST(QtDrawingSurface, NotXorDrawnTwiceRestoresThePicture) {
    QImage image = Blank(60, 60);
    for (int y = 0; y < 60; ++y) {
        for (int x = 0; x < 60; ++x) {
            image.setPixel(x, y, qRgb(x * 4, y * 4, (x + y) * 2));
        }
    }
    const QImage before = image.copy();
    {
        QtDrawingSurface s(image);
        s.SetRasterMode(RasterMode::NotXor);
        s.SetPen({PenStyle::Dash, 3, 0x00FF8040});
        for (int pass = 0; pass < 2; ++pass) {
            s.MoveTo({3, 3});
            s.LineTo({50, 41});
            s.Ellipse({10, 10, 40, 30});
            const PixelPoint poly[] = {{1, 50}, {20, 55}, {40, 45}};
            s.Polyline(poly);
        }
    }
    EXPECT_EQ(image, before);
}

TEST(QtDrawingSurface, ArcsRunCounterClockwiseFromStartToEnd) {
    // From the ray to the right (3 o'clock) to the ray upwards (12 o'clock), counter-clockwise
    // on screen: only the upper right quarter is drawn.
    QImage image = Blank(101, 101);
    {
        QtDrawingSurface s(image);
        s.SetPen({PenStyle::Solid, 1, 0});
        s.Arc({0, 0, 101, 101}, {100, 50}, {50, 0});
    }
    EXPECT_GT(CountNot(image, qRgb(255, 255, 255), QRect(51, 0, 50, 49)), 40);
    EXPECT_EQ(CountNot(image, qRgb(255, 255, 255), QRect(0, 52, 101, 49)), 0);
    EXPECT_EQ(CountNot(image, qRgb(255, 255, 255), QRect(0, 0, 48, 101)), 0);
}

TEST(QtDrawingSurface, StretchedDibKeepsTopRowOnTop) {
    // 2 x 2 picture, rows stored bottom-up with 4-byte aligned rows of 6 bytes -> stride 8.
    // Bottom row: blue, green. Top row: red, white.
    const std::vector<std::uint8_t> bits = {255, 0, 0,   0,   255, 0,   0, 0,
                                            0,   0, 255, 255, 255, 255, 0, 0};
    DibView dib{2, 2, 24, 8, bits.data(), nullptr, 0};
    QImage image = Blank(20, 20, Qt::black);
    {
        QtDrawingSurface s(image);
        s.DrawStretched(dib, {0, 0, 20, 20}, {0, 0, 2, 2});
    }
    EXPECT_EQ(image.pixel(2, 2), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(17, 2), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(2, 17), qRgb(0, 0, 255));
    EXPECT_EQ(image.pixel(17, 17), qRgb(0, 255, 0));
}

TEST(QtDrawingSurface, TextStartsAtItsTopLeftCorner) {
    QImage image = Blank(200, 60);
    LogFont font = DefaultLogFont();
    font.height = -20;
    {
        QtDrawingSurface s(image);
        s.SetFont(font);
        s.SetTextColour(0);
        s.TextOut({50, 20}, "L:6.383mm");
        const TextSize size = s.MeasureText("L:6.383mm");
        EXPECT_GT(size.width, 40);
        EXPECT_GE(size.height, 20);
    }
    EXPECT_EQ(CountNot(image, qRgb(255, 255, 255), QRect(0, 0, 200, 20)), 0);
    EXPECT_EQ(CountNot(image, qRgb(255, 255, 255), QRect(0, 0, 49, 60)), 0);
    EXPECT_GT(CountNot(image, qRgb(255, 255, 255), QRect(50, 20, 150, 30)), 50);
}

}  // namespace
}  // namespace lensora
