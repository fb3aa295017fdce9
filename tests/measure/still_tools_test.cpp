// Click sequences of the still view's tools: stored points, labels and anchors, draw-only
// variants, cancel at every phase, degenerate shapes and mouse capture.
#include <gtest/gtest.h>

#include "measure/still_interaction.h"
#include "support/fake_interaction_view.h"

namespace lensora::test {
namespace {

using P = PixelPoint;
using Points = std::vector<PixelPoint>;
using Texts = std::vector<std::string>;

class StillToolsTest : public ::testing::Test {
  protected:
    StillToolsTest() { interaction.SetPictureSize(640, 480); }

    void Click(int x, int y) {
        interaction.MouseDown({x, y});
        interaction.MouseUp({x, y});
    }
    void DoubleClickAt(int x, int y) {
        Click(x, y);
        interaction.DoubleClick({x, y});
        interaction.MouseUp({x, y});
    }
    void Measure(StillMode mode) { ASSERT_TRUE(interaction.ChooseTool(mode, true)); }
    void Draw(StillMode mode) { ASSERT_TRUE(interaction.ChooseTool(mode, false)); }
    const MeasureRecord& Last() const { return records[records.size() - 1]; }

    FakeInteractionView view;
    StillRecords records;
    AppSettings settings;
    LabelCounters counters;
    StillInteraction interaction{view, records, settings, counters};
};

TEST_F(StillToolsTest, StraightLineStoresAtSecondClickAndPlacesLabelAtThird) {
    Measure(StillMode::kStraightLine);
    Click(10, 10);
    EXPECT_TRUE(view.captured);
    EXPECT_EQ(view.confinedTo, (PixelBox{0, 0, 640, 480}));
    interaction.MouseMove({60, 10});
    ASSERT_TRUE(view.shownBand);
    EXPECT_EQ(view.shownBand->kind, RubberBandKind::Line);
    EXPECT_EQ(view.shownBand->from, (P{10, 10}));
    EXPECT_EQ(view.shownBand->to, (P{60, 10}));
    EXPECT_TRUE(records.empty());

    Click(110, 10);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(Last().kind, 1);
    EXPECT_EQ(Last().points,
              (Points{{10, 10}, {110, 10}, {10, 20}, {10, 0}, {110, 20}, {110, 0}, {110, 10}}));
    EXPECT_EQ(Last().labels, (Texts{"L:1.000mm"}));
    EXPECT_TRUE(view.captured);
    EXPECT_FALSE(view.shownBand);

    interaction.MouseMove({200, 50});  // the label follows the pointer
    EXPECT_EQ(Last().points[6], (P{200, 50}));
    ASSERT_FALSE(view.invalidated.empty());
    const PixelBox redrawn = view.invalidated.back();  // old and new label places
    EXPECT_TRUE(redrawn.Contains({110, 10}));
    EXPECT_TRUE(redrawn.Contains({200, 50}));
    EXPECT_TRUE(redrawn.Contains({320, 70}));
    Click(210, 60);
    EXPECT_EQ(Last().points[6], (P{210, 60}));
    EXPECT_FALSE(view.captured);
    EXPECT_FALSE(view.confinedTo);
    EXPECT_EQ(view.bandFaults, 0);
}

TEST_F(StillToolsTest, ScrollOffsetIsAddedToStoredPoints) {
    interaction.SetScrollOffset({30, 40});
    Measure(StillMode::kParallelLine);
    Click(10, 10);
    interaction.MouseMove({20, 10});
    EXPECT_EQ(view.shownBand->from, (P{10, 10}));  // drawn in client pixels
    Click(10, 110);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(Last().kind, 12);
    // Vertical line: 100-pixel horizontal ticks.
    EXPECT_EQ(
        Last().points,
        (Points{{40, 50}, {40, 150}, {140, 50}, {-60, 50}, {140, 150}, {-60, 150}, {40, 150}}));
    Click(5, 5);
    EXPECT_EQ(Last().points[6], (P{35, 45}));
}

TEST_F(StillToolsTest, DrawOnlyVariantsStoreEmptyLabelsAndEndWithoutPlacement) {
    Draw(StillMode::kStraightLine);
    Click(0, 0);
    Click(100, 0);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(Last().labels, (Texts{""}));
    EXPECT_EQ(Last().points[6], (P{100, 0}));
    EXPECT_FALSE(view.captured);

    Draw(StillMode::kRadiusCircle);
    Click(100, 100);
    Click(130, 140);
    EXPECT_EQ(Last().kind, 2);
    EXPECT_EQ(Last().labels, (Texts{"", "", ""}));
    EXPECT_FALSE(view.captured);

    Draw(StillMode::kAngle);
    Click(0, 100);
    Click(100, 100);
    Click(100, 0);
    EXPECT_EQ(Last().kind, 5);
    EXPECT_EQ(Last().labels, (Texts{""}));
    Click(300, 300);  // a new first click, not a label placement
    EXPECT_EQ(Last().points[3], (P{100, 0}));
    EXPECT_TRUE(interaction.MeasurementInProgress());
    EXPECT_EQ(view.rateChecks, 0);  // drawing needs no rate
}

TEST_F(StillToolsTest, FixedClickToolsStoreTheirPointLayouts) {
    Measure(StillMode::kDotLine);
    Click(0, 0);
    Click(100, 0);
    Click(50, 30);
    EXPECT_EQ(Last().points, (Points{{0, 0}, {100, 0}, {50, 30}, {50, 30}}));
    EXPECT_EQ(Last().labels, (Texts{"L:0.300mm"}));
    Click(60, 60);
    EXPECT_EQ(Last().points[3], (P{60, 60}));

    Measure(StillMode::kRadiusCircle);
    Click(100, 100);
    interaction.MouseMove({110, 100});
    EXPECT_EQ(view.shownBand->kind, RubberBandKind::RadiusCircle);
    Click(130, 140);
    EXPECT_EQ(Last().points, (Points{{100, 100}, {130, 140}, {130, 140}}));
    EXPECT_EQ(Last().labels[1], "R:0.500mm");
    Click(1, 1);

    Measure(StillMode::kDiameterCircle);
    Click(0, 0);
    Click(101, 0);
    EXPECT_EQ(Last().points, (Points{{50, 0}, {0, 0}, {101, 0}, {101, 0}}));
    Click(1, 1);

    Measure(StillMode::kRectangle);
    Click(100, 100);
    interaction.MouseMove({120, 130});
    EXPECT_EQ(view.shownBand->kind, RubberBandKind::Rectangle);
    Click(0, 0);
    EXPECT_EQ(Last().kind, 3);
    EXPECT_EQ(Last().points, (Points{{100, 100}, {0, 0}, {0, 0}}));
    EXPECT_EQ(Last().labels, (Texts{"A:1.000mm2", "W:1.000mm", "H:1.000mm"}));
    Click(1, 1);

    Measure(StillMode::kAngle);
    Click(0, 100);
    Click(100, 100);
    interaction.MouseMove({100, 50});
    EXPECT_EQ(view.shownBand->from, (P{100, 100}));  // from the vertex
    Click(100, 0);
    EXPECT_EQ(Last().points, (Points{{0, 100}, {100, 100}, {100, 0}, {100, 0}}));
    EXPECT_EQ(Last().labels, (Texts{"90.00\u00B0"}));
    Click(1, 1);

    Measure(StillMode::kFourPointAngle);
    Click(0, 0);
    Click(100, 0);
    Click(50, 50);
    Click(50, 150);
    EXPECT_EQ(Last().kind, 10);
    EXPECT_EQ(Last().points, (Points{{0, 0}, {100, 0}, {50, 50}, {50, 150}, {50, 150}}));
    EXPECT_EQ(Last().labels, (Texts{"90.00\u00B0"}));
    Click(1, 1);

    Measure(StillMode::kThreePointCircle);
    Click(0, 0);
    Click(100, 10);
    EXPECT_EQ(interaction.Working().points, (Points{{0, 0}, {100, 10}}));
    Click(200, 0);
    // Exact circle: centre (100, -495), radius 505 pixels.
    EXPECT_EQ(Last().points, (Points{{100, -495}, {100, 10}, {0, 0}, {200, 0}, {200, 0}}));
    EXPECT_EQ(Last().labels[1], "R:5.050mm");
    interaction.MouseMove({300, 300});
    EXPECT_EQ(Last().points[4], (P{300, 300}));
    Click(1, 1);
    EXPECT_EQ(Last().points[4], (P{1, 1}));

    Measure(StillMode::kArc);
    Click(0, 100);
    Click(100, 0);
    Click(200, 100);
    EXPECT_EQ(Last().kind, 222);
    EXPECT_EQ(Last().points, (Points{{0, 100}, {100, 0}, {200, 100}, {200, 100}, {100, 100}}));
    EXPECT_EQ(Last().labels[0], "R:1.000mm");
    EXPECT_EQ(Last().labels[1], "Angle:180.00\u00B0");
    Click(5, 5);
    EXPECT_EQ(Last().points[3], (P{5, 5}));
    EXPECT_EQ(records.size(), 8u);
    EXPECT_EQ(view.bandFaults, 0);
}

TEST_F(StillToolsTest, DegenerateShapesStoreNothingAndLeaveTheToolReady) {
    Measure(StillMode::kStraightLine);
    Click(50, 50);
    Click(50, 50);
    EXPECT_TRUE(records.empty());
    EXPECT_FALSE(view.captured);
    EXPECT_FALSE(interaction.MeasurementInProgress());

    Measure(StillMode::kThreePointCircle);
    Click(0, 0);
    Click(50, 50);
    Click(100, 100);
    EXPECT_TRUE(records.empty());
    EXPECT_FALSE(view.captured);

    Measure(StillMode::kTwoCircles);
    for (int x : {0, 50, 100}) {
        Click(x, x);
    }
    EXPECT_TRUE(records.empty());
    EXPECT_FALSE(interaction.MeasurementInProgress());
    Click(10, 10);  // a new first click
    EXPECT_TRUE(interaction.MeasurementInProgress());
}

TEST_F(StillToolsTest, TwoCirclesStoreAtTheNinthClick) {
    Measure(StillMode::kTwoCircles);
    Click(0, 100);
    Click(100, 0);
    Click(200, 100);  // circle 1: centre (100, 100), radius 100
    ASSERT_EQ(interaction.Working().points.size(), 5u);
    EXPECT_EQ(interaction.Working().points[3], (P{100, 100}));
    EXPECT_EQ(interaction.Working().labels, (Texts{"R:1.000mm"}));
    interaction.MouseMove({250, 20});
    EXPECT_EQ(interaction.Working().points[4], (P{250, 20}));
    Click(260, 30);
    Click(300, 150);
    Click(350, 100);
    Click(400, 150);  // circle 2: centre (350, 150), radius 50
    for (int i = 0; i < 2; ++i) {
        EXPECT_TRUE(records.empty());
        Click(410 + i, 200 + i);
    }
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(Last().kind, 11);
    EXPECT_EQ(Last().points, (Points{{0, 100},
                                     {100, 0},
                                     {200, 100},
                                     {100, 100},
                                     {260, 30},
                                     {300, 150},
                                     {350, 100},
                                     {400, 150},
                                     {350, 150},
                                     {410, 200},
                                     {411, 201}}));
    EXPECT_EQ(Last().labels, (Texts{"R:1.000mm", "R:0.500mm", "L:2.550mm"}));
    EXPECT_FALSE(view.captured);
}

TEST_F(StillToolsTest, ContinuousLineAlternatesVerticesAndLabelsUntilDoubleClick) {
    Measure(StillMode::kContinuousLine);
    Click(0, 0);
    Click(100, 0);
    interaction.MouseMove({50, 20});
    EXPECT_EQ(interaction.Working().points, (Points{{0, 0}, {100, 0}, {50, 20}}));
    EXPECT_FALSE(view.shownBand);  // the label follows, no band
    Click(60, 30);
    interaction.MouseMove({100, 50});
    EXPECT_EQ(view.shownBand->from, (P{100, 0}));
    DoubleClickAt(100, 100);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(Last().kind, 6);
    EXPECT_EQ(Last().points, (Points{{0, 0}, {100, 0}, {60, 30}, {100, 100}, {100, 100}}));
    EXPECT_EQ(Last().labels, (Texts{"1.000mm", "1.000mm"}));
    EXPECT_FALSE(view.captured);
}

TEST_F(StillToolsTest, DoubleClickBeforeAnySegmentStoresNothing) {
    Measure(StillMode::kContinuousLine);
    DoubleClickAt(40, 40);
    EXPECT_TRUE(records.empty());
    EXPECT_FALSE(interaction.MeasurementInProgress());
    EXPECT_FALSE(view.captured);
}

TEST_F(StillToolsTest, SecondPressOfADoubleClickIsNoClickOfItsOwn) {
    Measure(StillMode::kStraightLine);
    DoubleClickAt(10, 10);  // one first click, not a zero-length line
    EXPECT_TRUE(interaction.MeasurementInProgress());
    Click(110, 10);
    DoubleClickAt(200, 200);  // places the label; starts nothing new
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(Last().points[6], (P{200, 200}));
    EXPECT_FALSE(interaction.MeasurementInProgress());
    EXPECT_FALSE(view.captured);
}

TEST_F(StillToolsTest, FreehandPathTakesEveryPointerMove) {
    Draw(StillMode::kContinuousLine);
    Click(0, 0);
    for (int x = 1; x <= 5; ++x) {
        interaction.MouseMove({x * 10, x});
    }
    interaction.MouseMove({50, 5});  // unchanged position adds nothing
    Click(60, 6);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(Last().points.size(), 1u + 2 * 6);
    EXPECT_EQ(Last().labels, Texts(6, ""));
    EXPECT_EQ(Last().points[11], (P{60, 6}));
    EXPECT_FALSE(view.captured);
}

TEST_F(StillToolsTest, PolygonClosesAtDoubleClickAndPlacesItsLabel) {
    Measure(StillMode::kPolygon);
    Click(0, 0);
    Click(100, 0);
    Click(100, 100);
    DoubleClickAt(0, 100);
    ASSERT_EQ(records.size(), 1u);
    // The last vertex twice (its click and the double-click), then the label anchor.
    EXPECT_EQ(Last().points, (Points{{0, 0}, {100, 0}, {100, 100}, {0, 100}, {0, 100}, {0, 100}}));
    EXPECT_EQ(Last().labels, (Texts{"A:1.000mm2"}));
    Click(30, 30);
    EXPECT_EQ(Last().points[5], (P{30, 30}));
    EXPECT_FALSE(view.captured);

    Click(0, 0);  // two vertices only: kept with an area of zero
    DoubleClickAt(10, 10);
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(Last().labels, (Texts{"A:0.000mm2"}));
    EXPECT_EQ(Last().points, (Points{{0, 0}, {10, 10}, {10, 10}, {10, 10}}));

    Click(0, 0);  // three vertices on one line: no pixel inside, still kept
    Click(50, 0);
    DoubleClickAt(100, 0);
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(Last().labels, (Texts{"A:0.000mm2"}));
}

TEST_F(StillToolsTest, RectangleWithoutWidthOrHeightIsKeptWithItsValues) {
    Measure(StillMode::kRectangle);
    Click(10, 10);
    Click(10, 90);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(Last().labels, (Texts{"A:0.000mm2", "W:0.000mm", "H:0.800mm"}));
    EXPECT_EQ(Last().points, (Points{{10, 10}, {10, 90}, {10, 90}}));
}

TEST_F(StillToolsTest, NumberLabelsCountFromOneAfterEachToolChoice) {
    Measure(StillMode::kCircleLabel);
    interaction.MouseMove({30, 30});
    EXPECT_EQ(view.shownBand->kind, RubberBandKind::LabelBox);
    Click(30, 30);
    Click(60, 30);
    EXPECT_EQ(records[0].labels, (Texts{"1"}));
    EXPECT_EQ(records[1].labels, (Texts{"2"}));
    EXPECT_EQ(records[1].kind, 13);
    EXPECT_FALSE(view.captured);
    Measure(StillMode::kCircleLabel);
    Click(90, 30);
    EXPECT_EQ(Last().labels, (Texts{"1"}));
    Draw(StillMode::kSquareLabel);
    Click(90, 90);
    EXPECT_EQ(Last().kind, 14);
    EXPECT_EQ(Last().labels, (Texts{"1"}));
}

TEST_F(StillToolsTest, TextFollowsThePointerUntilAClickFixesIt) {
    ASSERT_TRUE(interaction.ChooseCommand(1142));
    interaction.MouseMove({40, 50});
    EXPECT_FALSE(interaction.ConfirmText("", DefaultLogFont(), 0xFF));
    EXPECT_EQ(view.prompts.shown, (Texts{"Please input text!"}));
    EXPECT_TRUE(records.empty());

    ASSERT_TRUE(interaction.ConfirmText("note", DefaultLogFont(), 0xFF00));
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(Last().kind, 4);
    EXPECT_EQ(Last().points, (Points{{40, 50}, {100, 110}}));
    EXPECT_EQ(Last().textColor, 0xFF00u);
    interaction.MouseMove({70, 90});
    EXPECT_EQ(Last().points, (Points{{70, 90}, {130, 150}}));
    Click(80, 90);
    EXPECT_EQ(Last().points, (Points{{80, 90}, {140, 150}}));
    EXPECT_EQ(interaction.Mode(), StillMode::kNone);
}

TEST_F(StillToolsTest, CancelBeforeStoringLeavesNoRecordAndDuringPlacementRemovesIt) {
    Measure(StillMode::kStraightLine);
    Click(0, 0);
    interaction.RightClick({5, 5});
    EXPECT_TRUE(records.empty());
    EXPECT_FALSE(view.captured);
    EXPECT_FALSE(interaction.MeasurementInProgress());

    Click(0, 0);
    Click(100, 0);
    ASSERT_EQ(records.size(), 1u);
    interaction.RightClick({5, 5});
    EXPECT_TRUE(records.empty());
    EXPECT_FALSE(view.captured);

    Measure(StillMode::kContinuousLine);
    Click(0, 0);
    Click(100, 0);
    Click(50, 50);
    interaction.RightClick({5, 5});
    EXPECT_TRUE(records.empty());
    EXPECT_TRUE(interaction.Working().points.empty());

    Measure(StillMode::kTwoCircles);
    for (int i = 0; i < 8; ++i) {
        Click(i * 10 + (i % 2) * 5, i * i);
        EXPECT_TRUE(records.empty());
    }
    interaction.RightClick({5, 5});
    EXPECT_TRUE(records.empty());
    EXPECT_FALSE(view.captured);

    Measure(StillMode::kPolygon);
    Click(0, 0);
    Click(100, 0);
    Click(100, 100);
    DoubleClickAt(0, 100);
    interaction.RightClick({5, 5});
    EXPECT_TRUE(records.empty());
    EXPECT_EQ(view.bandFaults, 0);
}

TEST_F(StillToolsTest, CancelAtEveryPhaseOfEveryFixedClickTool) {
    struct Case {
        StillMode mode;
        int clicksToStore;
    };
    const Case cases[] = {{StillMode::kStraightLine, 2},
                          {StillMode::kDotLine, 3},
                          {StillMode::kRadiusCircle, 2},
                          {StillMode::kDiameterCircle, 2},
                          {StillMode::kRectangle, 2},
                          {StillMode::kAngle, 3},
                          {StillMode::kFourPointAngle, 4},
                          {StillMode::kThreePointCircle, 3},
                          {StillMode::kArc, 3},
                          {StillMode::kTwoCircles, 9}};
    const P clicks[] = {{10, 10},   {200, 30},  {120, 200}, {300, 250}, {50, 300},
                        {400, 100}, {450, 300}, {350, 400}, {500, 50}};
    for (const Case& c : cases) {
        // The two circles store at their last click; the others place a label after it.
        const int lastPhase = c.mode == StillMode::kTwoCircles ? 8 : c.clicksToStore;
        for (int k = 1; k <= lastPhase; ++k) {
            Measure(c.mode);
            for (int i = 0; i < k; ++i) {
                Click(clicks[i].x, clicks[i].y);
            }
            EXPECT_EQ(records.size(), k == c.clicksToStore ? 1u : 0u)
                << int(c.mode) << " after " << k;
            interaction.RightClick({1, 1});
            EXPECT_TRUE(records.empty()) << int(c.mode) << " after " << k;
            EXPECT_FALSE(view.captured);
            EXPECT_FALSE(interaction.MeasurementInProgress());
        }
        Measure(c.mode);  // and the full sequence still works afterwards
        for (int i = 0; i < c.clicksToStore; ++i) {
            Click(clicks[i].x, clicks[i].y);
        }
        ASSERT_EQ(records.size(), 1u) << int(c.mode);
        RemoveRecord(records, 0);
    }
    EXPECT_EQ(view.bandFaults, 0);
}

TEST_F(StillToolsTest, ClicksOutsideThePictureStartNothing) {
    Measure(StillMode::kStraightLine);
    Click(640, 10);
    Click(10, 480);
    Click(-1, 10);
    EXPECT_FALSE(interaction.MeasurementInProgress());
    interaction.SetPictureSize(320, 240);  // shown at 640x480
    Click(600, 400);
    EXPECT_TRUE(interaction.MeasurementInProgress());
}

TEST_F(StillToolsTest, CaptureIsReleasedOnToolChangeFocusLossAndDestruction) {
    Measure(StillMode::kAngle);
    Click(0, 0);
    EXPECT_TRUE(view.captured);
    Measure(StillMode::kRectangle);
    EXPECT_FALSE(view.captured);
    EXPECT_FALSE(interaction.MeasurementInProgress());

    Click(0, 0);
    interaction.FocusLost();
    EXPECT_FALSE(view.captured);
    EXPECT_FALSE(view.confinedTo);
    Click(100, 50);  // the measurement goes on
    EXPECT_EQ(records.size(), 1u);
    EXPECT_TRUE(view.captured);

    {
        FakeInteractionView other;
        StillRecords otherRecords;
        {
            StillInteraction temporary(other, otherRecords, settings, counters);
            temporary.SetPictureSize(640, 480);
            temporary.ChooseTool(StillMode::kStraightLine, true);
            temporary.MouseDown({1, 1});
            EXPECT_TRUE(other.captured);
        }
        EXPECT_FALSE(other.captured);
        EXPECT_FALSE(other.confinedTo);
    }
}

TEST_F(StillToolsTest, RefusedRateKeepsThePreviousTool) {
    Measure(StillMode::kRectangle);
    view.rateAccepted = false;
    EXPECT_FALSE(interaction.ChooseTool(StillMode::kStraightLine, true));
    EXPECT_EQ(interaction.Mode(), StillMode::kRectangle);
    EXPECT_TRUE(interaction.ChooseTool(StillMode::kAngle, true));  // angles print no length
    EXPECT_TRUE(interaction.ChooseTool(StillMode::kStraightLine, false));
    EXPECT_TRUE(interaction.ChooseCommand(1258));  // draw menu straight line
    EXPECT_FALSE(interaction.Measuring());
    EXPECT_EQ(view.toolName, "Straight Line");
    EXPECT_TRUE(interaction.ChooseCommand(1259));
    EXPECT_EQ(view.toolName, "Continue Line");
    EXPECT_FALSE(interaction.ChooseCommand(1270));  // runs at once, selects nothing
}

TEST_F(StillToolsTest, ContinuousLineOfTenThousandSegments) {
    Measure(StillMode::kContinuousLine);
    Click(0, 0);
    for (int i = 1; i <= 10000; ++i) {
        const int x = i % 600;
        const int y = (i / 600) * 20 + (i % 2);
        Click(x, y);          // vertex
        Click(x + 5, y + 5);  // label
    }
    DoubleClickAt(7, 470);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(Last().labels.size(), 10001u);
    EXPECT_EQ(Last().points.size(), 1u + 2 * 10001);
}

TEST_F(StillToolsTest, CalibrationLineIsStoredWithoutLabelHandedOverOnceAndStillPlaced) {
    Measure(StillMode::kParallelLine);
    std::vector<double> handed;
    interaction.ExpectCalibrationLine(
        static_cast<int>(StillKind::kParallelLine), [&](MeasureRecord& line) {
            handed.push_back(double(line.points[1].x - line.points[0].x));
            EXPECT_EQ(line.labels, (Texts{""}));
            line.labels[0] = "L:2.000mm";  // the caller sets the label the new rate gives
        });
    Click(10, 10);
    Click(210, 10);
    ASSERT_EQ(handed, (std::vector<double>{200}));
    EXPECT_FALSE(interaction.ExpectingCalibrationLine());
    Click(220, 40);  // the label is placed as usual
    EXPECT_EQ(Last().labels, (Texts{"L:2.000mm"}));
    EXPECT_EQ(Last().points.back(), (P{220, 40}));

    Click(10, 100);  // the next line is an ordinary measurement
    Click(110, 100);
    EXPECT_EQ(handed.size(), 1u);
    EXPECT_EQ(Last().labels, (Texts{"L:1.000mm"}));

    interaction.ExpectCalibrationLine(static_cast<int>(StillKind::kParallelLine),
                                      [&](MeasureRecord&) { handed.push_back(-1); });
    Measure(StillMode::kParallelLine);  // choosing a tool abandons the calibration
    EXPECT_FALSE(interaction.ExpectingCalibrationLine());
    Click(10, 200);
    Click(110, 200);
    EXPECT_EQ(handed.size(), 1u);
}

}  // namespace
}  // namespace lensora::test
