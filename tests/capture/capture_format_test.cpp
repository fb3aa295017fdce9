#include "capture/capture_format.h"

#include <gtest/gtest.h>

#include <fstream>

#include "support/temp_dir.h"

namespace lensora {
namespace {

TEST(CaptureFormat, BlockRoundTripsThroughItsFixedLayout) {
    VideoFormatBlock b = DefaultFormatBlock(false, 666666);
    b.source = {1, 2, 3, 4};
    b.target = {-5, 6, 7, 8};
    b.xPelsPerMeter = 3780;
    const auto bytes = SerializeFormatBlock(b);
    EXPECT_EQ(bytes[52], 0x00);  // width 1280 = 0x500 at offset 52, little-endian
    EXPECT_EQ(bytes[53], 0x05);
    EXPECT_EQ(bytes[40], 666666 & 0xFF);
    EXPECT_EQ(bytes[64], 'Y');
    EXPECT_EQ(bytes[67], '2');
    EXPECT_EQ(bytes[16], 0xFB);  // -5
    ASSERT_TRUE(ParseFormatBlock(bytes));
    EXPECT_EQ(*ParseFormatBlock(bytes), b);
}

TEST(CaptureFormat, ShortOrAbsurdBlocksCountAsAbsent) {
    auto bytes = SerializeFormatBlock(DefaultFormatBlock(true, 333333));
    EXPECT_FALSE(ParseFormatBlock(std::span(bytes).first(87)));
    auto zeroWidth = bytes;
    zeroWidth[52] = zeroWidth[53] = 0;
    EXPECT_FALSE(ParseFormatBlock(zeroWidth));
    auto huge = bytes;
    huge[55] = 0x7F;  // width about 2 billion
    EXPECT_FALSE(ParseFormatBlock(huge));
    auto negativeTime = bytes;
    negativeTime[47] = 0x80;
    EXPECT_FALSE(ParseFormatBlock(negativeTime));
}

TEST(CaptureFormat, CapConfigFileReadWrite) {
    test::TempDir dir;
    const std::string path = CapConfigPath(dir.Str());
    EXPECT_FALSE(ReadCapConfig(path));
    VideoFormatBlock b = DefaultFormatBlock(true, 666666);
    b.width = 640;
    b.height = 480;
    ASSERT_TRUE(WriteCapConfig(path, b));
    ASSERT_TRUE(ReadCapConfig(path));
    EXPECT_EQ(ReadCapConfig(path)->width, 640);
    std::ofstream(path, std::ios::binary | std::ios::trunc) << "short";
    EXPECT_FALSE(ReadCapConfig(path));
    EXPECT_FALSE(WriteCapConfig(dir.Sub("missing/dir/CapConfig.dat"), b));
}

TEST(CaptureFormat, DefaultFormatAndBitRate) {
    const VideoFormatBlock large = DefaultFormatBlock(true, 666666);
    EXPECT_EQ(large.width, 1600);
    EXPECT_EQ(large.height, 1200);
    EXPECT_EQ(large.sizeImage, 1600u * 1200 * 2);
    const VideoFormatBlock small = DefaultFormatBlock(false, 333333);
    EXPECT_EQ(small.width, 1280);
    EXPECT_EQ(small.height, 1024);
    // 15.00015 fps rounds half down to 15: 640x480x2 at 15 fps.
    EXPECT_EQ(FormatBitRate(666666, 614400), 73'728'000u);
    EXPECT_EQ(FormatBitRate(0, 614400), 0u);
}

TEST(CaptureFormat, RecordingFrameRatesBySensorAndWidth) {
    EXPECT_EQ(RecordingFrameRate(true, 640), 15);
    EXPECT_EQ(RecordingFrameRate(true, 1280), 14);
    EXPECT_EQ(RecordingFrameRate(true, 1600), 5);
    EXPECT_EQ(RecordingFrameRate(false, 320), 15);
    EXPECT_EQ(RecordingFrameRate(false, 640), 14);
    EXPECT_EQ(RecordingFrameRate(false, 1280), 5);
}

TEST(CaptureFormat, SensorClassFromProbe) {
    EXPECT_TRUE(LargeSensorAfterProbe(false, {true, true, 0}));
    EXPECT_FALSE(LargeSensorAfterProbe(true, {true, false, 0}));
    EXPECT_TRUE(LargeSensorAfterProbe(true, {false, false, 0}));  // no YUV: stays as it was
}

}  // namespace
}  // namespace lensora
