#include "imaging/cx_image.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "imaging/cx_file.h"
#include "support/temp_dir.h"

namespace lensora {
namespace {

TEST(CxImageCreate, StrideDepthRoundingAndDibLayout) {
    struct Case {
        int width;
        std::uint32_t bits;
        std::uint32_t expectBits;
        std::uint32_t stride;
        std::uint32_t colours;
    };
    const Case cases[] = {{1, 24, 24, 4, 0},  {3, 24, 24, 12, 0}, {5, 24, 24, 16, 0},
                          {5, 32, 24, 16, 0}, {5, 9, 24, 16, 0},  {1, 8, 8, 4, 256},
                          {5, 5, 8, 8, 256},  {5, 2, 4, 4, 16},   {33, 0, 1, 8, 2}};
    for (const Case& c : cases) {
        CxImage image;
        ASSERT_TRUE(image.Create(c.width, 3, c.bits)) << c.width << "x" << c.bits;
        EXPECT_TRUE(image.IsValid());
        EXPECT_EQ(image.GetBpp(), int(c.expectBits));
        EXPECT_EQ(image.GetStride(), c.stride);
        EXPECT_EQ(image.GetNumColors(), c.colours);
        EXPECT_EQ(image.GetDibSize(), 40 + c.colours * 4 + c.stride * 3);
        const std::uint8_t* dib = image.GetDib();
        std::uint32_t v;
        std::memcpy(&v, dib, 4);
        EXPECT_EQ(v, 40u);
        std::memcpy(&v, dib + 20, 4);
        EXPECT_EQ(v, c.stride * 3);  // image size
        std::memcpy(&v, dib + 24, 4);
        EXPECT_EQ(v, 3780u);  // 96 dpi
        EXPECT_EQ(image.GetBits(), dib + 40 + c.colours * 4);
        for (std::size_t i = 40; i < image.GetDibSize(); ++i) {
            ASSERT_EQ(dib[i], 0);
        }
    }
}

TEST(CxImageCreate, RefusesEmptyAndOversizedPictures) {
    CxImage image;
    ASSERT_TRUE(image.Create(4, 4, 24));
    EXPECT_FALSE(image.Create(0, 5, 24));
    EXPECT_FALSE(image.IsValid());  // the old picture is freed too
    EXPECT_EQ(image.LastError(), "CxImage::Create : width and height must be greater than zero");
    EXPECT_FALSE(image.Create(5, 0, 8));
    EXPECT_FALSE(image.Create(-5, 5, 8));
    EXPECT_EQ(image.LastError(), "CxImage::Create : width and height must be greater than zero");
    // 65536 x 65536 wraps to 0 in 32 bits; it must still be refused.
    EXPECT_FALSE(image.Create(65536, 65536, 24));
    EXPECT_EQ(image.LastError(), "CXIMAGE_MAX_MEMORY exceeded");
    EXPECT_FALSE(image.Create(65536, 65536, 1));
    EXPECT_FALSE(image.Create(0x7FFFFFFF, 0x7FFFFFFF, 1));
    EXPECT_FALSE(image.Create(1, 0x7FFFFFFF, 1));  // 4-byte rows: 8 GiB of padding
    EXPECT_EQ(image.LastError(), "CXIMAGE_MAX_MEMORY exceeded");
    EXPECT_FALSE(image.IsValid());
    EXPECT_TRUE(image.Create(16384, 16384, 8));  // exactly 256 MiB
}

TEST(CxImage, ResolutionRules) {
    CxImage image;
    ASSERT_TRUE(image.Create(2, 2, 24));
    EXPECT_EQ(image.GetXDpi(), 96);
    EXPECT_EQ(image.GetHeader().xPelsPerMeter, 3780);
    image.SetXDpi(300);
    image.SetYDpi(-4);
    EXPECT_EQ(image.GetHeader().xPelsPerMeter, 11811);
    EXPECT_EQ(image.GetYDpi(), 96);
    EXPECT_EQ(image.GetHeader().yPelsPerMeter, 3780);
    image.SetJpegQuality(300);
    EXPECT_EQ(image.GetJpegQuality(), 255.0f);
    EXPECT_EQ(CxImage().GetJpegQuality(), 90.0f);
}

TEST(CxImage, RowsFromTopAndPixelAccess) {
    CxImage image;
    ASSERT_TRUE(image.Create(3, 2, 4));
    image.SetPaletteColor(7, 10, 20, 30);
    image.SetPixelIndex(2, 1, 7);  // stored row 1 = top row
    EXPECT_EQ(image.GetPixelIndex(2, 1), 7);
    EXPECT_EQ(image.RowFromTop(0)[1], 0x70);  // pixel 2 is the high nibble of byte 1
    const RgbQuad c = image.GetPixelColor(2, 1);
    EXPECT_EQ(c.red, 10);
    EXPECT_EQ(c.blue, 30);
    EXPECT_EQ(image.GetPixelIndex(9, 9), 0);  // outside
}

TEST(CxImage, DrawnBitmapBecomes24BitRowsFlipped) {
    // 2 x 2 top-down BGRA surface with a padded stride.
    const std::uint8_t pixels[] = {1, 2, 3, 255, 4,  5,  6,  255, 0xEE, 0xEE,
                                   7, 8, 9, 255, 10, 11, 12, 255, 0xEE, 0xEE};
    CxImage image;
    ASSERT_TRUE(image.CreateFromDrawnBitmap(pixels, 2, 2, 10, 32));
    EXPECT_EQ(image.GetBpp(), 24);
    const std::uint8_t top[] = {1, 2, 3, 4, 5, 6};
    const std::uint8_t bottom[] = {7, 8, 9, 10, 11, 12};
    EXPECT_EQ(std::memcmp(image.RowFromTop(0), top, 6), 0);
    EXPECT_EQ(std::memcmp(image.StoredRow(0), bottom, 6), 0);

    CxImage from24;
    ASSERT_TRUE(from24.CreateFromDrawnBitmap(top, 2, 1, 6, 24));
    EXPECT_EQ(std::memcmp(from24.GetBits(), top, 6), 0);

    EXPECT_FALSE(image.CreateFromDrawnBitmap(nullptr, 2, 2, 8, 32));
    EXPECT_EQ(image.LastError(), "GetDIBits failed");
    EXPECT_FALSE(image.CreateFromDrawnBitmap(pixels, 2, 2, 10, 16));
    EXPECT_FALSE(image.CreateFromDrawnBitmap(pixels, 0, 2, 10, 32));
    EXPECT_EQ(image.LastError(), "CxImage::Create : width and height must be greater than zero");
}

TEST(CxImageGrey, PlaneValuesAndWindows) {
    CxImage image;
    ASSERT_TRUE(image.Create(4, 3, 24));
    // Top row: pure blue, green, red, white; the rest black.
    const std::uint8_t top[] = {255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 255};
    std::memcpy(image.RowFromTop(0), top, sizeof top);
    ASSERT_TRUE(image.MakeGreyPlane());
    const std::uint8_t* grey = image.GreyRowFromTop(0);
    // 0.11*255 + .5 = 28.55 -> 28; 0.59*255 = 150.95 -> 150; 0.30*255 = 76.5 + .5 -> 77.
    EXPECT_EQ(grey[0], 28);
    EXPECT_EQ(grey[1], 150);
    EXPECT_EQ(grey[2], 77);
    EXPECT_EQ(grey[3], 255);
    EXPECT_EQ(image.GreyStride(), 4u);

    std::vector<std::uint8_t> window;
    ASSERT_TRUE(image.GreyWindow(0, 0, 1, window));  // reaches outside at the top-left
    EXPECT_EQ(window, (std::vector<std::uint8_t>{0, 0, 0, 0, 28, 150, 0, 0, 0}));
    ASSERT_TRUE(image.GreyRect(2, 0, 2, 1, window));
    EXPECT_EQ(window, (std::vector<std::uint8_t>{77, 255}));
    EXPECT_TRUE(image.GreyRect(-1000000000, 5, 3, 3, window));  // wholly outside: zeros

    std::vector<GreySample> line;
    ASSERT_TRUE(image.GreyAlongLine(-1, 0, 3, 0, line));
    ASSERT_EQ(line.size(), 4u);  // the point outside is left out
    EXPECT_EQ(line[3].x, 3);
    EXPECT_EQ(line[3].grey, 255);
    ASSERT_TRUE(image.GreyAlongLine(0, 2, 3, 0, line));
    EXPECT_EQ(line.front().y, 2);
    EXPECT_EQ(line.back().grey, 255);

    CxImage part;
    ASSERT_TRUE(image.CopyWindow(3, 0, 1, part));
    EXPECT_EQ(part.GetWidth(), 3);
    EXPECT_EQ(part.RowFromTop(1)[0], 0);    // (2,0) is red: blue byte 0
    EXPECT_EQ(part.RowFromTop(1)[2], 255);  // red byte
    EXPECT_EQ(part.RowFromTop(1)[3], 255);  // white
    EXPECT_EQ(part.RowFromTop(1)[6], 0);    // outside the picture

    CxImage palette;
    ASSERT_TRUE(palette.Create(2, 2, 8));
    EXPECT_FALSE(palette.MakeGreyPlane());
    EXPECT_FALSE(palette.GreyWindow(0, 0, 1, window));
    EXPECT_FALSE(palette.CopyRect(0, 0, 1, 1, part));
}

TEST(CxFileStreams, MemoryFileReadsWritesAndSeeksLikeAFile) {
    const std::uint8_t data[] = {'a', 'b', '\n', 'c'};
    CxMemFile lent(data, sizeof data);
    char line[8];
    ASSERT_NE(lent.ReadLine(line, sizeof line), nullptr);
    EXPECT_STREQ(line, "ab\n");
    EXPECT_EQ(lent.ReadByte(), 'c');
    EXPECT_EQ(lent.ReadByte(), -1);
    EXPECT_TRUE(lent.Eof());
    EXPECT_EQ(lent.WriteItems("x", 1, 1), 0u);  // read-only block
    EXPECT_FALSE(lent.Seek(5, SEEK_SET));
    ASSERT_TRUE(lent.Seek(-2, SEEK_END));
    std::uint8_t two[4];
    EXPECT_EQ(lent.ReadItems(two, 3, 1), 0u);  // short read of a whole item

    CxMemFile own;
    EXPECT_EQ(own.WriteItems("hello", 5, 1), 1u);
    ASSERT_TRUE(own.Seek(8, SEEK_SET));
    EXPECT_TRUE(own.WriteByte('!'));
    EXPECT_EQ(own.DataSize(), 9u);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(own.Data()), 9),
              std::string("hello\0\0\0!", 9));
}

TEST(CxFileStreams, IoFileOpensUtf8PathsAndLeavesHandedInFilesOpen) {
    test::TempDir dir;
    const std::string path = dir.Write("Bild \xC3\xA4.bin", "xyz");
    CxIOFile file;
    ASSERT_TRUE(file.Open(path, "rb"));
    EXPECT_EQ(file.Size(), 3);
    EXPECT_EQ(file.ReadByte(), 'x');
    EXPECT_EQ(file.Tell(), 1);
    file.Close();

    std::FILE* handle = std::fopen(path.c_str(), "rb");
    ASSERT_NE(handle, nullptr);
    {
        CxIOFile borrowed(handle);
        EXPECT_EQ(borrowed.ReadByte(), 'x');
    }
    EXPECT_EQ(std::fgetc(handle), 'y');  // still open
    std::fclose(handle);
    EXPECT_FALSE(CxIOFile().Open(dir.Sub("missing.bin"), "rb"));
}

}  // namespace
}  // namespace lensora
