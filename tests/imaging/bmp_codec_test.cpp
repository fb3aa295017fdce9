#include "imaging/bmp_codec.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "imaging/bmp_bytes.h"
#include "imaging/cx_file.h"
#include "imaging/cx_image.h"
#include "imaging/depth_conversion.h"
#include "support/temp_dir.h"

namespace lensora {
namespace {

using test::BmpSpec;
using test::BuildBmp;

CxImage Decode(const std::string& bytes, std::uint32_t type = kImageTypeBmp) {
    return CxImage::LoadFromMemory(reinterpret_cast<const std::uint8_t*>(bytes.data()),
                                   bytes.size(), type);
}

std::string Pixels(const CxImage& image) {
    return std::string(reinterpret_cast<const char*>(image.GetBits()),
                       std::size_t(image.GetStride()) * image.GetHeight());
}

std::string Dib(const CxImage& image) {
    return std::string(reinterpret_cast<const char*>(image.GetDib()), image.GetDibSize());
}

CxImage RandomImage(int width, int height, std::uint32_t bits, unsigned seed) {
    CxImage image;
    EXPECT_TRUE(image.Create(width, height, bits));
    std::mt19937 random(seed);
    for (int y = 0; y < height; ++y) {
        std::uint8_t* row = image.StoredRow(y);
        // Padding stays zero, as the encoder writes it.
        const std::size_t used = (std::size_t(width) * image.GetBpp() + 7) / 8;
        for (std::size_t i = 0; i < used; ++i) {
            row[i] = static_cast<std::uint8_t>(random());
        }
        if (image.GetBpp() < 8 && (width * image.GetBpp()) % 8 != 0) {
            const int usedBits = (width * image.GetBpp()) % 8;
            row[used - 1] &= static_cast<std::uint8_t>(0xFF << (8 - usedBits));
        }
    }
    for (std::uint32_t i = 0; i < image.GetNumColors(); ++i) {
        image.SetPaletteColor(i, std::uint8_t(i * 3), std::uint8_t(i * 5), std::uint8_t(i * 7));
    }
    return image;
}

TEST(BmpCodec, RoundTripsEveryDepthAndOddWidthThroughAFile) {
    test::TempDir dir;
    for (std::uint32_t bits : {1u, 4u, 8u, 24u}) {
        for (int width : {1, 3, 5, 37}) {
            const CxImage image = RandomImage(width, 3, bits, bits * 100 + width);
            const std::string path = dir.Sub("p.bmp");
            ASSERT_TRUE(image.SaveToFile(path, kImageTypeBmp));
            const CxImage back = CxImage::LoadFromFile(path, kImageTypeBmp);
            ASSERT_TRUE(back.IsValid()) << back.LastError();
            EXPECT_EQ(back.GetType(), kImageTypeBmp);
            EXPECT_EQ(Dib(back), Dib(image)) << bits << " bits, width " << width;
        }
    }
}

TEST(BmpCodec, WrittenFileHasItsHeaderFields) {
    test::TempDir dir;
    CxImage image = RandomImage(5, 2, 24, 1);
    image.SetXDpi(72);
    ASSERT_TRUE(image.SaveToFile(dir.Sub("a.bmp"), kImageTypeBmp));
    const std::string file = test::ReadFile(dir.Sub("a.bmp"));
    ASSERT_EQ(file.size(), 54u + 16 * 2);
    EXPECT_EQ(file.substr(0, 2), "BM");
    auto u32 = [&](std::size_t at) {
        std::uint32_t v;
        std::memcpy(&v, file.data() + at, 4);
        return v;
    };
    EXPECT_EQ(u32(2), 54u + 32);
    EXPECT_EQ(u32(6), 0u);
    EXPECT_EQ(u32(10), 54u);
    EXPECT_EQ(u32(14 + 24), 2835u);  // 72 dpi
    EXPECT_EQ(u32(14 + 28), 3780u);
    EXPECT_EQ(CxImage::LoadFromFile(dir.Sub("a.bmp"), kImageTypeBmp).GetXDpi(), 72);
    EXPECT_EQ(u32(10), 54u);
    const CxImage grey = RandomImage(3, 1, 8, 2);
    CxMemFile mem;
    ASSERT_TRUE(grey.Encode(&mem, kImageTypeBmp));
    EXPECT_EQ(mem.DataSize(), 14u + 40 + 1024 + 4);
    EXPECT_EQ(mem.Data()[10] | (mem.Data()[11] << 8), 14 + 40 + 1024);
}

TEST(BmpCodec, BareDibEqualsTheSameDibWithFileHeader) {
    BmpSpec spec;
    spec.width = 3;
    spec.height = 2;
    spec.pixels = std::string(
        "\x01\x02\x03\x04\x05\x06\x07\x08\x09\0\0\0"
        "\x0a\x0b\x0c\x0d\x0e\x0f\x10\x11\x12\0\0\0",
        24);
    const CxImage withHeader = Decode(BuildBmp(spec));
    spec.fileHeader = false;
    const CxImage bare = Decode(BuildBmp(spec));
    ASSERT_TRUE(withHeader.IsValid()) << withHeader.LastError();
    ASSERT_TRUE(bare.IsValid()) << bare.LastError();
    EXPECT_EQ(Dib(bare), Dib(withHeader));
    EXPECT_EQ(Pixels(bare), spec.pixels);
    EXPECT_EQ(Decode(BuildBmp(spec), kImageTypeUnknown).GetType(), kImageTypeBmp);
}

TEST(BmpCodec, TopDownCoreAndExtendedHeadersGiveTheSamePicture) {
    BmpSpec spec;
    spec.width = 2;
    spec.height = 2;
    spec.bits = 8;
    spec.clrUsed = 2;
    spec.palette = {0x000000, 0xFF8040};
    spec.pixels = std::string("\x00\x01\0\0\x01\x01\0\0", 8);  // bottom row, then top row
    const CxImage reference = Decode(BuildBmp(spec));
    ASSERT_TRUE(reference.IsValid()) << reference.LastError();
    EXPECT_EQ(reference.GetPalette()[1].red, 0xFF);
    EXPECT_EQ(reference.GetPalette()[1].blue, 0x40);
    EXPECT_EQ(reference.StoredRow(0)[1], 1);

    BmpSpec topDown = spec;
    topDown.height = -2;
    topDown.pixels = std::string("\x01\x01\0\0\x00\x01\0\0", 8);
    EXPECT_EQ(Pixels(Decode(BuildBmp(topDown))), Pixels(reference));

    for (std::uint32_t size : {52u, 56u, 108u, 124u}) {
        BmpSpec extended = spec;
        extended.headerSize = size;
        const CxImage image = Decode(BuildBmp(extended));
        ASSERT_TRUE(image.IsValid()) << size << ": " << image.LastError();
        EXPECT_EQ(Pixels(image), Pixels(reference));
    }

    BmpSpec core = spec;  // 12-byte header: 3-byte palette entries, always 2^bits of them
    core.headerSize = 12;
    core.bits = 1;
    core.palette = {0x000000, 0xFF8040};
    core.pixels = std::string("\x40\0\0\0\xC0\0\0\0", 8);
    const CxImage oneBit = Decode(BuildBmp(core));
    ASSERT_TRUE(oneBit.IsValid()) << oneBit.LastError();
    EXPECT_EQ(oneBit.GetPixelIndex(0, 0), 0);
    EXPECT_EQ(oneBit.GetPixelIndex(1, 0), 1);
    EXPECT_EQ(oneBit.GetPixelIndex(0, 1), 1);
    EXPECT_EQ(oneBit.GetPalette()[1].green, 0x80);
}

TEST(BmpCodec, Os2VersionTwoHeadersReadLikeTheWindowsHeader) {
    BmpSpec spec;
    spec.width = 3;
    spec.height = 2;
    spec.bits = 8;
    spec.palette.resize(256);
    spec.palette[1] = 0x102030;
    spec.palette[255] = 0xFF8040;
    spec.pixels = std::string("\x01\xFF\x01\0\xFF\x01\xFF\0", 8);
    const CxImage reference = Decode(BuildBmp(spec));
    ASSERT_TRUE(reference.IsValid()) << reference.LastError();

    // The 16-byte header ends after the bit count: no compression, a full 4-byte palette.
    for (std::uint32_t size : {16u, 64u}) {
        BmpSpec os2 = spec;
        os2.headerSize = size;
        const CxImage image = Decode(BuildBmp(os2));
        ASSERT_TRUE(image.IsValid()) << size << ": " << image.LastError();
        EXPECT_EQ(Pixels(image), Pixels(reference));
        EXPECT_EQ(image.GetPalette()[255].red, 0xFF);
        EXPECT_EQ(image.GetPalette()[1].green, 0x20);
        os2.fileHeader = false;  // bare, as a clipboard or stream would hand it over
        EXPECT_EQ(Pixels(Decode(BuildBmp(os2))), Pixels(reference)) << size;
    }

    BmpSpec rgb;  // 24 bits with the long header
    rgb.headerSize = 64;
    rgb.width = 1;
    rgb.pixels = std::string("\x10\x20\x30\0", 4);
    const CxImage colour = Decode(BuildBmp(rgb));
    ASSERT_TRUE(colour.IsValid()) << colour.LastError();
    EXPECT_EQ(colour.StoredRow(0)[2], 0x30);

    BmpSpec rle = spec;  // run-length 8 keeps its meaning
    rle.headerSize = 64;
    rle.compression = 1;
    rle.pixels = std::string("\x03\x01\x00\x00\x03\xFF\x00\x01", 8);
    const CxImage runs = Decode(BuildBmp(rle));
    ASSERT_TRUE(runs.IsValid()) << runs.LastError();
    EXPECT_EQ(runs.GetPixelIndex(2, 0), 1);
    EXPECT_EQ(runs.GetPixelIndex(2, 1), 255);

    // 3 and 4 are Huffman 1D and RLE24 there, not bit fields and JPEG.
    for (std::uint32_t compression : {3u, 4u}) {
        BmpSpec refused = rgb;
        refused.compression = compression;
        const CxImage image = Decode(BuildBmp(refused));
        EXPECT_FALSE(image.IsValid());
        EXPECT_EQ(image.LastError(), "OS/2 bitmap compression not supported (Huffman 1D or RLE24)");
    }
}

TEST(BmpCodec, RunLengthEncodedPictures) {
    BmpSpec rle8;
    rle8.width = 6;
    rle8.height = 3;
    rle8.bits = 8;
    rle8.compression = 1;
    rle8.clrUsed = 4;
    rle8.palette = {0, 0x111111, 0x222222, 0x333333};
    // Row 0: run of 3 x 1, literal {2,3,1} padded to an even length; end of row. Then a delta
    // (+2, +1) to row 2, x 2, a run of 3 x 2 and the end of the picture.
    rle8.pixels = std::string(
        "\x03\x01\x00\x03\x02\x03\x01\x00\x00\x00"
        "\x00\x02\x02\x01\x03\x02\x00\x01",
        18);
    const CxImage image = Decode(BuildBmp(rle8));
    ASSERT_TRUE(image.IsValid()) << image.LastError();
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(image.StoredRow(0)), 6),
              std::string("\x01\x01\x01\x02\x03\x01", 6));
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(image.StoredRow(1)), 6),
              std::string(6, '\0'));  // skipped by the delta
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(image.StoredRow(2)), 6),
              std::string("\x00\x00\x02\x02\x02\x00", 6));

    BmpSpec rle4 = rle8;
    rle4.bits = 4;
    rle4.compression = 2;
    // Row 0: a run of 3 alternating 1, 2; a literal of 3 pixels {3, 4, 5}; end of picture.
    rle4.pixels = std::string("\x03\x12\x00\x03\x34\x50\x00\x01", 8);
    const CxImage four = Decode(BuildBmp(rle4));
    ASSERT_TRUE(four.IsValid()) << four.LastError();
    const int expected[] = {1, 2, 1, 3, 4, 5};
    for (int x = 0; x < 6; ++x) {
        EXPECT_EQ(four.GetPixelIndex(x, 0), expected[x]) << x;
    }
    EXPECT_EQ(four.GetPixelIndex(0, 1), 0);
}

