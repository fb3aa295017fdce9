#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "detect/auto_line_tools.h"
#include "detect/auto_point_tools.h"
#include "detect/circle_fit.h"
#include "detect/line_fit.h"
#include "detect/synthetic_pictures.h"
#include "measure/geometry.h"
#include "measure/tool_catalog.h"

namespace lensora {
namespace {

using namespace lensora::testing;

const ScaleContext kScale{0.01, "mm", 3};

double LeadingNumber(const std::string& label) {
    const std::size_t start = label.find_first_of("0123456789");
    return std::stod(label.substr(start));
}

TEST(FitCircle, ExactForPointsOnACircleAndRefusesDegenerateInput) {
    const std::vector<PixelPoint> points = {{250, 200}, {200, 150}, {150, 200}, {200, 250}};
    const std::optional<FittedCircle> circle = FitCircle(points);
    ASSERT_TRUE(circle);
    EXPECT_NEAR(circle->centre.x, 200, 1e-9);
    EXPECT_NEAR(circle->centre.y, 200, 1e-9);
    EXPECT_NEAR(circle->radius, 50, 1e-9);
    EXPECT_FALSE(FitCircle(std::vector<PixelPoint>{{0, 0}, {10, 10}}));
    EXPECT_FALSE(FitCircle(std::vector<PixelPoint>{{0, 0}, {10, 10}, {20, 20}, {-5, -5}}));
    EXPECT_FALSE(FitCircle(std::vector<PixelPoint>{{3, 3}, {3, 3}, {3, 3}}));
}

TEST(AutoCircle, ThreeSnappedPointsOnARadiusFiftyCircle) {
    const ViewTransform mapping;
    for (int noise : {0, 15}) {
        CxImage image = DiscPicture(400, 400, 200, 200, 50);
        AddNoise(image, noise, 21);
        std::vector<PixelPoint> collected;
        for (PixelPoint click :
             {PixelPoint{260, 200}, PixelPoint{200, 140}, PixelPoint{140, 200}}) {
            const std::optional<PixelPoint> snapped = SnapClick(image, click, mapping, 20);
            ASSERT_TRUE(snapped);
            collected.push_back(*snapped);
        }
        EXPECT_FALSE(PointToolReady(PointTool::kCircle, 2));
        EXPECT_TRUE(PointToolReady(PointTool::kCircle, collected.size()));
        const std::optional<AutoToolResult> result =
            AutoCircle(collected, {300, 320}, mapping, kScale, AutoView::kStill);
        ASSERT_TRUE(result) << noise;
        EXPECT_EQ(result->kind, int(StillKind::kAutoCircle));
        ASSERT_EQ(result->points.size(), 2u);
        EXPECT_EQ(result->points[1], (PixelPoint{300, 320}));
        if (noise == 0) {
            EXPECT_EQ(collected, (std::vector<PixelPoint>{{250, 200}, {200, 150}, {150, 200}}));
            EXPECT_EQ(result->points[0], (PixelPoint{200, 200}));
            EXPECT_DOUBLE_EQ(result->fitRadius, 50.0);
            EXPECT_EQ(result->labels, CircleLabels(50.0, kScale));
            EXPECT_EQ(result->labels[1], "R:0.500mm");
        } else {
            EXPECT_NEAR(result->fitRadius, 50.0, 1.5);
            EXPECT_LE(std::abs(result->points[0].x - 200), 2);
            EXPECT_LE(std::abs(result->points[0].y - 200), 2);
        }
    }
}

TEST(AutoCircle, RecordPointsCarryTheScrollAndLiveCode) {
    const std::vector<PixelPoint> collected = {{250, 200}, {200, 150}, {150, 200}};
    const ViewTransform scrolled{30, 40, 1.0, 1.0};
    const std::optional<AutoToolResult> result =
        AutoCircle(collected, {10, 20}, scrolled, kScale, AutoView::kLive);
    ASSERT_TRUE(result);
    EXPECT_EQ(result->kind, int(LiveKind::kAutoCircle));
    EXPECT_EQ(result->points, (std::vector<PixelPoint>{{230, 240}, {40, 60}}));
    const MeasureRecord record = MakeAutoRecord(*result, AppSettings{}, ViewDrawingStyle{});
    EXPECT_EQ(record.kind, int(LiveKind::kAutoCircle));
    EXPECT_EQ(record.points, result->points);
    EXPECT_DOUBLE_EQ(record.fitRadius, 50.0);
    EXPECT_FALSE(AutoCircle(std::vector<PixelPoint>{{0, 0}, {5, 5}, {9, 9}}, {0, 0}, scrolled,
                            kScale, AutoView::kStill));
}

TEST(AutoArc, ClockwiseArcsReportTheArcThroughTheMiddlePoint) {
    const ViewTransform mapping;
    // A quarter from the top to the right, clockwise on screen and back.
    const std::vector<PixelPoint> clockwise = {{200, 150}, {240, 170}, {250, 200}};
    const std::vector<PixelPoint> counter = {{250, 200}, {240, 170}, {200, 150}};
    EXPECT_NEAR(ArcAngle({200, 150}, {200, 200}, {250, 200}), 270.0, 1e-4);
    for (const auto& points : {clockwise, counter}) {
        const std::optional<AutoToolResult> result =
            AutoArc(points, mapping, kScale, AutoView::kStill);
        ASSERT_TRUE(result);
        EXPECT_EQ(result->kind, int(StillKind::kAutoArc));
        ASSERT_EQ(result->labels.size(), 3u);
        EXPECT_EQ(result->labels[0], "R:0.500mm");
        EXPECT_EQ(result->labels[1], "Angle:90.00°");
        EXPECT_NEAR(LeadingNumber(result->labels[2]), 90 * 50 * 0.01 * 6.283 / 360, 1e-3);
    }
    // Three quarters clockwise: top, right, bottom, left.
    const std::vector<PixelPoint> large = {{200, 150}, {250, 200}, {200, 250}, {150, 200}};
    const std::optional<AutoToolResult> result =
        AutoArc(large, ViewTransform{5, 6, 1.0, 1.0}, kScale, AutoView::kLive);
    ASSERT_TRUE(result);
    EXPECT_EQ(result->kind, int(LiveKind::kAutoArc));
    EXPECT_EQ(result->labels[1], "Angle:270.00°");
    EXPECT_EQ(result->points, (std::vector<PixelPoint>{
                                  {205, 156}, {255, 206}, {155, 206}, {205, 206}, {205, 206}}));
}

TEST(AutoArc, PicksAnInnerPointNeverTheEnds) {
    // The ends lie exactly on the fitted circle, the inner points do not.
    const std::vector<PixelPoint> points = {{250, 200}, {236, 165}, {201, 152}, {150, 200}};
    const PointD centre{200, 200};
    EXPECT_EQ(PickArcPoint(points, centre, 50.0), 1u);
    const std::vector<PixelPoint> secondBetter = {{250, 200}, {238, 162}, {200, 151}, {150, 200}};
    EXPECT_EQ(PickArcPoint(secondBetter, centre, 50.0), 2u);
    // Equal differences keep the earlier point; nothing closer than the radius: the first.
    const std::vector<PixelPoint> tie = {{250, 200}, {200, 250}, {200, 150}, {150, 200}};
    EXPECT_EQ(PickArcPoint(tie, centre, 50.0), 1u);
    EXPECT_EQ(PickArcPoint(tie, centre, 0.0), 1u);
    EXPECT_FALSE(PickArcPoint(std::vector<PixelPoint>{{1, 1}, {2, 2}}, centre, 5.0));
    for (std::size_t count = 4; count <= 9; ++count) {
        std::vector<PixelPoint> arc;
        for (std::size_t i = 0; i < count; ++i) {
            const double a = 0.3 * double(i);
            arc.push_back(
                {RoundToPixel(200 + 80 * std::cos(a)), RoundToPixel(200 - 80 * std::sin(a))});
        }
        const std::optional<FittedCircle> fit = FitCircle(arc);
        ASSERT_TRUE(fit);
        const std::size_t picked = *PickArcPoint(arc, fit->centre, fit->radius);
        EXPECT_GE(picked, 1u);
        EXPECT_LE(picked, count - 2);
        const std::optional<AutoToolResult> result =
            AutoArc(arc, ViewTransform{}, kScale, AutoView::kStill);
        ASSERT_TRUE(result);
        EXPECT_EQ(result->points[1], arc[picked]);
    }
}

TEST(AutoLineLength2, RowsOfPointsGetTheirRealLength) {
    const ViewTransform mapping{10, 20, 1.0, 1.0};
    struct Case {
        std::vector<PixelPoint> points;
        PixelPoint a;
        PixelPoint b;
        std::string label;
    };
    const std::vector<Case> cases = {
        {{{100, 10}, {100, 40}, {100, 90}}, {110, 30}, {110, 110}, "L:0.800mm"},
        {{{70, 5}, {10, 5}, {40, 5}}, {20, 25}, {80, 25}, "L:0.600mm"},
        {{{0, 0}, {30, 40}, {60, 80}}, {10, 20}, {70, 100}, "L:1.000mm"},
    };
    for (const Case& c : cases) {
        EXPECT_TRUE(PointToolReady(PointTool::kLineLength2, c.points.size()));
        const std::optional<AutoToolResult> result =
            AutoLineLength2(c.points, mapping, kScale, AutoView::kStill);
        ASSERT_TRUE(result);
        EXPECT_EQ(result->kind, int(StillKind::kAutoLineLength2));
        EXPECT_EQ(result->points, (std::vector<PixelPoint>{c.a, c.b, c.b}));
        EXPECT_EQ(result->labels, Labels{c.label});
    }
    EXPECT_FALSE(PointToolReady(PointTool::kLineLength2, 1));
    EXPECT_FALSE(
        AutoLineLength2(std::vector<PixelPoint>{{5, 5}, {5, 5}}, mapping, kScale, AutoView::kLive));
    const std::optional<FittedLine> line = FitLine(std::vector<PixelPoint>{{0, 0}, {10, 10}});
    ASSERT_TRUE(line);
    EXPECT_NEAR(std::abs(line->direction.x), std::sqrt(0.5), 1e-6);
    EXPECT_NEAR(line->point.x, 5.0, 1e-6);
}

TEST(AutoLineLength1, FindsTheEdgeOrKeepsTheDrawnLine) {
    // Actual size scrolled by (10, 20): picture = view + scroll, records keep picture pixels.
    const ViewTransform mapping{10, 20, 1.0, 1.0};
    for (int noise : {0, 20}) {
        CxImage image = VerticalBarPicture(200, 160, 80, 119);
        AddNoise(image, noise, 8);
        const DrawnSegment drawn{{73, 10}, {73, 110}};
        const std::optional<AutoToolResult> result =
            AutoLineLength1(image, drawn, {75, 115}, mapping, kScale);
        ASSERT_TRUE(result);
        EXPECT_EQ(result->kind, int(StillKind::kAutoLineLength1));
        ASSERT_EQ(result->points.size(), 3u);
        EXPECT_LE(std::abs(result->points[0].x - 80), 1) << noise;
        EXPECT_LE(std::abs(result->points[1].x - 80), 1) << noise;
        EXPECT_EQ(result->points[2], (PixelPoint{85, 135}));
    }
    const CxImage flat = UniformPicture(200, 160, 100);
    const std::optional<AutoToolResult> kept =
        AutoLineLength1(flat, {{73, 10}, {73, 110}}, {75, 115}, mapping, kScale);
    ASSERT_TRUE(kept);
    EXPECT_EQ(kept->points, (std::vector<PixelPoint>{{83, 30}, {83, 130}, {85, 135}}));
    EXPECT_EQ(kept->labels, Labels{"L:1.000mm"});
    EXPECT_FALSE(AutoLineLength1(flat, {{73, 10}, {73, 10}}, {75, 115}, mapping, kScale));
}

TEST(AutoLineSpacing, MidpointAndPerpendicularFootOrDrawnMidpoints) {
    const ViewTransform mapping;
    const DrawnSegment first{{83, 30}, {83, 130}};
    const DrawnSegment second{{116, 30}, {116, 130}};
    for (int noise : {0, 20}) {
        CxImage image = VerticalBarPicture(200, 160, 80, 119);
        AddNoise(image, noise, 12);
        const std::optional<LineSpacingResult> spacing =
            AutoLineSpacing(image, first, second, {140, 140}, mapping, kScale, AutoView::kStill);
        ASSERT_TRUE(spacing) << noise;
        EXPECT_TRUE(spacing->detected);
        // The outlines are the bar's outermost dark columns 80 and 119.
        EXPECT_NEAR(spacing->distancePx, 39.0, 1.5) << noise;
        EXPECT_LE(std::abs(spacing->from.x - 80), 1);
        EXPECT_LE(std::abs(spacing->to.x - 119), 1);
        EXPECT_EQ(spacing->record.kind, int(StillKind::kAutoLineSpacing));
        ASSERT_EQ(spacing->record.points.size(), 7u);
        EXPECT_EQ(spacing->record.points[6], (PixelPoint{140, 140}));
        const auto ticks =
            EndTicks(spacing->record.points[0], spacing->record.points[1], kLineTickHalfLength);
        EXPECT_EQ(spacing->record.points[2], ticks[0]);
        EXPECT_EQ(spacing->record.points[5], ticks[3]);
    }
    const CxImage flat = UniformPicture(200, 160, 100);
    const std::optional<LineSpacingResult> fallback =
        AutoLineSpacing(flat, first, second, {140, 140}, mapping, kScale, AutoView::kLive);
    ASSERT_TRUE(fallback);
    EXPECT_FALSE(fallback->detected);
    EXPECT_EQ(fallback->from, (PixelPoint{83, 80}));
    EXPECT_EQ(fallback->to, (PixelPoint{116, 80}));
    EXPECT_DOUBLE_EQ(fallback->distancePx, 33.0);
    EXPECT_EQ(fallback->record.kind, int(LiveKind::kAutoLineSpacing));
    EXPECT_EQ(fallback->record.points, (std::vector<PixelPoint>{{83, 80}, {116, 80}, {140, 140}}));
    EXPECT_EQ(fallback->record.labels, Labels{"L:0.330mm"});
}

TEST(AutoAngleDetection, AngleBetweenTwoFoundLines) {
    // Two dark bars 16 pixels wide crossing at (150, 160): one horizontal, one at 60 degrees.
    const double c = std::cos(M_PI / 3);
    const double s = std::sin(M_PI / 3);
    for (int noise : {0, 20}) {
        CxImage image = MakePicture(300, 240, [&](int x, int y) {
            const double toSecond = std::abs((x - 150) * s + (y - 160) * c);
            return std::abs(y - 160) <= 8 || toSecond <= 8 ? kDark : kBright;
        });
        AddNoise(image, noise, 30);
        const std::optional<AngleDetectionResult> result =
            AutoAngleDetection(image, {{20, 148}, {110, 148}}, {{173, 120}, {231, 20}}, {250, 200},
                               ViewTransform{}, AutoView::kStill);
        ASSERT_TRUE(result) << noise;
        EXPECT_TRUE(result->firstFound);
        EXPECT_TRUE(result->secondFound);
        EXPECT_EQ(result->record.kind, int(StillKind::kAutoAngle));
        ASSERT_EQ(result->record.points.size(), 5u);
        const double angle = LeadingNumber(result->record.labels.at(0));
        EXPECT_NEAR(std::min(angle, 180 - angle), 60.0, 1.0) << result->record.labels[0];
    }
    // Nothing found: the drawn segments stand in.
    const CxImage flat = UniformPicture(300, 240, 100);
    const std::optional<AngleDetectionResult> drawn =
        AutoAngleDetection(flat, {{0, 100}, {100, 100}}, {{0, 100}, {100, 0}}, {5, 5},
                           ViewTransform{}, AutoView::kLive);
    ASSERT_TRUE(drawn);
    EXPECT_FALSE(drawn->firstFound);
    EXPECT_EQ(drawn->record.kind, int(LiveKind::kAutoAngle));
    EXPECT_EQ(drawn->record.labels, FourPointAngleLabels({0, 100}, {100, 100}, {0, 100}, {100, 0}));
}

}  // namespace
}  // namespace lensora
