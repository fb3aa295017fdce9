#include "capture/frame_pipeline.h"
#include "canvas/live_renderer.h"
#include "capture/preview_layout.h"
#include "support/recording_surface.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace lensora {
namespace {

FrameInfo Frame(const std::vector<std::uint8_t>& bytes, int width, int height) {
    FrameInfo f;
    f.bytes = bytes.data();
    f.length = bytes.size();
    f.width = width;
    f.height = height;
    return f;
}

TEST(FrameStore, HeaderRowsAndGrowOnlyBuffer) {
    FrameStore store;
    // Two rows of one pixel, top-down: the store keeps them bottom-up.
    const std::vector<std::uint8_t> topDown = {1, 2, 3, 4, 5, 6};
    store.Store(topDown.data(), 1, 2, 0, true, 77);
    EXPECT_EQ(store.Header(), FrameHeader(1, 2));
    EXPECT_EQ(store.Header().sizeImage, 6u);
    store.Read([](const BitmapInfoHeader&, const std::uint8_t* bytes, std::int64_t time) {
        EXPECT_EQ(bytes[0], 4);
        EXPECT_EQ(bytes[3], 1);
        EXPECT_EQ(time, 77);
    });
    // Padded rows (stride 4) lose their padding.
    const std::vector<std::uint8_t> padded = {1, 2, 3, 0, 4, 5, 6, 0};
    store.Store(padded.data(), 1, 2, 4, false, 0);
    FrameCopy copy;
    ASSERT_TRUE(store.CopyLatest(copy));
    EXPECT_EQ(copy.bytes, (std::vector<std::uint8_t>{1, 2, 3, 4, 5, 6}));
    EXPECT_FALSE(store.CopyLatest(copy));  // nothing new

    const std::size_t allocations = store.Allocations();
    std::vector<std::uint8_t> big(30 * 20 * 3, 9);
    store.Store(big.data(), 30, 20, 0, false, 0);
    EXPECT_EQ(store.Allocations(), allocations + 1);
    store.Store(padded.data(), 1, 2, 4, false, 0);  // smaller: reuses the buffer
    for (int i = 0; i < 100; ++i) {
        store.Store(big.data(), 30, 20, 0, false, i);
    }
    EXPECT_EQ(store.Allocations(), allocations + 1);
    EXPECT_EQ(store.Capacity(), big.size());
}

TEST(FramePipeline, DropsAndCountsFramesThatDoNotMatch) {
    FramePipeline pipeline;
    pipeline.SetExpectedSize(4, 2);
    const std::vector<std::uint8_t> good(4 * 2 * 3, 1);
    const std::vector<std::uint8_t> truncated(4 * 2 * 3 - 1, 1);
    const std::vector<std::uint8_t> wrongSize(5 * 2 * 3, 1);
    pipeline.OnFrame(Frame(truncated, 4, 2));
    pipeline.OnFrame(Frame(wrongSize, 5, 2));
    FrameInfo empty = Frame(good, 4, 2);
    empty.length = 0;
    pipeline.OnFrame(empty);
    FrameInfo null;
    null.width = 4;
    null.height = 2;
    pipeline.OnFrame(null);
    EXPECT_EQ(pipeline.FramesDropped(), 4u);
    EXPECT_EQ(pipeline.FramesStored(), 0u);
    pipeline.OnFrame(Frame(good, 4, 2));
    EXPECT_EQ(pipeline.FramesStored(), 1u);
    EXPECT_GE(pipeline.LastFrameMs(), 0);
}

TEST(FramePipeline, WakesTheUserInterfaceOnceUntilItTakesTheFrame) {
    FramePipeline pipeline;
    pipeline.SetExpectedSize(2, 2);
    int wakeUps = 0;
    pipeline.SetHooks({{}, [&] { ++wakeUps; }, {}});
    const std::vector<std::uint8_t> bytes(12, 3);
    for (int i = 0; i < 5; ++i) {
        pipeline.OnFrame(Frame(bytes, 2, 2));
    }
    EXPECT_EQ(wakeUps, 1);
    EXPECT_EQ(pipeline.Store().Sequence(), 5u);  // the latest frame is still kept
    pipeline.FrameTaken();
    pipeline.OnFrame(Frame(bytes, 2, 2));
    EXPECT_EQ(wakeUps, 2);
}

TEST(FramePipeline, SnapshotTakesTheNextFrameInsteadOfTheStore) {
    FramePipeline pipeline;
    pipeline.SetExpectedSize(2, 2);
    std::vector<int> snapshots;
    pipeline.SetHooks({[&](int s) { snapshots.push_back(s); }, {}, {}});
    const std::vector<std::uint8_t> bytes(12, 3);
    pipeline.Snapshot().RequestByUser();
    EXPECT_TRUE(pipeline.Snapshot().shutterSound);
    pipeline.OnFrame(Frame(bytes, 2, 2));
    EXPECT_EQ(snapshots, std::vector<int>{kSnapshotByProgram});
    EXPECT_EQ(pipeline.FramesStored(), 0u);
    pipeline.OnCameraButton();  // button disabled: nothing
    EXPECT_FALSE(pipeline.Snapshot().Requested());
    pipeline.SetButtonEnabled(true);
    pipeline.OnCameraButton();
    pipeline.OnFrame(Frame(bytes, 2, 2));
    EXPECT_EQ(snapshots.back(), kSnapshotByButton);
    EXPECT_FALSE(pipeline.Snapshot().Consume());
}

// A writer thread storing frames while a reader copies them: every copy must be one whole
// frame (all bytes equal to the value of that frame's sample time). Run under ThreadSanitizer.
TEST(FrameStore, ConcurrentWriterAndReaderSeeWholeFrames) {
    FrameStore store;
    constexpr int kWidth = 64, kHeight = 48, kFrames = 2000;
    std::atomic<int> copies{0};
    std::thread writer([&] {
        std::vector<std::uint8_t> bytes(kWidth * kHeight * 3);
        for (int i = 1; i <= kFrames; ++i) {
            std::fill(bytes.begin(), bytes.end(), static_cast<std::uint8_t>(i));
            store.Store(bytes.data(), kWidth, kHeight, 0, (i % 2) == 0, i);
            while (i % 200 == 1 && copies.load() < i / 200 + 1) {
                std::this_thread::yield();  // let the reader overlap with the writes
            }
        }
    });
    FrameCopy copy;
    int torn = 0;
    while (store.Sequence() < static_cast<std::uint64_t>(kFrames)) {
        if (store.CopyLatest(copy)) {
            ++copies;
            const auto expected = static_cast<std::uint8_t>(copy.sampleTime);
            for (std::uint8_t b : copy.bytes) {
                torn += b != expected;
            }
        }
    }
    writer.join();
    EXPECT_EQ(torn, 0);
    EXPECT_GT(copies, 0);
    EXPECT_EQ(store.Allocations(), 1u);
}

TEST(PreviewLayout, TallFrameIsDrawn32PixelsTaller) {
    EXPECT_EQ(PreviewFrameBox(1280, 1024, 640, 480), (PixelBox{0, 0, 640, 512}));
    EXPECT_EQ(PreviewFrameBox(1280, 960, 640, 480), (PixelBox{0, 0, 640, 480}));
    EXPECT_EQ(PreviewFrameBox(1600, 1200, 868, 650), (PixelBox{0, 0, 868, 650}));

    // The composition stretches the frame into that box.
    std::vector<std::uint8_t> bytes(1280 * 1024 * 3);
    DibView frame{1280, 1024, 24, 1280 * 3, bytes.data()};
    LiveFrameInput in;
    in.frame = &frame;
    in.frameDestination = PreviewFrameBox(1280, 1024, 640, 480);
    test::RecordingSurface surface(640, 480);
    ComposeLiveFrame(surface, in);
    ASSERT_FALSE(surface.calls.empty());
    EXPECT_EQ(surface.calls[0].box, (PixelBox{0, 0, 640, 512}));
}

}  // namespace
}  // namespace lensora