TEST(BmpCodec, BitFieldsAndDefaultMasksBecome24Bit) {
    BmpSpec spec;
    spec.width = 2;
    spec.height = 1;
    spec.bits = 16;
    spec.compression = 3;
    spec.masks = {0xF800, 0x07E0, 0x001F};  // 5-6-5
    // 0xF81F = red 31 + blue 31 (magenta); 0x07E0 = green 63.
    spec.pixels = std::string("\x1F\xF8\xE0\x07", 4);
    CxImage image = Decode(BuildBmp(spec));
    ASSERT_TRUE(image.IsValid()) << image.LastError();
    ASSERT_EQ(image.GetBpp(), 24);
    const std::uint8_t expect565[] = {255, 0, 255, 0, 255, 0};
    EXPECT_EQ(std::memcmp(image.GetBits(), expect565, 6), 0);

    spec.compression = 0;  // 5-5-5: 0x7C00 red, 0x03E0 green, 0x001F blue
    spec.masks.clear();
    spec.pixels = std::string("\x00\x7C\x10\x00", 4);  // red 31; blue 16
    image = Decode(BuildBmp(spec));
    ASSERT_TRUE(image.IsValid()) << image.LastError();
    const std::uint8_t expect555[] = {0, 0, 255, 132, 0, 0};
    EXPECT_EQ(std::memcmp(image.GetBits(), expect555, 6), 0);

    for (std::uint32_t header : {40u, 56u, 124u}) {
        BmpSpec wide;
        wide.width = 1;
        wide.bits = 32;
        wide.compression = 3;
        wide.headerSize = header;
        wide.masks = {0x000000FF, 0x0000FF00, 0x00FF0000};  // red in the low byte
        wide.pixels = std::string("\x11\x22\x33\x44", 4);
        image = Decode(BuildBmp(wide));
        ASSERT_TRUE(image.IsValid()) << header << ": " << image.LastError();
        const std::uint8_t expect[] = {0x33, 0x22, 0x11};
        EXPECT_EQ(std::memcmp(image.GetBits(), expect, 3), 0) << header;
    }
    BmpSpec plain;
    plain.bits = 32;
    plain.pixels = std::string("\x11\x22\x33\x44", 4);
    image = Decode(BuildBmp(plain));
    const std::uint8_t expectPlain[] = {0x11, 0x22, 0x33};
    EXPECT_EQ(std::memcmp(image.GetBits(), expectPlain, 3), 0);
}

