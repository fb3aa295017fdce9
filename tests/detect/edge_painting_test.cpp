#include "detect/edge_painting.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "detect/synthetic_pictures.h"

namespace lensora {
namespace {

using namespace lensora::testing;

std::vector<std::uint8_t> Bytes(const CxImage& image) {
    return {image.GetDib(), image.GetDib() + image.GetDibSize()};
}

CxImage Checkerboard(int width, int height, int cell) {
    return MakePicture(width, height, [cell](int x, int y) {
        return (x / cell + y / cell) % 2 ? kBright : kDark;
    });
}

TEST(EdgePainting, ZeroWidthPortionChangesNothing) {
    CxImage image = Checkerboard(60, 40, 6);
    const std::vector<std::uint8_t> before = Bytes(image);
    EXPECT_TRUE(PaintEdgesInRect(image, 10, 5, 10, 35));
    EXPECT_TRUE(PaintEdgesInRect(image, 5, 20, 50, 20));
    EXPECT_EQ(Bytes(image), before);
    // Wholly outside the picture: false, nothing changed.
    EXPECT_FALSE(PaintEdgesInRect(image, 100, 100, 140, 140));
    EXPECT_EQ(Bytes(image), before);
}

TEST(EdgePainting, GlobalPaintingLeavesAFivePixelMargin) {
    for (int noise : {0, 25}) {
        CxImage image = Checkerboard(64, 48, 4);
        AddNoise(image, noise, 3);
        ASSERT_TRUE(PaintEdgesGlobal(image));
        int inside = 0;
        for (int y = 0; y < 48; ++y) {
            for (int x = 0; x < 64; ++x) {
                const bool margin = x < 5 || y < 5 || x > 64 - 6 || y > 48 - 6;
                if (margin) {
                    EXPECT_FALSE(IsRed(image, x, y)) << x << "," << y;
                } else {
                    inside += IsRed(image, x, y);
                }
            }
        }
        EXPECT_GT(inside, 300) << noise;
    }
}

TEST(EdgePainting, RedLiesAlongTheEdgesOfARectangle) {
    for (int noise : {0, 20}) {
        CxImage image = RectanglePicture(120, 90, 30, 20, 89, 69);
        AddNoise(image, noise, 11);
        ASSERT_TRUE(PaintEdgesGlobal(image));
        int red = 0;
        for (int y = 0; y < 90; ++y) {
            for (int x = 0; x < 120; ++x) {
                if (!IsRed(image, x, y)) {
                    continue;
                }
                ++red;
                const int toVertical = std::min(std::abs(x - 30), std::abs(x - 89));
                const int toHorizontal = std::min(std::abs(y - 20), std::abs(y - 69));
                EXPECT_LE(std::min(toVertical, toHorizontal), 3) << x << "," << y;
            }
        }
        // Four sides of 60 and 50 pixels, a few pixels thick.
        EXPECT_GT(red, 2 * (60 + 50) * 2) << noise;
    }
}

TEST(EdgePainting, PortionPaintsOnlyInsideItsBounds) {
    CxImage image = Checkerboard(80, 60, 5);
    ASSERT_TRUE(PaintEdgesInRect(image, 60, 50, 10, 8));  // corners in any order
    int red = 0;
    for (int y = 0; y < 60; ++y) {
        for (int x = 0; x < 80; ++x) {
            if (IsRed(image, x, y)) {
                ++red;
                EXPECT_TRUE(x >= 15 && x <= 56 && y >= 12 && y <= 45) << x << "," << y;
            }
        }
    }
    EXPECT_GT(red, 100);
    // A rectangle reaching outside is clipped, not refused.
    EXPECT_TRUE(PaintEdgesInRect(image, -20, -20, 30, 30));
    // From a view at half size: the same as the picture rectangle.
    CxImage viewed = Checkerboard(80, 60, 5);
    ASSERT_TRUE(PaintEdgesInViewRect(viewed, {30, 25}, {5, 4}, ViewTransform{0, 0, 2.0, 2.0}));
    CxImage direct = Checkerboard(80, 60, 5);
    ASSERT_TRUE(PaintEdgesInRect(direct, 10, 8, 60, 50));
    EXPECT_EQ(Bytes(viewed), Bytes(direct));
}

TEST(EdgePainting, RefusesPicturesThatAreNotTwentyFourBit) {
    CxImage grey;
    ASSERT_TRUE(grey.Create(20, 20, 8));
    EXPECT_FALSE(PaintEdgesGlobal(grey));
    EXPECT_FALSE(PaintEdgesInRect(grey, 0, 0, 10, 10));
    CxImage none;
    EXPECT_FALSE(PaintEdgesGlobal(none));
}

TEST(EdgePainting, UniformPictureGetsNoEdges) {
    CxImage image = UniformPicture(40, 30, 128);
    const std::vector<std::uint8_t> before = Bytes(image);
    ASSERT_TRUE(PaintEdgesGlobal(image));
    EXPECT_EQ(Bytes(image), before);
}

}  // namespace
}  // namespace lensora
