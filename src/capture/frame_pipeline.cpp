#include "capture/frame_pipeline.h"

#include <chrono>

namespace lensora {

FramePipeline::FramePipeline(std::function<std::int64_t()> nowMs) : nowMs_(std::move(nowMs)) {
    if (!nowMs_) {
        nowMs_ = [] {
            return std::chrono::duration_cast<std::chrono::milliseconds>(
                       std::chrono::steady_clock::now().time_since_epoch())
                .count();
        };
    }
}

void FramePipeline::SetExpectedSize(int width, int height) {
    expectedWidth_.store(width);
    expectedHeight_.store(height);
}

void FramePipeline::OnFrame(const FrameInfo& frame) {
    lastFrameMs_.store(nowMs_());
    const int width = expectedWidth_.load();
    const int height = expectedHeight_.load();
    const std::size_t row = static_cast<std::size_t>(frame.width) * 3;
    const std::size_t stride = frame.stride == 0 ? row : frame.stride;
    const bool sizeMatches = width > 0 && frame.width == width && frame.height == height;
    // The last row needs only its pixels, not the padding after them.
    const bool complete = frame.bytes != nullptr && frame.length > 0 && stride >= row &&
                          frame.height > 0 &&
                          frame.length >= stride * static_cast<std::size_t>(frame.height - 1) + row;
    if (!sizeMatches || !complete) {
        dropped_.fetch_add(1);
        return;
    }
    if (const auto source = snapshot_.Consume()) {
        if (hooks_.snapshot) {
            hooks_.snapshot(*source);
        }
        return;
    }
    store_.Store(frame.bytes, frame.width, frame.height, stride, frame.topDown, frame.sampleTime);
    stored_.fetch_add(1);
    if (hooks_.record) {
        hooks_.record(frame);
    }
    if (!framePending_.exchange(true, std::memory_order_acq_rel) && hooks_.frameReady) {
        hooks_.frameReady();
    }
}

void FramePipeline::OnCameraButton() {
    if (buttonEnabled_.load()) {
        snapshot_.Request(kSnapshotByButton);
    }
}

}  // namespace lensora
