// The frame handler: every frame of the running stream passes here on the capture thread. A
// frame that does not match the negotiated size, or is short or empty, is dropped and counted.
// A pending snapshot request takes the frame instead of the store; otherwise the frame is
// copied into the store and the user-interface thread is woken, at most once until it has
// picked the frame up (a busy user interface drops frames, it never queues them).
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>

#include "capture/frame_source.h"
#include "capture/frame_store.h"
#include "capture/snapshot_request.h"

namespace lensora {

struct FrameHooks {
    // A snapshot was requested and this frame is it; `source` as in SnapshotRequest.
    std::function<void(int source)> snapshot;
    // A new frame is in the store and the UI has taken the previous one.
    std::function<void()> frameReady;
    // Each stored frame, for a running recording (called under no lock of this class).
    std::function<void(const FrameInfo&)> record;
};

class FramePipeline {
  public:
    explicit FramePipeline(std::function<std::int64_t()> nowMs = {});

    // Called on the capture thread only.
    void OnFrame(const FrameInfo& frame);
    void OnCameraButton();

    // Set by the controlling thread between streams.
    void SetExpectedSize(int width, int height);
    void SetButtonEnabled(bool enabled) { buttonEnabled_.store(enabled); }
    void SetHooks(FrameHooks hooks) { hooks_ = std::move(hooks); }

    // The UI thread takes the wake-up: the next stored frame may wake it again.
    void FrameTaken() { framePending_.store(false, std::memory_order_release); }
    bool FramePending() const { return framePending_.load(std::memory_order_acquire); }

    FrameStore& Store() { return store_; }
    const FrameStore& Store() const { return store_; }
    SnapshotRequest& Snapshot() { return snapshot_; }

    std::uint64_t FramesStored() const { return stored_.load(); }
    std::uint64_t FramesDropped() const { return dropped_.load(); }
    // Milliseconds of the last frame that arrived (kept or not), -1 before the first.
    std::int64_t LastFrameMs() const { return lastFrameMs_.load(); }
    std::int64_t NowMs() const { return nowMs_(); }

  private:
    std::function<std::int64_t()> nowMs_;
    FrameStore store_;
    SnapshotRequest snapshot_;
    FrameHooks hooks_;
    std::atomic<int> expectedWidth_{0};
    std::atomic<int> expectedHeight_{0};
    std::atomic<bool> buttonEnabled_{false};
    std::atomic<bool> framePending_{false};
    std::atomic<std::uint64_t> stored_{0};
    std::atomic<std::uint64_t> dropped_{0};
    std::atomic<std::int64_t> lastFrameMs_{-1};
};

}  // namespace lensora
