// Timed capture: a series of snapshots that starts at a local date and time and follows at a
// fixed interval. The form's checks, the size estimate, and the worker thread, which waits until
// the clock reaches (or has passed) the start second, then requests one snapshot per interval
// on a steady clock until the number is reached or it is stopped. The clock is injected so tests
// need not wait. The worker only calls the given callbacks (from its own thread).
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <thread>

namespace lensora {

// A local date and time to the second.
struct CalendarTime {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    friend auto operator<=>(const CalendarTime&, const CalendarTime&) = default;
};

struct TimedCaptureForm {
    int intervalSeconds = 3;  // 3..60
    int intervalMinutes = 0;  // 0..999
    int number = 8;           // 1..200
    CalendarTime start;       // year 2008..2032, hour 0..23, minute and second 0..59
};

struct TimedCaptureCheck {
    bool ok = false;
    std::string message;
    std::int64_t intervalMs = 0;
};

// Refuses values out of range, and a start before `now` with the past-time text; a start equal
// to `now` is accepted.
TimedCaptureCheck CheckTimedCaptureForm(const TimedCaptureForm& form, const CalendarTime& now);

// The estimated size of the series, "%4d.%2d" of E / 100 and its remaining hundredths, with
// E = number x width x height x 3 x (1 / 19200 for a large sensor, 5 / 65536 otherwise).
std::string TimedCaptureSizeText(int number, int width, int height, bool largeSensor);

class TimedCaptureClock {
  public:
    virtual ~TimedCaptureClock() = default;
    virtual CalendarTime Now() = 0;       // local time
    virtual std::int64_t SteadyMs() = 0;  // a clock that never jumps
    virtual void Sleep(std::int64_t ms) = 0;
};
std::unique_ptr<TimedCaptureClock> SystemTimedCaptureClock();

class TimedCaptureWorker {
  public:
    struct Hooks {
        std::function<void()> requestSnapshot;  // sets the snapshot request (program source)
        std::function<void(int)> completed;     // the count after each request
        std::function<void()> finished;         // all requested and one interval waited
    };

    TimedCaptureWorker(TimedCaptureClock& clock, Hooks hooks);
    ~TimedCaptureWorker();

    // Starts the series (a running one is stopped first).
    void Start(const CalendarTime& start, std::int64_t intervalMs, int number);
    // Clears the running flag; the worker ends within one step (10 ms).
    void Stop() { running_.store(false); }
    // Stop, then wait for the worker to end.
    void StopAndWait();
    bool Running() const { return running_.load(); }
    // The worker has ended (or never started).
    bool Done() const { return done_.load(); }

  private:
    void Run(CalendarTime start, std::int64_t intervalMs, int number);

    TimedCaptureClock& clock_;
    Hooks hooks_;
    std::atomic<bool> running_{false};
    std::atomic<bool> done_{true};
    std::thread thread_;
};

// The past-time notice (text key and default).
inline constexpr const char* kSetTimerFailKey = "SET_TIMER_FAIL";
inline constexpr const char* kSetTimerFailText = "The time of your setting must be a future time!";

}  // namespace lensora
