#include "capture/avi_recorder.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <thread>
#include <vector>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libswscale/swscale.h>
}

#include "support/temp_dir.h"

namespace lensora {
namespace {

constexpr std::int64_t kSecond = 10'000'000;  // capture times in 100 ns units

// What a recording holds, read back through libavformat (and libavcodec for the pixels).
struct ReadBack {
    bool opened = false;
    int packets = 0;             // chunks with data: the frames written
    std::int64_t positions = 0;  // last position + 1: the stream's length in frames
    AVRational rate{0, 1};       // the header's frame rate
    double headerSeconds = 0;    // the header's length, when the index was written
    int decoded = 0;
    std::vector<std::uint8_t> firstFrame;  // top-down BGR rows of the first frame
    int width = 0;
    int height = 0;
};

ReadBack Read(const std::string& path, bool decode = true) {
    ReadBack r;
    AVFormatContext* format = nullptr;
    if (avformat_open_input(&format, path.c_str(), nullptr, nullptr) < 0) {
        return r;
    }
    avformat_find_stream_info(format, nullptr);
    const int index = av_find_best_stream(format, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    if (index < 0) {
        avformat_close_input(&format);
        return r;
    }
    r.opened = true;
    AVStream* stream = format->streams[index];
    r.rate = stream->avg_frame_rate.num != 0 ? stream->avg_frame_rate : stream->r_frame_rate;
    if (stream->duration > 0) {
        r.headerSeconds = static_cast<double>(stream->duration) * av_q2d(stream->time_base);
    }
    const AVCodec* codec = avcodec_find_decoder(stream->codecpar->codec_id);
    AVCodecContext* decoder = avcodec_alloc_context3(codec);
    avcodec_parameters_to_context(decoder, stream->codecpar);
    const bool canDecode =
        decode && codec != nullptr && avcodec_open2(decoder, codec, nullptr) == 0;
    AVPacket* packet = av_packet_alloc();
    AVFrame* frame = av_frame_alloc();
    const auto take = [&] {
        while (avcodec_receive_frame(decoder, frame) == 0) {
            if (r.decoded++ == 0) {
                r.width = frame->width;
                r.height = frame->height;
                r.firstFrame.resize(static_cast<std::size_t>(frame->width) * frame->height * 3);
                SwsContext* sws = sws_getContext(frame->width, frame->height,
                                                 static_cast<AVPixelFormat>(frame->format),
                                                 frame->width, frame->height, AV_PIX_FMT_BGR24,
                                                 SWS_POINT, nullptr, nullptr, nullptr);
                std::uint8_t* dst[4] = {r.firstFrame.data(), nullptr, nullptr, nullptr};
                int dstStride[4] = {frame->width * 3, 0, 0, 0};
                sws_scale(sws, frame->data, frame->linesize, 0, frame->height, dst, dstStride);
                sws_freeContext(sws);
            }
        }
    };
    while (av_read_frame(format, packet) >= 0) {
        if (packet->stream_index == index) {
            if (packet->size > 0) {
                ++r.packets;
                if (canDecode && avcodec_send_packet(decoder, packet) == 0) {
                    take();
                }
            }
            // AVI keeps no presentation times: the position is the decoding time.
            const std::int64_t at = packet->dts != AV_NOPTS_VALUE ? packet->dts : packet->pts;
            if (at != AV_NOPTS_VALUE) {
                r.positions = std::max<std::int64_t>(r.positions, at + 1);
            }
        }
        av_packet_unref(packet);
    }
    if (canDecode) {
        avcodec_send_packet(decoder, nullptr);
        take();
    }
    av_frame_free(&frame);
    av_packet_free(&packet);
    avcodec_free_context(&decoder);
    avformat_close_input(&format);
    return r;
}

// Frames of a grey picture whose top row is red, in bottom-up rows (the frame store's order)
// or top-down (a V4L2 camera's).
class Frames {
  public:
    Frames(int width, int height, bool topDown = false)
        : width_(width),
          height_(height),
          topDown_(topDown),
          bytes_(static_cast<std::size_t>(width) * height * 3, 128) {
        // Two rows so that chroma subsampling keeps the mark on the top.
        for (int k = 0; k < 2; ++k) {
            const int y = topDown ? k : height - 1 - k;
            std::uint8_t* row = bytes_.data() + static_cast<std::size_t>(y) * width * 3;
            for (int x = 0; x < width; ++x) {
                row[x * 3] = 0;
                row[x * 3 + 1] = 0;
                row[x * 3 + 2] = 255;
            }
        }
    }
    FrameInfo At(std::int64_t sampleTime) const {
        FrameInfo f;
        f.bytes = bytes_.data();
        f.length = bytes_.size();
        f.width = width_;
        f.height = height_;
        f.topDown = topDown_;
        f.sampleTime = sampleTime;
        return f;
    }

  private:
    int width_;
    int height_;
    bool topDown_;
    std::vector<std::uint8_t> bytes_;
};

RecorderSettings Settings(const test::TempDir& dir, int width, int height, int rate,
                          std::string encoder = {}) {
    RecorderSettings s;
    s.path = (dir.Path() / "Video_N0001.avi").string();
    s.width = width;
    s.height = height;
    s.rate = rate;
    s.compression.encoder = std::move(encoder);
    s.compression.quality = s.compression.encoder == "mjpeg" ? 90 : 0;
    return s;
}

// Feeds `count` frames `interval` apart, waiting for the writer after each one so that the
// counts are exact.
void Feed(AviRecorder& recorder, const Frames& frames, int count, std::int64_t interval,
          std::int64_t start = 0) {
    for (int i = 0; i < count; ++i) {
        recorder.WriteFrame(frames.At(start + i * interval));
        recorder.WaitUntilIdle();
    }
}

TEST(AviRecorder, PlaysBackInRealTimeWhateverTheCameraDelivers) {
    struct Case {
        int cameraFps;
        int expectedFrames;  // chunks with data
        int expectedSkipped;
    };
    // 3 s into a 15 fps stream: a 30 fps camera skips every other frame; a 5 fps camera leaves
    // gaps that the stream fills, so the length stays 3 s either way.
    for (const Case c : {Case{30, 45, 45}, Case{15, 45, 0}, Case{5, 15, 0}}) {
        SCOPED_TRACE(c.cameraFps);
        test::TempDir dir;
        AviRecorder recorder;
        std::string error;
        const RecorderSettings settings = Settings(dir, 320, 240, 15);
        ASSERT_TRUE(recorder.Open(settings, error)) << error;
        Feed(recorder, Frames(320, 240), 3 * c.cameraFps, kSecond / c.cameraFps);
        const RecordingCounts counts = recorder.Counts();
        ASSERT_TRUE(recorder.Close()) << recorder.FailureText();
        EXPECT_EQ(counts.dropped, 0u);
        EXPECT_NEAR(static_cast<double>(counts.skipped), c.expectedSkipped, 1);
        EXPECT_NEAR(static_cast<double>(counts.written), c.expectedFrames, 1);

        const ReadBack r = Read(settings.path, false);
        ASSERT_TRUE(r.opened);
        EXPECT_DOUBLE_EQ(av_q2d(r.rate), 15.0);
        EXPECT_NEAR(r.packets, c.expectedFrames, 1);
        // The last frame came a camera period before the 3 s were up.
        EXPECT_NEAR(static_cast<double>(r.positions) / 15.0, 3.0 - 1.0 / c.cameraFps, 0.07);
        EXPECT_NEAR(r.headerSeconds, 3.0, 0.2);
    }
}

TEST(AviRecorder, ClockLeapsAndEarlyFramesDoNotStretchTheRecording) {
    test::TempDir dir;
    AviRecorder recorder;
    std::string error;
    const RecorderSettings settings = Settings(dir, 320, 240, 15);
    ASSERT_TRUE(recorder.Open(settings, error)) << error;
    const Frames frames(320, 240);
    Feed(recorder, frames, 15, kSecond / 15, 100 * kSecond);
    recorder.WriteFrame(frames.At(50 * kSecond));  // before the first frame: skipped
    // The camera's clock leaps an hour: the recording goes on right after the last frame.
    Feed(recorder, frames, 15, kSecond / 15, 3700 * kSecond);
    ASSERT_TRUE(recorder.Close());
    EXPECT_EQ(recorder.Counts().skipped, 1u);
    const ReadBack r = Read(settings.path, false);
    EXPECT_EQ(r.packets, 30);
    EXPECT_EQ(r.positions, 30);
}

TEST(AviRecorder, MarkedTopRowReadsBackOnTop) {
    for (const std::string encoder : {"", "mjpeg", "ffv1"}) {
        for (const bool topDown : {false, true}) {
            SCOPED_TRACE(encoder + (topDown ? " top-down" : " bottom-up"));
            test::TempDir dir;
            AviRecorder recorder;
            std::string error;
            const RecorderSettings settings = Settings(dir, 64, 48, 15, encoder);
            ASSERT_TRUE(recorder.Open(settings, error)) << error;
            Feed(recorder, Frames(64, 48, topDown), 3, kSecond / 15);
            ASSERT_TRUE(recorder.Close());
            const ReadBack r = Read(settings.path);
            ASSERT_EQ(r.decoded, 3);
            ASSERT_EQ(r.width, 64);
            const auto pixel = [&](int x, int y) {
                return &r.firstFrame[(static_cast<std::size_t>(y) * 64 + x) * 3];
            };
            EXPECT_GT(pixel(10, 0)[2], 200);  // red on top
            EXPECT_LT(pixel(10, 0)[1], 60);
            EXPECT_NEAR(pixel(10, 47)[2], 128, 12);  // grey at the bottom
            EXPECT_NEAR(pixel(10, 47)[1], 128, 12);
        }
    }
}

TEST(AviRecorder, EveryListedEncoderWritesAReadableStreamInOrder) {
    const std::vector<VideoEncoderInfo> listed = ListVideoEncoders(320, 240, 15);
    ASSERT_FALSE(listed.empty());
    EXPECT_EQ(listed.front().name, "rawvideo");  // the default comes first
    std::vector<std::string> names;
    for (const VideoEncoderInfo& info : listed) {
        names.push_back(info.name);
    }
    for (const char* needed : {"mjpeg", "ffv1", "mpeg4"}) {
        EXPECT_NE(std::find(names.begin(), names.end(), needed), names.end()) << needed;
    }
    for (const VideoEncoderInfo& info : listed) {
        SCOPED_TRACE(info.name);
        test::TempDir dir;
        AviRecorder recorder;
        std::string error;
        RecorderSettings settings = Settings(dir, 320, 240, 15, info.name);
        settings.compression.quality = info.hasQuality ? 75 : 0;
        ASSERT_TRUE(recorder.Open(settings, error)) << error;
        Feed(recorder, Frames(320, 240), 40, kSecond / 15);
        ASSERT_TRUE(recorder.Close()) << recorder.FailureText();
        // No frame held back for reordering: all 40 come out, at 40 consecutive positions.
        const ReadBack r = Read(settings.path);
        EXPECT_EQ(r.packets, 40);
        EXPECT_EQ(r.positions, 40);
        EXPECT_EQ(r.decoded, 40);
    }
}

TEST(AviRecorder, EncoderThatCannotOpenLeavesThePreviousChoice) {
    CompressionOptions current{"mjpeg", 90};
    std::string error;
    // H.263 takes only its five picture sizes.
    EXPECT_FALSE(ChooseCompression(current, {"h263", 0}, 640, 480, 15, error));
    EXPECT_EQ(current, (CompressionOptions{"mjpeg", 90}));
    EXPECT_NE(error.find("640x480"), std::string::npos) << error;
    EXPECT_FALSE(ChooseCompression(current, {"no-such-encoder", 0}, 640, 480, 15, error));
    EXPECT_EQ(current.encoder, "mjpeg");
    EXPECT_TRUE(ChooseCompression(current, {"h263", 0}, 352, 288, 15, error)) << error;
    EXPECT_EQ(current.encoder, "h263");
    EXPECT_TRUE(ChooseCompression(current, {}, 640, 480, 15, error)) << error;
    EXPECT_EQ(current, CompressionOptions{});
}

TEST(AviRecorder, OpenFailureLeavesNothingOpen) {
    test::TempDir dir;
    AviRecorder recorder;
    std::string error;
    RecorderSettings settings = Settings(dir, 320, 240, 15);
    settings.path = (dir.Path() / "missing" / "Video_N0001.avi").string();
    EXPECT_FALSE(recorder.Open(settings, error));
    EXPECT_NE(error.find("Open avi file failed"), std::string::npos) << error;
    EXPECT_FALSE(recorder.IsOpen());
    recorder.WriteFrame(Frames(320, 240).At(0));  // ignored, no crash

    settings = Settings(dir, 640, 480, 15, "h263");
    EXPECT_FALSE(recorder.Open(settings, error));
    EXPECT_FALSE(std::filesystem::exists(settings.path));
}

// A file that fails with ENOSPC from its n-th write on, or holds every write until released.
class FaultyFile final : public RecordingFile {
  public:
    FaultyFile(std::unique_ptr<RecordingFile> inner, int failFrom, std::atomic<bool>* hold,
               std::atomic<bool>* held = nullptr)
        : inner_(std::move(inner)), failFrom_(failFrom), hold_(hold), held_(held) {}
    int Write(const std::uint8_t* bytes, std::size_t size) override {
        while (hold_ != nullptr && hold_->load()) {
            if (held_ != nullptr) {
                held_->store(true);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        if (failFrom_ > 0 && ++writes_ >= failFrom_) {
            return -ENOSPC;
        }
        return inner_->Write(bytes, size);
    }
    std::int64_t Seek(std::int64_t offset, int whence) override {
        return inner_->Seek(offset, whence);
    }
    std::int64_t Size() override { return inner_->Size(); }
    int Close() override { return inner_->Close(); }

  private:
    std::unique_ptr<RecordingFile> inner_;
    int failFrom_;
    int writes_ = 0;
    std::atomic<bool>* hold_;
    std::atomic<bool>* held_;
};

TEST(AviRecorder, FullDiskStopsCleanlyKeepsWhatWasWrittenAndReports) {
    test::TempDir dir;
    AviRecorder recorder;
    std::string error;
    RecorderSettings settings = Settings(dir, 320, 240, 15, "mjpeg");
    settings.createFile = [](const std::string& path, std::string& e) {
        return std::make_unique<FaultyFile>(CreateRecordingFile(path, e), 6, nullptr);
    };
    std::vector<std::string> reports;
    recorder.SetFailureHandler([&](const std::string& text) { reports.push_back(text); });
    ASSERT_TRUE(recorder.Open(settings, error)) << error;
    Feed(recorder, Frames(320, 240), 150, kSecond / 15);
    EXPECT_TRUE(recorder.Failed());
    EXPECT_FALSE(recorder.Close());
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_NE(reports[0].find(std::strerror(ENOSPC)), std::string::npos) << reports[0];
    EXPECT_EQ(recorder.FailureText(), reports[0]);
    const RecordingCounts counts = recorder.Counts();
    EXPECT_GT(counts.refused, 0u);  // frames after the failure are not queued
    const ReadBack r = Read(settings.path);
    ASSERT_TRUE(r.opened);
    EXPECT_GT(r.decoded, 0);
    EXPECT_LT(r.packets, 150);
}

TEST(AviRecorder, BusyWriterDropsAndCountsFramesWithoutStallingCapture) {
    test::TempDir dir;
    AviRecorder recorder;
    std::string error;
    std::atomic<bool> hold{false};
    std::atomic<bool> held{false};
    RecorderSettings settings = Settings(dir, 320, 240, 15);
    settings.queueFrames = 3;
    settings.createFile = [&](const std::string& path, std::string& e) {
        return std::make_unique<FaultyFile>(CreateRecordingFile(path, e), 0, &hold, &held);
    };
    ASSERT_TRUE(recorder.Open(settings, error)) << error;
    const Frames frames(320, 240);
    hold = true;
    recorder.WriteFrame(frames.At(0));
    while (!held.load()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    // 19 more frames while the disk holds every write: the capture thread never waits; the
    // writer has the first frame in hand, three wait in the queue, the rest are dropped.
    for (int i = 1; i < 20; ++i) {
        recorder.WriteFrame(frames.At(i * kSecond / 15));
    }
    hold = false;
    recorder.WaitUntilIdle();
    ASSERT_TRUE(recorder.Close());
    const RecordingCounts counts = recorder.Counts();
    EXPECT_EQ(counts.dropped, 16u);
    EXPECT_EQ(counts.written, 4u);
    EXPECT_EQ(counts.skipped, 0u);
    EXPECT_EQ(Read(settings.path, false).packets, 4);
    EXPECT_NE(AviRecorder::Summary("x.avi", counts).find("16 dropped"), std::string::npos);
}

TEST(AviRecorder, KilledProgramLeavesAFileReadableUpToTheLastSecond) {
#if defined(__SANITIZE_THREAD__)
    // ThreadSanitizer does not follow a forked child that starts threads of its own.
    GTEST_SKIP() << "fork with threads is not supported under ThreadSanitizer";
#endif
    test::TempDir dir;
    const RecorderSettings settings = Settings(dir, 320, 240, 15, "mjpeg");
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        close(ready[0]);
        AviRecorder recorder;
        std::string error;
        if (!recorder.Open(settings, error)) {
            _exit(2);
        }
        // 3.5 s of frames: flushed at 1, 2 and 3 s; the last half second may stay buffered.
        Feed(recorder, Frames(320, 240), 52, kSecond / 15);
        const char byte = 1;
        (void)!write(ready[1], &byte, 1);
        pause();
        _exit(3);
    }
    close(ready[1]);
    char byte = 0;
    ASSERT_EQ(read(ready[0], &byte, 1), 1);
    close(ready[0]);
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status));
    const ReadBack r = Read(settings.path);
    ASSERT_TRUE(r.opened);
    EXPECT_GE(r.decoded, 45);
    EXPECT_LE(r.decoded, 52);
}

}  // namespace
}  // namespace lensora
