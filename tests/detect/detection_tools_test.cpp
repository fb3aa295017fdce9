// The automatic tools driven through the interactions of both views, on synthetic pictures
// with known edges, with and without a scroll offset.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "detect/auto_tool_preview.h"
#include "detect/detection_tools.h"
#include "detect/synthetic_pictures.h"
#include "measure/live_interaction.h"
#include "measure/measured_values.h"
#include "measure/still_interaction.h"
#include "support/fake_interaction_view.h"
#include "support/recording_surface.h"

namespace lensora::test {
namespace {

using namespace lensora::testing;
using P = PixelPoint;

// Stands in for the window that owns the tools: picture, mapping and what was notified.
struct Window {
    CxImage picture;
    bool hasPicture = true;
    ViewTransform mapping;
    int busyDepth = 0;
    int busyRuns = 0;
    bool busyFault = false;
    int pictureChanges = 0;

    DetectionHooks Hooks() {
        DetectionHooks hooks;
        hooks.picture = [this] { return hasPicture ? &picture : nullptr; };
        hooks.mapping = [this] { return mapping; };
        hooks.busy = [this](bool on) {
            busyDepth += on ? 1 : -1;
            busyRuns += on ? 1 : 0;
            busyFault = busyFault || busyDepth < 0 || busyDepth > 1;
        };
        hooks.pictureChanged = [this] { ++pictureChanges; };
        return hooks;
    }
    bool BusyPaired() const { return busyDepth == 0 && !busyFault; }
};

// A still canvas in actual-size mode: picture = client + scroll.
struct Still {
    Window window;
    FakeInteractionView view;
    StillRecords records;
    AppSettings settings;
    LabelCounters counters;
    DetectionTools tools{window.Hooks()};
    StillInteraction interaction{view, records, settings, counters, &tools};

    Still(CxImage picture, P scroll, double factor = 1.0) {
        window.picture = std::move(picture);
        window.mapping = {scroll.x, scroll.y, factor, factor};
        view.drawing.subPixelEdges = false;  // the snapped pixels themselves
        interaction.SetPictureSize(window.picture.GetWidth(), window.picture.GetHeight());
        interaction.SetScrollOffset(scroll);
    }
    // Clicks at picture positions (factor 1).
    void ClickAt(P picture) {
        interaction.MouseDown(
            {picture.x - window.mapping.origin.x, picture.y - window.mapping.origin.y});
    }
};

struct Live {
    Window window;
    FakeInteractionView view;
    LiveRecords records;
    ReferenceShapes shapes;
    AppSettings settings;
    LabelCounters counters;
    DetectionTools tools{window.Hooks()};
    LiveInteraction interaction{view, records, shapes, settings, counters, &tools};

