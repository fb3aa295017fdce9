#include "imaging/jpeg_codec.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>

#include "imaging/cx_file.h"
#include "imaging/cx_image.h"
#include "support/temp_dir.h"

namespace lensora {
namespace {

// Smooth colour gradients with a little texture: what a microscope picture looks like to the
// codec, and small errors after a JPEG round trip.
CxImage PhotoLike(int width, int height, std::uint32_t bits = 24) {
    CxImage image;
    EXPECT_TRUE(image.Create(width, height, bits));
    if (bits == 8) {
        image.SetGreyPalette();
    }
    const int channels = bits == 8 ? 1 : 3;
    for (int y = 0; y < height; ++y) {
        std::uint8_t* row = image.RowFromTop(y);
        for (int x = 0; x < width; ++x) {
            for (int c = 0; c < channels; ++c) {
                const double v = 128 + 90 * std::sin((x + 2 * c) * 0.05) * std::cos(y * 0.04) +
                                 20 * std::sin((x + y) * 0.3);
                row[x * channels + c] = static_cast<std::uint8_t>(std::clamp(v, 0.0, 255.0));
            }
        }
    }
    return image;
}

double MeanAbsDifference(const CxImage& a, const CxImage& b) {
    double sum = 0;
    const int bytes = a.GetWidth() * a.GetBpp() / 8;
    for (int y = 0; y < a.GetHeight(); ++y) {
        for (int i = 0; i < bytes; ++i) {
            sum += std::abs(int(a.StoredRow(y)[i]) - int(b.StoredRow(y)[i]));
        }
    }
    return sum / (double(bytes) * a.GetHeight());
}

std::string EncodeToString(const CxImage& image) {
    CxMemFile out;
    EXPECT_TRUE(image.Encode(&out, kImageTypeJpeg)) << image.LastError();
    return std::string(reinterpret_cast<const char*>(out.Data()), out.DataSize());
}

CxImage DecodeString(const std::string& bytes, std::uint32_t type = kImageTypeJpeg) {
    return CxImage::LoadFromMemory(reinterpret_cast<const std::uint8_t*>(bytes.data()),
                                   bytes.size(), type);
}

// Sampling byte of component `index` in the frame header.
int SamplingOf(const std::string& jpeg, int index) {
    const std::size_t sof = jpeg.find("\xFF\xC0");
    return sof == std::string::npos ? -1 : std::uint8_t(jpeg[sof + 11 + 3 * index]);
}

TEST(JpegCodec, RoundTripsColourAndGreyAtOddWidths) {
    test::TempDir dir;
    for (std::uint32_t bits : {24u, 8u}) {
        for (int width : {1, 3, 5, 64, 101}) {
            const CxImage image = PhotoLike(width, 37, bits);
            const std::string path = dir.Sub("p.jpg");
            ASSERT_TRUE(image.SaveToFile(path, kImageTypeJpeg)) << image.LastError();
            const CxImage back = CxImage::LoadFromFile(path, kImageTypeJpeg);
            ASSERT_TRUE(back.IsValid()) << back.LastError();
            EXPECT_EQ(back.GetType(), kImageTypeJpeg);
            ASSERT_EQ(back.GetWidth(), width);
            ASSERT_EQ(back.GetHeight(), 37);
            ASSERT_EQ(back.GetBpp(), int(bits));
            EXPECT_EQ(back.GetStride(), image.GetStride());
            EXPECT_EQ(back.IsGrey(), bits == 8);
            EXPECT_LT(MeanAbsDifference(image, back), 3.0) << bits << " bits, width " << width;
        }
    }
}

TEST(JpegCodec, WritesQualitySamplingAndDensity) {
    CxImage image = PhotoLike(32, 16);
    const std::string defaults = EncodeToString(image);
    EXPECT_EQ(defaults.substr(6, 5), std::string("JFIF\0", 5));
    EXPECT_EQ(defaults[13], 1);  // dots per inch
    EXPECT_EQ(std::uint8_t(defaults[15]), 96);
    EXPECT_EQ(SamplingOf(defaults, 0), 0x22);  // 4:2:0
    EXPECT_EQ(SamplingOf(defaults, 1), 0x11);
    image.SetJpegQuality(90);
    EXPECT_EQ(EncodeToString(image), defaults);  // 90 is the default quality
    image.SetJpegQuality(20);
    EXPECT_LT(EncodeToString(image).size(), defaults.size());

    image.SetJpegQuality(90);
    image.SetCodecOption(0x1000);
    EXPECT_EQ(SamplingOf(EncodeToString(image), 0), 0x21);
    image.SetCodecOption(0x2000);
    EXPECT_EQ(SamplingOf(EncodeToString(image), 0), 0x11);

    image.SetXDpi(300);
    image.SetYDpi(150);
    std::string dense = EncodeToString(image);
    CxImage back = DecodeString(dense);
    EXPECT_EQ(back.GetXDpi(), 300);
    EXPECT_EQ(back.GetYDpi(), 150);
    EXPECT_EQ(back.GetHeader().xPelsPerMeter, 11811);
    dense[13] = 2;  // per centimetre: 300 / cm -> 762 dpi
    EXPECT_EQ(DecodeString(dense).GetXDpi(), 762);
    dense[13] = 0;  // aspect ratio only: the default
    EXPECT_EQ(DecodeString(dense).GetXDpi(), 96);
}

TEST(JpegCodec, RefusesPicturesItCannotWrite) {
    CxImage palette;
    ASSERT_TRUE(palette.Create(4, 4, 8));
    palette.SetGreyPalette();
    palette.SetPaletteColor(3, 255, 0, 0);  // no longer grey
    CxMemFile out;
    EXPECT_FALSE(palette.Encode(&out, kImageTypeJpeg));
    EXPECT_EQ(palette.LastError(), "JPEG can save only RGB or GreyScale images");
    CxImage fourBit;
    ASSERT_TRUE(fourBit.Create(4, 4, 4));
    EXPECT_FALSE(fourBit.Encode(&out, kImageTypeJpeg));
    EXPECT_EQ(fourBit.LastError(), "JPEG can save only RGB or GreyScale images");

    // A full disk ends the encode with the library's message instead of ending the process.
    const CxImage image = PhotoLike(64, 64);
    std::uint8_t small[100];
    CxMemFile full(small, sizeof small);
    EXPECT_FALSE(image.Encode(&full, kImageTypeJpeg));
    EXPECT_NE(image.LastError().find("write"), std::string::npos) << image.LastError();
}

TEST(JpegCodec, JpegLoadsWhateverTheTypeOrExtension) {
    test::TempDir dir;
    const CxImage image = PhotoLike(20, 10);
    const std::string path = dir.Write("really a jpeg.bmp", EncodeToString(image));
    const CxImage asBmp = CxImage::LoadFromFile(path, kImageTypeBmp);
    ASSERT_TRUE(asBmp.IsValid()) << asBmp.LastError();
    EXPECT_EQ(asBmp.GetType(), kImageTypeJpeg);
    EXPECT_EQ(asBmp.GetWidth(), 20);
    const CxImage unknown = DecodeString(EncodeToString(image), kImageTypeUnknown);
    EXPECT_TRUE(unknown.IsValid());
    // A BMP given as JPEG also loads through the retry.
    const std::string bmpPath = dir.Sub("picture.jpg");
    ASSERT_TRUE(image.SaveToFile(bmpPath, kImageTypeBmp));
    EXPECT_EQ(CxImage::LoadFromFile(bmpPath, kImageTypeJpeg).GetType(), kImageTypeBmp);
}

TEST(JpegCodec, ProgressiveAndCmykFilesDecode) {
    const std::string data = LENSORA_TEST_DATA "/imaging/";
    const CxImage progressive = CxImage::LoadFromFile(data + "progressive.jpg", kImageTypeJpeg);
    ASSERT_TRUE(progressive.IsValid()) << progressive.LastError();
    EXPECT_EQ(progressive.GetWidth(), 17);
    // A cyan-to-magenta gradient stored as inverted CMYK: cyan at the top.
    const CxImage cmyk = CxImage::LoadFromFile(data + "cmyk.jpg", kImageTypeJpeg);
    ASSERT_TRUE(cmyk.IsValid()) << cmyk.LastError();
    ASSERT_EQ(cmyk.GetBpp(), 24);
    const std::uint8_t* top = cmyk.RowFromTop(0);
    EXPECT_GT(top[0], 220);  // blue
    EXPECT_GT(top[1], 220);  // green
    EXPECT_LT(top[2], 40);   // red
}

TEST(JpegCodec, DamagedFilesEndWithTheLibraryMessage) {
    const std::string good = EncodeToString(PhotoLike(24, 24));
    CxImage image = DecodeString("");
    EXPECT_FALSE(image.IsValid());
    EXPECT_EQ(image.LastError(), "Empty input file");
    image = DecodeString(std::string("BM", 2));
    EXPECT_FALSE(image.IsValid());
    EXPECT_NE(image.LastError().find("Not a JPEG file"), std::string::npos) << image.LastError();
    image = DecodeString(good.substr(0, good.size() / 2));
    EXPECT_FALSE(image.IsValid());
    EXPECT_EQ(image.LastError(), "Premature end of JPEG file");

    // Every row is there, only the end marker is missing: the picture stands.
    ASSERT_EQ(good.substr(good.size() - 2), "\xFF\xD9");
    EXPECT_TRUE(DecodeString(good.substr(0, good.size() - 2)).IsValid());

    // Cut in the middle with an end marker put back: the library would fill the rest with
    // grey; the picture is refused with its warning instead.
    const std::string larger = EncodeToString(PhotoLike(64, 64));
    image = DecodeString(larger.substr(0, larger.size() / 2) + "\xFF\xD9");
    EXPECT_FALSE(image.IsValid());
    EXPECT_EQ(image.LastError(), "Corrupt JPEG data: premature end of data segment");
    // Stray bytes after the last row lose nothing: that warning leaves the picture whole.
    const std::string padded = larger.substr(0, larger.size() - 2) + "\x12\x34\xFF\xD9";
    image = DecodeString(padded);
    ASSERT_TRUE(image.IsValid()) << image.LastError();
    EXPECT_LT(MeanAbsDifference(image, DecodeString(larger)), 0.001);

    std::string huge = good;
    const std::size_t sof = huge.find("\xFF\xC0");
    huge[sof + 5] = huge[sof + 7] = char(0xFD);  // 65000 x 65000
    huge[sof + 6] = huge[sof + 8] = char(0xE8);
    image = DecodeString(huge);
    EXPECT_FALSE(image.IsValid());
    EXPECT_EQ(image.LastError(), "CXIMAGE_MAX_MEMORY exceeded");

    for (std::size_t n = 0; n + 2 < good.size(); n += 7) {
        image = DecodeString(good.substr(0, n) + std::string(n % 3, '\xFF'));
        EXPECT_FALSE(image.IsValid()) << n;
        EXPECT_FALSE(image.LastError().empty()) << n;
    }
}

}  // namespace
}  // namespace lensora
