// Taking a snapshot without a window: the file type and its bytes, the names in sequence, the
// measurements at the capture scale, the temporary picture, and a write that fails part-way.
#include "app/snapshot_taker.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "canvas/render_test_support.h"
#include "imaging/cx_file.h"
#include "imaging/cx_image.h"
#include "support/fake_prompts.h"
#include "support/recording_surface.h"
#include "support/temp_dir.h"

namespace lensora {
namespace {

namespace fs = std::filesystem;
using test::FakePrompts;
using test::RecordingSurface;
using test::TempDir;

// A recording surface that also holds pixels: the stretched frame, copied nearest-neighbour.
// When it goes, it leaves a copy of what was drawn in `log`.
class PixelSurface : public RecordingSurface {
  public:
    PixelSurface(int width, int height, std::vector<RecordingSurface>* log)
        : RecordingSurface(width, height), pixels_(std::size_t(width) * height * 4, 0), log_(log) {}
    ~PixelSurface() override {
        if (log_ != nullptr) {
            RecordingSurface copy(Width(), Height());
            copy.calls = calls;
            log_->push_back(std::move(copy));
        }
    }
    void DrawStretched(const DibView& dib, const PixelBox& dest, const PixelBox& source) override {
        RecordingSurface::DrawStretched(dib, dest, source);
        for (int y = dest.top; y < dest.bottom && y < Height(); ++y) {
            const int sy = source.top + (y - dest.top) * source.Height() / dest.Height();
            const std::uint8_t* row = dib.bits + std::size_t(dib.height - 1 - sy) * dib.stride;
            for (int x = dest.left; x < dest.right && x < Width(); ++x) {
                const int sx = source.left + (x - dest.left) * source.Width() / dest.Width();
                std::uint8_t* out = &pixels_[(std::size_t(y) * Width() + x) * 4];
                out[0] = row[sx * 3];
                out[1] = row[sx * 3 + 1];
                out[2] = row[sx * 3 + 2];
            }
        }
    }
    std::optional<PixelBufferView> Pixels() const override {
        return PixelBufferView{pixels_.data(), Width(), Height(), std::size_t(Width()) * 4};
    }

  private:
    std::vector<std::uint8_t> pixels_;
    std::vector<RecordingSurface>* log_;
};

// A frame whose every pixel tells its place: blue = x, green = y, red = 77 (bottom-up rows).
FrameCopy GradientFrame(int width, int height) {
    FrameCopy f;
    f.header = FrameHeader(width, height);
    f.sequence = 1;
    f.bytes.resize(std::size_t(width) * height * 3);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            std::uint8_t* p = &f.bytes[(std::size_t(height - 1 - y) * width + x) * 3];
            p[0] = std::uint8_t(x);
            p[1] = std::uint8_t(y);
            p[2] = 77;
        }
    }
    return f;
}

std::tm FixedTime() {
    std::tm t{};
    t.tm_year = 2016 - 1900;
    t.tm_mon = 4;
    t.tm_mday = 3;
    t.tm_hour = 14;
    t.tm_min = 25;
    t.tm_sec = 30;
    return t;
}

