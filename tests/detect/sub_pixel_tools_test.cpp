// "Sub-pixel edges" through the tools: the segment tools on refined lines, the point tools in
// the still interaction (no edge near a click, circle and arc records with their exact
// values), the geometric circle fit, the noise cache and records that keep their exact values
// when moved.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "detect/auto_line_tools.h"
#include "detect/circle_fit.h"
#include "detect/detection_tools.h"
#include "detect/noise_estimate.h"
#include "detect/sub_pixel_pictures.h"
#include "measure/record_move.h"
#include "measure/still_interaction.h"
#include "support/fake_interaction_view.h"

namespace lensora::test {
namespace {

using namespace lensora::testing;
using P = PixelPoint;

const ScaleContext kPixels{1.0, "px", 3};

double Printed(const std::string& label) {
    return std::stod(label.substr(label.find(':') + 1));
}

TEST(SubPixelSegmentTools, SpacingAndAngleBetweenRefinedLines) {
    // Facing edges of a bar pair at x = 140.3 and 170.6: 30.3 pixels apart.
    const auto bars = [](double x, double) {
        return (x >= 100.3 && x <= 140.3) || (x >= 170.6 && x <= 210.8);
    };
    // Two edges at 12 and 49.5 degrees (37.5 between them), crossing outside the picture.
    const auto side = [](PointD p, double degrees, double x, double y) {
        const double a = degrees * std::numbers::pi / 180;
        return (x - p.x) * std::sin(a) - (y - p.y) * std::cos(a);
    };
    const auto wedge = [&](double x, double y) {
        return (side({60.3, 200.2}, 12, x, y) < 0) != (side({300.6, 40.7}, 49.5, x, y) < 0);
    };
    for (Condition condition : {Condition::kClean, Condition::kNoisy, Condition::kNoisyJpeg}) {
        const double bound = condition == Condition::kClean ? 0.25 : 0.5;
        const CxImage pair = UnderCondition(AreaSampledPicture(300, 160, bars), condition, 5);
        NoiseCache noise;
        const auto spacing =
            AutoLineSpacing(pair, {{138, 30}, {138, 130}}, {{172, 30}, {172, 130}}, {150, 140},
                            ViewTransform{}, kPixels, AutoView::kStill, noise.SigmaFor(pair));
        ASSERT_TRUE(spacing);
        EXPECT_TRUE(spacing->detected);
        EXPECT_NEAR(spacing->distancePx, 30.3, bound);
        EXPECT_NEAR(Printed(spacing->record.labels[0]), 30.3, bound);
        ASSERT_TRUE(spacing->record.refined);
        EXPECT_NEAR(spacing->record.refined->points[0].x, 140.3, bound);

        const auto length = AutoLineLength1(pair, {{99, 20}, {99, 140}}, {90, 90}, ViewTransform{},
                                            kPixels, noise.SigmaFor(pair));
        ASSERT_TRUE(length && length->refined);
        for (const PointD& end : length->refined->points) {
            EXPECT_NEAR(end.x, 100.3, bound);
        }

        const CxImage lines = UnderCondition(AreaSampledPicture(420, 320, wedge), condition, 6);
        const auto angle =
            AutoAngleDetection(lines, {{90, 205}, {200, 228}}, {{330, 75}, {400, 157}}, {10, 10},
                               ViewTransform{}, AutoView::kStill, noise.SigmaFor(lines));
        ASSERT_TRUE(angle);
        EXPECT_TRUE(angle->firstFound && angle->secondFound);
        EXPECT_NEAR(Printed(":" + angle->record.labels[0]), 37.5,
                    condition == Condition::kClean ? 0.2 : 0.5);
    }

    // Pure noise: whatever the segment search makes of it, the drawn segments are used.
    CxImage noise = AreaSampledPicture(300, 160, [](double, double) { return false; });
    AddGaussianNoise(noise, 8.0, 7);
    const auto spacing =
        AutoLineSpacing(noise, {{100, 30}, {100, 130}}, {{170, 30}, {170, 130}}, {150, 140},
                        ViewTransform{}, kPixels, AutoView::kStill, EstimateNoiseSigma(noise));
    ASSERT_TRUE(spacing);
    EXPECT_FALSE(spacing->detected);
    EXPECT_FALSE(spacing->record.refined);
}

// The still view with the setting on (the default), in actual size scrolled by (30, 40).
struct SubPixelStill {
    CxImage picture;
    std::vector<std::string> notices;
    FakeInteractionView view;
    StillRecords records;
    AppSettings settings;
    LabelCounters counters;
    DetectionTools tools{Hooks()};
    StillInteraction interaction{view, records, settings, counters, &tools};
    P scroll{30, 40};

