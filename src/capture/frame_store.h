// The latest camera frame: its 40-byte bitmap header, bottom-up 24-bit BGR rows in a buffer that
// only grows, and its sample time, all under one lock. Written by the capture thread for every
// frame, read by the user-interface thread (preview, snapshot). The copy-out is short so the
// capture thread never waits long; nothing is allocated once the frame size is stable.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

namespace lensora {

// The platform's 40-byte bitmap information header, as the snapshot and recorder expect it.
struct BitmapInfoHeader {
    std::uint32_t size = 40;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::uint16_t planes = 1;
    std::uint16_t bitCount = 24;
    std::uint32_t compression = 0;
    std::uint32_t sizeImage = 0;
    std::int32_t xPelsPerMeter = 0;
    std::int32_t yPelsPerMeter = 0;
    std::uint32_t clrUsed = 0;
    std::uint32_t clrImportant = 0;
    friend bool operator==(const BitmapInfoHeader&, const BitmapInfoHeader&) = default;
};
static_assert(sizeof(BitmapInfoHeader) == 40);

BitmapInfoHeader FrameHeader(int width, int height);

// A frame copied out of the store; its buffer is reused from one copy to the next.
struct FrameCopy {
    BitmapInfoHeader header;
    std::int64_t sampleTime = 0;
    std::uint64_t sequence = 0;  // 0: no frame yet
    std::vector<std::uint8_t> bytes;
};

class FrameStore {
  public:
    // Copies one frame in (flipping top-down rows to bottom-up); `stride` is the source's row
    // pitch (0: width * 3).
    void Store(const std::uint8_t* bytes, int width, int height, std::size_t stride, bool topDown,
               std::int64_t sampleTime);

    // Copies the latest frame into `out` unless `out` already holds it. False when there is
    // no frame or nothing new.
    bool CopyLatest(FrameCopy& out) const;
    // Runs `reader(header, bytes, sampleTime)` under the lock; false when there is no frame.
    template <typename Reader>
    bool Read(Reader&& reader) const {
        std::lock_guard lock(mutex_);
        if (sequence_ == 0) {
            return false;
        }
        reader(header_, buffer_.get(), sampleTime_);
        return true;
    }

    BitmapInfoHeader Header() const;
    std::uint64_t Sequence() const;
    std::size_t Capacity() const;
    // How often the buffer was (re)allocated: stays put while the frame size is stable.
    std::size_t Allocations() const { return allocations_.load(std::memory_order_relaxed); }
    void Clear();

  private:
    mutable std::mutex mutex_;
    BitmapInfoHeader header_;
    std::unique_ptr<std::uint8_t[]> buffer_;
    std::size_t capacity_ = 0;
    std::int64_t sampleTime_ = 0;
    std::uint64_t sequence_ = 0;
    std::atomic<std::size_t> allocations_{0};
};

}  // namespace lensora
