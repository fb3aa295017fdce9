#include "capture/timed_capture.h"

#include <fmt/format.h>

#include <algorithm>
#include <ctime>

namespace lensora {
namespace {

constexpr std::int64_t kStartPollMs = 5;
constexpr std::int64_t kIntervalStepMs = 10;

bool InRange(int value, int low, int high) {
    return value >= low && value <= high;
}

class SystemClock final : public TimedCaptureClock {
  public:
    CalendarTime Now() override {
        const std::time_t now = std::time(nullptr);
        std::tm t{};
        localtime_r(&now, &t);
        return {t.tm_year + 1900, t.tm_mon + 1, t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec};
    }
    std::int64_t SteadyMs() override {
        return std::chrono::duration_cast<std::chrono::milliseconds>(
                   std::chrono::steady_clock::now().time_since_epoch())
            .count();
    }
    void Sleep(std::int64_t ms) override {
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
    }
};

}  // namespace

TimedCaptureCheck CheckTimedCaptureForm(const TimedCaptureForm& f, const CalendarTime& now) {
    TimedCaptureCheck check;
    const auto refuse = [&](std::string_view field, int low, int high) {
        check.message = fmt::format("Please enter {} from {} to {}.", field, low, high);
        return check;
    };
    if (!InRange(f.intervalSeconds, 3, 60))
        return refuse("an interval of seconds", 3, 60);
    if (!InRange(f.intervalMinutes, 0, 999))
        return refuse("an interval of minutes", 0, 999);
    if (!InRange(f.number, 1, 200))
        return refuse("a number of snapshots", 1, 200);
    if (!InRange(f.start.year, 2008, 2032))
        return refuse("a year", 2008, 2032);
    if (!InRange(f.start.month, 1, 12))
        return refuse("a month", 1, 12);
    if (!InRange(f.start.day, 1, 31))
        return refuse("a day", 1, 31);
    // Hour 24 and minute or second 60 name no second the clock ever shows.
    if (!InRange(f.start.hour, 0, 23))
        return refuse("an hour", 0, 23);
    if (!InRange(f.start.minute, 0, 59))
        return refuse("a minute", 0, 59);
    if (!InRange(f.start.second, 0, 59))
        return refuse("a second", 0, 59);
    if (f.start < now) {
        check.message = kSetTimerFailText;
        return check;
    }
    check.ok = true;
    check.intervalMs = static_cast<std::int64_t>(f.intervalSeconds) * 1000 +
                       static_cast<std::int64_t>(f.intervalMinutes) * 60000;
    return check;
}

std::string TimedCaptureSizeText(int number, int width, int height, bool largeSensor) {
    const double size = static_cast<double>(width) * height * 3;
    const double e = number * size * (largeSensor ? 1.0 / 19200.0 : 5.0 / 65536.0);
    const int whole = static_cast<int>(e / 100.0);
    const int rest = static_cast<int>(e - 100.0 * whole);
    return fmt::format("{:4d}.{:2d}", whole, rest);
}

std::unique_ptr<TimedCaptureClock> SystemTimedCaptureClock() {
    return std::make_unique<SystemClock>();
}

TimedCaptureWorker::TimedCaptureWorker(TimedCaptureClock& clock, Hooks hooks)
    : clock_(clock), hooks_(std::move(hooks)) {}

TimedCaptureWorker::~TimedCaptureWorker() {
    StopAndWait();
}

void TimedCaptureWorker::Start(const CalendarTime& start, std::int64_t intervalMs, int number) {
    StopAndWait();
    running_.store(true);
    done_.store(false);
    thread_ = std::thread([this, start, intervalMs, number] { Run(start, intervalMs, number); });
}

void TimedCaptureWorker::StopAndWait() {
    Stop();
    if (thread_.joinable()) {
        thread_.join();
    }
}

void TimedCaptureWorker::Run(CalendarTime start, std::int64_t intervalMs, int number) {
    // Start once the clock has reached the start second, even if that very second passed
    // while this thread was not scheduled.
    while (running_.load() && clock_.Now() < start) {
        clock_.Sleep(kStartPollMs);
    }
    const std::int64_t first = clock_.SteadyMs();
    for (int i = 1; i <= number && running_.load(); ++i) {
        if (hooks_.requestSnapshot) {
            hooks_.requestSnapshot();
        }
        if (hooks_.completed) {
            hooks_.completed(i);
        }
        // Deadlines on the steady clock: the series does not drift by the steps' overhead.
        const std::int64_t deadline = first + i * intervalMs;
        for (std::int64_t now = clock_.SteadyMs(); running_.load() && now < deadline;
             now = clock_.SteadyMs()) {
            clock_.Sleep(std::min(kIntervalStepMs, deadline - now));
        }
    }
    if (running_.load() && hooks_.finished) {
        hooks_.finished();
    }
    running_.store(false);
    done_.store(true);
}

}  // namespace lensora
