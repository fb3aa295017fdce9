#include "imaging/depth_conversion.h"

#include <gtest/gtest.h>

namespace lensora {
namespace {

TEST(DepthConversion, PaletteAndGreyPicturesBecome24BitWithTheirColours) {
    CxImage grey;
    ASSERT_TRUE(grey.Create(3, 2, 8));
    grey.SetGreyPalette();
    grey.SetPixelIndex(2, 1, 200);  // top row, rightmost pixel
    grey.SetXDpi(300);
    ASSERT_TRUE(ConvertTo24Bits(grey));
    EXPECT_EQ(grey.GetBpp(), 24);
    EXPECT_EQ(grey.GetWidth(), 3);
    EXPECT_EQ(grey.GetXDpi(), 300);
    const std::uint8_t* top = grey.RowFromTop(0);
    EXPECT_EQ(top[6], 200);
    EXPECT_EQ(top[7], 200);
    EXPECT_EQ(top[8], 200);
    EXPECT_EQ(grey.RowFromTop(1)[6], 0);

    CxImage mono;
    ASSERT_TRUE(mono.Create(9, 1, 1));
    mono.SetPaletteColor(1, 10, 20, 30);
    mono.SetPixelIndex(8, 0, 1);
    ASSERT_TRUE(ConvertTo24Bits(mono));
    EXPECT_EQ(mono.RowFromTop(0)[24], 30);  // blue
    EXPECT_EQ(mono.RowFromTop(0)[26], 10);  // red

    CxImage invalid;
    EXPECT_FALSE(ConvertTo24Bits(invalid));
}

}  // namespace
}  // namespace lensora
