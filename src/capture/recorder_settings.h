// What the recorder dialog asks for before each recording, its checks, and the recording clock
// (one tick a second) with its stop at the limit. Plain values and rules; the dialog and the
// main window's timer drive them.
#pragma once

#include <string>

namespace lensora {

inline constexpr int kMinRecordingFrameRate = 1;
inline constexpr int kMaxRecordingFrameRate = 30;
inline constexpr int kMinRecordingLimit = 1;
inline constexpr int kMaxRecordingLimit = 99999;
// The limit of a recording whose time limit is switched off.
inline constexpr int kUnlimitedRecordingSeconds = 1800;

// The dialog's fields as typed, with the defaults it opens with.
struct RecorderForm {
    std::string frameRate = "15";
    bool limitOn = true;
    std::string timeLimit = "10";
};

struct RecorderFormCheck {
    bool ok = false;
    std::string message;   // why not, for the operator
    int limitSeconds = 0;  // the recording's limit when ok
};

RecorderFormCheck CheckRecorderForm(const RecorderForm& form);

// The step the dialog selects and applies when it opens: 640x480 of either sensor class.
int RecorderDefaultStep(bool largeSensor);
// The step a finished recording returns the camera to: the largest.
inline constexpr int kLargestResolutionStep = 2;

// The recording clock: Tick is called once a second while a recording runs, then once more
// half a second after the stop at the limit.
class RecordingClock {
  public:
    enum class Tick { Running, StopAtLimit, LimitReached };

    void Start(int limitSeconds) {
        limit_ = limitSeconds;
        elapsed_ = 0;
    }
    void Reset() { elapsed_ = 0; }
    Tick Advance();
    int Elapsed() const { return elapsed_; }
    int Limit() const { return limit_; }
    // "12Seconds": what the preview shows once a second has passed; empty before.
    std::string Text() const;

  private:
    int limit_ = kUnlimitedRecordingSeconds;
    int elapsed_ = 0;
};

}  // namespace lensora