struct Fixture {
    TempDir dir;
    FakePrompts prompts;
    std::vector<RecordingSurface> drawn;  // what each surface handed out had drawn on it
    SurfaceFactory Surfaces() {
        return [this](int w, int h) -> std::unique_ptr<DrawingSurface> {
            return std::make_unique<PixelSurface>(w, h, &drawn);
        };
    }
    SnapshotTarget Target(std::uint32_t format, std::string magnification = "60") {
        fs::create_directories(dir.Path() / "Picture");
        fs::create_directories(dir.Path() / "app");
        return {dir.Sub("Picture"), dir.Sub("app"), format, std::move(magnification)};
    }
    std::vector<std::string> PictureFiles() const {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(dir.Path() / "Picture")) {
            names.push_back(e.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }
};

TEST(SnapshotTaker, ImageFormatGivesJpegOfQuality90OrBmpAndNamesFollowInSequence) {
    Fixture fx;
    SnapshotTaker taker(fx.Surfaces(), fx.prompts);
    taker.clock = FixedTime;
    const FrameCopy frame = GradientFrame(64, 48);
    const SnapshotScene scene;

    const SnapshotOutcome first = taker.TakeSnapshot(frame, scene, fx.Target(2), false);
    ASSERT_TRUE(first.composed);
    ASSERT_TRUE(first.written) << first.error;
    EXPECT_EQ(fs::path(first.path).filename(), "Still_2016-05-03_142530_60X_N0001.jpg");
    // The file is exactly the composed picture encoded at quality 90.
    CxImage composed;
    ASSERT_TRUE(taker.Compose(frame, scene, composed));
    composed.SetJpegQuality(90);
    CxMemFile expected;
    ASSERT_TRUE(composed.Encode(&expected, kImageTypeJpeg));
    EXPECT_EQ(test::ReadFile(first.path),
              std::string(reinterpret_cast<const char*>(expected.Data()), expected.DataSize()));

    const SnapshotOutcome second = taker.TakeSnapshot(frame, scene, fx.Target(0, ""), false);
    EXPECT_EQ(fs::path(second.path).filename(), "Still_2016-05-03_142530_N0002.jpg");
    EXPECT_EQ(test::ReadFile(second.path).substr(0, 2), "\xFF\xD8");

    // BMP: its own sequence, and the pixels come back exactly.
    const SnapshotOutcome bmp = taker.TakeSnapshot(frame, scene, fx.Target(1), false);
    ASSERT_TRUE(bmp.written);
    EXPECT_EQ(fs::path(bmp.path).filename(), "Still_2016-05-03_142530_60X_N0001.bmp");
    const CxImage back = CxImage::LoadFromFile(bmp.path, kImageTypeBmp);
    ASSERT_TRUE(back.IsValid());
    EXPECT_EQ(back.GetWidth(), 64);
    EXPECT_EQ(back.GetHeight(), 48);
    for (PixelPoint p : {PixelPoint{0, 0}, PixelPoint{63, 0}, PixelPoint{10, 47}}) {
        const std::uint8_t* px = back.RowFromTop(p.y) + p.x * 3;
        EXPECT_EQ(px[0], p.x);
        EXPECT_EQ(px[1], p.y);
        EXPECT_EQ(px[2], 77);
    }
    EXPECT_EQ(fx.PictureFiles().size(), 3u);
    EXPECT_TRUE(fx.prompts.shown.empty());
}

TEST(SnapshotTaker, RecordsAreDrawnAtTheCaptureScaleBeforeTheOverlays) {
    Fixture fx;
    SnapshotTaker taker(fx.Surfaces(), fx.prompts);
    LiveRecords records;
    AppendRecord(records, test::Live(LiveKind::kAutoLineLength2, {{100, 100}, {200, 100}, {0, 0}}));
    SnapshotScene scene;
    scene.records = &records;
    scene.whiteCross = true;
    for (auto [w, h, from, to] :
         {std::tuple{1280, 1024, PixelPoint{200, 200}, PixelPoint{400, 200}},
          std::tuple{1600, 1200, PixelPoint{250, 250}, PixelPoint{500, 250}},
          std::tuple{320, 240, PixelPoint{50, 50}, PixelPoint{100, 50}}}) {
        CxImage out;
        ASSERT_TRUE(taker.Compose(GradientFrame(w, h), scene, out));
        EXPECT_EQ(out.GetWidth(), w);
        const std::vector<test::Seg> lines = test::Lines(fx.drawn.back());
        ASSERT_FALSE(lines.empty());
        EXPECT_EQ(lines.front(), (test::Seg{from, to})) << w << "x" << h;
        // The white cross comes after the records: its two lines are the last ones drawn.
        EXPECT_EQ(lines.back().a.y, 0) << "the cross's vertical line last";
    }
}

TEST(SnapshotTaker, TemporaryPictureIsAlwaysBmpInTheApplicationFolderAndReplaced) {
    Fixture fx;
    SnapshotTaker taker(fx.Surfaces(), fx.prompts);
    const SnapshotTarget target = fx.Target(2);
    CxImage picture;
    SnapshotOutcome out = taker.TakeSnapshot(GradientFrame(64, 48), {}, target, true, &picture);
    ASSERT_TRUE(out.written);
    EXPECT_EQ(out.path, fx.dir.Sub("app/10000.bmp"));
    EXPECT_EQ(test::ReadFile(out.path).substr(0, 2), "BM");
    EXPECT_TRUE(picture.IsValid());
    out = taker.TakeSnapshot(GradientFrame(32, 16), {}, target, true);
    EXPECT_EQ(CxImage::LoadFromFile(out.path, kImageTypeBmp).GetWidth(), 32);
    EXPECT_TRUE(fx.PictureFiles().empty());  // nothing in the picture folder
}

TEST(SnapshotTaker, AFailedWriteIsReportedWithTheNameAndLeavesNoFile) {
    Fixture fx;
    // Writes go out at most 4 KiB at a time; the third write finds the disk full.
    int writes = 0;
    FileSeam seam = SystemFileSeam();
    seam.write = [&writes](int fd, const void* data, std::size_t size) -> long {
        if (++writes == 3) {
            errno = ENOSPC;
            return -1;
        }
        return SystemFileSeam().write(fd, data, std::min<std::size_t>(size, 4096));
    };
    SnapshotTaker taker(fx.Surfaces(), fx.prompts, seam);
    taker.clock = FixedTime;
    const SnapshotOutcome out =
        taker.TakeSnapshot(GradientFrame(160, 120), {}, fx.Target(1), false);
    EXPECT_TRUE(out.composed);  // the picture was made; only the file is missing
    EXPECT_FALSE(out.written);
    EXPECT_EQ(writes, 3);
    ASSERT_EQ(fx.prompts.shown.size(), 1u);
    EXPECT_NE(fx.prompts.shown[0].find("disk is full"), std::string::npos);
    EXPECT_NE(fx.prompts.shown[0].find("Still_2016-05-03_142530_60X_N0001.bmp"), std::string::npos);
    EXPECT_EQ(fx.prompts.icons[0], PromptIcon::Error);
    EXPECT_TRUE(fx.PictureFiles().empty());  // no cut-off picture, no temporary file

    // The next snapshot, with room again, takes the same number.
    writes = 100;
    const SnapshotOutcome next =
        taker.TakeSnapshot(GradientFrame(160, 120), {}, fx.Target(1), false);
    EXPECT_TRUE(next.written);
    EXPECT_EQ(fs::path(next.path).filename(), "Still_2016-05-03_142530_60X_N0001.bmp");
}

TEST(SnapshotTaker, FailureTextsNameTheCause) {
    EXPECT_EQ(SnapshotWriteFailureText("/p/a.jpg", std::strerror(ENOSPC)),
              "The snapshot was not saved: the disk is full.\n/p/a.jpg");
    EXPECT_NE(SnapshotWriteFailureText("/p/a.jpg", std::strerror(EACCES))
                  .find("the folder cannot be written"),
              std::string::npos);
    EXPECT_NE(SnapshotWriteFailureText("/p/a.jpg", std::strerror(EROFS))
                  .find("the folder cannot be written"),
              std::string::npos);
    EXPECT_NE(SnapshotWriteFailureText("/p/a.jpg", std::strerror(EIO)).find(std::strerror(EIO)),
              std::string::npos);
}

TEST(SnapshotTaker, NoFrameOrNoSurfaceComposesNothingAndWritesNothing) {
    Fixture fx;
    SnapshotTaker noSurface([](int, int) { return std::unique_ptr<DrawingSurface>(); }, fx.prompts);
    EXPECT_FALSE(noSurface.TakeSnapshot(GradientFrame(8, 8), {}, fx.Target(2), false).composed);
    SnapshotTaker taker(fx.Surfaces(), fx.prompts);
    EXPECT_FALSE(taker.TakeSnapshot(FrameCopy{}, {}, fx.Target(2), false).composed);
    EXPECT_TRUE(fx.PictureFiles().empty());
    EXPECT_TRUE(fx.prompts.shown.empty());
}

TEST(SnapshotTaker, GrabIntoMemoryKeepsTheBareFrameOfAnyWidth) {
    // 5 pixels wide: the rows of the picture are padded, those of the frame are not.
    const FrameCopy frame = GradientFrame(5, 3);
    CxImage held;
    ASSERT_TRUE(FrameToImage(frame, held));
    EXPECT_EQ(held.GetWidth(), 5);
    EXPECT_EQ(held.GetBpp(), 24);
    EXPECT_EQ(held.RowFromTop(2)[4 * 3], 4);
    EXPECT_EQ(held.RowFromTop(2)[4 * 3 + 1], 2);
    // The next grab replaces it; an empty frame leaves it as it was.
    ASSERT_TRUE(FrameToImage(GradientFrame(7, 2), held));
    EXPECT_EQ(held.GetWidth(), 7);
    EXPECT_FALSE(FrameToImage(FrameCopy{}, held));
    EXPECT_EQ(held.GetWidth(), 7);
}

}  // namespace
}  // namespace lensora