    explicit Live(CxImage picture) {
        window.picture = std::move(picture);
        view.drawing.subPixelEdges = false;
        interaction.SetViewTransform(kVideoAreaInMainWindow);
    }
    void ClickAt(P video) { interaction.MouseDown({video.x + 98, video.y + 49}); }
};

TEST(DetectionToolsTest, AutoCircleAndArcFitTheSnappedRimPoints) {
    // Actual size scrolled by (30, 40), and fit mode showing a picture twice the view's size.
    for (const double factor : {1.0, 2.0}) {
        const int f = static_cast<int>(factor);
        const P scroll = factor == 1.0 ? P{30, 40} : P{};
        Still still(DiscPicture(400 * f, 400 * f, 200 * f, 200 * f, 50 * f), scroll, factor);
        ASSERT_TRUE(still.interaction.ChooseTool(StillMode::kAutoCircle, true));
        // Clicks eight view pixels outside the rim snap onto it.
        for (P view : {P{258, 200}, P{200, 142}, P{142, 200}}) {
            still.interaction.MouseDown({view.x - scroll.x, view.y - scroll.y});
        }
        const std::vector<P> rim = {{250, 200}, {200, 150}, {150, 200}};
        EXPECT_EQ(still.interaction.Working().points, rim) << factor;
        EXPECT_TRUE(still.view.captured);
        still.interaction.RightClick({300 - scroll.x, 320 - scroll.y});
        ASSERT_EQ(still.records.size(), 1u) << factor;
        const MeasureRecord& circle = still.records[0];
        EXPECT_EQ(circle.kind, 19);
        EXPECT_EQ(circle.points, (std::vector<P>{{200, 200}, {300, 320}}));
        EXPECT_NEAR(circle.fitRadius, 50.0, 1.0);
        EXPECT_EQ(circle.labels.at(1), "R:0.500mm");
        EXPECT_FALSE(still.interaction.MeasurementInProgress());
        EXPECT_FALSE(still.view.captured);

        ASSERT_TRUE(still.interaction.ChooseTool(StillMode::kAutoArc, true));
        for (P view : {P{258, 200}, P{200, 142}, P{142, 200}}) {
            still.interaction.MouseDown({view.x - scroll.x, view.y - scroll.y});
        }
        still.interaction.RightClick({5, 5});
        ASSERT_EQ(still.records.size(), 2u);
        EXPECT_EQ(still.records[1].kind, 333);
        EXPECT_EQ(still.records[1].points,
                  (std::vector<P>{{250, 200}, {200, 150}, {150, 200}, {200, 200}, {200, 200}}));
        EXPECT_EQ(still.records[1].labels.at(1), "Angle:180.00°");
        EXPECT_FALSE(still.interaction.PlacingLabel());
        EXPECT_EQ(still.window.busyRuns, 0);  // snapping and fitting need no busy cursor
    }
}

TEST(DetectionToolsTest, RightClickBeforeEnoughPointsCancelsOrOpensTheMenu) {
    Still still(DiscPicture(400, 400, 200, 200, 50), {});
    ASSERT_TRUE(still.interaction.ChooseTool(StillMode::kAutoCircle, true));
    still.ClickAt({260, 200});
    still.ClickAt({200, 140});
    still.interaction.RightClick({5, 5});
    EXPECT_TRUE(still.records.empty());
    EXPECT_FALSE(still.interaction.MeasurementInProgress());
    EXPECT_FALSE(still.view.captured);

    Live live(DiscPicture(640, 480, 200, 200, 50));
    ASSERT_TRUE(live.interaction.ChooseTool(LiveKind::kAutoCircle));
    live.ClickAt({260, 200});
    live.ClickAt({200, 140});
    EXPECT_EQ(live.interaction.RightClick({300, 300}), LiveRightClick::ShowContextMenu);
    EXPECT_EQ(live.interaction.Working().points.size(), 2u);  // the menu's Cancel decides
    live.ClickAt({140, 200});
    EXPECT_EQ(live.interaction.RightClick({300, 300}), LiveRightClick::ToolFinished);
    ASSERT_EQ(live.records.size(), 1u);
    EXPECT_EQ(live.records[0].kind, 21);
    EXPECT_EQ(live.records[0].points, (std::vector<P>{{200, 200}, {202, 251}}));
}

TEST(DetectionToolsTest, PointsAlongOneEdgeMakeALineButNoCircle) {
    // Clicks left of a dark bar snap onto its outline at x = 80.
    Still still(VerticalBarPicture(200, 160, 80, 119), {10, 20});
    ASSERT_TRUE(still.interaction.ChooseTool(StillMode::kAutoCircle, true));
    for (int y : {30, 60, 90}) {
        still.ClickAt({75, y});
    }
    still.interaction.RightClick({20, 20});  // collinear: used, nothing stored, points kept
    EXPECT_TRUE(still.records.empty());
    EXPECT_EQ(still.interaction.Working().points.size(), 3u);

    ASSERT_TRUE(still.interaction.ChooseTool(StillMode::kAutoLineLength2, true));
    for (int y : {30, 60, 90}) {
        still.ClickAt({75, y});
    }
    still.interaction.RightClick({20, 20});
    ASSERT_EQ(still.records.size(), 1u);
    const MeasureRecord& line = still.records[0];
    EXPECT_EQ(line.kind, 24);
    ASSERT_EQ(line.points.size(), 3u);
    EXPECT_EQ(line.points[0].x, 80);
    EXPECT_EQ(line.points[1].x, 80);
    EXPECT_EQ(std::abs(line.points[1].y - line.points[0].y), 60);
    EXPECT_EQ(line.labels, Labels{"L:0.600mm"});
}

TEST(DetectionToolsTest, SnappingUsesTheDetectionRangeAndIgnoresUnusablePictures) {
    Still still(DiscPicture(400, 400, 200, 200, 50), {});
    still.view.drawing.detectionRange = 10;
    ASSERT_TRUE(still.interaction.ChooseTool(StillMode::kAutoCircle, true));
    still.ClickAt({265, 200});  // the rim is 15 pixels away: lands on the window's corner
    EXPECT_EQ(still.interaction.Working().points, (std::vector<P>{{255, 210}}));

    still.interaction.RightClick({5, 5});
    still.window.hasPicture = false;
    still.ClickAt({260, 200});
    still.window.hasPicture = true;
    still.window.picture.Create(400, 400, 8);
    still.ClickAt({260, 200});
    EXPECT_FALSE(still.interaction.MeasurementInProgress());
    EXPECT_FALSE(still.view.captured);
}

TEST(DetectionToolsTest, SegmentToolsSearchUnderTheDrawnSegmentsOrKeepThem) {
    Still still(VerticalBarPicture(200, 160, 80, 119), {10, 20});
    AddNoise(still.window.picture, 20, 8);
    ASSERT_TRUE(still.interaction.ChooseTool(StillMode::kAutoLineLength1, true));
    still.ClickAt({73, 30});
    ASSERT_TRUE(still.view.shownBand);
    EXPECT_EQ(still.view.shownBand->kind, RubberBandKind::Line);
    still.ClickAt({73, 130});
    EXPECT_EQ(still.window.busyRuns, 1);
    ASSERT_EQ(still.records.size(), 1u);
    EXPECT_EQ(still.records[0].kind, 23);
    ASSERT_EQ(still.records[0].points.size(), 3u);
    EXPECT_LE(std::abs(still.records[0].points[0].x - 80), 1);
    EXPECT_LE(std::abs(still.records[0].points[1].x - 80), 1);
    ASSERT_TRUE(still.interaction.PlacingLabel());  // the anchor starts at the storing click
    EXPECT_EQ(still.records[0].points[2], (P{73, 130}));
    still.ClickAt({150, 40});
    EXPECT_EQ(still.records[0].points[2], (P{150, 40}));

    // No edge: the drawn segments stand in; a drawn line without length stores nothing.
    Still flat(UniformPicture(200, 160, 100), {});
    ASSERT_TRUE(flat.interaction.ChooseTool(StillMode::kAutoLineLength1, true));
    flat.ClickAt({50, 50});
    flat.ClickAt({50, 50});
    EXPECT_TRUE(flat.records.empty());
    EXPECT_FALSE(flat.interaction.MeasurementInProgress());
    flat.ClickAt({50, 50});
    flat.ClickAt({50, 150});
    ASSERT_EQ(flat.records.size(), 1u);
    EXPECT_EQ(flat.records[0].labels, Labels{"L:1.000mm"});
    ASSERT_TRUE(flat.interaction.ChooseTool(StillMode::kAutoAngle, true));
    for (P p : {P{10, 100}, P{110, 100}, P{10, 100}, P{10, 0}, P{120, 120}}) {
        flat.ClickAt(p);
    }
    ASSERT_EQ(flat.records.size(), 2u);
    EXPECT_EQ(flat.records[1].kind, 21);
    EXPECT_EQ(flat.records[1].labels, Labels{"90.00°"});
    EXPECT_EQ(flat.records[1].points.back(), (P{120, 120}));
    EXPECT_TRUE(flat.window.BusyPaired());
    EXPECT_EQ(flat.window.busyRuns, 3);
}

TEST(DetectionToolsTest, LineSpacingMeasuresOrCalibratesBetweenTwoEdges) {
    const auto drawBoth = [](auto& view) {
        for (P p : {P{83, 30}, P{83, 130}, P{116, 30}, P{116, 130}}) {
            view.ClickAt(p);
        }
    };
    Still still(VerticalBarPicture(200, 160, 80, 119), {10, 20});
    ASSERT_TRUE(still.interaction.ChooseTool(StillMode::kAutoLineSpacing, true));
    drawBoth(still);
    ASSERT_EQ(still.records.size(), 1u);
    EXPECT_EQ(still.records[0].kind, 18);
    ASSERT_EQ(still.records[0].points.size(), 7u);
    EXPECT_LE(std::abs(still.records[0].points[0].x - 80), 1);
    EXPECT_LE(std::abs(still.records[0].points[1].x - 119), 1);
    EXPECT_EQ(still.records[0].labels.at(0).rfind("L:0.3", 0), 0u) << still.records[0].labels[0];
    EXPECT_TRUE(still.interaction.PlacingLabel());
    EXPECT_EQ(still.window.busyRuns, 1);

    // As the calibration line the interaction hands it over with an empty label; its length
    // is the distance between the two edges.
    still.ClickAt({150, 150});
    std::vector<double> lines;
    still.interaction.ExpectCalibrationLine(18, [&lines](MeasureRecord& line) {
        lines.push_back(std::hypot(double(line.points[1].x) - line.points[0].x,
                                   double(line.points[1].y) - line.points[0].y));
    });
    drawBoth(still);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NEAR(lines[0], 39.0, 1.5);
    ASSERT_EQ(still.records.size(), 2u);
    EXPECT_EQ(still.records[1].labels, Labels{""});
    EXPECT_TRUE(still.window.BusyPaired());

    // The live view: the record enters the list at the placing click.
    Live live(VerticalBarPicture(640, 480, 80, 119));
    ASSERT_TRUE(live.interaction.ChooseTool(LiveKind::kAutoLineSpacing));
    drawBoth(live);
    EXPECT_TRUE(live.records.empty());
    live.ClickAt({200, 200});
    ASSERT_EQ(live.records.size(), 1u);
    EXPECT_EQ(live.records[0].kind, 24);
    EXPECT_EQ(live.records[0].points,
              (std::vector<P>{still.records[0].points[0], still.records[0].points[1], {200, 200}}));
}

TEST(DetectionToolsTest, CheckEdgePaintsTheMarkedSectionOfTheScrolledPicture) {
    Still still(DiscPicture(300, 300, 100, 100, 50), {30, 40});
    ASSERT_TRUE(still.interaction.ChooseTool(StillMode::kCheckEdgePortion, false));
    still.interaction.MouseDown({10, 10});  // picture (40, 50)
    still.interaction.MouseUp({150, 150});  // picture (180, 190)
    EXPECT_EQ(still.window.pictureChanges, 1);
    EXPECT_EQ(still.window.busyRuns, 1);
    EXPECT_TRUE(still.window.BusyPaired());
    int inside = 0;
    int outside = 0;
    for (int y = 0; y < 300; ++y) {
        for (int x = 0; x < 300; ++x) {
            if (IsRed(still.window.picture, x, y)) {
                (x >= 40 && x <= 180 && y >= 50 && y <= 190 ? inside : outside) += 1;
            }
        }
    }
    EXPECT_GT(inside, 100);
    EXPECT_EQ(outside, 0);
    // Both sides of the disc's rim lie in the section.
    int leftRim = 0;
    int rightRim = 0;
    for (int d = -5; d <= 5; ++d) {
        leftRim += IsRed(still.window.picture, 50 + d, 100) ? 1 : 0;
        rightRim += IsRed(still.window.picture, 150 + d, 100) ? 1 : 0;
    }
    EXPECT_GT(leftRim, 0);
    EXPECT_GT(rightRim, 0);

    EXPECT_TRUE(still.tools.PaintWholePicture());
    EXPECT_EQ(still.window.pictureChanges, 2);
    still.window.hasPicture = false;
    EXPECT_FALSE(still.tools.ProcessSection({0, 0}, {50, 50}));
    EXPECT_FALSE(still.tools.PaintWholePicture());
    EXPECT_EQ(still.window.pictureChanges, 2);
    EXPECT_EQ(still.window.busyRuns, 2);
}

TEST(DetectionToolsTest, PreviewShowsDrawnSegmentsAndSnappedCrosses) {
    Still still(DiscPicture(400, 400, 200, 200, 50), {30, 40});
    still.view.drawing.penWidth = 3;
    still.view.drawing.penColour = 0x0000FF;
    ASSERT_TRUE(still.interaction.ChooseTool(StillMode::kAutoCircle, true));
    still.ClickAt({258, 200});
    RecordingSurface crosses;
    DrawAutoPreview(crosses, StillAutoPreview(still.interaction.Mode()),
                    still.interaction.Working(), still.view.drawing, {30, 40});
    ASSERT_EQ(crosses.calls.size(), 2u);
    EXPECT_EQ(crosses.calls[0].points, (std::vector<P>{{216, 160}, {224, 160}}));
    EXPECT_EQ(crosses.calls[1].points, (std::vector<P>{{220, 156}, {220, 164}}));
    EXPECT_EQ(crosses.calls[0].pen, (Pen{PenStyle::Solid, 1, 0x0000FF}));

    ASSERT_TRUE(still.interaction.ChooseTool(StillMode::kAutoAngle, true));
    for (P p : {P{50, 60}, P{90, 60}, P{120, 70}}) {
        still.ClickAt(p);
    }
    RecordingSurface segments;
    DrawAutoPreview(segments, StillAutoPreview(still.interaction.Mode()),
                    still.interaction.Working(), still.view.drawing, {30, 40});
    ASSERT_EQ(segments.calls.size(), 1u);
    EXPECT_EQ(segments.calls[0].points, (std::vector<P>{{20, 20}, {60, 20}}));
    EXPECT_EQ(segments.calls[0].pen.width, 3);
    EXPECT_EQ(LiveAutoPreview(LiveKind::kAutoArc), AutoPreview::Crosses);
    EXPECT_EQ(LiveAutoPreview(LiveKind::kArc), AutoPreview::None);
}

}  // namespace
}  // namespace lensora::test
