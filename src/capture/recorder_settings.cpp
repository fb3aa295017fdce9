#include "capture/recorder_settings.h"

#include <fmt/format.h>

#include <charconv>

namespace lensora {
namespace {

// A whole number in range, with nothing else around it but spaces.
bool ParseWhole(std::string text, int low, int high, int& value) {
    const auto first = text.find_first_not_of(' ');
    const auto last = text.find_last_not_of(' ');
    if (first == std::string::npos) {
        return false;
    }
    text = text.substr(first, last - first + 1);
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc{} && end == text.data() + text.size() && value >= low && value <= high;
}

}  // namespace

RecorderFormCheck CheckRecorderForm(const RecorderForm& form) {
    RecorderFormCheck check;
    int rate = 0;
    if (!ParseWhole(form.frameRate, kMinRecordingFrameRate, kMaxRecordingFrameRate, rate)) {
        check.message = fmt::format("The frame rate must be a whole number from {} to {}.",
                                    kMinRecordingFrameRate, kMaxRecordingFrameRate);
        return check;
    }
    if (!form.limitOn) {
        check.ok = true;
        check.limitSeconds = kUnlimitedRecordingSeconds;
        return check;
    }
    int limit = 0;
    if (!ParseWhole(form.timeLimit, kMinRecordingLimit, kMaxRecordingLimit, limit)) {
        check.message =
            fmt::format("The time limit must be a whole number of seconds from {} to {}.",
                        kMinRecordingLimit, kMaxRecordingLimit);
        return check;
    }
    check.ok = true;
    check.limitSeconds = limit;
    return check;
}

int RecorderDefaultStep(bool largeSensor) {
    return largeSensor ? 0 : 1;
}

RecordingClock::Tick RecordingClock::Advance() {
    ++elapsed_;
    if (elapsed_ == limit_) {
        return Tick::StopAtLimit;
    }
    if (elapsed_ > limit_) {
        elapsed_ = 0;
        return Tick::LimitReached;
    }
    return Tick::Running;
}

std::string RecordingClock::Text() const {
    return elapsed_ > 0 ? fmt::format("{}Seconds", elapsed_) : std::string();
}

}  // namespace lensora
