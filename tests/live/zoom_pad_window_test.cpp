// The zoom pad's window over the held picture: size by level, centring with the capture
// factor, the border rule, and the level steps.
#include "live/zoom_pad_window.h"
#include "canvas/view_factors.h"

#include <gtest/gtest.h>

namespace lensora {
namespace {

TEST(ZoomPadWindow, CentresAWindowOfPadOverLevelOnThePointerAtCaptureScale) {
    // Level 1 at 1600 x 1200: the preview's centre (320, 240) is the picture's (800, 600).
    EXPECT_EQ(ZoomPadWindow(120, 120, 1, {320, 240}, 2.5, 1600, 1200),
              (ZoomWindow{740, 540, 120, 120}));
    // Each edge divided in integer arithmetic: 120 / 6 = 20, 120 / 5 = 24, 100 / 3 = 33.
    EXPECT_EQ(ZoomPadWindow(120, 120, 6, {320, 240}, 2.5, 1600, 1200),
              (ZoomWindow{790, 590, 20, 20}));
    EXPECT_EQ(ZoomPadWindow(120, 120, 5, {320, 240}, 2.5, 1600, 1200),
              (ZoomWindow{788, 588, 24, 24}));
    EXPECT_EQ(ZoomPadWindow(100, 120, 3, {10, 10}, 1.0, 640, 480), (ZoomWindow{0, 0, 33, 40}));
    // Rounded half up: 101 * 2.5 = 252.5 -> 253; 1 * 0.5 = 0.5 -> 1.
    EXPECT_EQ(ZoomPadWindow(120, 120, 6, {101, 101}, 2.5, 1600, 1200)->left, 253 - 10);
    EXPECT_EQ(ZoomPadWindow(120, 120, 6, {101, 101}, 0.5, 320, 240)->left, 51 - 10);
}

TEST(ZoomPadWindow, StaysInsideThePictureAtEveryBorder) {
    // Top-left, bottom-right and beyond: the window is moved in, never cut.
    EXPECT_EQ(ZoomPadWindow(120, 120, 1, {0, 0}, 2.5, 1600, 1200), (ZoomWindow{0, 0, 120, 120}));
    EXPECT_EQ(ZoomPadWindow(120, 120, 1, {639, 479}, 2.5, 1600, 1200),
              (ZoomWindow{1480, 1080, 120, 120}));
    EXPECT_EQ(ZoomPadWindow(120, 120, 2, {5000, -300}, 1.0, 640, 480),
              (ZoomWindow{580, 0, 60, 60}));
    // A picture smaller than the window: the whole picture.
    EXPECT_EQ(ZoomPadWindow(120, 120, 1, {50, 50}, 1.0, 80, 30), (ZoomWindow{0, 0, 80, 30}));
}

TEST(ZoomPadWindow, RefusesWhatCannotBeShown) {
    EXPECT_FALSE(ZoomPadWindow(120, 120, 1, {1, 1}, 2.5, 0, 0));  // no held picture
    EXPECT_FALSE(ZoomPadWindow(0, 120, 1, {1, 1}, 2.5, 1600, 1200));
    EXPECT_FALSE(ZoomPadWindow(120, 120, 0, {1, 1}, 2.5, 1600, 1200));
    EXPECT_FALSE(ZoomPadWindow(120, 120, 7, {1, 1}, 2.5, 1600, 1200));
    EXPECT_FALSE(ZoomPadWindow(120, 120, 1, {1, 1}, 0.0, 1600, 1200));
}

TEST(ZoomPadWindow, LevelsStepBetweenOneAndSixAndTheFactorFollowsTheCaptureSize) {
    int level = 1;
    for (int i = 0; i < 8; ++i) {
        level = RaiseZoomLevel(level);
    }
    EXPECT_EQ(level, 6);
    for (int i = 0; i < 8; ++i) {
        level = LowerZoomLevel(level);
    }
    EXPECT_EQ(level, 1);
    EXPECT_EQ(RaiseZoomLevel(3), 4);
    EXPECT_EQ(LowerZoomLevel(3), 2);
    EXPECT_EQ(LowerZoomLevel(99), 6);
    EXPECT_EQ(RaiseZoomLevel(-4), 1);

    EXPECT_EQ(SnapshotRecordScale(1600, 1200), 2.5);
    EXPECT_EQ(SnapshotRecordScale(1600, 900), 2.5);
    EXPECT_EQ(SnapshotRecordScale(1280, 960), 2.0);
    EXPECT_EQ(SnapshotRecordScale(1280, 1024), 2.0);
    EXPECT_EQ(SnapshotRecordScale(1280, 720), 2.5);
    EXPECT_EQ(SnapshotRecordScale(640, 480), 1.0);
    EXPECT_EQ(SnapshotRecordScale(320, 240), 0.5);
    EXPECT_EQ(SnapshotRecordScale(800, 600), 2.5);
}

}  // namespace
}  // namespace lensora
