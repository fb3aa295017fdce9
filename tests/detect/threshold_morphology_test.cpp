#include <gtest/gtest.h>

#include <algorithm>
#include <utility>

#include "detect/binary_morphology.h"
#include "detect/grey_region.h"
#include "detect/otsu_threshold.h"
#include "detect/synthetic_pictures.h"
#include "imaging/depth_conversion.h"

namespace lensora {
namespace {

using namespace lensora::testing;

GreyPlane Plane(int width, int height, std::uint8_t value) {
    return GreyPlane{width, height, std::vector<std::uint8_t>(std::size_t(width) * height, value)};
}

TEST(OtsuThreshold, DegenerateHistogramsGiveZero) {
    GreyHistogram histogram{};
    EXPECT_EQ(OtsuThreshold(histogram), 0);  // empty
    histogram[128] = 1000;
    EXPECT_EQ(OtsuThreshold(histogram), 0);  // one bin: no split leaves both classes filled
    histogram = {};
    histogram[255] = 7;
    EXPECT_EQ(OtsuThreshold(histogram), 0);
}

TEST(OtsuThreshold, TwoBinsSplitAtTheLowerBinOnTies) {
    // Every t from 50 to 199 separates the bins equally well: the smallest wins.
    GreyHistogram histogram{};
    histogram[50] = 300;
    histogram[200] = 100;
    EXPECT_EQ(OtsuThreshold(histogram), 50);
    histogram = {};
    histogram[0] = 1;
    histogram[1] = 1;
    EXPECT_EQ(OtsuThreshold(histogram), 0);
    // Binarising above the threshold puts each bin in its own class.
    GreyPlane plane{2, 1, {50, 200}};
    BinariseAbove(plane, 50);
    EXPECT_EQ(plane.pixels, (std::vector<std::uint8_t>{0, 255}));
}

TEST(OtsuThreshold, NoisyBimodalPictureSplitsBetweenTheModes) {
    CxImage image = DiscPicture(120, 100, 60, 50, 30);
    AddNoise(image, 20, 7);
    GreyPlane plane;
    ASSERT_TRUE(GreyOfRect(image, {0, 0, 120, 100}, false, plane));
    const int t = OtsuThreshold(MakeHistogram(plane));
    EXPECT_GE(t, kDark + 20);
    EXPECT_LT(t, kBright - 20);
}

TEST(GreyRegion, MatchesThePictureGreyPlaneInBothRowOrders) {
    CxImage image = MakePicture(17, 9, [](int x, int y) { return x * 13 + y * 7; });
    // Colour pixels too, so that the weights matter.
    image.RowFromTop(3)[3 * 4] = 250;
    image.RowFromTop(3)[3 * 4 + 2] = 1;
    std::vector<std::uint8_t> reference;
    ASSERT_TRUE(image.GreyRect(2, 1, 10, 6, reference));
    GreyPlane top;
    GreyPlane bottom;
    ASSERT_TRUE(GreyOfRect(image, {2, 1, 12, 7}, false, top));
    ASSERT_TRUE(GreyOfRect(image, {2, 1, 12, 7}, true, bottom));
    EXPECT_EQ(top.pixels, reference);
    for (int row = 0; row < 6; ++row) {
        EXPECT_TRUE(std::equal(top.Row(row), top.Row(row) + 10, bottom.Row(5 - row)));
    }
    EXPECT_FALSE(GreyOfRect(image, {2, 1, 18, 7}, false, top));  // reaches outside
    EXPECT_FALSE(GreyOfRect(image, {2, 1, 12, 10}, false, top));
    EXPECT_FALSE(GreyOfRect(image, {2, 1, 2, 7}, false, top));     // empty
    ASSERT_TRUE(GreyOfRect(image, {15, 7, 17, 9}, true, bottom));  // up to the last pixel
    EXPECT_EQ(bottom.width, 2);
    EXPECT_EQ(bottom.height, 2);
    EXPECT_EQ(bottom.At(1, 0), GreyOfBgr(image.RowFromTop(8) + 3 * 16));
    // Corners in any order, clipped to the picture.
    PixelBox rect = BoxOfCorners({20, -5}, {-3, 4});
    ASSERT_TRUE(ClipToPicture(image, rect));
    EXPECT_EQ(rect, (PixelBox{0, 0, 17, 5}));
    PixelBox outside{30, 30, 41, 41};
    EXPECT_FALSE(ClipToPicture(image, outside));
    PixelBox far = BoxOfCorners({INT32_MIN, INT32_MAX}, {INT32_MAX, INT32_MIN});
    EXPECT_EQ(far, (PixelBox{INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX}));
    ASSERT_TRUE(ClipToPicture(image, far));
    EXPECT_EQ(far, (PixelBox{0, 0, 17, 9}));
    PixelBox beyondLastColumn{17, 0, 30, 9};
    EXPECT_FALSE(ClipToPicture(image, beyondLastColumn));
}

TEST(GreyRegion, EightBitPictureBecomesTwentyFourBit) {
    CxImage image;
    ASSERT_TRUE(image.Create(5, 3, 8));
    image.SetGreyPalette();
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 5; ++x) {
            image.SetPixelIndex(x, y, std::uint8_t(x * 40 + y));
        }
    }
    EXPECT_FALSE(IsDetectable(image));
    ASSERT_TRUE(ConvertTo24Bits(image));
    ASSERT_EQ(image.GetBpp(), 24);
    EXPECT_EQ(image.GetWidth(), 5);
    for (int storedY = 0; storedY < 3; ++storedY) {
        for (int x = 0; x < 5; ++x) {
            EXPECT_EQ(GreyOfBgr(image.StoredRow(storedY) + 3 * x), x * 40 + storedY);
        }
    }
    EXPECT_TRUE(ConvertTo24Bits(image));  // already 24-bit: unchanged
    CxImage twoColour;
    ASSERT_TRUE(twoColour.Create(9, 2, 1));
    twoColour.SetPaletteColor(1, 255, 0, 0);
    twoColour.SetPixelIndex(3, 1, 1);
    ASSERT_TRUE(ConvertTo24Bits(twoColour));
    EXPECT_EQ(twoColour.GetPixelColor(3, 1).red, 255);
    EXPECT_EQ(twoColour.GetPixelColor(3, 1).blue, 0);
    EXPECT_EQ(twoColour.GetPixelColor(4, 1).red, 0);
    CxImage empty;
    EXPECT_FALSE(ConvertTo24Bits(empty));
}

