// Recording: the writer's cost per frame (queue hand-over, pixel conversion, encoding, muxing
// and writing) against avcodec_send_frame alone for the same frames, at 1600 x 1200 with Motion
// JPEG quality 90 and uncompressed; and real-time recordings of 20 s whose dropped frames
// (writer queue full) must stay 0, counted apart from the frames skipped on purpose (they
// arrive faster than the stream rate). Every file is deleted afterwards.
#include <benchmark/benchmark.h>
#include <time.h>

#include <chrono>
#include <filesystem>
#include <thread>
#include <vector>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/buffer.h>
}

#include "capture/avi_recorder.h"
#include "capture/capture_format.h"
#include "capture/virtual_microscope.h"

namespace lensora {
namespace {

double ProcessCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

std::string BenchPath(const char* name) {
    return (std::filesystem::temp_directory_path() / name).string();
}

// A few different frames of the virtual microscope (bottom-up BGR), so the encoder sees motion
// and noise as from the camera.
std::vector<std::vector<std::uint8_t>> SpecimenFrames(int width, int height, int count) {
    VirtualMicroscope microscope;
    microscope.Open(microscope.ListDevices().front());
    StreamFormat applied;
    microscope.SetFormat({width, height, 333333}, applied);
    std::vector<std::vector<std::uint8_t>> frames(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        frames[i].resize(static_cast<std::size_t>(width) * height * 3);
        microscope.RenderFrame(frames[i].data(), static_cast<std::uint64_t>(i) * 5);
    }
    microscope.Close();
    return frames;
}

CompressionOptions Options(int which) {
    return which == 0 ? CompressionOptions{} : CompressionOptions{"mjpeg", 90};
}

FrameInfo Info(const std::vector<std::uint8_t>& bytes, int width, int height, std::int64_t t) {
    FrameInfo f;
    f.bytes = bytes.data();
    f.length = bytes.size();
    f.width = width;
    f.height = height;
    f.sampleTime = t;
    return f;
}

// The whole writer per frame: WriteFrame's copy, then the writer thread's conversion, encoding,
// muxing and file write; the process CPU time per frame is the counter to compare.
void BM_RecorderWriterPerFrame(benchmark::State& state) {
    const int width = 1600, height = 1200;
    const auto frames = SpecimenFrames(width, height, 8);
    RecorderSettings settings;
    settings.path = BenchPath("lensora_bench_writer.avi");
    settings.width = width;
    settings.height = height;
    settings.rate = 5;
    settings.compression = Options(static_cast<int>(state.range(0)));
    AviRecorder recorder;
    std::string error;
    if (!recorder.Open(settings, error)) {
        state.SkipWithError(error.c_str());
        return;
    }
    std::int64_t position = 0;
    const double cpu0 = ProcessCpuSeconds();
    for (auto _ : state) {
        recorder.WriteFrame(Info(frames[position % frames.size()], width, height,
                                 position * 10'000'000 / settings.rate));
        recorder.WaitUntilIdle();
        ++position;
    }
    const double cpu = ProcessCpuSeconds() - cpu0;
    recorder.Close();
    std::filesystem::remove(settings.path);
    state.counters["cpu_ms_per_frame"] = cpu * 1e3 / static_cast<double>(state.iterations());
    state.counters["dropped"] = static_cast<double>(recorder.Counts().dropped);
}
BENCHMARK(BM_RecorderWriterPerFrame)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// The reference: avcodec_send_frame (and receiving the packet) alone for the same frames.
void BM_SendFrameAlone(benchmark::State& state) {
    const int width = 1600, height = 1200;
    const auto frames = SpecimenFrames(width, height, 8);
    std::string error;
    auto encoder =
        VideoEncoder::Open(Options(static_cast<int>(state.range(0))), width, height, 5, error);
    if (!encoder) {
        state.SkipWithError(error.c_str());
        return;
    }
    std::vector<AVBufferRef*> buffers;
    for (const auto& f : frames) {
        AVBufferRef* b = av_buffer_alloc(f.size());
        std::copy(f.begin(), f.end(), b->data);
        buffers.push_back(b);
    }
    AVPacket* packet = av_packet_alloc();
    std::int64_t position = 0;
    const double cpu0 = ProcessCpuSeconds();
    for (auto _ : state) {
        encoder->Send(buffers[position % buffers.size()], position);
        while (encoder->Receive(packet) == 0) {
            av_packet_unref(packet);
        }
        ++position;
    }
    const double cpu = ProcessCpuSeconds() - cpu0;
    state.counters["cpu_ms_per_frame"] = cpu * 1e3 / static_cast<double>(state.iterations());
    av_packet_free(&packet);
    for (AVBufferRef*& b : buffers) {
        av_buffer_unref(&b);
    }
}
BENCHMARK(BM_SendFrameAlone)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// A real-time recording: frames delivered at the camera's pace for 20 s (args: width, height,
// delivered fps, encoder 0 raw / 1 MJPEG q90). Goal: dropped = 0.
void BM_RealTimeRecording20s(benchmark::State& state) {
    const int width = static_cast<int>(state.range(0));
    const int height = static_cast<int>(state.range(1));
    const int fps = static_cast<int>(state.range(2));
    const auto frames = SpecimenFrames(width, height, 8);
    for (auto _ : state) {
        RecorderSettings settings;
        settings.path = BenchPath("lensora_bench_realtime.avi");
        settings.width = width;
        settings.height = height;
        settings.rate = RecordingFrameRate(true, width);
        settings.compression = Options(static_cast<int>(state.range(3)));
        AviRecorder recorder;
        std::string error;
        if (!recorder.Open(settings, error)) {
            state.SkipWithError(error.c_str());
            return;
        }
        const auto start = std::chrono::steady_clock::now();
        const auto period = std::chrono::nanoseconds(1'000'000'000 / fps);
        for (int i = 0; i < 20 * fps; ++i) {
            std::this_thread::sleep_until(start + i * period);
            const auto now = std::chrono::steady_clock::now() - start;
            recorder.WriteFrame(
                Info(frames[static_cast<std::size_t>(i) % frames.size()], width, height,
                     std::chrono::duration_cast<std::chrono::microseconds>(now).count() * 10));
        }
        recorder.Close();
        const RecordingCounts counts = recorder.Counts();
        state.counters["dropped"] = static_cast<double>(counts.dropped);
        state.counters["skipped"] = static_cast<double>(counts.skipped);
        state.counters["written"] = static_cast<double>(counts.written);
        state.counters["file_MB"] =
            static_cast<double>(std::filesystem::file_size(settings.path)) / 1e6;
        std::filesystem::remove(settings.path);
    }
}
BENCHMARK(BM_RealTimeRecording20s)
    ->Args({1600, 1200, 15, 1})
    ->Args({1600, 1200, 15, 0})
    ->Args({640, 480, 30, 0})
    ->Iterations(1)
    ->Unit(benchmark::kSecond)
    ->UseRealTime();

}  // namespace
}  // namespace lensora
