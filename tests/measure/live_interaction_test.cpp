// Live view: video-area coordinates, records made at the label-placing click, tool toggling,
// Cancel, Delete All, Undo and Redo.
#include "measure/live_interaction.h"

#include <gtest/gtest.h>

#include "support/fake_interaction_view.h"

namespace lensora::test {
namespace {

using P = PixelPoint;
using Points = std::vector<PixelPoint>;
using Texts = std::vector<std::string>;

// Client position of a video-area point.
P C(int x, int y) {
    return {x + 98, y + 49};
}

class LiveInteractionTest : public ::testing::Test {
  protected:
    void Click(P client) {
        interaction.MouseDown(client);
        interaction.MouseUp(client);
    }
    const MeasureRecord& Last() const { return records[records.size() - 1]; }

    FakeInteractionView view;
    LiveRecords records;
    ReferenceShapes shapes;
    AppSettings settings;
    LabelCounters counters;
    LiveInteraction interaction{view, records, shapes, settings, counters};
    void SetUp() override { interaction.SetViewTransform(kVideoAreaInMainWindow); }
};

TEST_F(LiveInteractionTest, RecordIsCreatedAtTheLabelPlacingClick) {
    ASSERT_TRUE(interaction.ChooseCommand(1179));
    EXPECT_EQ(interaction.CurrentTool(), LiveKind::kStraightLine);
    Click(C(50, 50));
    EXPECT_TRUE(view.captured);
    EXPECT_EQ(view.confinedTo, (PixelBox{99, 50, 739, 530}));
    interaction.MouseMove(C(80, 50));
    EXPECT_EQ(view.shownBand->from, C(50, 50));  // drawn in client pixels
    EXPECT_EQ(interaction.Working().points, (Points{{50, 50}}));
    Click(C(150, 50));
    EXPECT_TRUE(records.empty());
    ASSERT_NE(interaction.PendingRecord(), nullptr);
    EXPECT_EQ(interaction.PendingRecord()->points, (Points{{50, 50}, {150, 50}, {150, 50}}));
    interaction.MouseMove(C(160, 80));
    EXPECT_EQ(interaction.PendingRecord()->points[2], (P{160, 80}));
    Click(C(170, 90));
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(Last().kind, 1);
    EXPECT_EQ(Last().points, (Points{{50, 50}, {150, 50}, {170, 90}}));
    EXPECT_EQ(Last().labels, Texts{"L:1.000mm"});
    EXPECT_EQ(interaction.PendingRecord(), nullptr);
    EXPECT_FALSE(view.captured);
    EXPECT_EQ(view.bandFaults, 0);
}

TEST_F(LiveInteractionTest, EllipseAndPolygonFollowTheStillSequences) {
    ASSERT_TRUE(interaction.ChooseTool(LiveKind::kEllipse));
    Click(C(100, 100));
    Click(C(300, 200));
    Click(C(10, 10));
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(Last().kind, 7);
    EXPECT_EQ(Last().points, (Points{{100, 100}, {300, 200}, {10, 10}}));
    EXPECT_EQ(Last().labels[1], "a:1.000mm");

    ASSERT_TRUE(interaction.ChooseTool(LiveKind::kPolygon));
    Click(C(10, 10));
    Click(C(110, 10));
    Click(C(110, 110));
    interaction.MouseDown(C(10, 110));
    interaction.DoubleClick(C(10, 110));
    EXPECT_EQ(records.size(), 1u);  // made at the label click
    Click(C(50, 50));
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(Last().kind, 6);
    EXPECT_EQ(Last().points.back(), (P{50, 50}));
    EXPECT_EQ(Last().labels, Texts{"A:1.000mm2"});
}

TEST_F(LiveInteractionTest, TextIsMadeWhereTheClickFixesIt) {
    ASSERT_TRUE(interaction.ChooseCommand(1194));
    interaction.MouseMove(C(40, 50));
    ASSERT_TRUE(interaction.ConfirmText("pin", DefaultLogFont(), 0x00FF00));
    EXPECT_TRUE(records.empty());
    interaction.MouseMove(C(60, 70));
    EXPECT_EQ(interaction.PendingRecord()->points, (Points{{60, 70}, {120, 130}}));
    Click(C(61, 71));
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(Last().kind, 16);
    EXPECT_EQ(Last().points, (Points{{61, 71}, {121, 131}}));
    EXPECT_EQ(Last().labels, Texts{"pin"});
    EXPECT_EQ(interaction.CurrentTool(), LiveKind::kNone);
}

TEST_F(LiveInteractionTest, DestructionReleasesTheMouse) {
    FakeInteractionView other;
    {
        LiveInteraction live(other, records, shapes, settings, counters);
        live.SetViewTransform(kVideoAreaInMainWindow);
        ASSERT_TRUE(live.ChooseTool(LiveKind::kRectangle));
        live.MouseDown(C(10, 10));
        EXPECT_TRUE(other.captured);
    }
    EXPECT_FALSE(other.captured);
    EXPECT_FALSE(other.confinedTo);
}

TEST_F(LiveInteractionTest, OnlyClicksInsideTheVideoAreaCount) {
    ASSERT_TRUE(interaction.ChooseTool(LiveKind::kRectangle));
    for (P outside : {P{98, 100}, P{739, 100}, P{300, 49}, P{300, 530}}) {
        Click(outside);
    }
    EXPECT_FALSE(interaction.MeasurementInProgress());
    Click({99, 50});
    EXPECT_EQ(interaction.Working().points, (Points{{1, 1}}));
    Click({738, 529});
    EXPECT_EQ(interaction.PendingRecord()->points[1], (P{640, 480}));
}

TEST_F(LiveInteractionTest, LabelToolsStoreAtOnceAndFollowTheCounterRule) {
    ASSERT_TRUE(interaction.ChooseTool(LiveKind::kSquareLabel));
    Click(C(10, 10));
    Click(C(20, 10));
    EXPECT_EQ(Last().labels, Texts{"2"});
    EXPECT_EQ(Last().kind, 15);
    EXPECT_EQ(Last().textColor, Last().labelColor);
    ASSERT_TRUE(interaction.ChooseTool(LiveKind::kCircleLabel));
    Click(C(30, 10));
    EXPECT_EQ(Last().labels, Texts{"1"});
    ASSERT_TRUE(interaction.ChooseTool(LiveKind::kCircleLabel));  // labels do not toggle
    EXPECT_EQ(interaction.CurrentTool(), LiveKind::kCircleLabel);
    Click(C(40, 10));
    EXPECT_EQ(Last().labels, Texts{"2"});  // the circle counter was kept
    ASSERT_TRUE(interaction.ChooseTool(LiveKind::kSquareLabel));
    Click(C(50, 10));
    EXPECT_EQ(Last().labels, Texts{"1"});
    EXPECT_EQ(view.rateChecks, 0);
}

TEST_F(LiveInteractionTest, SecondPressSwitchesToNoToolAndRefusedRateKeepsTheTool) {
    ASSERT_TRUE(interaction.ChooseCommand(1186));
    Click(C(10, 10));
    ASSERT_TRUE(interaction.ChooseCommand(1186));
    EXPECT_EQ(interaction.CurrentTool(), LiveKind::kNone);
    EXPECT_FALSE(view.captured);
    Click(C(10, 10));
    EXPECT_FALSE(interaction.MeasurementInProgress());

    ASSERT_TRUE(interaction.ChooseTool(LiveKind::kAngle));
    view.rateAccepted = false;
    EXPECT_FALSE(interaction.ChooseTool(LiveKind::kRadiusCircle));
    EXPECT_EQ(interaction.CurrentTool(), LiveKind::kAngle);
    EXPECT_FALSE(interaction.ChooseCommand(1141));  // made by CreateAngleLine
    EXPECT_FALSE(interaction.ChooseCommand(1249));  // a still-view command
}

TEST_F(LiveInteractionTest, CancelDiscardsTheMeasurementAndDeselectsTheTool) {
    ASSERT_TRUE(interaction.ChooseTool(LiveKind::kCircleLabel));
    Click(C(5, 5));
    ASSERT_TRUE(interaction.ChooseTool(LiveKind::kThreePointCircle));
    Click(C(10, 110));
    Click(C(110, 10));
    Click(C(210, 110));
    ASSERT_NE(interaction.PendingRecord(), nullptr);
    EXPECT_EQ(interaction.RightClick(C(50, 50)), LiveRightClick::ShowContextMenu);
    interaction.Cancel();
    EXPECT_EQ(records.size(), 1u);  // the finished label stays
    EXPECT_EQ(interaction.PendingRecord(), nullptr);
    EXPECT_EQ(interaction.CurrentTool(), LiveKind::kNone);
    EXPECT_FALSE(view.captured);
}

TEST_F(LiveInteractionTest, CancelAtEveryPhaseAddsNothingAndKeepsFinishedRecords) {
    const LiveKind tools[] = {LiveKind::kStraightLine,   LiveKind::kDotLine, LiveKind::kAngle,
                              LiveKind::kFourPointAngle, LiveKind::kArc,     LiveKind::kTwoCircles,
                              LiveKind::kContinuousLine, LiveKind::kPolygon};
    const P clicks[] = {{10, 10}, {200, 30}, {120, 200}, {300, 250}, {50, 300}};
    for (LiveKind tool : tools) {
        for (int k = 1; k <= 5; ++k) {
            ASSERT_TRUE(interaction.ChooseTool(tool, false));
            for (int i = 0; i < k; ++i) {
                Click(C(clicks[i].x, clicks[i].y));
            }
            const std::size_t finished = records.size();  // labels placed before the cancel
            interaction.Cancel();
            EXPECT_EQ(records.size(), finished) << int(tool) << " after " << k;
            EXPECT_TRUE(interaction.Working().points.empty());
            ClearRecords(records);
            EXPECT_FALSE(view.captured);
            EXPECT_EQ(interaction.PendingRecord(), nullptr);
        }
    }
}

TEST_F(LiveInteractionTest, UndoRedoAndANewRecordAfterUndo) {
    ASSERT_TRUE(interaction.ChooseTool(LiveKind::kCircleLabel));
    for (int i = 0; i < 3; ++i) {
        Click(C(10 * i + 10, 10));
    }
    EXPECT_TRUE(interaction.Undo());
    EXPECT_TRUE(interaction.Undo());
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(interaction.RedoDepth(), 2u);
    EXPECT_TRUE(interaction.Redo());
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(Last().points[0], (P{20, 10}));

    Click(C(99, 99));  // a new record clears the redo stack
    EXPECT_EQ(interaction.RedoDepth(), 0u);
    EXPECT_FALSE(interaction.Redo());
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(Last().points[0], (P{99, 99}));
    EXPECT_EQ(Last().labels, Texts{"1"});  // undo and redo restart the counters

    while (interaction.Undo()) {
    }
    EXPECT_TRUE(records.empty());
    EXPECT_FALSE(interaction.Undo());
}

TEST_F(LiveInteractionTest, UndoTakesBackRecordsAndShapesInTheOrderMade) {
    ASSERT_TRUE(interaction.ChooseTool(LiveKind::kCircleLabel));
    Click(C(10, 10));
    ASSERT_TRUE(interaction.CreateAngleLine(100, 300));
    ASSERT_TRUE(interaction.ChooseTool(LiveKind::kCircleLabel));
    Click(C(20, 10));
    EXPECT_TRUE(interaction.Undo());
    EXPECT_EQ(records.size(), 1u);
    EXPECT_EQ(shapes.size(), 1u);
    EXPECT_TRUE(interaction.Undo());
    EXPECT_TRUE(shapes.empty());
    EXPECT_EQ(records.size(), 1u);
    EXPECT_TRUE(interaction.Redo());
    EXPECT_EQ(shapes.size(), 1u);
    EXPECT_EQ(records.size(), 1u);

    interaction.DeleteAll();
    EXPECT_TRUE(records.empty());
    EXPECT_TRUE(shapes.empty());
    EXPECT_EQ(interaction.RedoDepth(), 0u);
    EXPECT_FALSE(interaction.Redo());
}

TEST_F(LiveInteractionTest, DeleteAllDuringLabelPlacementLeavesNothing) {
    ASSERT_TRUE(interaction.ChooseTool(LiveKind::kStraightLine));
    Click(C(10, 10));
    Click(C(100, 10));
    interaction.DeleteAll();
    EXPECT_TRUE(records.empty());
    EXPECT_EQ(interaction.PendingRecord(), nullptr);
    EXPECT_FALSE(view.captured);
}

TEST_F(LiveInteractionTest, HundredThousandRecordsWithUndoAndRedo) {
    ASSERT_TRUE(interaction.ChooseTool(LiveKind::kSquareLabel));
    constexpr int kCount = 100000;
    for (int i = 0; i < kCount; ++i) {
        Click(C(1 + i % 640, 1 + (i / 640) % 480));
    }
    ASSERT_EQ(records.size(), std::size_t{kCount});
    for (int i = 0; i < kCount; ++i) {
        ASSERT_TRUE(interaction.Undo());
    }
    EXPECT_TRUE(records.empty());
    for (int i = 0; i < kCount; ++i) {
        ASSERT_TRUE(interaction.Redo());
    }
    ASSERT_EQ(records.size(), std::size_t{kCount});
    EXPECT_EQ(records[0].labels, Texts{"1"});
    EXPECT_EQ(Last().points[0], (P{1 + (kCount - 1) % 640, 1 + ((kCount - 1) / 640) % 480}));
}

}  // namespace
}  // namespace lensora::test