TEST(BinaryMorphology, CrossDilationAndErosionKeepTheTwoPixelBorder) {
    GreyPlane plane = Plane(9, 9, 0);
    plane.At(4, 4) = 255;
    plane.At(1, 1) = 255;
    DilateCross(plane);
    for (auto [x, y] : {std::pair{4, 4}, {3, 4}, {5, 4}, {4, 3}, {4, 5}}) {
        EXPECT_EQ(plane.At(x, y), 255) << x << "," << y;
    }
    EXPECT_EQ(plane.At(3, 3), 0);  // diagonal neighbours are not in the cross
    EXPECT_EQ(plane.At(1, 1), 255);
    EXPECT_EQ(plane.At(2, 1), 0);  // border pixel: keeps its value beside a bright one
    EXPECT_EQ(plane.At(2, 2), 0);  // (1, 1) is only a diagonal neighbour
    EXPECT_EQ(std::count(plane.pixels.begin(), plane.pixels.end(), 255), 6);

    plane = Plane(9, 9, 255);
    plane.At(4, 4) = 0;
    plane.At(0, 0) = 0;
    ErodeCross(plane);
    for (auto [x, y] : {std::pair{4, 4}, {3, 4}, {5, 4}, {4, 3}, {4, 5}}) {
        EXPECT_EQ(plane.At(x, y), 0) << x << "," << y;
    }
    EXPECT_EQ(plane.At(3, 3), 255);
    EXPECT_EQ(plane.At(1, 0), 255);
    EXPECT_EQ(std::count(plane.pixels.begin(), plane.pixels.end(), 0), 6);

    GreyPlane tiny = Plane(4, 4, 0);
    tiny.At(1, 1) = 255;
    DilateCross(tiny);  // no centre position at all
    EXPECT_EQ(std::count(tiny.pixels.begin(), tiny.pixels.end(), 255), 1);
}

TEST(BinaryMorphology, BoundaryKeepsTheOutlineOfDarkAreas) {
    GreyPlane plane = Plane(11, 11, 255);
    for (int y = 3; y <= 7; ++y) {
        for (int x = 3; x <= 7; ++x) {
            plane.At(x, y) = 0;
        }
    }
    ExtractBoundary(plane);
    int dark = 0;
    for (int y = 0; y < 11; ++y) {
        for (int x = 0; x < 11; ++x) {
            const bool outline =
                (x == 3 || x == 7 || y == 3 || y == 7) && x >= 3 && x <= 7 && y >= 3 && y <= 7;
            EXPECT_EQ(plane.At(x, y) == 0, outline) << x << "," << y;
            dark += plane.At(x, y) == 0;
        }
    }
    EXPECT_EQ(dark, 16);
    // The plane's own first and last rows and columns are never changed.
    GreyPlane allDark = Plane(5, 4, 0);
    ExtractBoundary(allDark);
    EXPECT_EQ(std::count(allDark.pixels.begin(), allDark.pixels.end(), 0), 5 * 4 - 3 * 2);
}

}  // namespace
}  // namespace lensora