    explicit SubPixelStill(CxImage image) : picture(std::move(image)) {
        interaction.SetPictureSize(picture.GetWidth(), picture.GetHeight());
        interaction.SetScrollOffset(scroll);
    }
    DetectionHooks Hooks() {
        DetectionHooks hooks;
        hooks.picture = [this] { return &picture; };
        hooks.mapping = [this] { return ViewTransform{{scroll.x, scroll.y}, 1.0, 1.0}; };
        hooks.notify = [this](std::string_view text) { notices.emplace_back(text); };
        return hooks;
    }
    void ClickAt(PointD at) {
        const P p = RoundToPixel(at);
        interaction.MouseDown({p.x - scroll.x, p.y - scroll.y});
    }
};

TEST(SubPixelPointTools, CircleAndArcKeepTheirExactValuesAndFarClicksFindNoEdge) {
    const PointD centre{200.37, 180.62};
    const double radius = 50.0;
    CxImage disc = AreaSampledPicture(400, 360, [&](double x, double y) {
        return std::hypot(x - centre.x, y - centre.y) <= radius;
    });
    AddGaussianNoise(disc, 8.0, 3);
    SubPixelStill still(std::move(disc));
    ASSERT_TRUE(still.view.drawing.subPixelEdges);

    ASSERT_TRUE(still.interaction.ChooseTool(StillMode::kAutoCircle, true));
    still.view.drawing.detectionRange = 10;
    still.ClickAt({centre.x + radius + 15, centre.y});  // beyond the range: no corner point
    EXPECT_EQ(still.notices, (std::vector<std::string>{"No edge found near the click"}));
    EXPECT_FALSE(still.interaction.MeasurementInProgress());
    still.view.drawing.detectionRange = 20;
    for (int k = 0; k < 8; ++k) {
        const double a = k * std::numbers::pi / 4 + 0.2;
        const double off = (k % 2 == 0 ? 1 : -1) * (1 + 2 * k);
        still.ClickAt(
            {centre.x + (radius + off) * std::cos(a), centre.y + (radius + off) * std::sin(a)});
    }
    EXPECT_EQ(still.interaction.Working().points.size(), 8u);
    still.interaction.RightClick({300, 320});
    ASSERT_EQ(still.records.size(), 1u);
    const MeasureRecord& circle = still.records[0];
    EXPECT_EQ(circle.kind, 19);
    ASSERT_TRUE(circle.refined && circle.refined->centre);
    // Record coordinates carry the scroll offset, like the integer points.
    EXPECT_NEAR(circle.refined->centre->x, centre.x, 0.5);
    EXPECT_NEAR(circle.refined->centre->y, centre.y, 0.5);
    EXPECT_EQ(circle.points[0], (P{TruncateToPixel(circle.refined->centre->x),
                                   TruncateToPixel(circle.refined->centre->y)}));
    EXPECT_NEAR(circle.fitRadius, radius, 0.5);
    EXPECT_NEAR(Printed(circle.labels[1]), 0.01 * circle.fitRadius, 0.001);  // mm at 0.01/px

    // A quarter arc from the right to the top: counter-clockwise on screen, 90 degrees.
    ASSERT_TRUE(still.interaction.ChooseTool(StillMode::kAutoArc, true));
    for (int k = 0; k <= 4; ++k) {
        const double a = -k * std::numbers::pi / 8;
        still.ClickAt(
            {centre.x + (radius + 5) * std::cos(a), centre.y + (radius + 5) * std::sin(a)});
    }
    still.interaction.RightClick({5, 5});
    ASSERT_EQ(still.records.size(), 2u);
    const MeasureRecord& arc = still.records[1];
    EXPECT_EQ(arc.kind, 333);
    ASSERT_TRUE(arc.refined && arc.refined->centre);
    EXPECT_EQ(arc.refined->points.size(), 3u);
    EXPECT_NEAR(arc.refined->radius, radius, 0.5);
    // The arc runs between the refined end points, which lie on the rim near the clicks.
    const PointD first = arc.refined->points[0];
    const PointD last = arc.refined->points[2];
    const double expected = (std::atan2(centre.y - last.y, last.x - centre.x) -
                             std::atan2(centre.y - first.y, first.x - centre.x)) *
                            180 / std::numbers::pi;
    EXPECT_NEAR(expected, 90.0, 3.0);
    EXPECT_NEAR(Printed(arc.labels[1]), expected, 0.5);
    EXPECT_EQ(arc.points[3], RoundToPixel(*arc.refined->centre));
    EXPECT_EQ(arc.points[0], RoundToPixel(arc.refined->points[0]));

    // Moving the record moves its exact values with it.
    MeasureRecord moved = arc;
    ShiftRecord(moved, 7, -3);
    EXPECT_DOUBLE_EQ(moved.refined->centre->x, arc.refined->centre->x + 7);
    EXPECT_DOUBLE_EQ(moved.refined->points[2].y, arc.refined->points[2].y - 3);
}

TEST(SubPixelPointTools, UniformNoiseGivesNoEdgeAndNoRecord) {
    CxImage noise = AreaSampledPicture(300, 300, [](double, double) { return false; });
    AddGaussianNoise(noise, 8.0, 9);
    SubPixelStill still(std::move(noise));
    ASSERT_TRUE(still.interaction.ChooseTool(StillMode::kAutoCircle, true));
    for (PointD click : {PointD{100, 100}, PointD{150, 60}, PointD{200, 120}}) {
        still.ClickAt(click);
    }
    still.interaction.RightClick({5, 5});
    EXPECT_TRUE(still.records.empty());
    EXPECT_EQ(still.notices.size(), 3u);
}

TEST(GeometricCircleFit, DropsAnOutlierAndRefusesALine) {
    std::vector<PointD> points;
    for (int k = 0; k < 12; ++k) {
        const double a = k * std::numbers::pi / 6 + 0.1;
        points.push_back({10.25 + 40 * std::cos(a), -3.5 + 40 * std::sin(a)});
    }
    points.push_back({10.25 + 46, -3.5});  // six pixels outside the circle
    const auto circle = FitCircleGeometric(points);
    ASSERT_TRUE(circle);
    EXPECT_NEAR(circle->centre.x, 10.25, 1e-6);
    EXPECT_NEAR(circle->centre.y, -3.5, 1e-6);
    EXPECT_NEAR(circle->radius, 40.0, 1e-6);
    // Three points give the circle through them exactly.
    const std::vector<PointD> three{{0, 0}, {10, 10}, {20, 0}};
    EXPECT_NEAR(FitCircleGeometric(three)->radius, 10.0, 1e-9);
    const std::vector<PointD> line{{0, 0}, {1, 1}, {2, 2}, {3, 3}};
    EXPECT_FALSE(FitCircleGeometric(line));
}

TEST(NoiseEstimate, FollowsThePictureAndIsCachedUntilItChanges) {
    CxImage picture = AreaSampledPicture(
        200, 200, [](double x, double y) { return std::hypot(x - 100, y - 100) < 60; });
    EXPECT_LT(EstimateNoiseSigma(picture), 0.5);  // edges alone do not count as noise
    NoiseCache cache;
    EXPECT_LT(cache.SigmaFor(picture), 0.5);
    AddGaussianNoise(picture, 5.0, 1);
    EXPECT_NEAR(cache.SigmaFor(picture), 5.0, 0.75);  // changed pixels: estimated again
    CxImage none;
    EXPECT_EQ(EstimateNoiseSigma(none), 0.0);
}

}  // namespace
}  // namespace lensora::test
