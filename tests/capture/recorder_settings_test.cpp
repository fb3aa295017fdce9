#include "capture/recorder_settings.h"

#include <gtest/gtest.h>

namespace lensora {
namespace {

TEST(RecorderForm, DefaultsPassAndRangesAreChecked) {
    RecorderForm form;
    RecorderFormCheck check = CheckRecorderForm(form);
    ASSERT_TRUE(check.ok);
    EXPECT_EQ(check.limitSeconds, 10);

    for (const char* bad : {"0", "31", "", "15x", "-3", "1.5"}) {
        form = {};
        form.frameRate = bad;
        check = CheckRecorderForm(form);
        EXPECT_FALSE(check.ok) << bad;
        EXPECT_NE(check.message.find("frame rate"), std::string::npos);
    }
    for (const char* bad : {"0", "100000", " ", "ten"}) {
        form = {};
        form.timeLimit = bad;
        EXPECT_FALSE(CheckRecorderForm(form).ok) << bad;
    }
    form = {};
    form.frameRate = " 30 ";
    form.timeLimit = "99999";
    EXPECT_EQ(CheckRecorderForm(form).limitSeconds, 99999);

    // Without the limit the time field is not read and the recording stops after 1800 s.
    form = {};
    form.limitOn = false;
    form.timeLimit = "nonsense";
    check = CheckRecorderForm(form);
    ASSERT_TRUE(check.ok);
    EXPECT_EQ(check.limitSeconds, 1800);

    EXPECT_EQ(RecorderDefaultStep(true), 0);
    EXPECT_EQ(RecorderDefaultStep(false), 1);
}

TEST(RecordingClock, StopsAtTheLimitThenReportsItOnTheNextTick) {
    RecordingClock clock;
    clock.Start(3);
    EXPECT_EQ(clock.Text(), "");
    EXPECT_EQ(clock.Advance(), RecordingClock::Tick::Running);
    EXPECT_EQ(clock.Text(), "1Seconds");
    EXPECT_EQ(clock.Advance(), RecordingClock::Tick::Running);
    EXPECT_EQ(clock.Advance(), RecordingClock::Tick::StopAtLimit);
    EXPECT_EQ(clock.Text(), "3Seconds");
    EXPECT_EQ(clock.Advance(), RecordingClock::Tick::LimitReached);
    EXPECT_EQ(clock.Elapsed(), 0);
}

}  // namespace
}  // namespace lensora