namespace lensora::test {
namespace {

TEST_F(LiveInteractionTest, CalibrationLineIsStoredWithoutLabelsAndHandedOverOnce) {
    int handed = 0;
    ASSERT_TRUE(interaction.ChooseTool(LiveKind::kStraightLine, true, false));
    interaction.ExpectCalibrationLine(LiveKind::kStraightLine, [&](MeasureRecord& line) {
        ++handed;
        EXPECT_EQ(&line, &records[records.size() - 1]);  // already in the list
        line.labels = {"L:2.000mm"};
    });
    Click(C(50, 50));
    Click(C(150, 50));
    EXPECT_EQ(handed, 0);  // the label is being placed
    Click(C(170, 90));
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(handed, 1);
    EXPECT_EQ(Last().labels, Texts{"L:2.000mm"});
    EXPECT_FALSE(interaction.ExpectingCalibrationLine());
    // The next line is an ordinary measurement.
    Click(C(50, 150));
    Click(C(150, 150));
    Click(C(170, 190));
    EXPECT_EQ(handed, 1);
    EXPECT_EQ(Last().labels, Texts{"L:1.000mm"});
}

TEST_F(LiveInteractionTest, CancelOrAnotherToolDropsAWaitingCalibration) {
    int handed = 0;
    const auto expect = [&] {
        interaction.ExpectCalibrationLine(LiveKind::kStraightLine,
                                          [&](MeasureRecord&) { ++handed; });
    };
    ASSERT_TRUE(interaction.ChooseTool(LiveKind::kStraightLine, true, false));
    expect();
    Click(C(50, 50));
    Click(C(150, 50));
    interaction.Cancel();  // during label placement: the line goes, nothing is handed over
    EXPECT_TRUE(records.empty());
    EXPECT_FALSE(interaction.ExpectingCalibrationLine());
    ASSERT_TRUE(interaction.ChooseTool(LiveKind::kStraightLine, true, false));
    expect();
    ASSERT_TRUE(interaction.ChooseTool(LiveKind::kDotLine, true, false));
    ASSERT_TRUE(interaction.ChooseTool(LiveKind::kStraightLine, true, false));
    Click(C(50, 50));
    Click(C(150, 50));
    Click(C(170, 90));
    EXPECT_EQ(handed, 0);
    EXPECT_EQ(Last().labels, Texts{"L:1.000mm"});
}

}  // namespace
}  // namespace lensora::test
