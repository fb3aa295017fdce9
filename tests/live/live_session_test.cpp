// The live session: commands before and after the canvas attaches, overlay switches, camera
// facts, the display transform of the live canvas, and the two rubber-band contracts.
#include "live/live_session.h"

#include <gtest/gtest.h>

#include "support/fake_interaction_view.h"

namespace lensora::test {
namespace {

class LiveSessionTest : public ::testing::Test {
  protected:
    AppSettings settings;
    CalibrationState shared;
    LabelCounters counters;
    FakeInteractionView view;  // outlives the session's interaction
    LiveSession session{settings, shared, counters};
};

TEST_F(LiveSessionTest, CommandsNeedAnAttachedViewAndReachTheInteraction) {
    EXPECT_FALSE(session.ChooseCommand(1179));
    EXPECT_FALSE(session.Undo());
    EXPECT_FALSE(session.DeleteAll());
    session.AttachView(view);
    ASSERT_NE(session.Interaction(), nullptr);
    ASSERT_TRUE(session.ChooseCommand(1192));  // circle label: one click makes a record
    session.Interaction()->MouseDown({100, 100});
    session.Interaction()->MouseUp({100, 100});
    ASSERT_EQ(session.Records().size(), 1u);
    EXPECT_EQ(session.Records()[0].points[0], (PixelPoint{100, 100}));
    EXPECT_TRUE(session.Undo());
    EXPECT_TRUE(session.Records().empty());
    EXPECT_TRUE(session.Redo());
    EXPECT_EQ(session.Records().size(), 1u);
    EXPECT_TRUE(session.DeleteAll());
    EXPECT_TRUE(session.Records().empty());
    session.DetachView();
    EXPECT_FALSE(session.ChooseCommand(1179));
}

TEST_F(LiveSessionTest, OverlaySwitchesToggleIndependently) {
    EXPECT_TRUE(session.IsOn(LiveOverlay::ReferenceShapes));
    EXPECT_TRUE(session.Toggle(LiveOverlay::CrossRuler));
    EXPECT_TRUE(session.Toggle(LiveOverlay::ZoomLevel));
    EXPECT_FALSE(session.Toggle(LiveOverlay::ReferenceShapes));
    EXPECT_TRUE(session.Switches().crossRuler);
    EXPECT_FALSE(session.Switches().rings);
    EXPECT_FALSE(session.Switches().referenceShapes);
    EXPECT_FALSE(session.Toggle(LiveOverlay::CrossRuler));
    EXPECT_TRUE(session.IsOn(LiveOverlay::ZoomLevel));
}

TEST_F(LiveSessionTest, CameraFactsDefaultToTheLargeSensorUntilACameraIsSeen) {
    EXPECT_TRUE(session.Camera().largeSensor);
    EXPECT_EQ(session.Camera().captureWidth, 1600);
    session.CameraSeen({false, 640, 480});
    EXPECT_FALSE(session.Camera().largeSensor);
    EXPECT_EQ(session.Camera().captureHeight, 480);
}

TEST(LiveDisplayTransform, NormalDisplayIsTheIdentityFullScreenScalesToTheVideoArea) {
    const ViewTransform normal = LiveSession::DisplayTransform(640, 480, false);
    EXPECT_EQ(normal.ToPicture({100, 50}), (PixelPoint{100, 50}));
    const ViewTransform full = LiveSession::DisplayTransform(1920, 1080, true);
    EXPECT_EQ(full.ToPicture({960, 540}), (PixelPoint{320, 240}));
    EXPECT_EQ(full.ToPicture({1919, 1079}), (PixelPoint{640, 480}));
    EXPECT_EQ(full.ToView({320, 240}), (PixelPoint{960, 540}));
    const ViewTransform fiveFour = LiveSession::DisplayTransform(1280, 1024, true, 512);
    EXPECT_EQ(fiveFour.ToPicture({640, 1024}), (PixelPoint{320, 512}));
}

TEST_F(LiveSessionTest, FullScreenClicksAreStoredInVideoAreaPixels) {
    session.AttachView(view);
    session.Interaction()->SetViewTransform(LiveSession::DisplayTransform(1920, 1440, true));
    ASSERT_TRUE(session.ChooseCommand(1192));
    session.Interaction()->MouseDown({300, 600});
    session.Interaction()->MouseUp({300, 600});
    ASSERT_EQ(session.Records().size(), 1u);
    EXPECT_EQ(session.Records()[0].points[0], (PixelPoint{100, 200}));
    // The pointer is kept inside the whole screen-sized video area.
    ASSERT_TRUE(session.ChooseCommand(1179));
    session.Interaction()->MouseDown({30, 30});
    ASSERT_TRUE(view.confinedTo.has_value());
    EXPECT_EQ(*view.confinedTo, (PixelBox{3, 3, 1923, 1443}));
}

// Over a still picture every shown band is erased before the next; over a composed frame the
// kept band is replaced and never drawn twice.
TEST_F(LiveSessionTest, RubberBandContractsNotXorAndNextFrame) {
    for (RubberBandDrawing drawing : {RubberBandDrawing::NotXor, RubberBandDrawing::NextFrame}) {
        FakeInteractionView v;
        v.bandDrawing = drawing;
        LiveInteraction live(v, session.Records(), session.Shapes(), settings, counters);
        ASSERT_TRUE(live.ChooseTool(LiveKind::kStraightLine));
        live.MouseDown({50, 50});
        live.MouseUp({50, 50});
        live.MouseMove({80, 50});
        live.MouseMove({90, 60});
        ASSERT_TRUE(v.shownBand.has_value());
        EXPECT_EQ(v.shownBand->to, (PixelPoint{90, 60}));
        EXPECT_EQ(v.bandFaults, 0);
        if (drawing == RubberBandDrawing::NotXor) {
            EXPECT_EQ(v.erases, v.bandsShown - 1);
        } else {
            EXPECT_EQ(v.erases, 0);
        }
        live.Cancel();
        EXPECT_FALSE(v.shownBand.has_value());
    }
}

}  // namespace
}  // namespace lensora::test

