#include "capture/avi_recorder.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fmt/format.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/buffer.h>
}

namespace lensora {
namespace {

constexpr int kIoBufferSize = 64 * 1024;
constexpr std::int64_t kFlushIntervalMs = 1000;
constexpr std::int64_t kTicksPerSecond = 10'000'000;  // capture times are in 100 ns units
// A capture clock that leaps further than this is not followed: the next frame continues the
// recording right after the last one instead of writing minutes of empty chunks.
constexpr std::int64_t kMaxGapSeconds = 10;

std::int64_t SteadyMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

class PosixRecordingFile final : public RecordingFile {
  public:
    explicit PosixRecordingFile(int fd) : fd_(fd) {}
    ~PosixRecordingFile() override { Close(); }

    int Write(const std::uint8_t* bytes, std::size_t size) override {
        while (size > 0) {
            const ssize_t n = ::write(fd_, bytes, size);
            if (n < 0) {
                if (errno == EINTR) {
                    continue;
                }
                return -errno;
            }
            bytes += n;
            size -= static_cast<std::size_t>(n);
        }
        return 0;
    }
    std::int64_t Seek(std::int64_t offset, int whence) override {
        const off_t at = ::lseek(fd_, offset, whence);
        return at < 0 ? -errno : at;
    }
    std::int64_t Size() override {
        struct stat st {};
        return ::fstat(fd_, &st) < 0 ? -errno : st.st_size;
    }
    int Close() override {
        if (fd_ < 0) {
            return 0;
        }
        const int rc = ::close(fd_);
        fd_ = -1;
        return rc < 0 ? -errno : 0;
    }

  private:
    int fd_;
};

int WritePacket(void* opaque, std::uint8_t* bytes, int size) {
    const int rc =
        static_cast<RecordingFile*>(opaque)->Write(bytes, static_cast<std::size_t>(size));
    return rc < 0 ? rc : size;  // a negative errno is FFmpeg's error code as it stands
}

std::int64_t SeekFile(void* opaque, std::int64_t offset, int whence) {
    auto* file = static_cast<RecordingFile*>(opaque);
    if ((whence & AVSEEK_SIZE) != 0) {
        return file->Size();
    }
    return file->Seek(offset, whence & ~AVSEEK_FORCE);
}

}  // namespace

std::unique_ptr<RecordingFile> CreateRecordingFile(const std::string& path, std::string& error) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) {
        error =
            fmt::format("Open avi file failed(0x{:08X}:{}): {}", errno, 0, std::strerror(errno));
        return nullptr;
    }
    return std::make_unique<PosixRecordingFile>(fd);
}

AviRecorder::~AviRecorder() {
    Close();
}

bool AviRecorder::Open(const RecorderSettings& settings, std::string& error) {
    Close();
    settings_ = settings;
    if (settings_.queueFrames == 0) {
        settings_.queueFrames = 1;
    }
    encoder_ = VideoEncoder::Open(settings_.compression, settings_.width, settings_.height,
                                  settings_.rate, error);
    if (!encoder_) {
        return false;
    }
    file_ = settings_.createFile ? settings_.createFile(settings_.path, error)
                                 : CreateRecordingFile(settings_.path, error);
    if (!file_) {
        ReleaseAll();
        return false;
    }
    const auto fail = [&](const std::string& text) {
        error = text;
        ReleaseAll();
        std::error_code ec;
        std::filesystem::remove(settings_.path, ec);
        return false;
    };
    if (avformat_alloc_output_context2(&format_, nullptr, "avi", settings_.path.c_str()) < 0) {
        return fail("the AVI writer is not available");
    }
    auto* ioBuffer = static_cast<std::uint8_t*>(av_malloc(kIoBufferSize));
    io_ = ioBuffer == nullptr ? nullptr
                              : avio_alloc_context(ioBuffer, kIoBufferSize, 1, file_.get(), nullptr,
                                                   WritePacket, SeekFile);
    if (io_ == nullptr) {
        av_free(ioBuffer);
        return fail("out of memory");
    }
    format_->pb = io_;
    format_->flags |= AVFMT_FLAG_CUSTOM_IO;
    AVStream* stream = avformat_new_stream(format_, nullptr);
    if (stream == nullptr ||
        avcodec_parameters_from_context(stream->codecpar, encoder_->Context()) < 0) {
        return fail("Create stream failed: out of memory");
    }
    stream->time_base = AVRational{1, settings_.rate};
    stream->avg_frame_rate = AVRational{settings_.rate, 1};
    streamIndex_ = stream->index;
    // The frame store's rows are bottom-up, as an uncompressed AVI frame is: the header says so
    // and the rows go in unchanged.
    AVDictionary* options = nullptr;
    av_dict_set(&options, "flipped_raw_rgb", "1", 0);
    const int rc = avformat_write_header(format_, &options);
    av_dict_free(&options);
    if (rc < 0) {
        return fail(fmt::format("Create stream failed(0x{:08X}:{}): {}", static_cast<unsigned>(-rc),
                                0, AvErrorText(rc)));
    }
    const std::size_t frameBytes =
        static_cast<std::size_t>(settings_.width) * static_cast<std::size_t>(settings_.height) * 3;
    pool_ = av_buffer_pool_init(frameBytes, nullptr);
    packet_ = av_packet_alloc();
    if (pool_ == nullptr || packet_ == nullptr) {
        return fail("out of memory");
    }
    {
        std::lock_guard lock(queueMutex_);
        counts_ = {};
        failure_.clear();
        queue_.clear();
        stopWriter_ = false;
        writerBusy_ = false;
    }
    failed_.store(false);
    haveT0_ = false;
    lastFlushPosition_ = 0;
    lastFlushMs_ = SteadyMs();
    dirty_ = false;
    writer_ = std::thread([this] { RunWriter(); });
    std::lock_guard lock(recordingLock_);
    open_.store(true);
    return true;
}

