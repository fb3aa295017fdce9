#include "measure/calibration.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <string>

#include "base/number_format.h"
#include "measure/ini_table.h"
#include "support/fake_prompts.h"
#include "support/temp_dir.h"

namespace lensora {
namespace {
namespace fs = std::filesystem;
using test::FakePrompts;
using test::ReadFile;
using test::TempDir;

constexpr double kSmallPixelMm = 0.063829787234;  // mm per pixel, camera without 1600x1200
constexpr CameraFacts kSmallCamera{false, 1280, 1024};

bool HasInfOrNan(std::string_view text) {
    return text.find("inf") != std::string_view::npos || text.find("nan") != std::string_view::npos;
}

TEST(RateTextTest, LeadingNumberOrZero) {
    EXPECT_DOUBLE_EQ(ParseRateText("43.7"), 43.7);
    EXPECT_DOUBLE_EQ(ParseRateText("  60X"), 60.0);
    EXPECT_DOUBLE_EQ(ParseRateText("2e2"), 200.0);
    for (const char* none :
         {"", "abc", "X60", "0", "-5", "-0.1", "inf", "nan", "1e400", "1e-300", "1e9", "."}) {
        EXPECT_EQ(ParseRateText(none), 0.0) << none;
    }
    EXPECT_EQ(FormatRate(127.65957), "127.7");
    EXPECT_EQ(FormatRate(std::nan("")), "0.0");
}

TEST(PrepareRateTest, CalibratedBoxFirstThenMagnificationElseRefusal) {
    CalibrationState shared;
    ViewCalibration view(CalibrationView::Still, shared);
    FakePrompts prompts;

    EXPECT_TRUE(view.PrepareRate({"50", "43.7"}, prompts));
    EXPECT_DOUBLE_EQ(view.EffectiveRate(), 43.7);
    EXPECT_DOUBLE_EQ(shared.rateWorking, 43.7);

    EXPECT_TRUE(view.PrepareRate({"50", ""}, prompts));
    EXPECT_DOUBLE_EQ(view.EffectiveRate(), 50.0);
    EXPECT_TRUE(view.PrepareRate({"80", "junk"}, prompts));
    EXPECT_DOUBLE_EQ(view.EffectiveRate(), 80.0);
    EXPECT_TRUE(view.PrepareRate({"90", "-20"}, prompts));  // a negative rate is no rate
    EXPECT_DOUBLE_EQ(view.EffectiveRate(), 90.0);
    EXPECT_TRUE(prompts.shown.empty());

    // Neither box has a usable number: refused with the message, rates unchanged.
    for (RateBoxTexts boxes : {RateBoxTexts{"", ""}, RateBoxTexts{"abc", "0"},
                               RateBoxTexts{"-10", "1e999"}, RateBoxTexts{"0.0", "nan"}}) {
        EXPECT_FALSE(view.PrepareRate(boxes, prompts));
    }
    ASSERT_EQ(prompts.shown.size(), 4u);
    EXPECT_EQ(prompts.shown[0], "Please input the zoomIn scale!");
    EXPECT_EQ(prompts.icons[0], PromptIcon::Exclamation);
    EXPECT_DOUBLE_EQ(view.EffectiveRate(), 90.0);
    EXPECT_DOUBLE_EQ(shared.rateWorking, 90.0);
}

TEST(PrepareRateTest, CalibrationStartTakesTheMagnification) {
    CalibrationState shared;
    ViewCalibration view(CalibrationView::Live, shared);
    FakePrompts prompts;

    EXPECT_TRUE(view.StartCalibration({"50", "43.7"}, CalibrationTool::Line, prompts));
    EXPECT_DOUBLE_EQ(view.EffectiveRate(), 50.0);
    EXPECT_TRUE(view.WaitingForLine());
    // Without a magnification the calibrated number is the starting rate, never zero.
    EXPECT_TRUE(view.StartCalibration({"", "43.7"}, CalibrationTool::AutoLine, prompts));
    EXPECT_DOUBLE_EQ(view.EffectiveRate(), 43.7);
    EXPECT_EQ(view.Tool(), CalibrationTool::AutoLine);
    EXPECT_TRUE(view.StartCalibration({"60", ""}, CalibrationTool::Line, prompts));
    EXPECT_DOUBLE_EQ(view.EffectiveRate(), 60.0);
    EXPECT_TRUE(prompts.shown.empty());

    EXPECT_FALSE(view.StartCalibration({"", ""}, CalibrationTool::Line, prompts));
    EXPECT_FALSE(view.WaitingForLine());
    EXPECT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(CalibrationStatusText(CalibrationTool::Line).defaultText, "Line Calibration");
    EXPECT_EQ(CalibrationStatusText(CalibrationTool::AutoLine).defaultText,
              "Auto Line Calibration");
}

class StillCalibrationTest : public ::testing::Test {
  protected:
    StillCalibrationTest() : file_(dir_.Write("CalibrationIni.ini", "[10]\n10=5.0\n")) {}

