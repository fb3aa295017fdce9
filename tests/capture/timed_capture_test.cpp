#include "capture/timed_capture.h"

#include <gtest/gtest.h>

#include <mutex>
#include <vector>

namespace lensora {
namespace {

// Virtual time: every sleep advances it at once (with a short real pause so that a test can
// stop the worker while it waits). The calendar starts at 2026-12-08 10:00:00.
class FakeClock final : public TimedCaptureClock {
  public:
    CalendarTime Now() override {
        std::lock_guard lock(mutex_);
        const std::int64_t s = 10 * 3600 + ms_ / 1000;
        return {2026,
                12,
                8,
                static_cast<int>(s / 3600),
                static_cast<int>(s / 60 % 60),
                static_cast<int>(s % 60)};
    }
    std::int64_t SteadyMs() override {
        std::lock_guard lock(mutex_);
        return ms_;
    }
    void Sleep(std::int64_t ms) override {
        {
            std::lock_guard lock(mutex_);
            ms_ += ms;
        }
        std::this_thread::sleep_for(std::chrono::microseconds(realPauseUs));
    }
    int realPauseUs = 0;

  private:
    std::mutex mutex_;
    std::int64_t ms_ = 0;
};

struct Record {
    std::mutex mutex;
    std::vector<std::int64_t> shots;  // virtual ms of each request
    int completed = 0;
    std::int64_t finishedAt = -1;
};

TimedCaptureWorker::Hooks HooksFor(Record& r, FakeClock& clock) {
    return {[&] {
                std::lock_guard lock(r.mutex);
                r.shots.push_back(clock.SteadyMs());
            },
            [&](int n) {
                std::lock_guard lock(r.mutex);
                r.completed = n;
            },
            [&] {
                std::lock_guard lock(r.mutex);
                r.finishedAt = clock.SteadyMs();
            }};
}

TEST(TimedCapture, ThreeSnapshotsThreeSecondsApartThenTheDialogCloses) {
    FakeClock clock;
    Record r;
    TimedCaptureWorker worker(clock, HooksFor(r, clock));
    // Starts at 10:00:02: the first snapshot comes when the clock reaches that second.
    worker.Start({2026, 12, 8, 10, 0, 2}, 3000, 3);
    while (!worker.Done()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ASSERT_EQ(r.shots.size(), 3u);
    EXPECT_EQ(r.shots[0], 2000);
    EXPECT_EQ(r.shots[1] - r.shots[0], 3000);
    EXPECT_EQ(r.shots[2] - r.shots[0], 6000);
    EXPECT_EQ(r.completed, 3);
    EXPECT_EQ(r.finishedAt - r.shots[0], 9000);
    EXPECT_FALSE(worker.Running());
}

TEST(TimedCapture, AStartSecondAlreadyPassedStartsAtOnceAndStopWhileWaitingTakesNone) {
    FakeClock clock;
    Record r;
    TimedCaptureWorker worker(clock, HooksFor(r, clock));
    clock.Sleep(5000);  // the worker was not scheduled while its start second went by
    worker.Start({2026, 12, 8, 10, 0, 3}, 3000, 1);
    for (int i = 0; i < 2000 && !worker.Done(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    worker.StopAndWait();
    EXPECT_EQ(r.shots, std::vector<std::int64_t>{5000});

    FakeClock slow;
    slow.realPauseUs = 1000;
    Record none;
    TimedCaptureWorker waiting(slow, HooksFor(none, slow));
    waiting.Start({2026, 12, 8, 11, 0, 0}, 3000, 5);  // an hour ahead
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    waiting.StopAndWait();
    EXPECT_TRUE(none.shots.empty());
    EXPECT_EQ(none.completed, 0);
    EXPECT_EQ(none.finishedAt, -1);
}

TEST(TimedCapture, FormRefusesOutOfRangeValuesAndThePast) {
    const CalendarTime now{2026, 12, 8, 10, 0, 0};
    TimedCaptureForm form;
    form.start = now;  // exactly now is accepted
    TimedCaptureCheck check = CheckTimedCaptureForm(form, now);
    ASSERT_TRUE(check.ok) << check.message;
    EXPECT_EQ(check.intervalMs, 3000);
    form.intervalMinutes = 2;
    EXPECT_EQ(CheckTimedCaptureForm(form, now).intervalMs, 123000);

    const auto refused = [&](auto change) {
        TimedCaptureForm f;
        f.start = {2026, 12, 8, 11, 0, 0};
        change(f);
        return !CheckTimedCaptureForm(f, now).ok;
    };
    EXPECT_TRUE(refused([](TimedCaptureForm& f) {
        f.intervalSeconds = 2;
        f.intervalMinutes = 5;  // 2 s is refused even with minutes
    }));
    EXPECT_TRUE(refused([](TimedCaptureForm& f) { f.number = 201; }));
    EXPECT_TRUE(refused([](TimedCaptureForm& f) { f.start.hour = 24; }));
    EXPECT_TRUE(refused([](TimedCaptureForm& f) { f.start.minute = 60; }));
    EXPECT_TRUE(refused([](TimedCaptureForm& f) { f.start.second = 60; }));
    EXPECT_TRUE(refused([](TimedCaptureForm& f) { f.start.year = 2033; }));
    EXPECT_FALSE(refused([](TimedCaptureForm& f) { f.intervalSeconds = 60; }));

    form.start = {2026, 12, 8, 9, 59, 59};
    check = CheckTimedCaptureForm(form, now);
    EXPECT_FALSE(check.ok);
    EXPECT_EQ(check.message, "The time of your setting must be a future time!");
    form.start = {2025, 12, 31, 23, 59, 59};
    EXPECT_FALSE(CheckTimedCaptureForm(form, now).ok);
}

TEST(TimedCapture, SizeEstimate) {
    EXPECT_EQ(TimedCaptureSizeText(8, 1600, 1200, true), "  24. 0");
    // 1 x 640 x 480 x 3 x 5 / 65536 = 70.3125: 0 hundreds and 70 hundredths.
    EXPECT_EQ(TimedCaptureSizeText(1, 640, 480, false), "   0.70");
    EXPECT_EQ(TimedCaptureSizeText(200, 1600, 1200, true), " 600. 0");
}

}  // namespace
}  // namespace lensora
