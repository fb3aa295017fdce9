// The saved rendering painted by QPainter: lines land on the picture pixels the records name.
#include <gtest/gtest.h>

#include <vector>

#include "canvas/canvas_paint.h"
#include "platform/qt_drawing_surface.h"

namespace lensora {
namespace {

// A white 24-bit bottom-up picture.
struct WhitePicture {
    std::vector<std::uint8_t> bytes;
    DibView dib;
    WhitePicture(int w, int h) : bytes(static_cast<std::size_t>(w) * 3 * h, 0xFF) {
        dib = {w, h, 24, static_cast<std::size_t>(w) * 3, bytes.data()};
    }
};

QRgb At(const QImage& image, int x, int y) {
    return image.pixel(x, y) & 0xFFFFFF;
}

TEST(AnnotatedImagePixels, FitViewLineLandsAtTwiceItsViewPosition) {
    WhitePicture picture(1280, 1024);
    StillRecords records;
    MeasureRecord line;
    line.kind = static_cast<int>(StillKind::kStraightLine);
    line.penColor = 0x00FF00;  // green
    line.points = {{100, 50}, {150, 50}, {100, 40}, {100, 60}, {150, 40}, {150, 60}, {100, 70}};
    AppendRecord(records, line);
    MeasureRecord selected = line;
    for (PixelPoint& p : selected.points) {
        p.y += 100;
    }
    selected.selected = true;
    AppendRecord(records, selected);

    QtDrawingSurface surface(1280, 1024);
    const AnnotatedImageInput in{&picture.dib, &records,
                                 ViewToImageFactors(DisplayMode::Fit, 1280, 1024)};
    ASSERT_TRUE(RenderAnnotatedImage(surface, in));
    const QImage& image = surface.Image();
    const QRgb white = 0xFFFFFF;
    // Measured line from (200, 100) to (300, 100); one pixel wide.
    for (int x = 200; x < 300; ++x) {
        ASSERT_EQ(At(image, x, 100), qRgb(0, 255, 0) & 0xFFFFFF) << x;
    }
    EXPECT_EQ(At(image, 250, 99), white);
    EXPECT_EQ(At(image, 250, 101), white);
    EXPECT_EQ(At(image, 310, 100), white);
    // End tick at x = 200 from y = 80 to 120.
    EXPECT_EQ(At(image, 200, 85), qRgb(0, 255, 0) & 0xFFFFFF);
    // The selected copy is red in the saved picture.
    EXPECT_EQ(At(image, 250, 300), qRgb(255, 0, 0) & 0xFFFFFF);
    EXPECT_EQ(At(image, 600, 600), white);
}

}  // namespace
}  // namespace lensora
