#include "measure/geometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <vector>

namespace lensora {
namespace {

constexpr std::int32_t kIntMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kIntMin = std::numeric_limits<std::int32_t>::min();

TEST(Geometry, RoundingIsSymmetricAndClamped) {
    EXPECT_EQ(RoundToPixel(2.5), 3);
    EXPECT_EQ(RoundToPixel(-2.5), -3);
    EXPECT_EQ(RoundToPixel(-494.5), -495);
    EXPECT_EQ(RoundToPixel(1e300), kIntMax);
    EXPECT_EQ(RoundToPixel(-1e300), kIntMin);
    EXPECT_EQ(RoundToPixel(std::nan("")), 0);
    EXPECT_EQ(TruncateToPixel(-7.9), -7);
}

TEST(Geometry, EndTicksArePerpendicularAndTruncated) {
    using Ticks = std::array<PixelPoint, 4>;
    EXPECT_EQ(EndTicks({0, 0}, {30, 40}, 10), (Ticks{{{8, -6}, {-8, 6}, {38, 34}, {22, 46}}}));
    EXPECT_EQ(EndTicks({5, 0}, {5, 50}, 10), (Ticks{{{15, 0}, {-5, 0}, {15, 50}, {-5, 50}}}));
    EXPECT_EQ(EndTicks({0, 5}, {50, 5}, 100), (Ticks{{{0, 105}, {0, -95}, {50, 105}, {50, -95}}}));
    // Far-away ends stay representable.
    for (const PixelPoint& p : EndTicks({kIntMax, kIntMax}, {kIntMin, kIntMax - 3}, 100)) {
        EXPECT_GE(p.x, kIntMin);
    }
}

TEST(Geometry, PerpendicularFootAndDistanceAreExact) {
    EXPECT_EQ(PerpendicularFoot({0, 0}, {300, 100}, {50, 200}), (PointD{105, 35}));
    EXPECT_NEAR(*DistanceToLine({0, 0}, {300, 100}, {50, 200}), 173.92527130926084, 1e-9);
    // A point on an oblique line lies at distance 0 and is its own foot.
    EXPECT_EQ(*DistanceToLine({0, 0}, {300, 100}, {150, 50}), 0.0);
    EXPECT_EQ(PerpendicularFoot({0, 0}, {300, 100}, {150, 50}), (PointD{150, 50}));
    // Vertical reference line: the horizontal distance, whatever the point's height.
    EXPECT_EQ(*DistanceToLine({10, 0}, {10, 100}, {50, 5000}), 40.0);
    EXPECT_EQ(PerpendicularFoot({10, 0}, {10, 100}, {50, 5000}), (PointD{10, 5000}));
    EXPECT_FALSE(PerpendicularFoot({7, 7}, {7, 7}, {1, 2}));
    EXPECT_FALSE(DistanceToLine({7, 7}, {7, 7}, {1, 2}));
}

TEST(Geometry, CircumcentreIsExact) {
    const PointD c1 = *Circumcentre({520, 437}, {601, 97}, {189, 411});
    EXPECT_NEAR(c1.x, 370.3899220208293, 1e-9);
    EXPECT_NEAR(c1.y, 221.70906965790346, 1e-9);
    EXPECT_EQ(RoundToPixel(c1), (PixelPoint{370, 222}));
    const auto c2 = CircleThroughThree({0, 0}, {100, 10}, {200, 0});
    ASSERT_TRUE(c2);
    EXPECT_EQ(c2->centre, (PointD{100, -495}));
    EXPECT_EQ(c2->radius, 505.0);
    EXPECT_EQ(RoundToPixel(c2->centre), (PixelPoint{100, -495}));
}

TEST(Geometry, CollinearAndCoincidentPointsHaveNoCircle) {
    EXPECT_FALSE(Circumcentre({0, 0}, {10, 10}, {20, 20}));
    EXPECT_FALSE(Circumcentre({0, 0}, {0, 0}, {20, 20}));
    EXPECT_FALSE(Circumcentre({3, 4}, {3, 4}, {3, 4}));
    EXPECT_FALSE(CircleThroughThree({5, 0}, {5, 9}, {5, -100}));
    // Exactly collinear at the ends of the coordinate range: recognised without overflow.
    EXPECT_FALSE(CircleThroughThree({kIntMin, kIntMin}, {0, 0}, {kIntMax, kIntMax}));
    // Nearly collinear and far apart: a huge but finite circle.
    const auto far = CircleThroughThree({kIntMin, kIntMin}, {0, 0}, {kIntMax, kIntMax - 1});
    ASSERT_TRUE(far);
    EXPECT_TRUE(std::isfinite(far->radius));
    EXPECT_TRUE(std::isfinite(far->centre.x) && std::isfinite(far->centre.y));
}

TEST(Geometry, TurningFlagFollowsScreenOrientation) {
    EXPECT_TRUE(CircleThroughThree({125, 100}, {120, 85}, {100, 75})->turning);
    EXPECT_FALSE(CircleThroughThree({100, 75}, {120, 85}, {125, 100})->turning);
}

TEST(Geometry, LineAngleKeepsItsParallelCases) {
    EXPECT_NEAR(*LineAngle({0, 0}, {100, 0}, {50, -50}, {50, 50}), 90.0, 1e-5);
    EXPECT_NEAR(*LineAngle({0, 0}, {100, 0}, {0, 0}, {100, 100}), 45.0, 1e-5);
    // Two vertical lines: 180 only when line 1 points up and line 2 ends below its start.
    EXPECT_EQ(*LineAngle({0, 100}, {0, 0}, {10, 50}, {10, 200}), 180.0);
    EXPECT_EQ(*LineAngle({0, 0}, {0, 100}, {10, 50}, {10, 200}), 0.0);
    EXPECT_EQ(*LineAngle({0, 100}, {0, 0}, {10, 50}, {10, 90}), 0.0);
    // Horizontal lines: 180 when line 1 points left and line 2 ends right of its start.
    EXPECT_EQ(*LineAngle({100, 0}, {0, 0}, {0, 10}, {200, 10}), 180.0);
    EXPECT_EQ(*LineAngle({0, 0}, {100, 0}, {0, 10}, {200, 10}), 0.0);
    EXPECT_EQ(*LineAngle({0, 0}, {30, 10}, {0, 5}, {60, 25}), 0.0);  // parallel oblique
    EXPECT_FALSE(LineAngle({1, 1}, {1, 1}, {0, 0}, {5, 5}));
    EXPECT_FALSE(LineAngle({0, 0}, {5, 5}, {2, 2}, {2, 2}));
    // Nearly parallel lines far away: finite.
    const auto nearly = LineAngle({0, 0}, {kIntMax, 1}, {0, 1}, {kIntMax, 3});
    ASSERT_TRUE(nearly);
    EXPECT_TRUE(std::isfinite(*nearly));
}

TEST(Geometry, ArmAngleReadsStraightAnglesAs180EitherWay) {
    EXPECT_DOUBLE_EQ(*ArmAngle({0, 100}, {100, 100}, {200, 100}), 180.0);
    EXPECT_DOUBLE_EQ(*ArmAngle({200, 100}, {100, 100}, {0, 100}), 180.0);
    EXPECT_DOUBLE_EQ(*ArmAngle({0, 0}, {50, 50}, {100, 100}), 180.0);
    EXPECT_DOUBLE_EQ(*ArmAngle({100, 100}, {50, 50}, {0, 0}), 180.0);
    EXPECT_DOUBLE_EQ(*ArmAngle({100, 0}, {0, 0}, {0, 100}), 90.0);
    EXPECT_DOUBLE_EQ(*ArmAngle({100, 0}, {0, 0}, {300, 0}), 0.0);
    EXPECT_FALSE(ArmAngle({0, 0}, {0, 0}, {5, 5}));
    EXPECT_FALSE(ArmAngle({5, 5}, {0, 0}, {0, 0}));
}

TEST(Geometry, ArcSweepRunsCounterClockwiseOnScreen) {
    const PointD c{100, 100};
    EXPECT_NEAR(ArcSweep({125, 100}, c, {100, 75}), 90.0, 1e-4);
    EXPECT_NEAR(ArcSweep({100, 75}, c, {125, 100}), 270.0, 1e-4);
    EXPECT_NEAR(ArcSweep({125, 100}, c, {75, 100}), 180.0, 1e-4);
    EXPECT_LE(ArcSweep({-1000, 101}, {0, 100}, {-1000, 99}), 360.0);
}

TEST(Geometry, ArcAngleAddsItsOwnFullTurn) {
    const PointD c{100, 100};
    // A positive sweep needs no full turn: both read the same.
    EXPECT_DOUBLE_EQ(ArcAngle({125, 100}, c, {100, 75}), ArcSweep({125, 100}, c, {100, 75}));
    // A sweep that wraps adds 6.2831855 instead of the single-precision 6.2831854820251465:
    // (6.2831855 - 6.2831854820251465) * 57.29577791868204 degrees more.
    const double difference =
        ArcAngle({100, 75}, c, {125, 100}) - ArcSweep({100, 75}, c, {125, 100});
    EXPECT_NEAR(difference, 1.0299e-6, 0.0005e-6);
    EXPECT_DOUBLE_EQ(ArcAngleD({100, 75}, c, {125, 100}),
                     ArcAngle(PixelPoint{100, 75}, c, PixelPoint{125, 100}));
    // Start and end in the same direction read one full turn.
    EXPECT_DOUBLE_EQ(ArcAngle({125, 100}, c, {150, 100}), 360.0);
}

std::int64_t NaiveCount(const std::vector<PixelPoint>& poly) {
    std::int32_t left = poly[0].x, right = poly[0].x, top = poly[0].y, bottom = poly[0].y;
    for (const PixelPoint& p : poly) {
        left = std::min(left, p.x), right = std::max(right, p.x);
        top = std::min(top, p.y), bottom = std::max(bottom, p.y);
    }
    std::int64_t n = 0;
    for (std::int32_t y = top; y <= bottom; ++y) {
        for (std::int32_t x = left; x <= right; ++x) {
            n += PolygonContainsPixel(poly, x, y) ? 1 : 0;
        }
    }
    return n;
}

TEST(Geometry, PolygonAreaCountsPixelsWithTheRegionFillConvention) {
    const std::vector<PixelPoint> square{{0, 0}, {10, 0}, {10, 10}, {0, 10}};
    EXPECT_EQ(*PolygonPixelArea(square), 100);
    EXPECT_TRUE(PolygonContainsPixel(square, 0, 0));
    EXPECT_TRUE(PolygonContainsPixel(square, 9, 9));
    EXPECT_FALSE(PolygonContainsPixel(square, 10, 5));
    EXPECT_FALSE(PolygonContainsPixel(square, 5, 10));
    // Clicked the other way round, with the closing double-click vertex repeated.
    EXPECT_EQ(*PolygonPixelArea(
                  std::vector<PixelPoint>{{0, 10}, {10, 10}, {10, 0}, {0, 0}, {0, 0}, {0, 0}}),
              100);
    EXPECT_EQ(*PolygonPixelArea(std::vector<PixelPoint>{{0, 0}, {10, 0}, {0, 10}}), 55);
    EXPECT_EQ(*PolygonPixelArea(std::vector<PixelPoint>{{-5, -5}, {5, -5}, {5, 5}, {-5, 5}}), 100);
}

TEST(Geometry, SelfCrossingPolygonCountsTheEvenOddInterior) {
    EXPECT_EQ(*PolygonPixelArea(std::vector<PixelPoint>{{0, 0}, {10, 10}, {10, 0}, {0, 10}}), 50);
    // Two overlapping 20x20 squares drawn as one path: the 10x10 overlap is outside.
    const std::vector<PixelPoint> twoSquares{{0, 0},   {20, 0},  {20, 20}, {0, 20},
                                             {0, 0},   {10, 10}, {30, 10}, {30, 30},
                                             {10, 30}, {10, 10}, {0, 0}};
    EXPECT_EQ(*PolygonPixelArea(twoSquares), 600);
}

TEST(Geometry, PolygonAreaMatchesThePerPixelTestOnRandomPolygons) {
    std::mt19937 rng(12345);
    std::uniform_int_distribution<int> coord(-40, 60);
    std::uniform_int_distribution<int> count(3, 12);
    for (int trial = 0; trial < 300; ++trial) {
        std::vector<PixelPoint> poly(count(rng));
        for (PixelPoint& p : poly) {
            p = {coord(rng), coord(rng)};
        }
        ASSERT_EQ(*PolygonPixelArea(poly), NaiveCount(poly)) << "trial " << trial;
    }
}

TEST(Geometry, PolygonAreaDegenerateAndHugeInput) {
    EXPECT_EQ(*PolygonPixelArea(std::vector<PixelPoint>{}), 0);
    EXPECT_EQ(*PolygonPixelArea(std::vector<PixelPoint>{{1, 1}, {5, 5}}), 0);
    EXPECT_EQ(*PolygonPixelArea(std::vector<PixelPoint>{{0, 0}, {5, 5}, {10, 10}}), 0);
    EXPECT_FALSE(PolygonPixelArea(std::vector<PixelPoint>{{0, 0}, {kIntMax, 0}, {0, 10}}));
    EXPECT_FALSE(PolygonPixelArea(std::vector<PixelPoint>{{0, 0}, {10, 0}, {0, 1 << 28}}));
}

TEST(Geometry, ProjectionOntoFittedLineFindsTheOuterEnds) {
    // A vertical row as a least-squares fit reports it: direction almost, not exactly, 0.
    const std::vector<PixelPoint> row{{100, 60}, {100, 10}, {103, 80}, {100, 110}};
    const auto extent = ProjectOntoLine(row, {100.75, 65.0}, {-4e-8, 1.0});
    ASSERT_TRUE(extent);
    EXPECT_NEAR(extent->a.y, 10.0, 1e-5);
    EXPECT_NEAR(extent->b.y, 110.0, 1e-5);
    EXPECT_NEAR(extent->a.x, 100.75, 1e-5);
    // Horizontal row and a direction pointing left: the first end is still the left one.
    const std::vector<PixelPoint> flat{{30, 5}, {-20, 5}, {70, 5}};
    const auto flatExtent = ProjectOntoLine(flat, {0, 5}, {-1, 0});
    EXPECT_EQ(flatExtent->a, (PointD{-20, 5}));
    EXPECT_EQ(flatExtent->b, (PointD{70, 5}));
    EXPECT_FALSE(ProjectOntoLine(flat, {0, 5}, {0, 0}));
    EXPECT_FALSE(ProjectOntoLine({}, {0, 5}, {1, 0}));
    EXPECT_FALSE(ProjectOntoLine(flat, {std::nan(""), 5}, {1, 0}));
}

}  // namespace
}  // namespace lensora
