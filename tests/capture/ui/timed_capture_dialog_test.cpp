#include "capture/ui/timed_capture_dialog.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <atomic>

#include "support/event_loop.h"

namespace lensora {
namespace {

// The calendar stands still at 2026-12-08 10:00:00; the steady clock runs in real time.
class StillClock final : public TimedCaptureClock {
  public:
    CalendarTime Now() override { return {2026, 12, 8, 10, 0, 0}; }
    std::int64_t SteadyMs() override { return real_->SteadyMs(); }
    void Sleep(std::int64_t ms) override { real_->Sleep(ms); }

  private:
    std::unique_ptr<TimedCaptureClock> real_ = SystemTimedCaptureClock();
};

TEST(TimedCaptureDialog, OpensAtNowWithTheSizeEstimateAndRefusesThePast) {
    StillClock clock;
    std::atomic<int> requests{0};
    TimedCaptureDialog dialog(clock, {1600, 1200, true}, [&] { ++requests; });
    std::vector<QString> messages;
    dialog.showMessage = [&](const QString& text) { messages.push_back(text); };
    EXPECT_EQ(dialog.Field(1017)->value(), 2026);
    EXPECT_EQ(dialog.Field(1020)->value(), 10);
    EXPECT_EQ(dialog.Field(1024)->value(), 3);
    EXPECT_EQ(dialog.Field(1025)->value(), 8);
    EXPECT_EQ(dialog.SizeLabel()->text(), "  24. 0");

    dialog.Field(1020)->setValue(9);  // an hour ago
    dialog.StartButton()->click();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "The time of your setting must be a future time!");
    EXPECT_FALSE(dialog.Running());

    dialog.Field(1020)->setValue(24);  // never on the clock: refused instead of waiting forever
    dialog.StartButton()->click();
    EXPECT_EQ(messages.size(), 2u);
    EXPECT_FALSE(dialog.Running());
    EXPECT_EQ(requests.load(), 0);
}

TEST(TimedCaptureDialog, StartNowTakesTheFirstSnapshotAtOnceAndStopResets) {
    StillClock clock;
    std::atomic<int> requests{0};
    TimedCaptureDialog dialog(clock, {640, 480, true}, [&] { ++requests; });
    dialog.StartButton()->click();  // the start time is now
    EXPECT_EQ(dialog.StartButton()->text(), "Stop");
    ASSERT_TRUE(test::WaitUntil([&] { return dialog.CompletedLabel()->text() == "1"; }));
    EXPECT_EQ(requests.load(), 1);
    dialog.StartButton()->click();
    EXPECT_FALSE(dialog.Running());
    EXPECT_EQ(dialog.StartButton()->text(), "Start");
    EXPECT_EQ(dialog.CompletedLabel()->text(), "0");
}

}  // namespace
}  // namespace lensora
