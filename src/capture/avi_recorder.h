// One AVI recording: the muxer (libavformat) over a file seam, an encoder, and a writer thread.
// WriteFrame runs on the capture thread and never waits for the encoder: it copies the frame
// into a bounded queue, or drops it (counted) when the queue is full. Each frame is placed by
// its capture time at position round((t - t0) x rate) in a stream of `rate` frames per second,
// so a recording plays back in real time; a frame that lands on a position already taken is
// skipped (counted apart from the drops), and the muxer fills gaps with empty chunks. The file
// is flushed at least once a second, so a killed program leaves a readable file; a write
// failure (a full disk) stops the recording, keeps what was written and is reported.
// Open and Close on one controlling thread; WriteFrame on any one other thread.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "capture/frame_source.h"
#include "capture/video_encoders.h"

struct AVBufferPool;
struct AVBufferRef;
struct AVFormatContext;
struct AVIOContext;
struct AVPacket;

namespace lensora {

// Where the muxer's bytes go. The POSIX file is the real one; tests put a failing one in front.
class RecordingFile {
  public:
    virtual ~RecordingFile() = default;
    // Writes every byte: 0, or a negative errno.
    virtual int Write(const std::uint8_t* bytes, std::size_t size) = 0;
    // lseek's whence; the new position, or a negative errno.
    virtual std::int64_t Seek(std::int64_t offset, int whence) = 0;
    // The file's size, or a negative errno.
    virtual std::int64_t Size() = 0;
    // 0, or a negative errno.
    virtual int Close() = 0;
};

// Creates (or truncates) `path`; null with the reason when it cannot.
std::unique_ptr<RecordingFile> CreateRecordingFile(const std::string& path, std::string& error);

struct RecorderSettings {
    std::string path;
    int width = 0;  // frame size in pixels
    int height = 0;
    int rate = 15;  // stream frames per second
    CompressionOptions compression;
    std::size_t queueFrames = 4;
    // The file seam; CreateRecordingFile when empty.
    std::function<std::unique_ptr<RecordingFile>(const std::string&, std::string&)> createFile;
};

struct RecordingCounts {
    std::uint64_t received = 0;  // frames handed to WriteFrame while open
    std::uint64_t written = 0;   // frames encoded and written
    std::uint64_t skipped = 0;   // arrived faster than the stream rate (on purpose)
    std::uint64_t dropped = 0;   // the writer queue was full (should stay 0)
    std::uint64_t refused = 0;   // wrong size, or after a write failure
    std::int64_t lastPosition = -1;
};

class AviRecorder {
  public:
    AviRecorder() = default;
    ~AviRecorder();
    AviRecorder(const AviRecorder&) = delete;
    AviRecorder& operator=(const AviRecorder&) = delete;

    // Closes a previous recording, then creates the file, the stream and the encoder and
    // starts the writer. False with the reason; nothing is left open then (a created file is
    // removed).
    bool Open(const RecorderSettings& settings, std::string& error);
    // Capture thread: queue one frame (bottom-up or top-down rows, any stride) stamped with
    // its capture time (100 ns units).
    void WriteFrame(const FrameInfo& frame);
    // Writes the queued frames and the index and closes the file. False when the recording
    // failed (the reason in FailureText); what was written stays readable either way.
    bool Close();

    bool IsOpen() const { return open_.load(); }
    const std::string& Path() const { return settings_.path; }
    RecordingCounts Counts() const;
    // A write failure ended the recording early (the file stays, up to what was written).
    bool Failed() const { return failed_.load(); }
    std::string FailureText() const;
    // Called once, on the writer thread, when a write fails. Set before Open.
    void SetFailureHandler(std::function<void(const std::string&)> handler) {
        onFailure_ = std::move(handler);
    }
    // Waits until the writer has taken every queued frame (tests and benchmarks).
    void WaitUntilIdle();

    // The one-line summary for the closing message.
    static std::string Summary(const std::string& fileName, const RecordingCounts& counts);

  private:
    struct Item {
        AVBufferRef* buffer = nullptr;
        std::int64_t position = 0;
    };
    void RunWriter();
    int WriteItem(const Item& item);
    int DrainEncoder();
    void MaybeFlush(bool idle);
    void Fail(int code);
    void ReleaseAll();

    RecorderSettings settings_;
    std::unique_ptr<RecordingFile> file_;
    std::unique_ptr<VideoEncoder> encoder_;
    AVFormatContext* format_ = nullptr;
    AVIOContext* io_ = nullptr;
    AVBufferPool* pool_ = nullptr;
    AVPacket* packet_ = nullptr;
    int streamIndex_ = 0;

    // The recording lock: WriteFrame against Open and Close.
    std::mutex recordingLock_;
    std::atomic<bool> open_{false};
    std::atomic<bool> failed_{false};
    std::int64_t t0_ = 0;  // capture thread only
    bool haveT0_ = false;

    mutable std::mutex queueMutex_;
    std::condition_variable queueChanged_;
    std::deque<Item> queue_;
    bool writerBusy_ = false;
    bool stopWriter_ = false;
    RecordingCounts counts_;
    std::string failure_;
    std::function<void(const std::string&)> onFailure_;
    std::thread writer_;

    // Writer thread only.
    std::int64_t lastFlushPosition_ = 0;
    std::int64_t lastFlushMs_ = 0;
    bool dirty_ = false;
};

}  // namespace lensora