// Each kind of damage gives an invalid image and its own message.
TEST(BmpCodec, MalformedFilesAreRefusedWithAMessage) {
    BmpSpec good;
    good.width = 4;
    good.height = 2;
    good.bits = 8;
    good.clrUsed = 2;
    good.palette = {0, 0xFFFFFF};
    good.pixels = std::string(8, '\x01');
    ASSERT_TRUE(Decode(BuildBmp(good)).IsValid());

    auto expectRefused = [](const std::string& bytes, const std::string& message) {
        const CxImage image = Decode(bytes);
        EXPECT_FALSE(image.IsValid());
        EXPECT_EQ(image.LastError(), message);
    };
    expectRefused("", "Not a BMP");
    expectRefused(BuildBmp(good).substr(0, 20), "Error reading BMP info");
    expectRefused(BuildBmp(good).substr(0, BuildBmp(good).size() - 1), "BMP pixel data truncated");
    BmpSpec b = good;
    b.headerSize = 72;  // no known header has this size
    expectRefused(BuildBmp(b), "Error reading BMP info");
    b = good;
    b.width = 0;
    expectRefused(BuildBmp(b), "CxImage::Create : width and height must be greater than zero");
    b.width = -4;
    expectRefused(BuildBmp(b), "CxImage::Create : width and height must be greater than zero");
    b = good;
    b.width = 0x7FFFFFFF;
    b.height = 0x7FFFFFFF;
    expectRefused(BuildBmp(b), "CXIMAGE_MAX_MEMORY exceeded");
    b.height = -0x7FFFFFFF - 1;
    expectRefused(BuildBmp(b), "CXIMAGE_MAX_MEMORY exceeded");
    b = good;
    b.bits = 7;
    expectRefused(BuildBmp(b), "Error reading BMP info");
    b = good;
    b.clrUsed = 257;
    expectRefused(BuildBmp(b), "BMP palette larger than its depth allows");
    b = good;
    b.pixelOffset = 5000;
    expectRefused(BuildBmp(b), "BMP pixel offset past end of file");
    b.pixelOffset = 20;  // inside the headers
    expectRefused(BuildBmp(b), "BMP pixel offset past end of file");
    b = good;
    b.compression = 4;
    expectRefused(BuildBmp(b), "compression type not supported");
    b.compression = 9;
    expectRefused(BuildBmp(b), "unknown compression");
    b.compression = 2;  // RLE4 at 8 bits
    expectRefused(BuildBmp(b), "compression type not supported");

    BmpSpec rle = good;
    rle.compression = 1;
    rle.pixels = std::string("\x05\x01\x00\x01", 4);  // run of 5 in a row of 4
    expectRefused(BuildBmp(rle), "BMP run-length data runs past the picture");
    rle.pixels = std::string("\x00\x05\x01\x01\x01\x01\x01\x00\x00\x01", 10);  // literal of 5
    expectRefused(BuildBmp(rle), "BMP run-length data runs past the picture");
    rle.pixels = std::string("\x00\x02\x00\x03\x00\x01", 6);  // delta below the picture
    expectRefused(BuildBmp(rle), "BMP run-length data runs past the picture");
    rle.pixels = std::string("\x00\x00\x00\x00\x00\x00\x04\x01", 8);  // a fourth row
    expectRefused(BuildBmp(rle), "BMP run-length data runs past the picture");
    rle.pixels = std::string("\x04\x01\x00\x00", 4);  // no end-of-picture marker
    expectRefused(BuildBmp(rle), "BMP pixel data truncated");
    rle.height = -2;
    expectRefused(BuildBmp(rle), "compression type not supported");

    BmpSpec fields;
    fields.bits = 16;
    fields.compression = 3;
    fields.pixels = std::string(4, '\0');
    fields.masks = {0xF800, 0x07E0, 0};
    expectRefused(BuildBmp(fields), "BMP bit field masks invalid");
    fields.masks = {0xF800, 0x0AE0, 0x1F};  // not contiguous
    expectRefused(BuildBmp(fields), "BMP bit field masks invalid");
    fields.masks = {0xF8000, 0x07E0, 0x1F};  // wider than the pixel
    expectRefused(BuildBmp(fields), "BMP bit field masks invalid");
    fields.masks = {0xF800};
    fields.pixels.clear();
    expectRefused(BuildBmp(fields).substr(0, 14 + 40 + 4), "BMP pixel data truncated");
}