namespace lensora::test {
namespace {

TEST_F(LiveSessionTest, ComparisonShapeCommandsNeedAViewAndEndTheMeasurementFirst) {
    EXPECT_FALSE(session.PrepareToleranceCircle());
    EXPECT_FALSE(session.CreateAngleLine(100, 300));
    EXPECT_FALSE(session.CreateToleranceCircle(1.0, 0.1, 0.2));
    EXPECT_EQ(view.rateChecks, 0);
    session.AttachView(view);

    // A straight line after its first click: the tolerance circle's rate check drops it and
    // frees the mouse before any message can show.
    ASSERT_TRUE(session.ChooseCommand(1179));
    session.Interaction()->MouseDown({100, 100});
    ASSERT_TRUE(view.captured);
    view.rateAccepted = false;
    EXPECT_FALSE(session.PrepareToleranceCircle());
    EXPECT_FALSE(view.captured);
    EXPECT_TRUE(session.Interaction()->Working().points.empty());
    view.rateAccepted = true;
    EXPECT_TRUE(session.PrepareToleranceCircle());

    ASSERT_TRUE(session.CreateAngleLine(100, 300));
    ASSERT_TRUE(session.CreateToleranceCircle(1.0, 0.1, 0.2));
    ASSERT_EQ(session.Shapes().size(), 2u);
    EXPECT_EQ(session.Shapes()[1].radiusPx, 100);  // 0.01 mm per pixel
    EXPECT_TRUE(session.Interaction()->ShapeEditing());
    EXPECT_FALSE(session.CreateAngleLine(0, 300));
    EXPECT_EQ(session.Shapes().size(), 2u);
}

}  // namespace
}  // namespace lensora::test