    // A 200-pixel line measured at magnification 50 on a 1280x1024 picture in millimetres:
    // it measures 200 * 0.0638 * 10 / 50 = 2.5532 mm before the calibration.
    CalibrationResult Calibrate(std::optional<double> actual, int width = 1280, int height = 1024,
                                bool largeSensor = false) {
        EXPECT_TRUE(still_.StartCalibration({mag_, rate_}, CalibrationTool::Line, prompts_));
        CalibrationContext context;
        context.camera.largeSensor = largeSensor;
        context.pictureWidth = width;
        context.pictureHeight = height;
        return still_.FinishCalibration(line_, actual, mag_, context);
    }

    TempDir dir_;
    std::string file_;
    FakePrompts prompts_;
    CalibrationState shared_;
    ViewCalibration still_{CalibrationView::Still, shared_};
    ViewCalibration live_{CalibrationView::Live, shared_};
    std::string mag_ = "50";
    std::string rate_;
    CalibrationLine line_{200.0, kSmallPixelMm};
};

TEST_F(StillCalibrationTest, ActualEqualToMeasuredKeepsTheRate) {
    const double measured = 200.0 * kSmallPixelMm * 10.0 / 50.0;
    const CalibrationResult result = Calibrate(measured);
    ASSERT_TRUE(result.applied);
    EXPECT_NEAR(result.newRate, 50.0, 1e-9);
    EXPECT_EQ(result.lineLabel, "L:2.553mm");
    EXPECT_FALSE(still_.WaitingForLine());
}

TEST_F(StillCalibrationTest, StoredRateHasOneDecimalAndIsUsedAfterwards) {
    const CalibrationResult result = Calibrate(1.0);
    ASSERT_TRUE(result.applied);
    EXPECT_NEAR(result.newRate, 127.659574468, 1e-6);
    EXPECT_DOUBLE_EQ(shared_.rateStored, result.newRate);
    EXPECT_EQ(shared_.sharedMagnificationText, "50");
    EXPECT_EQ(result.lineLabel, "L:1.000mm");

    const CalibrationDone done = StillCalibrationDone(still_, mag_, file_, prompts_);
    ASSERT_TRUE(done.applied);
    EXPECT_EQ(done.calibratedRateText, "127.7");
    EXPECT_TRUE(done.stored);
    EXPECT_DOUBLE_EQ(still_.EffectiveRate(), 127.7);
    EXPECT_DOUBLE_EQ(shared_.rateWorking, 127.7);
    EXPECT_EQ(ReadFile(file_), "[10]\n10=5.0\n[50]\n50=127.7\n");

    // The hand-over fills the live boxes; the live look-up finds the same rate.
    const HandoverTexts handover = CalibrationHandover(shared_);
    EXPECT_EQ(handover.magnification, "50");
    EXPECT_EQ(handover.calibratedRate, "127.7");
    const std::string looked = LookUpCalibration(file_, handover.magnification);
    EXPECT_EQ(looked, "127.7");
    EXPECT_TRUE(live_.PrepareRate({handover.magnification, handover.calibratedRate}, prompts_));
    EXPECT_DOUBLE_EQ(live_.EffectiveRate(), 127.7);

    // A magnification without an entry empties the calibrated box.
    EXPECT_EQ(LookUpCalibration(file_, "60"), "");
    EXPECT_EQ(LookUpCalibration(file_, "10"), "5.0");
    EXPECT_TRUE(prompts_.shown.empty());
}

TEST_F(StillCalibrationTest, PictureSizeScalesOnlyTheWorkingRate) {
    struct Case {
        bool largeSensor;
        int width, height;
        double factor;
    };
    for (const Case c :
         {Case{false, 320, 240, 0.25}, Case{false, 640, 480, 0.5}, Case{false, 1280, 1024, 1.0},
          Case{true, 640, 480, 0.4}, Case{true, 320, 240, 1.0}, Case{true, 1600, 1200, 1.0}}) {
        const CalibrationResult result = Calibrate(1.0, c.width, c.height, c.largeSensor);
        ASSERT_TRUE(result.applied);
        EXPECT_NEAR(shared_.rateWorking, result.newRate * c.factor, 1e-9) << c.width;
        EXPECT_DOUBLE_EQ(shared_.rateStored, result.newRate);
        // The calibration line's label is computed with the scaled working rate.
        EXPECT_EQ(result.lineLabel, "L:" + FormatFixed(1.0 / c.factor, 3) + "mm") << c.width;
    }
}

TEST_F(StillCalibrationTest, CancelScalesButKeepsTheStoredRate) {
    shared_.rateStored = 77.0;
    shared_.sharedMagnificationText = "old";
    const CalibrationResult result = Calibrate(std::nullopt, 640, 480);
    EXPECT_FALSE(result.applied);
    EXPECT_FALSE(still_.WaitingForLine());
    EXPECT_DOUBLE_EQ(shared_.rateStored, 77.0);
    EXPECT_EQ(shared_.sharedMagnificationText, "old");
    EXPECT_DOUBLE_EQ(shared_.rateWorking, 25.0);
    EXPECT_EQ(result.lineLabel, "L:5.106mm");

    // Without a calibration waiting, finishing changes nothing.
    const CalibrationResult idle = still_.FinishCalibration(line_, 1.0, mag_, {});
    EXPECT_FALSE(idle.applied);
    EXPECT_TRUE(idle.lineLabel.empty());
    EXPECT_DOUBLE_EQ(shared_.rateWorking, 25.0);
}

TEST_F(StillCalibrationTest, TheOtherViewsRateDoesNotLeakIntoTheResult) {
    ASSERT_TRUE(still_.StartCalibration({"50", ""}, CalibrationTool::Line, prompts_));
    ASSERT_TRUE(live_.PrepareRate({"200", ""}, prompts_));  // while the still view waits
    const CalibrationResult result = still_.FinishCalibration(line_, 1.0, "50", {});
    EXPECT_NEAR(result.newRate, 127.659574468, 1e-6);
}

TEST_F(StillCalibrationTest, ActualDistanceMustGiveAUsableRate) {
    ASSERT_TRUE(still_.StartCalibration({"50", ""}, CalibrationTool::Line, prompts_));
    EXPECT_EQ(still_.AcceptActualDistance("2.5 mm", line_), 2.5);
    for (const char* bad : {"", "0", "abc", "-1", "1e400", "1e-300", "1e300", "nan"}) {
        EXPECT_FALSE(still_.AcceptActualDistance(bad, line_)) << bad;
    }
    // A line of no length cannot calibrate anything.
    EXPECT_FALSE(still_.AcceptActualDistance("1", CalibrationLine{0.0, kSmallPixelMm}));
    // An unusable distance passed directly is a cancel.
    const CalibrationResult result = still_.FinishCalibration(line_, -1.0, "50", {});
    EXPECT_FALSE(result.applied);
    EXPECT_EQ(shared_.rateStored, 0.0);
}

TEST_F(StillCalibrationTest, OddMagnificationsApplyButNeverTouchTheFile) {
    const std::string original = ReadFile(file_);
    rate_ = "50";  // so that a magnification without a number still starts
    for (const char* odd : {"5]\n[10", "[10]", "10=1", "", " ", "a//b"}) {
        mag_ = odd;
        ASSERT_TRUE(Calibrate(1.0).applied) << odd;
        const CalibrationDone done = StillCalibrationDone(still_, mag_, file_, prompts_);
        EXPECT_TRUE(done.applied);
        EXPECT_FALSE(done.stored) << odd;
        EXPECT_DOUBLE_EQ(still_.EffectiveRate(), 127.7);
        EXPECT_EQ(LookUpCalibration(file_, odd), "") << odd;
        EXPECT_EQ(ReadFile(file_), original) << odd;
    }
}

TEST_F(StillCalibrationTest, SharedMagnificationKeepsFortyEightCharacters) {
    mag_ = "50" + std::string(45, 'x') + "\xC3\xA9" + "999";  // 51 characters
    ASSERT_TRUE(Calibrate(1.0).applied);
    EXPECT_EQ(shared_.sharedMagnificationText, "50" + std::string(45, 'x') + "\xC3\xA9");
}

TEST_F(StillCalibrationTest, MissingFileIsNotCreated) {
    fs::remove(file_);
    ASSERT_TRUE(Calibrate(1.0).applied);
    const CalibrationDone done = StillCalibrationDone(still_, mag_, file_, prompts_);
    EXPECT_TRUE(done.applied);
    EXPECT_FALSE(done.stored);
    EXPECT_FALSE(fs::exists(file_));
    EXPECT_EQ(LookUpCalibration(file_, mag_), "");
    // A done-message without any calibration has nothing to take over.
    CalibrationState fresh;
    ViewCalibration view(CalibrationView::Still, fresh);
    EXPECT_FALSE(StillCalibrationDone(view, "50", file_, prompts_).applied);
}

TEST(LiveCalibrationTest, OnlyTheAutomaticCalibrationScalesForTheCapture) {
    struct Case {
        CalibrationTool tool;
        CameraFacts camera;
        double factor;
    };
    for (const Case c : {Case{CalibrationTool::Line, {false, 640, 480}, 1.0},
                         Case{CalibrationTool::Line, {false, 320, 240}, 1.0},
                         Case{CalibrationTool::AutoLine, {false, 320, 240}, 0.25},
                         Case{CalibrationTool::AutoLine, {true, 640, 480}, 0.5},
                         Case{CalibrationTool::AutoLine, {true, 1280, 960}, 1.0}}) {
        CalibrationState shared;
        ViewCalibration live(CalibrationView::Live, shared);
        FakePrompts prompts;
        ASSERT_TRUE(live.StartCalibration({"20", ""}, c.tool, prompts));
        CalibrationContext context;
        context.camera = c.camera;
        context.pictureWidth = 320;  // ignored by the live view
        context.pictureHeight = 240;
        const CalibrationLine line{100.0, UnitsPerPixel("mm", c.camera)};
        const CalibrationResult result = live.FinishCalibration(line, 2.0, "20", context);
        ASSERT_TRUE(result.applied);
        EXPECT_NEAR(result.newRate, 100.0 * line.unitsPerPixel * 10.0 / 2.0, 1e-9);
        EXPECT_NEAR(shared.rateWorking, result.newRate * c.factor, 1e-9);
    }
}

TEST(LiveCalibrationTest, DoneStoresUnderTheLiveMagnification) {
    TempDir dir;
    const std::string file = dir.Write("CalibrationIni.ini", "");
    CalibrationState shared;
    ViewCalibration live(CalibrationView::Live, shared);
    FakePrompts prompts;
    ASSERT_TRUE(live.StartCalibration({"30X", ""}, CalibrationTool::Line, prompts));
    ASSERT_TRUE(live.FinishCalibration({300.0, 0.08}, 4.0, "30X", {}).applied);
    const CalibrationDone done = LiveCalibrationDone(live, "30X", file, prompts);
    EXPECT_EQ(done.calibratedRateText, "60.0");
    EXPECT_TRUE(done.stored);
    EXPECT_DOUBLE_EQ(live.EffectiveRate(), 60.0);
    EXPECT_EQ(LookUpCalibration(file, "30X"), "60.0");
}

TEST(CalibrationInputTest, NoInfinityOrNanReachesALabelOrTheFile) {
    TempDir dir;
    const std::string file = dir.Write("CalibrationIni.ini", "[1]\n1=1.0\n");
    const char* texts[] = {"",    "abc", "-5",   "0",   "1e308",    "1e-308", "1e400", "-1e400",
                           "nan", "inf", "0x10", "  7", "3.5e2xyz", "1e8",    "1e-4"};
    int applied = 0;
    for (const char* mag : texts) {
        for (const char* rate : texts) {
            for (const char* actual : texts) {
                CalibrationState shared;
                ViewCalibration view(CalibrationView::Still, shared);
                FakePrompts prompts;
                if (!view.StartCalibration({mag, rate}, CalibrationTool::Line, prompts)) {
                    continue;
                }
                const CalibrationLine line{1e4, UnitsPerPixel("inch", {})};
                const auto distance = view.AcceptActualDistance(actual, line);
                const CalibrationResult result = view.FinishCalibration(
                    line, distance, mag, CalibrationContext{{false, 320, 240}, 320, 240});
                ASSERT_FALSE(HasInfOrNan(result.lineLabel)) << mag << rate << actual;
                ASSERT_TRUE(std::isfinite(shared.rateWorking));
                ASSERT_TRUE(std::isfinite(shared.rateStored));
                if (result.applied) {
                    ++applied;
                    StillCalibrationDone(view, mag, file, prompts);
                    ASSERT_TRUE(std::isfinite(view.EffectiveRate()));
                    ASSERT_GT(view.EffectiveRate(), 0.0);
                }
            }
        }
    }
    EXPECT_GT(applied, 100);
    // Magnifications are names ("inf" is one); the stored rates must be plain numbers.
    IniTable table;
    ASSERT_TRUE(table.Load(file));
    for (const std::string& entry : table.Lines()) {
        const auto equals = entry.find('=');
        if (equals != std::string::npos) {
            EXPECT_GT(ParseRateText(entry.substr(equals + 1)), 0.0) << entry;
            EXPECT_FALSE(HasInfOrNan(entry.substr(equals + 1))) << entry;
        }
    }
    EXPECT_EQ(ReadFile(file).rfind("[1]\n1=1.0\n", 0), 0u);
}

}  // namespace
}  // namespace lensora
