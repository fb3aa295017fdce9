// Accuracy of the automatic tools with "Sub-pixel edges" on, on pictures whose edges lie at
// known fractional positions: a disc, a bar pair, a rectangle and two straight edges at a known
// angle, each clean, with Gaussian noise of sigma 8 and after JPEG at quality 90, clicked 1 to
// 15 pixels off the edge on either side. The snapped-pixel rules (setting off) are measured the
// same way for comparison; their own behaviour is pinned in the other detection tests.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "detect/auto_point_tools.h"
#include "detect/detection_tools.h"
#include "detect/edge_refine.h"
#include "detect/noise_estimate.h"
#include "detect/sub_pixel_pictures.h"
#include "measure/still_interaction.h"
#include "support/fake_interaction_view.h"

namespace lensora::test {
namespace {

using namespace lensora::testing;

const ScaleContext kPixels{1.0, "px", 3};
constexpr int kRange = 20;

double Bound(Condition condition) {
    return condition == Condition::kClean ? 0.25 : 0.5;
}
double AngleBound(Condition condition) {
    return condition == Condition::kClean ? 0.2 : 0.5;
}
std::string Name(Condition condition) {
    return condition == Condition::kClean   ? "clean"
           : condition == Condition::kNoisy ? "noise 8"
                                            : "noise 8 + JPEG 90";
}
constexpr Condition kConditions[] = {Condition::kClean, Condition::kNoisy, Condition::kNoisyJpeg};

// Clicks at `offset` pixels from the rim (negative: inside), at eight directions around.
std::vector<PixelPoint> RimClicks(PointD centre, double radius, double offset, double turn) {
    std::vector<PixelPoint> clicks;
    for (int k = 0; k < 8; ++k) {
        const double angle = turn + k * std::numbers::pi / 4;
        clicks.push_back(RoundToPixel(PointD{centre.x + (radius + offset) * std::cos(angle),
                                             centre.y + (radius + offset) * std::sin(angle)}));
    }
    return clicks;
}

std::vector<PointD> Refined(const CxImage& image, const std::vector<PixelPoint>& clicks) {
    NoiseCache noise;
    std::vector<PointD> points;
    for (PixelPoint click : clicks) {
        const SubPixelClick refined =
            SnapClickSubPixel(image, click, ViewTransform{}, kRange, noise.SigmaFor(image));
        EXPECT_TRUE(refined.point) << click.x << "," << click.y;
        if (refined.point) {
            points.push_back(*refined.point);
        }
    }
    return points;
}

struct CircleError {
    double centre = 0;
    double radius = 0;
};

CircleError SubPixelCircleError(const CxImage& image, const std::vector<PixelPoint>& clicks,
                                PointD centre, double radius) {
    const std::vector<PointD> points = Refined(image, clicks);
    const auto result =
        AutoCircleSubPixel(points, {0, 0}, ViewTransform{}, kPixels, AutoView::kStill);
    if (!result || !result->refined || !result->refined->centre) {
        ADD_FAILURE() << "no circle";
        return {1e9, 1e9};
    }
    const PointD c = *result->refined->centre;
    return {std::hypot(c.x - centre.x, c.y - centre.y), std::abs(result->fitRadius - radius)};
}

CircleError SnappedCircleError(const CxImage& image, const std::vector<PixelPoint>& clicks,
                               PointD centre, double radius) {
    std::vector<PixelPoint> snapped;
    for (PixelPoint click : clicks) {
        snapped.push_back(*SnapClick(image, click, ViewTransform{}, kRange));
    }
    const auto result = AutoCircle(snapped, {0, 0}, ViewTransform{}, kPixels, AutoView::kStill);
    if (!result) {
        return {1e9, 1e9};
    }
    const PointD c = ToPointD(result->points[0]);
    return {std::hypot(c.x - centre.x, c.y - centre.y), std::abs(result->fitRadius - radius)};
}

TEST(SubPixelAccuracy, DiscCentreAndRadiusWhereverTheClicksLand) {
    const PointD centre{200.37, 180.62};
    const double radius = 50.0;
    for (Condition condition : kConditions) {
        const CxImage picture = UnderCondition(
            AreaSampledPicture(400, 360,
                               [&](double x, double y) {
                                   return std::hypot(x - centre.x, y - centre.y) <= radius;
                               }),
            condition, 11);
        CircleError worst;
        CircleError worstSnapped;
        for (double offset : {1.0, 2.0, 3.0, 4.0, 6.0, 8.0, 10.0, 12.0, 15.0}) {
            for (double side : {1.0, -1.0}) {
                const auto clicks = RimClicks(centre, radius, side * offset, 0.3 + offset * 0.1);
                const CircleError e = SubPixelCircleError(picture, clicks, centre, radius);
                worst.centre = std::max(worst.centre, e.centre);
                worst.radius = std::max(worst.radius, e.radius);
                const CircleError s = SnappedCircleError(picture, clicks, centre, radius);
                worstSnapped.centre = std::max(worstSnapped.centre, s.centre);
                worstSnapped.radius = std::max(worstSnapped.radius, s.radius);
            }
        }
        std::printf("[accuracy] disc, %s: centre %.3f px, radius %.3f px (snapped: %.3f, %.3f)\n",
                    Name(condition).c_str(), worst.centre, worst.radius, worstSnapped.centre,
                    worstSnapped.radius);
        EXPECT_LE(worst.centre, Bound(condition)) << Name(condition);
        EXPECT_LE(worst.radius, Bound(condition)) << Name(condition);
    }
}

// Edge positions of clicks beside the four edges of a bar pair and the four sides of a
// rectangle: the refined point's distance from the true edge line.
TEST(SubPixelAccuracy, BarPairAndRectangleEdges) {
    struct Edge {
        bool vertical;
        double at;    // x of a vertical edge, y of a horizontal one
        double from;  // extent along the edge to click within
        double to;
    };
    // Bars x 100.3 .. 140.3 and 170.6 .. 210.8; the rectangle 60.25 .. 180.7 x 40.4 .. 120.15.
    const auto bars = [](double x, double) {
        return (x >= 100.3 && x <= 140.3) || (x >= 170.6 && x <= 210.8);
    };
    const auto rectangle = [](double x, double y) {
        return x >= 60.25 && x <= 180.7 && y >= 40.4 && y <= 120.15;
    };
    const std::vector<Edge> barEdges = {{true, 100.3, 30, 130},
                                        {true, 140.3, 30, 130},
                                        {true, 170.6, 30, 130},
                                        {true, 210.8, 30, 130}};
    const std::vector<Edge> rectangleEdges = {{true, 60.25, 60, 100},
                                              {true, 180.7, 60, 100},
                                              {false, 40.4, 90, 150},
                                              {false, 120.15, 90, 150}};
    for (Condition condition : kConditions) {
        double worst = 0;
        double worstSnapped = 0;
        auto measure = [&](const CxImage& picture, const std::vector<Edge>& edges, double gap) {
            NoiseCache noise;
            for (const Edge& edge : edges) {
                for (double offset : {-12.0, -7.0, -3.0, -1.0, 1.0, 3.0, 7.0, 12.0}) {
                    if (std::abs(offset) >= gap) {
                        continue;  // the click would lie beyond the neighbouring edge
                    }
                    for (double along = edge.from; along <= edge.to; along += 25) {
                        const PointD exact = edge.vertical ? PointD{edge.at + offset, along}
                                                           : PointD{along, edge.at + offset};
                        const PixelPoint click = RoundToPixel(exact);
                        const SubPixelClick refined = SnapClickSubPixel(
                            picture, click, ViewTransform{}, kRange, noise.SigmaFor(picture));
                        ASSERT_TRUE(refined.point) << Name(condition);
                        const double error = edge.vertical ? std::abs(refined.point->x - edge.at)
                                                           : std::abs(refined.point->y - edge.at);
                        worst = std::max(worst, error);
                        const PixelPoint snapped =
                            *SnapClick(picture, click, ViewTransform{}, kRange);
                        worstSnapped =
                            std::max(worstSnapped, edge.vertical ? std::abs(snapped.x - edge.at)
                                                                 : std::abs(snapped.y - edge.at));
                    }
                }
            }
        };
        measure(UnderCondition(AreaSampledPicture(300, 160, bars), condition, 21), barEdges, 15);
        measure(UnderCondition(AreaSampledPicture(260, 170, rectangle), condition, 22),
                rectangleEdges, 20);
        std::printf("[accuracy] bar pair and rectangle edges, %s: %.3f px (snapped: %.3f)\n",
                    Name(condition).c_str(), worst, worstSnapped);
        EXPECT_LE(worst, Bound(condition)) << Name(condition);
    }
}

// Two straight edges meeting at 37.5 degrees: line length 2 on clicks along each edge gives
// the directions whose angle is compared.
TEST(SubPixelAccuracy, TwoLinesAtAKnownAngle) {
    const double first = 12.0 * std::numbers::pi / 180;   // edge through (60.3, 200.2)
    const double second = 49.5 * std::numbers::pi / 180;  // edge through (300.6, 40.7)
    const PointD p1{60.3, 200.2};
    const PointD p2{300.6, 40.7};
    auto side = [](PointD p, double angle, double x, double y) {
        return (x - p.x) * std::sin(angle) - (y - p.y) * std::cos(angle);
    };
    // Dark on one side of each line, flipped across the other: both lines are edges along
    // their whole length (they cross outside the picture).
    const auto inside = [&](double x, double y) {
        return (side(p1, first, x, y) < 0) != (side(p2, second, x, y) < 0);
    };
    for (Condition condition : kConditions) {
        const CxImage picture = UnderCondition(AreaSampledPicture(420, 320, inside), condition, 31);
        auto direction = [&](PointD p, double angle, double from, double to, double offset,
                             bool subPixel) -> double {
            std::vector<PixelPoint> clicks;
            for (double t = from; t <= to; t += 20) {
                clicks.push_back(
                    RoundToPixel(PointD{p.x + t * std::cos(angle) + offset * -std::sin(angle),
                                        p.y + t * std::sin(angle) + offset * std::cos(angle)}));
            }
            std::optional<AutoToolResult> line;
            if (subPixel) {
                line = AutoLineLength2SubPixel(Refined(picture, clicks), ViewTransform{}, kPixels,
                                               AutoView::kStill);
                if (!line || !line->refined) {
                    ADD_FAILURE() << "no line";
                    return 0;
                }
                const PointD a = line->refined->points[0];
                const PointD b = line->refined->points[1];
                return std::atan2(b.y - a.y, b.x - a.x);
            }
            std::vector<PixelPoint> snapped;
            for (PixelPoint click : clicks) {
                snapped.push_back(*SnapClick(picture, click, ViewTransform{}, kRange));
            }
            line = AutoLineLength2(snapped, ViewTransform{}, kPixels, AutoView::kStill);
            const PointD a = ToPointD(line->points[0]);
            const PointD b = ToPointD(line->points[1]);
            return std::atan2(b.y - a.y, b.x - a.x);
        };
        double worst = 0;
        double worstSnapped = 0;
        for (double offset : {-10.0, -4.0, -1.0, 1.0, 4.0, 10.0}) {
            for (bool subPixel : {true, false}) {
                const double d1 = direction(p1, first, 20, 160, offset, subPixel);
                const double d2 = direction(p2, second, 40, 150, -offset, subPixel);
                double angle = std::abs(d2 - d1) * 180 / std::numbers::pi;
                angle = std::min(angle, 180 - angle);
                const double error = std::abs(angle - 37.5);
                (subPixel ? worst : worstSnapped) =
                    std::max(subPixel ? worst : worstSnapped, error);
            }
        }
        std::printf("[accuracy] two lines at 37.5 deg, %s: %.3f deg (snapped: %.3f)\n",
                    Name(condition).c_str(), worst, worstSnapped);
        EXPECT_LE(worst, AngleBound(condition)) << Name(condition);
    }
}

TEST(SubPixelAccuracy, UniformNoiseHasNoEdge) {
    CxImage picture = AreaSampledPicture(300, 300, [](double, double) { return false; });
    AddGaussianNoise(picture, 8.0, 41);
    EXPECT_NEAR(EstimateNoiseSigma(picture), 8.0, 1.0);
    NoiseCache noise;
    for (int y = 40; y < 270; y += 23) {
        for (int x = 40; x < 270; x += 19) {
            const SubPixelClick click =
                SnapClickSubPixel(picture, {x, y}, ViewTransform{}, kRange, noise.SigmaFor(picture));
            EXPECT_TRUE(click.detectable);
            EXPECT_FALSE(click.point)
                << x << "," << y << " " << click.point->x << "," << click.point->y;
        }
    }
}

}  // namespace
}  // namespace lensora::test
