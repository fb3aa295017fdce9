// Live comparison shapes: the length line's clicks and dialog, the dialogs' validation, and
// dragging every grab area of every shape.
#include "measure/comparison_shapes.h"

#include <gtest/gtest.h>

#include "measure/live_interaction.h"
#include "support/fake_interaction_view.h"

namespace lensora::test {
namespace {

using P = PixelPoint;
using Points = std::vector<PixelPoint>;
using Texts = std::vector<std::string>;

P C(int x, int y) {
    return {x + 98, y + 49};
}

class ComparisonShapesTest : public ::testing::Test {
  protected:
    void Click(P client) {
        interaction.MouseDown(client);
        interaction.MouseUp(client);
    }
    void Drag(P from, P to) {
        interaction.MouseDown(from);
        ASSERT_TRUE(interaction.Dragging());
        EXPECT_TRUE(view.moveCursor);
        EXPECT_TRUE(view.captured);
        interaction.MouseMove(to);
        interaction.MouseUp(to);
        EXPECT_FALSE(interaction.Dragging());
        EXPECT_FALSE(view.moveCursor);
        EXPECT_FALSE(view.captured);
    }

    FakeInteractionView view;
    LiveRecords records;
    ReferenceShapes shapes;
    AppSettings settings;
    LabelCounters counters;
    LiveInteraction interaction{view, records, shapes, settings, counters};
    void SetUp() override { interaction.SetViewTransform(kVideoAreaInMainWindow); }
};

TEST_F(ComparisonShapesTest, LengthLineTakesTwoClicksAndAsksForTheLength) {
    ASSERT_TRUE(interaction.ChooseCommand(1212));
    Click(C(50, 50));
    interaction.MouseMove(C(100, 60));
    EXPECT_EQ(view.shownBand->from, C(50, 50));
    view.lengths = {0.0, 2.0};
    Click(C(300, 120));  // more horizontal than vertical
    EXPECT_EQ(view.prompts.shown, Texts{"Please enter digital!"});
    EXPECT_EQ(view.askedUnits, (Texts{"mm", "mm"}));
    ASSERT_EQ(shapes.size(), 1u);
    EXPECT_EQ(shapes[0].kind, ReferenceKind::kLengthLine);
    EXPECT_EQ(shapes[0].points, (Points{{50, 50}, {250, 50}}));
    EXPECT_EQ(shapes[0].flag, 0);
    EXPECT_FALSE(view.captured);

    view.lengths = {1.5};
    Click(C(400, 100));
    Click(C(410, 300));
    ASSERT_EQ(shapes.size(), 2u);
    EXPECT_EQ(shapes[1].points, (Points{{400, 100}, {400, 250}}));
    EXPECT_EQ(shapes[1].flag, 1);

    Click(C(10, 10));
    Click(C(20, 10));  // the dialog is cancelled
    EXPECT_EQ(shapes.size(), 2u);
    EXPECT_TRUE(records.empty());
    EXPECT_FALSE(interaction.ShapeEditing());
}

TEST_F(ComparisonShapesTest, DialogNumbersAreChecked) {
    EXPECT_FALSE(interaction.CreateAngleLine(0, 10));
    EXPECT_EQ(view.prompts.shown, Texts{"Please enter digital X[0--640],Y[0--480]!"});
    EXPECT_FALSE(interaction.CreateToleranceCircle(1.0, 0.0, 0.2));
    EXPECT_EQ(view.prompts.shown.back(), "Please enter digital!");
    view.rateAccepted = false;
    EXPECT_FALSE(interaction.CreateToleranceCircle(1.0, 0.1, 0.2));
    EXPECT_TRUE(shapes.empty());
    EXPECT_FALSE(interaction.ShapeEditing());

    view.rateAccepted = true;
    ASSERT_TRUE(interaction.CreateToleranceCircle(1.0, 0.1, 0.2));
    ASSERT_EQ(shapes.size(), 1u);
    EXPECT_EQ(shapes[0].points, Points{kToleranceCircleCentre});
    EXPECT_EQ(shapes[0].radiusPx, 100);
    EXPECT_EQ(shapes[0].tolerancePlusPx, 10);
    EXPECT_EQ(shapes[0].toleranceMinusPx, 20);
    EXPECT_TRUE(interaction.ShapeEditing());
    ASSERT_TRUE(interaction.ChooseTool(LiveKind::kLengthLine));
    EXPECT_FALSE(interaction.ShapeEditing());
}

TEST_F(ComparisonShapesTest, AngleLineDragsByVertexAndEachArm) {
    ASSERT_TRUE(interaction.CreateAngleLine(100, 300));
    EXPECT_EQ(shapes[0].points, (Points{{100, 300}, {100, 100}, {300, 300}}));
    EXPECT_TRUE(interaction.ShapeEditing());

    Drag(C(105, 295), C(150, 350));  // vertex: the whole shape moves
    EXPECT_EQ(shapes[0].points, (Points{{150, 350}, {150, 150}, {350, 350}}));
    Drag(C(153, 250), C(60, 120));  // first arm's end
    EXPECT_EQ(shapes[0].points, (Points{{150, 350}, {60, 120}, {350, 350}}));
    Drag(C(250, 347), C(400, 400));  // second arm's end
    EXPECT_EQ(shapes[0].points, (Points{{150, 350}, {60, 120}, {400, 400}}));

    Click(C(600, 50));  // off the shape: no drag
    EXPECT_FALSE(interaction.Dragging());
    EXPECT_EQ(shapes[0].points[0], (P{150, 350}));
}

TEST_F(ComparisonShapesTest, LengthLineAndToleranceCircleDragByEachGrabArea) {
    ASSERT_TRUE(interaction.ChooseTool(LiveKind::kLengthLine));
    view.lengths = {2.0};
    Click(C(50, 50));
    Click(C(300, 60));
    ASSERT_TRUE(interaction.CreateToleranceCircle(1.0, 0.1, 0.2));
    ASSERT_EQ(shapes.size(), 2u);

    Drag(C(60, 60), C(70, 100));  // start: the line moves
    EXPECT_EQ(shapes[0].points, (Points{{70, 100}, {270, 100}}));
    Drag(C(280, 110), C(350, 200));  // end: stretched along x only
    EXPECT_EQ(shapes[0].points, (Points{{70, 100}, {350, 100}}));

    Drag(C(330, 250), C(300, 200));  // inside radius minus the larger tolerance
    EXPECT_EQ(shapes[1].points, (Points{{300, 200}}));
    Click(C(385, 200));  // 85 pixels from the centre: beyond 100 - 20
    EXPECT_FALSE(interaction.Dragging());
    EXPECT_EQ(shapes[1].points, (Points{{300, 200}}));
}

TEST_F(ComparisonShapesTest, AGrabIsNotAClickOfTheCurrentTool) {
    ASSERT_TRUE(interaction.CreateAngleLine(100, 300));
    ASSERT_TRUE(interaction.ChooseTool(LiveKind::kStraightLine));
    EXPECT_TRUE(interaction.ShapeEditing());
    Drag(C(100, 300), C(110, 310));
    EXPECT_FALSE(interaction.MeasurementInProgress());
    Click(C(500, 50));
    EXPECT_TRUE(interaction.MeasurementInProgress());
}

TEST_F(ComparisonShapesTest, FocusLossEndsADrag) {
    ASSERT_TRUE(interaction.CreateAngleLine(100, 300));
    interaction.MouseDown(C(100, 300));
    ASSERT_TRUE(interaction.Dragging());
    interaction.FocusLost();
    EXPECT_FALSE(interaction.Dragging());
    EXPECT_FALSE(view.captured);
    EXPECT_FALSE(view.moveCursor);
    interaction.MouseMove(C(200, 200));
    EXPECT_EQ(shapes[0].points[0], (P{100, 300}));
}

TEST(ComparisonShapeGrabTest, VerticalLengthLineStretchesAlongY) {
    ReferenceShape line;
    line.kind = ReferenceKind::kLengthLine;
    line.flag = 1;
    line.points = {{100, 100}, {100, 300}};
    EXPECT_EQ(HitGrabArea(line, {136, 64}), GrabArea::LengthStart);
    EXPECT_EQ(HitGrabArea(line, {64, 330}), GrabArea::LengthEnd);
    EXPECT_FALSE(HitGrabArea(line, {100, 200}));
    DragShape(line, GrabArea::LengthEnd, {400, 350});
    EXPECT_EQ(line.points[1], (P{100, 350}));
    ReferenceShape empty;
    empty.kind = ReferenceKind::kAngleLine;
    EXPECT_FALSE(HitGrabArea(empty, {0, 0}));
    DragShape(empty, GrabArea::AngleFirstArm, {1, 1});
    EXPECT_TRUE(empty.points.empty());
}

}  // namespace
}  // namespace lensora::test
