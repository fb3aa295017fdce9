// The snapshot request: four flags set by the requesters (user, timed capture, frame grab, the
// camera's button) on any thread and consumed by the frame handler on the capture thread.
// Lock-free; each flag is atomic on its own.
#pragma once

#include <atomic>
#include <optional>

namespace lensora {

inline constexpr int kSnapshotByProgram = 0;
inline constexpr int kSnapshotByButton = 1;

class SnapshotRequest {
  public:
    // The user's snapshot: with the shutter sound, written to a file.
    void RequestByUser() {
        shutterSound.store(true);
        grabIntoMemory.store(false);
        Request(kSnapshotByProgram);
    }
    // A frame grab into memory: silent, kept in memory.
    void RequestGrab() {
        shutterSound.store(false);
        grabIntoMemory.store(true);
        Request(kSnapshotByProgram);
    }
    // Timed capture and the camera button leave the sound and memory flags as they are.
    void Request(int source) {
        source_.store(source);
        requested_.store(true, std::memory_order_release);
    }
    bool Requested() const { return requested_.load(std::memory_order_acquire); }

    // The frame handler takes the request: the source when one was pending; requested and the
    // source are cleared.
    std::optional<int> Consume() {
        if (!requested_.exchange(false, std::memory_order_acq_rel)) {
            return std::nullopt;
        }
        return source_.exchange(kSnapshotByProgram);
    }

    std::atomic<bool> shutterSound{false};
    std::atomic<bool> grabIntoMemory{false};

  private:
    std::atomic<bool> requested_{false};
    std::atomic<int> source_{kSnapshotByProgram};
};

}  // namespace lensora