TEST(BmpCodec, EveryCutOfAValidFileIsRefusedCleanly) {
    BmpSpec spec;
    spec.width = 3;
    spec.height = 3;
    spec.bits = 4;
    spec.palette = std::vector<std::uint32_t>(16, 0x123456);
    spec.pixels = std::string(12, '\x21');
    const std::string file = BuildBmp(spec);
    ASSERT_TRUE(Decode(file).IsValid());
    for (std::size_t n = 0; n < file.size(); ++n) {
        const CxImage image = Decode(file.substr(0, n));
        EXPECT_FALSE(image.IsValid()) << n;
        EXPECT_FALSE(image.LastError().empty()) << n;
    }
}

TEST(BmpCodec, DecoderStartsAtTheStreamPosition) {
    BmpSpec spec;
    spec.pixels = std::string("\x01\x02\x03\0", 4);
    const std::string bytes = "junk" + BuildBmp(spec);
    CxMemFile file(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    ASSERT_TRUE(file.Seek(4, SEEK_SET));
    CxImage image;
    ASSERT_TRUE(image.Decode(&file, kImageTypeBmp)) << image.LastError();
    EXPECT_EQ(image.GetBits()[2], 3);
}

TEST(CxImageFiles, SaveAndLoadFailuresAndMessages) {
    test::TempDir dir;
    const CxImage empty;
    EXPECT_FALSE(empty.SaveToFile(dir.Sub("e.bmp"), kImageTypeBmp));
    EXPECT_EQ(empty.LastError(), "null image!!!");
    const CxImage image = RandomImage(2, 2, 24, 3);
    EXPECT_FALSE(image.SaveToFile(dir.Sub("x.bmp"), 7));
    EXPECT_EQ(image.LastError(), "Encode: Unknown format");
    EXPECT_FALSE(std::filesystem::exists(dir.Sub("x.bmp")));
    EXPECT_FALSE(std::filesystem::exists(dir.Sub("x.bmp.part")));
    EXPECT_FALSE(image.SaveToFile(dir.Sub("no/such/folder.bmp"), kImageTypeBmp));
    EXPECT_EQ(image.Encode(nullptr, kImageTypeBmp), false);
    EXPECT_EQ(image.LastError(), "null file handler");

    // A failed save leaves the previous file of that name untouched.
    const std::string path = dir.Write("keep.bmp", "old contents");
    EXPECT_FALSE(image.SaveToFile(path, 2));
    EXPECT_EQ(test::ReadFile(path), "old contents");

    const CxImage missing = CxImage::LoadFromFile(dir.Sub("missing.bmp"), kImageTypeBmp);
    EXPECT_FALSE(missing.IsValid());
    EXPECT_EQ(missing.LastError(), "");
    const CxImage junk = CxImage::LoadFromFile(path, kImageTypeBmp);
    EXPECT_FALSE(junk.IsValid());
    EXPECT_EQ(junk.LastError(), "Not a BMP");  // the typed attempt's message
    EXPECT_EQ(CxImage::LoadFromFile(path, kImageTypeUnknown).LastError(),
              "Decode: Unknown or wrong format");
    CxImage noStream;
    EXPECT_FALSE(noStream.Decode(nullptr, kImageTypeBmp));
    EXPECT_EQ(noStream.LastError(), "null file handler");
}

TEST(BmpCodec, IndicesBeyondAShortPaletteReadBlackAndConvertToBlack) {
    BmpSpec spec;
    spec.width = 2;
    spec.height = 1;
    spec.bits = 8;
    spec.clrUsed = 2;
    spec.palette = {0x102030, 0xFF8040};
    spec.pixels = std::string("\x01\xC8\0\0", 4);  // index 200 of a two-colour palette
    CxImage image = Decode(BuildBmp(spec));
    ASSERT_TRUE(image.IsValid()) << image.LastError();
    EXPECT_EQ(image.GetPixelColor(0, 0).red, 0xFF);
    const RgbQuad beyond = image.GetPixelColor(1, 0);
    EXPECT_EQ(beyond.red + beyond.green + beyond.blue, 0);
    ASSERT_TRUE(ConvertTo24Bits(image));
    EXPECT_EQ(image.GetBpp(), 24);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(image.StoredRow(0)), 6),
              std::string("\x40\x80\xFF\0\0\0", 6));
}

}  // namespace
}  // namespace lensora
