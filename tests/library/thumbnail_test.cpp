#include "library/thumbnail.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <thread>

#include "imaging/cx_file.h"
#include "imaging/cx_image.h"
#include "imaging/jpeg_codec.h"
#include "library/thumbnail_cache.h"
#include "support/temp_dir.h"
#include "support/test_media.h"

namespace lensora {
namespace {

using test::TempDir;

void ExpectColour(const Thumbnail& t, int r, int g, int b, int tolerance) {
    ASSERT_FALSE(t.broken) << t.error;
    ASSERT_EQ(t.bgr.size(), std::size_t(t.width) * t.height * 3);
    for (int y : {0, t.height / 2, t.height - 1}) {
        for (int x : {0, t.width / 2, t.width - 1}) {
            const std::uint8_t* p = t.bgr.data() + (std::size_t(y) * t.width + x) * 3;
            EXPECT_NEAR(p[0], b, tolerance) << x << "," << y;
            EXPECT_NEAR(p[1], g, tolerance) << x << "," << y;
            EXPECT_NEAR(p[2], r, tolerance) << x << "," << y;
        }
    }
}

TEST(ThumbnailTest, ScaledJpegDecodeTakesTheSmallestEighthThatFillsTheCell) {
    TempDir dir;
    const std::string path = dir.Sub("big.jpg");
    ASSERT_TRUE(test::WritePicture(path, 1600, 1200, 30, 160, 220));
    const auto decode = [&](int w, int h) {
        CxIOFile file;
        EXPECT_TRUE(file.Open(path, "rb"));
        CxImage image;
        EXPECT_TRUE(CxImageJPG::DecodeScaled(image, file, w, h));
        return std::pair(image.GetWidth(), image.GetHeight());
    };
    EXPECT_EQ(decode(90, 81), std::pair(200, 150));    // 1/8
    EXPECT_EQ(decode(201, 100), std::pair(400, 300));  // 2/8: 1/8 is one pixel short
    EXPECT_EQ(decode(1600, 1200), std::pair(1600, 1200));
    EXPECT_EQ(decode(5000, 10), std::pair(1600, 1200));  // never above full size
    EXPECT_EQ(decode(0, 0), std::pair(1600, 1200));

    ExpectColour(MakePictureThumbnail(path, 90, 81), 30, 160, 220, 3);
}

TEST(ThumbnailTest, BmpAndPalettePicturesAreAveragedIntoTheCell) {
    TempDir dir;
    const std::string path = dir.Sub("p.bmp");
    ASSERT_TRUE(test::WritePicture(path, 37, 23, 250, 10, 120));
    // Smaller than the cell: stretched up.
    const Thumbnail up = MakePictureThumbnail(path, 90, 81);
    EXPECT_EQ(up.width, 90);
    EXPECT_EQ(up.height, 81);
    ExpectColour(up, 250, 10, 120, 0);

    // Left half black, right half white, 8-bit grey: the middle column mixes both.
    CxImage grey;
    ASSERT_TRUE(grey.Create(4, 2, 8));
    grey.SetGreyPalette();
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 4; ++x) {
            grey.SetPixelIndex(x, y, x < 2 ? 0 : 255);
        }
    }
    const Thumbnail two = ScaleToThumbnail(grey, 2, 1);
    ASSERT_FALSE(two.broken);
    EXPECT_EQ(two.bgr, (std::vector<std::uint8_t>{0, 0, 0, 255, 255, 255}));
    const Thumbnail one = ScaleToThumbnail(grey, 1, 1);
    EXPECT_EQ(one.bgr[0], 128);
}

