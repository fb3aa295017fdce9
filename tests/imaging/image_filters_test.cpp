#include "imaging/image_filters.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <string>

#include "imaging/cx_image.h"

namespace lensora {
namespace {

std::string Dib(const CxImage& image) {
    return std::string(reinterpret_cast<const char*>(image.GetDib()), image.GetDibSize());
}

// Random pixels drawn from a few levels, so that many neighbours share a luminance.
CxImage RandomImage(int width, int height, std::uint32_t bits, unsigned seed, int levels = 256) {
    CxImage image;
    EXPECT_TRUE(image.Create(width, height, bits));
    std::mt19937 random(seed);
    const std::size_t used = (std::size_t(width) * image.GetBpp() + 7) / 8;
    for (int y = 0; y < height; ++y) {
        for (std::size_t i = 0; i < used; ++i) {
            image.StoredRow(y)[i] = static_cast<std::uint8_t>(random() % levels * 255 / (levels - 1));
        }
    }
    if (bits == 8) {
        image.SetGreyPalette();
    } else {
        for (std::uint32_t i = 0; i < image.GetNumColors(); ++i) {
            image.SetPaletteColor(i, std::uint8_t(i * 16), std::uint8_t(200 - i), 7);
        }
    }
    return image;
}

// Straightforward forms of the two smoothing filters, pixel by pixel, for 24-bit pictures.
CxImage ReferenceMedian(const CxImage& source) {
    CxImage out;
    EXPECT_TRUE(out.Create(source.GetWidth(), source.GetHeight(), 24));
    for (int y = 0; y < source.GetHeight(); ++y) {
        for (int x = 0; x < source.GetWidth(); ++x) {
            std::vector<RgbQuad> near;  // top row of the neighbourhood first
            for (int dy = -1; dy <= 1; ++dy) {
                for (int dx = -1; dx <= 1; ++dx) {
                    const int px = x + dx, py = y + dy;
                    if (px >= 0 && py >= 0 && px < source.GetWidth() && py < source.GetHeight()) {
                        const std::uint8_t* p = source.RowFromTop(py) + px * 3;
                        near.push_back(RgbQuad{p[0], p[1], p[2], 0});
                    }
                }
            }
            std::stable_sort(near.begin(), near.end(), [](const RgbQuad& a, const RgbQuad& b) {
                return MedianLuminance(a.blue, a.green, a.red) <
                       MedianLuminance(b.blue, b.green, b.red);
            });
            const RgbQuad m = near[near.size() / 2];
            std::uint8_t* d = out.RowFromTop(y) + x * 3;
            d[0] = m.blue, d[1] = m.green, d[2] = m.red;
        }
    }
    return out;
}

CxImage ReferenceAverage(const CxImage& source) {
    CxImage out;
    EXPECT_TRUE(out.Create(source.GetWidth(), source.GetHeight(), 24));
    for (int y = 0; y < source.GetHeight(); ++y) {
        for (int x = 0; x < source.GetWidth() * 3; ++x) {
            int sum = 0, weight = 0;
            for (int dy = -1; dy <= 1; ++dy) {
                for (int dx = -1; dx <= 1; ++dx) {
                    const int px = x / 3 + dx, py = y + dy;
                    if (px >= 0 && py >= 0 && px < source.GetWidth() && py < source.GetHeight()) {
                        sum += source.RowFromTop(py)[px * 3 + x % 3];
                        ++weight;
                    }
                }
            }
            const int value = weight == 9 ? sum / 9 : 9 * sum / (weight * 9);
            out.RowFromTop(y)[x] = static_cast<std::uint8_t>(std::clamp(value, 0, 255));
        }
    }
    return out;
}

TEST(ImageFilters, MirrorFlipAndNegativeUndoThemselves) {
    for (std::uint32_t bits : {1u, 4u, 8u, 24u}) {
        for (int width : {1, 3, 5, 9}) {
            for (auto op : {MirrorHorizontal, FlipVertical, Negative}) {
                CxImage image = RandomImage(width, 5, bits, width * bits);
                const std::string before = Dib(image);
                ASSERT_TRUE(op(image));
                ASSERT_TRUE(op(image));
                EXPECT_EQ(Dib(image), before) << bits << " bits, width " << width;
            }
        }
    }
}

TEST(ImageFilters, MirrorAndFlipMovePixels) {
    CxImage image;
    ASSERT_TRUE(image.Create(3, 3, 24));
    for (int y = 0; y < 3; ++y) {
        for (int i = 0; i < 9; ++i) {
            image.RowFromTop(y)[i] = static_cast<std::uint8_t>(10 * y + i);
        }
    }
    ASSERT_TRUE(MirrorHorizontal(image));
    const std::uint8_t mirrored[] = {6, 7, 8, 3, 4, 5, 0, 1, 2};
    EXPECT_EQ(std::memcmp(image.RowFromTop(0), mirrored, 9), 0);
    ASSERT_TRUE(FlipVertical(image));
    EXPECT_EQ(image.RowFromTop(0)[0], 26);  // old bottom row, mirrored
    EXPECT_EQ(image.RowFromTop(1)[0], 16);  // middle row stays

    CxImage bits = RandomImage(9, 1, 1, 0);
    bits.SetPixelIndex(0, 0, 1);
    bits.SetPixelIndex(8, 0, 0);
    ASSERT_TRUE(MirrorHorizontal(bits));
    EXPECT_EQ(bits.GetPixelIndex(8, 0), 1);
    EXPECT_EQ(bits.GetPixelIndex(0, 0), 0);
}

TEST(ImageFilters, NegativeInvertsPixelsOrPalette) {
    CxImage colour = RandomImage(2, 1, 24, 1);
    const std::uint8_t first = colour.GetBits()[0];
    colour.SetBackgroundColor(RgbQuad{10, 20, 30, 0});
    ASSERT_TRUE(Negative(colour));
    EXPECT_EQ(colour.GetBits()[0], 255 - first);
    EXPECT_EQ(colour.GetBits()[6], 0);  // padding untouched
    EXPECT_EQ(colour.GetBackgroundColor().red, 225);

    CxImage grey = RandomImage(3, 2, 8, 2);
    const std::uint8_t g = grey.GetBits()[1];
    ASSERT_TRUE(Negative(grey));
    EXPECT_EQ(grey.GetBits()[1], 255 - g);
    EXPECT_TRUE(grey.IsGrey());

    CxImage palette = RandomImage(3, 2, 4, 3);
    const std::uint8_t index = palette.GetBits()[0];
    ASSERT_TRUE(Negative(palette));
    EXPECT_EQ(palette.GetBits()[0], index);
    EXPECT_EQ(palette.GetPalette()[2].red, 255 - 32);
    EXPECT_EQ(palette.GetPalette()[2].blue, 255 - 7);
}

TEST(ImageFilters, BrightnessStepsSaturate) {
    const auto up = BrightnessTable(10);
    const auto down = BrightnessTable(-10);
    EXPECT_EQ(up[250], 255);
    EXPECT_EQ(up[0], 10);
    EXPECT_EQ(down[5], 0);
    EXPECT_EQ(down[200], 190);
    EXPECT_EQ(BrightnessTable(0, 100)[100], 72);  // 128 + 2 * (100 - 128)

    CxImage image;
    ASSERT_TRUE(image.Create(2, 1, 24));
    image.GetBits()[0] = 250;
    image.GetBits()[1] = 5;
    ASSERT_TRUE(AdjustBrightness(image, 10));
    ASSERT_TRUE(AdjustBrightness(image, 10));
    EXPECT_EQ(image.GetBits()[0], 255);
    EXPECT_EQ(image.GetBits()[1], 25);
    for (int i = 0; i < 5; ++i) {
        AdjustBrightness(image, -10);
    }
    EXPECT_EQ(image.GetBits()[1], 0);
    EXPECT_EQ(image.GetBits()[0], 205);

    CxImage grey = RandomImage(2, 2, 8, 4);
    grey.GetBits()[0] = 100;
    ASSERT_TRUE(AdjustBrightness(grey, 10));
    EXPECT_EQ(grey.GetBits()[0], 110);
    EXPECT_TRUE(grey.IsGrey());  // still saves as JPEG

    CxImage palette = RandomImage(2, 2, 4, 5);
    ASSERT_TRUE(AdjustBrightness(palette, -10));
    EXPECT_EQ(palette.GetPalette()[1].red, 6);
    EXPECT_EQ(palette.GetPalette()[0].blue, 0);
}

TEST(ImageFilters, SmoothingExamples) {
    // One white pixel on black: the median removes it, the average spreads it.
    CxImage image;
    ASSERT_TRUE(image.Create(5, 5, 24));
    std::memset(image.RowFromTop(2) + 2 * 3, 255, 3);
    CxImage median;
    ASSERT_TRUE(median.Create(1, 1, 24));
    ASSERT_TRUE(image.CopyRect(0, 0, 5, 5, median));
    ASSERT_TRUE(MedianFilter3x3(median));
    for (int y = 0; y < 5; ++y) {
        for (int i = 0; i < 15; ++i) {
            ASSERT_EQ(median.RowFromTop(y)[i], 0);
        }
    }
    ASSERT_TRUE(AverageFilter3x3(image));
    EXPECT_EQ(image.RowFromTop(2)[2 * 3], 28);  // 255 / 9
    EXPECT_EQ(image.RowFromTop(1)[1 * 3], 28);
    EXPECT_EQ(image.RowFromTop(0)[0], 0);

    // A corner averages its 4 inside neighbours; an edge its 6.
    CxImage corner;
    ASSERT_TRUE(corner.Create(3, 3, 24));
    corner.RowFromTop(0)[0] = 200;
    corner.RowFromTop(1)[3] = 100;
    ASSERT_TRUE(AverageFilter3x3(corner));
    EXPECT_EQ(corner.RowFromTop(0)[0], 75);  // (200 + 100) / 4
    EXPECT_EQ(corner.RowFromTop(0)[3], 50);  // 300 / 6
    EXPECT_EQ(corner.RowFromTop(1)[3], 33);  // 300 / 9
}

TEST(ImageFilters, SmoothingMatchesThePixelByPixelDefinition) {
    const int sizes[][2] = {{1, 1}, {1, 6}, {6, 1}, {2, 2}, {3, 3}, {7, 5}, {33, 17}};
    for (const auto& size : sizes) {
        for (int levels : {3, 256}) {
            const CxImage source = RandomImage(size[0], size[1], 24, size[0] * 31 + levels, levels);
            CxImage median;
            ASSERT_TRUE(source.CopyRect(0, 0, size[0], size[1], median));
            ASSERT_TRUE(MedianFilter3x3(median));
            EXPECT_EQ(Dib(median), Dib(ReferenceMedian(source))) << size[0] << "x" << size[1];
            CxImage average;
            ASSERT_TRUE(source.CopyRect(0, 0, size[0], size[1], average));
            ASSERT_TRUE(AverageFilter3x3(average));
            EXPECT_EQ(Dib(average), Dib(ReferenceAverage(source))) << size[0] << "x" << size[1];
        }
    }
}

TEST(ImageFilters, GreyStaysGreyPaletteBecomesColourEmptyIsRefused) {
    CxImage grey = RandomImage(6, 4, 8, 9);
    ASSERT_TRUE(MedianFilter3x3(grey));
    EXPECT_TRUE(grey.IsGrey());
    ASSERT_TRUE(AverageFilter3x3(grey));
    EXPECT_TRUE(grey.IsGrey());

    CxImage palette = RandomImage(6, 4, 4, 10);
    palette.SetXDpi(200);
    ASSERT_TRUE(MedianFilter3x3(palette));
    EXPECT_EQ(palette.GetBpp(), 24);
    EXPECT_EQ(palette.GetXDpi(), 200);
    CxImage flat = RandomImage(2, 2, 1, 11);
    std::memset(flat.GetBits(), 0xFF, flat.GetStride() * 2);
    ASSERT_TRUE(AverageFilter3x3(flat));
    // Index 1 everywhere: the palette colour (red 16, green 199, blue 7) everywhere.
    EXPECT_EQ(flat.GetBits()[0], 7);
    EXPECT_EQ(flat.GetBits()[1], 199);
    EXPECT_EQ(flat.GetBits()[2], 16);

    CxImage withPlane = RandomImage(4, 4, 24, 12);
    ASSERT_TRUE(withPlane.MakeGreyPlane());
    ASSERT_TRUE(Negative(withPlane));
    EXPECT_FALSE(withPlane.HasGreyPlane());  // stale after the change

    CxImage empty;
    EXPECT_FALSE(MirrorHorizontal(empty));
    EXPECT_FALSE(FlipVertical(empty));
    EXPECT_FALSE(Negative(empty));
    EXPECT_FALSE(AdjustBrightness(empty, 10));
    EXPECT_FALSE(MedianFilter3x3(empty));
    EXPECT_FALSE(AverageFilter3x3(empty));
}

}  // namespace
}  // namespace lensora