void AviRecorder::WriteFrame(const FrameInfo& frame) {
    std::lock_guard recording(recordingLock_);
    if (!open_.load()) {
        return;
    }
    const int width = settings_.width;
    const int height = settings_.height;
    const std::size_t row = static_cast<std::size_t>(width) * 3;
    const std::size_t stride = frame.stride == 0 ? row : frame.stride;
    const bool usable = frame.bytes != nullptr && frame.width == width && frame.height == height &&
                        stride >= row &&
                        frame.length >= stride * static_cast<std::size_t>(height - 1) + row;
    std::int64_t position = 0;
    {
        std::lock_guard lock(queueMutex_);
        ++counts_.received;
        if (!usable || failed_.load()) {
            ++counts_.refused;
            return;
        }
        if (!haveT0_) {
            t0_ = frame.sampleTime;
            haveT0_ = true;
        }
        const std::int64_t since = frame.sampleTime - t0_;
        position =
            since < 0 ? -1 : (since * settings_.rate + kTicksPerSecond / 2) / kTicksPerSecond;
        const std::int64_t last = counts_.lastPosition;
        if (position <= last) {
            ++counts_.skipped;
            return;
        }
        if (last >= 0 && position - last > kMaxGapSeconds * settings_.rate) {
            position = last + 1;
            t0_ = frame.sampleTime - position * kTicksPerSecond / settings_.rate;
        }
        if (queue_.size() >= settings_.queueFrames) {
            ++counts_.dropped;
            return;
        }
    }
    AVBufferRef* buffer = av_buffer_pool_get(pool_);
    if (buffer == nullptr) {
        std::lock_guard lock(queueMutex_);
        ++counts_.dropped;
        return;
    }
    std::uint8_t* out = buffer->data;
    if (!frame.topDown && stride == row) {
        std::memcpy(out, frame.bytes, row * static_cast<std::size_t>(height));
    } else {
        for (int y = 0; y < height; ++y) {
            const int sourceRow = frame.topDown ? height - 1 - y : y;
            std::memcpy(out + static_cast<std::size_t>(y) * row,
                        frame.bytes + static_cast<std::size_t>(sourceRow) * stride, row);
        }
    }
    {
        std::lock_guard lock(queueMutex_);
        queue_.push_back({buffer, position});
        counts_.lastPosition = position;
    }
    queueChanged_.notify_all();
}

void AviRecorder::RunWriter() {
    std::unique_lock lock(queueMutex_);
    while (true) {
        const auto wait = std::chrono::milliseconds(
            dirty_ ? std::max<std::int64_t>(1, kFlushIntervalMs - (SteadyMs() - lastFlushMs_))
                   : kFlushIntervalMs);
        queueChanged_.wait_for(lock, wait, [this] { return stopWriter_ || !queue_.empty(); });
        if (queue_.empty()) {
            if (stopWriter_) {
                return;
            }
            lock.unlock();
            MaybeFlush(true);
            lock.lock();
            continue;
        }
        Item item = queue_.front();
        queue_.pop_front();
        writerBusy_ = true;
        lock.unlock();
        if (!failed_.load()) {
            if (const int rc = WriteItem(item); rc < 0) {
                Fail(rc);
            }
        }
        av_buffer_unref(&item.buffer);
        lock.lock();
        writerBusy_ = false;
        queueChanged_.notify_all();
    }
}