TEST(ThumbnailTest, FilesThatDoNotDecodeAreMarkedBroken) {
    TempDir dir;
    EXPECT_TRUE(MakePictureThumbnail(dir.Write("text.bmp", std::string(300, 't')), 90, 81).broken);
    EXPECT_TRUE(MakePictureThumbnail(dir.Write("cut.jpg", "\xFF\xD8\xFF\xE0"), 90, 81).broken);
    EXPECT_TRUE(MakePictureThumbnail(dir.Sub("missing.jpg"), 90, 81).broken);
    const Thumbnail video = MakeVideoThumbnail(dir.Write("junk.avi", std::string(500, 'a')), 9, 9);
    EXPECT_TRUE(video.broken);
    EXPECT_FALSE(video.error.empty());
    EXPECT_TRUE(MakeVideoThumbnail(dir.Sub("missing.avi"), 90, 81).broken);
    CxImage empty;
    EXPECT_TRUE(ScaleToThumbnail(empty, 10, 10).broken);

    // A JPEG named ".bmp" still shows.
    const std::string misnamed = dir.Sub("real.jpg");
    ASSERT_TRUE(test::WritePicture(misnamed, 40, 30, 0, 0, 255));
    std::filesystem::rename(misnamed, dir.Sub("real.bmp"));
    EXPECT_FALSE(MakePictureThumbnail(dir.Sub("real.bmp"), 20, 20).broken);
}

TEST(ThumbnailTest, FirstFrameOfAnAviRecording) {
    TempDir dir;
    const std::string path = dir.Sub("rec.avi");
    ASSERT_TRUE(test::WriteAvi(path, 320, 240, 5, 220, 60, 20));
    CxImage frame;
    std::string error;
    ASSERT_TRUE(DecodeFirstVideoFrame(path, frame, error)) << error;
    EXPECT_EQ(frame.GetWidth(), 320);
    EXPECT_EQ(frame.GetHeight(), 240);
    EXPECT_EQ(frame.GetBpp(), 24);
    ExpectColour(MakeVideoThumbnail(path, 90, 81), 220, 60, 20, 8);

    // A recording cut short after its header and first frames still shows its first frame.
    const std::string whole = test::ReadFile(path);
    const std::string cut = dir.Write("cut.avi", whole.substr(0, whole.size() * 2 / 3));
    EXPECT_FALSE(MakeVideoThumbnail(cut, 90, 81).broken);
}

TEST(ThumbnailTest, CacheIsKeyedByFileStateAndForgetsTheOldest) {
    TempDir dir;
    const std::string path = dir.Write("a.bmp", std::string(100, 'a'));
    const auto key = KeyOfFile(path, 90, 81);
    ASSERT_TRUE(key.has_value());
    EXPECT_FALSE(KeyOfFile(dir.Sub("none.bmp"), 90, 81).has_value());
    ThumbnailCache cache(2);
    auto thumb = std::make_shared<Thumbnail>();
    cache.Insert(*key, thumb);
    EXPECT_EQ(cache.Find(*key), thumb);
    // Same path, another size of file: not the same thumbnail.
    dir.Write("a.bmp", std::string(120, 'a'));
    const auto changed = KeyOfFile(path, 90, 81);
    ASSERT_TRUE(changed.has_value());
    EXPECT_EQ(cache.Find(*changed), nullptr);
    EXPECT_EQ(cache.Find(*KeyOfFile(path, 45, 40)), nullptr);

    ThumbnailKey k2{"b", 1, 1, 1, 1};
    ThumbnailKey k3{"c", 1, 1, 1, 1};
    cache.Insert(k2, thumb);
    cache.Find(*key);  // the first key is now the most recent
    cache.Insert(k3, thumb);
    EXPECT_EQ(cache.Size(), 2u);
    EXPECT_NE(cache.Find(*key), nullptr);
    EXPECT_EQ(cache.Find(k2), nullptr);

    // Workers insert while the UI thread looks up.
    ThumbnailCache shared(64);
    std::vector<std::thread> workers;
    for (int w = 0; w < 4; ++w) {
        workers.emplace_back([&shared, w, thumb] {
            for (int i = 0; i < 200; ++i) {
                ThumbnailKey k{std::to_string(w * 1000 + i), i, 1, 1, 1};
                shared.Insert(k, thumb);
                shared.Find(k);
            }
        });
    }
    for (auto& t : workers) {
        t.join();
    }
    EXPECT_EQ(shared.Size(), 64u);
}

}  // namespace
}  // namespace lensora
