#include "capture/frame_store.h"

#include <cstring>

namespace lensora {

BitmapInfoHeader FrameHeader(int width, int height) {
    BitmapInfoHeader h;
    h.width = width;
    h.height = height;
    h.sizeImage = static_cast<std::uint32_t>(width) * static_cast<std::uint32_t>(height) * 3u;
    return h;
}

void FrameStore::Store(const std::uint8_t* bytes, int width, int height, std::size_t stride,
                       bool topDown, std::int64_t sampleTime) {
    const std::size_t row = static_cast<std::size_t>(width) * 3;
    const std::size_t length = row * static_cast<std::size_t>(height);
    if (stride == 0) {
        stride = row;
    }
    std::lock_guard lock(mutex_);
    if (length > capacity_) {
        // make_unique_for_overwrite: the bytes are written right below, no need to zero them.
        buffer_ = std::make_unique_for_overwrite<std::uint8_t[]>(length);
        capacity_ = length;
        allocations_.fetch_add(1, std::memory_order_relaxed);
    }
    header_ = FrameHeader(width, height);
    sampleTime_ = sampleTime;
    std::uint8_t* out = buffer_.get();
    if (!topDown && stride == row) {
        std::memcpy(out, bytes, length);
    } else {
        for (int y = 0; y < height; ++y) {
            const int sourceRow = topDown ? height - 1 - y : y;
            std::memcpy(out + static_cast<std::size_t>(y) * row,
                        bytes + static_cast<std::size_t>(sourceRow) * stride, row);
        }
    }
    ++sequence_;
}

bool FrameStore::CopyLatest(FrameCopy& out) const {
    std::lock_guard lock(mutex_);
    if (sequence_ == 0 || out.sequence == sequence_) {
        return false;
    }
    out.header = header_;
    out.sampleTime = sampleTime_;
    out.sequence = sequence_;
    out.bytes.resize(header_.sizeImage);
    std::memcpy(out.bytes.data(), buffer_.get(), header_.sizeImage);
    return true;
}

BitmapInfoHeader FrameStore::Header() const {
    std::lock_guard lock(mutex_);
    return header_;
}

std::uint64_t FrameStore::Sequence() const {
    std::lock_guard lock(mutex_);
    return sequence_;
}

std::size_t FrameStore::Capacity() const {
    std::lock_guard lock(mutex_);
    return capacity_;
}

void FrameStore::Clear() {
    std::lock_guard lock(mutex_);
    header_ = BitmapInfoHeader{};
    sequence_ = 0;
    sampleTime_ = 0;
}

}  // namespace lensora