int AviRecorder::WriteItem(const Item& item) {
    int rc = encoder_->Send(item.buffer, item.position);
    if (rc < 0) {
        return rc;
    }
    rc = DrainEncoder();
    if (rc < 0) {
        return rc;
    }
    {
        std::lock_guard lock(queueMutex_);
        ++counts_.written;
    }
    dirty_ = true;
    if (item.position - lastFlushPosition_ >= settings_.rate) {
        lastFlushPosition_ = item.position;
        MaybeFlush(true);
    } else {
        MaybeFlush(false);
    }
    return failed_.load() ? -1 : 0;
}

int AviRecorder::DrainEncoder() {
    const AVRational codecBase = encoder_->Context()->time_base;
    const AVRational streamBase = format_->streams[streamIndex_]->time_base;
    while (true) {
        const int rc = encoder_->Receive(packet_);
        if (rc == AVERROR(EAGAIN) || rc == AVERROR_EOF) {
            return 0;
        }
        if (rc < 0) {
            return rc;
        }
        packet_->stream_index = streamIndex_;
        av_packet_rescale_ts(packet_, codecBase, streamBase);
        const int written = av_write_frame(format_, packet_);
        av_packet_unref(packet_);
        if (written < 0) {
            return written;
        }
    }
}

void AviRecorder::MaybeFlush(bool force) {
    if (!dirty_ || failed_.load()) {
        return;
    }
    const std::int64_t now = SteadyMs();
    if (!force && now - lastFlushMs_ < kFlushIntervalMs) {
        return;
    }
    avio_flush(io_);
    lastFlushMs_ = now;
    dirty_ = false;
    if (io_->error < 0) {
        Fail(io_->error);
    }
}

void AviRecorder::Fail(int code) {
    if (failed_.exchange(true)) {
        return;
    }
    std::string text = fmt::format("Writing {} failed: {}", settings_.path, AvErrorText(code));
    {
        std::lock_guard lock(queueMutex_);
        failure_ = text;
    }
    if (onFailure_) {
        onFailure_(text);
    }
}

bool AviRecorder::Close() {
    {
        std::lock_guard recording(recordingLock_);
        if (!open_.exchange(false)) {
            return !failed_.load();
        }
    }
    {
        std::lock_guard lock(queueMutex_);
        stopWriter_ = true;
    }
    queueChanged_.notify_all();
    if (writer_.joinable()) {
        writer_.join();
    }
    if (!failed_.load()) {
        int rc = encoder_->SendEnd();
        if (rc >= 0) {
            rc = DrainEncoder();
        }
        if (rc >= 0) {
            rc = av_write_trailer(format_);
        }
        if (rc >= 0 && io_->error < 0) {
            rc = io_->error;
        }
        if (rc < 0) {
            Fail(rc);
        }
    }
    if (const int rc = file_->Close(); rc < 0) {
        Fail(rc);
    }
    ReleaseAll();
    return !failed_.load();
}

void AviRecorder::ReleaseAll() {
    if (format_ != nullptr) {
        format_->pb = nullptr;
        avformat_free_context(format_);
        format_ = nullptr;
    }
    if (io_ != nullptr) {
        av_freep(&io_->buffer);
        avio_context_free(&io_);
    }
    encoder_.reset();
    av_packet_free(&packet_);
    {
        std::lock_guard lock(queueMutex_);
        for (Item& item : queue_) {
            av_buffer_unref(&item.buffer);
        }
        queue_.clear();
    }
    av_buffer_pool_uninit(&pool_);
    file_.reset();
}

void AviRecorder::WaitUntilIdle() {
    std::unique_lock lock(queueMutex_);
    queueChanged_.wait(lock, [this] { return (queue_.empty() && !writerBusy_) || !open_.load(); });
}

RecordingCounts AviRecorder::Counts() const {
    std::lock_guard lock(queueMutex_);
    return counts_;
}

std::string AviRecorder::FailureText() const {
    std::lock_guard lock(queueMutex_);
    return failure_;
}

std::string AviRecorder::Summary(const std::string& fileName, const RecordingCounts& c) {
    return fmt::format(
        "{}: {} frames written, {} skipped (faster than the stream rate), {} dropped (writer "
        "busy)",
        fileName, c.written, c.skipped, c.dropped);
}

}  // namespace lensora
