// The program's short sounds, played without waiting for them: a recording started or stopped,
// the shutter after a snapshot, a recording that reached its time limit. The program plays them
// through the desktop's audio; tests and machines without audio use the silent player, so a
// missing sound device is never an error. UI thread only.
#pragma once

namespace lensora {

enum class Sound { Recording = 180, Shutter = 181, TimeLimit = 182 };

class SoundPlayer {
  public:
    virtual ~SoundPlayer() = default;
    // Starts the sound and returns at once; a sound that cannot be played stays silent.
    virtual void Play(Sound sound) = 0;
};

class SilentSoundPlayer final : public SoundPlayer {
  public:
    void Play(Sound) override {}
};

}  // namespace lensora
