#include "measure/measured_values.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <clocale>
#include <cmath>
#include <limits>
#include <random>

#include "base/number_format.h"

namespace lensora {
namespace {

using ::testing::ElementsAre;

const ScaleContext kPixels{1.0, "px", 2};
const ScaleContext kMm{0.01, "mm", 3};

// Radius printed in a label such as "R:262.17px".
double PrintedNumber(const std::string& label) {
    return ParseLeadingNumber(label.substr(label.find(':') + 1));
}

TEST(MeasuredValues, LinesReadTheSameInEveryLocale) {
    std::setlocale(LC_ALL, "de_DE.UTF-8");
    // 100 pixels at 0.063829787234 mm per pixel and rate 10.
    const ScaleContext mm{0.063829787234 * 10 / 10, "mm", 3};
    EXPECT_THAT(*LineLabels({10, 20}, {110, 20}, mm), ElementsAre("L:6.383mm"));
    // The mil example: 0.0394 * 63.829787234 units per pixel at magnification 10.
    const ScaleContext mil{0.0394 * 63.829787234 * 10 / 10, "mil", 3};
    EXPECT_THAT(*LineLabels({0, 0}, {0, 100}, mil), ElementsAre("L:251.489mil"));
    std::setlocale(LC_ALL, "C");
    EXPECT_THAT(*LineLabels({0, 0}, {30, 40}, kPixels), ElementsAre("L:50.00px"));
    EXPECT_FALSE(LineLabels({4, 4}, {4, 4}, kPixels));
}

TEST(MeasuredValues, MicrometreAreasCarryTheSquareSign) {
    // 100 x 50 pixels at 0.5 µm per pixel: 50 x 25 µm.
    const ScaleContext um{0.5, "\xC2\xB5m", 1};
    EXPECT_THAT(RectangleLabels({0, 0}, {100, 50}, um),
                ElementsAre("A:1250.0\xC2\xB5m\xC2\xB2", "W:50.0\xC2\xB5m", "H:25.0\xC2\xB5m"));
}

TEST(MeasuredValues, AreasKeepThreeSignificantDigitsOnlyWhenAsked) {
    // A circle of radius 25 pixels at 0.001 mm per pixel: 0.0019634954 mm².
    ScaleContext mm{0.001, "mm", 3};
    EXPECT_EQ(CircleLabels(25.0, mm)[0], "A:0.002mm2");
    mm.areaSignificant = true;
    const Labels circle = CircleLabels(25.0, mm);
    EXPECT_EQ(circle[0], "A:0.00196mm2");
    EXPECT_EQ(circle[1], "R:0.025mm");  // lengths keep the plain decimals
    // Large areas and the other area tools read as before.
    ScaleContext large{0.01, "mm", 3, true};
    EXPECT_EQ(RectangleLabels({0, 0}, {1000, 500}, large)[0], "A:50.000mm2");
    EXPECT_EQ(
        (*PolygonLabels(std::vector<PixelPoint>{{0, 0}, {3, 0}, {3, 3}, {0, 3}}, mm))[0].substr(0,
                                                                                                2),
        "A:");
    EXPECT_EQ(EllipseLabels({0, 0}, {10, 10}, mm)[0], "A:0.0000785mm2");
}

TEST(MeasuredValues, DotLineMeasuresToTheExactFoot) {
    const auto oblique = DotLineLabels({0, 0}, {300, 100}, {50, 200}, ScaleContext{1.0, "px", 3});
    ASSERT_TRUE(oblique);
    EXPECT_THAT(oblique->labels, ElementsAre("L:173.925px"));
    EXPECT_EQ(oblique->foot, (PixelPoint{105, 35}));
    const auto onLine = DotLineLabels({0, 0}, {300, 100}, {150, 50}, kMm);
    EXPECT_THAT(onLine->labels, ElementsAre("L:0.000mm"));
    const auto onLine2 = DotLineLabels({7, 3}, {307, 103}, {157, 53}, kMm);
    EXPECT_THAT(onLine2->labels, ElementsAre("L:0.000mm"));
    const auto vertical = DotLineLabels({10, 0}, {10, 100}, {50, 5000}, kMm);
    EXPECT_THAT(vertical->labels, ElementsAre("L:0.400mm"));
    EXPECT_EQ(vertical->foot, (PixelPoint{10, 5000}));
    EXPECT_FALSE(DotLineLabels({1, 1}, {1, 1}, {50, 50}, kMm));
}

TEST(MeasuredValues, ContinuousLineTotalIsTheSumOfPrintedSegments) {
    const ScaleContext ctx{0.010004, "mm", 3};  // every 100-pixel segment is 1.0004 mm
    const std::vector<PixelPoint> path{{0, 0}, {100, 0}, {100, 100}, {200, 100}};
    const Labels segments = ContinuousLineLabels(path, ctx);
    EXPECT_THAT(segments, ElementsAre("1.000mm", "1.000mm", "1.000mm"));
    EXPECT_EQ(ContinuousLineTotalLabel(segments, ctx), "T:3.000mm");  // exact sum: 3.001
    EXPECT_EQ(ContinuousLineTotalLabel(Labels{"0.000mm", "x"}, ctx), "");
    EXPECT_TRUE(ContinuousLineLabels(std::vector<PixelPoint>{{1, 1}}, ctx).empty());
}

TEST(MeasuredValues, RadiusAndDiameterCircles) {
    const ScaleContext ctx{1.0, "mm", 3};
    EXPECT_THAT(*RadiusCircleLabels({50, 50}, {56, 58}, ctx),
                ElementsAre("A:314.159mm2", "R:10.000mm", "G:62.832mm"));
    const auto diameter = DiameterCircleLabels({-1, 7}, {-4, 7}, ctx);
    ASSERT_TRUE(diameter);
    EXPECT_THAT(diameter->labels, ElementsAre("A:7.069mm2", "R:1.500mm", "G:9.425mm"));
    EXPECT_EQ(diameter->centre, (PixelPoint{-2, 7}));  // integer halving truncates
    EXPECT_THAT(DiameterCircleLabels({0, 0}, {20, 0}, ctx)->labels,
                ElementsAre("A:314.159mm2", "R:10.000mm", "G:62.832mm"));
    EXPECT_FALSE(RadiusCircleLabels({3, 3}, {3, 3}, ctx));
    EXPECT_FALSE(DiameterCircleLabels({3, 3}, {3, 3}, ctx));
    EXPECT_THAT(*AutoCircleLabels(10.0, ctx),
                ElementsAre("A:314.159mm2", "R:10.000mm", "G:62.832mm"));
    EXPECT_FALSE(AutoCircleLabels(0.0, ctx));
    EXPECT_FALSE(AutoCircleLabels(std::nan(""), ctx));
}

TEST(MeasuredValues, ThreePointCircleUsesTheExactCentre) {
    const auto c1 = ThreePointCircleLabels({520, 437}, {601, 97}, {189, 411}, kPixels);
    ASSERT_TRUE(c1);
    EXPECT_EQ(c1->labels[1], "R:262.17px");
    EXPECT_EQ(c1->centre, (PixelPoint{370, 222}));
    const auto c2 = ThreePointCircleLabels({0, 0}, {100, 10}, {200, 0}, kPixels);
    EXPECT_EQ(c2->labels[1], "R:505.00px");
    EXPECT_EQ(c2->centre, (PixelPoint{100, -495}));
    EXPECT_FALSE(ThreePointCircleLabels({0, 0}, {1, 1}, {2, 2}, kPixels));
    EXPECT_FALSE(ThreePointCircleLabels({0, 0}, {0, 0}, {2, 5}, kPixels));
}

TEST(MeasuredValues, TwoCirclesReadOneRadiusPerCircle) {
    // The same circle drawn twice reads the same radius twice, and its centres coincide.
    const std::array<PixelPoint, 6> same{
        {{520, 437}, {601, 97}, {189, 411}, {601, 97}, {189, 411}, {520, 437}}};
    const auto twice = TwoCirclesLabels(same, kPixels);
    ASSERT_TRUE(twice);
    EXPECT_THAT(twice->labels, ElementsAre("R:262.17px", "R:262.17px", "L:0.00px"));
    EXPECT_EQ(twice->centre1, (PixelPoint{370, 222}));
    const std::array<PixelPoint, 6> apart{
        {{0, 0}, {100, 10}, {200, 0}, {0, 1000}, {100, 1010}, {200, 1000}}};
    EXPECT_THAT(TwoCirclesLabels(apart, kPixels)->labels,
                ElementsAre("R:505.00px", "R:505.00px", "L:1000.00px"));
    EXPECT_EQ(TwoCirclesFirstLabel({0, 0}, {100, 10}, {200, 0}, kPixels)->labels[0], "R:505.00px");
    const std::array<PixelPoint, 6> flat{{{0, 0}, {100, 10}, {200, 0}, {0, 5}, {10, 5}, {20, 5}}};
    EXPECT_FALSE(TwoCirclesLabels(flat, kPixels));
}

TEST(MeasuredValues, RectangleAndEllipseReadTheSameDraggedEitherWay) {
    const Labels forward = RectangleLabels({10, 20}, {110, 70}, kMm);
    EXPECT_THAT(forward, ElementsAre("A:0.500mm2", "W:1.000mm", "H:0.500mm"));
    EXPECT_EQ(RectangleLabels({110, 70}, {10, 20}, kMm), forward);
    const Labels ellipse = EllipseLabels({0, 0}, {101, 50}, ScaleContext{1.0, "mm", 2});
    EXPECT_THAT(ellipse, ElementsAre("A:3966.26mm2", "a:50.00mm", "b:25.00mm"));
    EXPECT_EQ(EllipseLabels({101, 50}, {0, 0}, ScaleContext{1.0, "mm", 2}), ellipse);
}

TEST(MeasuredValues, FlatRectangleAndEllipseReadZeroAreaAndTheirRealSide) {
    // (100,100)-(100,300) in mm at magnification 10 on a camera without 1600 x 1200.
    const ScaleContext mm{0.063829787234, "mm", 3};
    EXPECT_THAT(RectangleLabels({100, 100}, {100, 300}, mm),
                ElementsAre("A:0.000mm2", "W:0.000mm", "H:12.766mm"));
    EXPECT_THAT(RectangleLabels({300, 100}, {100, 100}, mm),
                ElementsAre("A:0.000mm2", "W:12.766mm", "H:0.000mm"));
    EXPECT_THAT(EllipseLabels({100, 100}, {100, 300}, mm),
                ElementsAre("A:0.000mm2", "a:0.000mm", "b:6.383mm"));
}

TEST(MeasuredValues, PolygonAreaLabel) {
    const std::vector<PixelPoint> square{{0, 0}, {10, 0}, {10, 10}, {0, 10}, {0, 10}};
    EXPECT_THAT(*PolygonLabels(square, kMm), ElementsAre("A:0.010mm2"));
    const std::vector<PixelPoint> bowtie{{0, 0}, {10, 10}, {10, 0}, {0, 10}};
    EXPECT_THAT(*PolygonLabels(bowtie, kPixels), ElementsAre("A:50.00px2"));
    // Fewer than three vertices, or a polygon without an inside pixel, still read an area.
    const std::vector<PixelPoint> two{{0, 0}, {10, 10}, {10, 10}};
    EXPECT_THAT(*PolygonLabels(two, kMm), ElementsAre("A:0.000mm2"));
    const std::vector<PixelPoint> flat{{0, 0}, {10, 0}, {20, 0}, {20, 0}};
    EXPECT_THAT(*PolygonLabels(flat, kMm), ElementsAre("A:0.000mm2"));
}

TEST(MeasuredValues, AnglesPrintTwoDecimalsAndADegreeSign) {
    EXPECT_THAT(*AngleLabels({100, 0}, {0, 0}, {0, 100}), ElementsAre("90.00\u00B0"));
    EXPECT_THAT(*AngleLabels({0, 100}, {100, 100}, {200, 100}), ElementsAre("180.00\u00B0"));
    EXPECT_THAT(*AngleLabels({200, 100}, {100, 100}, {0, 100}), ElementsAre("180.00\u00B0"));
    EXPECT_THAT(*AngleLabels({0, 0}, {50, 50}, {100, 100}), ElementsAre("180.00\u00B0"));
    EXPECT_EQ((*AngleLabels({0, 0}, {50, 50}, {100, 100}))[0], "180.00\xC2\xB0");
    EXPECT_FALSE(AngleLabels({5, 5}, {5, 5}, {100, 100}));
    EXPECT_THAT(*FourPointAngleLabels({0, 0}, {100, 0}, {50, -50}, {50, 50}),
                ElementsAre("90.00\u00B0"));
    EXPECT_THAT(*FourPointAngleLabels({0, 100}, {0, 0}, {10, 50}, {10, 200}),
                ElementsAre("180.00\u00B0"));
    EXPECT_THAT(*FourPointAngleLabels({0, 0}, {0, 100}, {10, 50}, {10, 200}),
                ElementsAre("0.00\u00B0"));
    EXPECT_FALSE(FourPointAngleLabels({0, 0}, {0, 0}, {10, 50}, {10, 200}));
}

TEST(MeasuredValues, QuarterArcReads90EitherWayAnd270OnTheRest) {
    const ScaleContext ctx{1.0, "mm", 3};
    // Points on the circle of radius 25 around (100, 100).
    const auto forward = ArcLabels({125, 100}, {120, 85}, {100, 75}, ctx);
    ASSERT_TRUE(forward);
    EXPECT_THAT(forward->labels, ElementsAre("R:25.000mm", "Angle:90.00\u00B0", "Arc:39.269mm"));
    EXPECT_EQ(forward->centre, (PixelPoint{100, 100}));
    EXPECT_THAT(ArcLabels({100, 75}, {120, 85}, {125, 100}, ctx)->labels[1], "Angle:90.00\u00B0");
    EXPECT_THAT(ArcLabels({125, 100}, {80, 115}, {100, 75}, ctx)->labels[1], "Angle:270.00\u00B0");
    EXPECT_THAT(ArcLabels({100, 75}, {80, 115}, {125, 100}, ctx)->labels[1], "Angle:270.00\u00B0");
    // A radius just under 100 pixels is not cut to whole pixels.
    const auto wide = ArcLabels({0, 0}, {100, 10}, {200, 0}, kPixels);
    EXPECT_EQ(wide->labels[0], "R:505.00px");
    EXPECT_FALSE(ArcLabels({0, 0}, {10, 0}, {20, 0}, ctx));
    EXPECT_FALSE(ArcLabels({0, 0}, {10, 7}, {0, 0}, ctx));
}

TEST(MeasuredValues, AutomaticArcUsesTheFittedRadiusForTheLength) {
    const ScaleContext ctx{1.0, "mm", 3};
    const auto arc = AutoArcLabels({125, 100}, {120, 85}, {100, 75}, 24.0, ctx);
    ASSERT_TRUE(arc);
    EXPECT_THAT(arc->labels, ElementsAre("R:25.000mm", "Angle:90.00\u00B0", "Arc:37.698mm"));
    EXPECT_FALSE(AutoArcLabels({0, 0}, {1, 1}, {2, 2}, 24.0, ctx));
}

TEST(MeasuredValues, AutomaticLineLength2MeasuresAVerticalRow) {
    const std::vector<PixelPoint> row{{100, 10}, {100, 60}, {103, 80}, {100, 110}};
    const auto line =
        AutoLineLength2Labels(row, {100.75, 65.0}, {-4e-8, 1.0}, ScaleContext{1.0, "px", 3});
    ASSERT_TRUE(line);
    EXPECT_THAT(line->labels, ElementsAre("L:100.000px"));
    EXPECT_EQ(line->a, (PixelPoint{101, 10}));
    EXPECT_EQ(line->b, (PixelPoint{101, 110}));
    const std::vector<PixelPoint> flat{{0, 7}, {50, 7}};
    EXPECT_THAT(AutoLineLength2Labels(flat, {25, 7}, {1, 0}, kPixels)->labels,
                ElementsAre("L:50.00px"));
    EXPECT_FALSE(AutoLineLength2Labels(std::vector<PixelPoint>{{1, 1}}, {1, 1}, {1, 0}, kPixels));
    EXPECT_FALSE(
        AutoLineLength2Labels(std::vector<PixelPoint>{{1, 1}, {1, 1}}, {1, 1}, {1, 0}, kPixels));
}

TEST(MeasuredValues, ToleranceCircleTexts) {
    EXPECT_THAT(ToleranceCircleTexts(1.0, 0.05, 0.1, kMm),
                ElementsAre("R:1.000mm", "R+:1.050mm", "R-:0.900mm"));
}

// Printed radius of the three-point circle, both circles of the two-circle tool and the arc
// against an independent circumradius abc / (4K) of random integer clicks.
TEST(MeasuredValues, PrintedRadiusIsTheExactCircumradius) {
    std::mt19937 rng(2024);
    std::uniform_int_distribution<int> coord(-3000, 3000);
    const ScaleContext ctx{1.0, "px", 4};
    int checked = 0;
    while (checked < 2000) {
        const PixelPoint a{coord(rng), coord(rng)}, b{coord(rng), coord(rng)},
            c{coord(rng), coord(rng)};
        const long double cross =
            (long double)(b.x - a.x) * (c.y - a.y) - (long double)(b.y - a.y) * (c.x - a.x);
        if (cross == 0) {
            EXPECT_FALSE(ThreePointCircleLabels(a, b, c, ctx));
            continue;
        }
        auto side = [](PixelPoint p, PixelPoint q) {
            return std::hypot((long double)(p.x - q.x), (long double)(p.y - q.y));
        };
        const long double expected = side(a, b) * side(b, c) * side(c, a) / (2 * std::fabs(cross));
        const auto circle = ThreePointCircleLabels(a, b, c, ctx);
        ASSERT_TRUE(circle);
        ASSERT_NEAR(PrintedNumber(circle->labels[1]), (double)expected, 0.01);
        const std::array<PixelPoint, 6> clicks{a, b, c, c, a, b};
        const auto two = TwoCirclesLabels(clicks, ctx);
        ASSERT_NEAR(PrintedNumber(two->labels[0]), (double)expected, 0.01);
        ASSERT_NEAR(PrintedNumber(two->labels[1]), (double)expected, 0.01);
        const auto arc = ArcLabels(a, b, c, ctx);
        ASSERT_NEAR(PrintedNumber(arc->labels[0]), (double)expected, 0.01);
        ++checked;
    }
}

TEST(MeasuredValues, FarAwayPointsGiveFiniteLabels) {
    constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
    constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
    auto finite = [](const Labels& labels) {
        for (const std::string& label : labels) {
            if (label.find("nan") != std::string::npos || label.find("inf") != std::string::npos) {
                return false;
            }
        }
        return true;
    };
    EXPECT_TRUE(finite(*LineLabels({kMin, kMin}, {kMax, kMax}, kMm)));
    EXPECT_TRUE(finite(ThreePointCircleLabels({kMin, kMin}, {0, 1}, {kMax, kMax}, kMm)->labels));
    EXPECT_TRUE(finite(ArcLabels({kMin, 0}, {0, 1}, {kMax, 0}, kMm)->labels));
    EXPECT_TRUE(finite(DotLineLabels({kMin, kMin}, {kMax, kMax - 7}, {0, kMax}, kMm)->labels));
    EXPECT_TRUE(finite(*AngleLabels({kMin, kMin}, {kMax, kMax}, {kMin, kMax})));
    EXPECT_TRUE(finite(*FourPointAngleLabels({kMin, 0}, {kMax, 1}, {kMin, 2}, {kMax, 4})));
    EXPECT_TRUE(finite(RectangleLabels({kMin, kMin}, {kMax, kMax}, kMm)));
    EXPECT_TRUE(finite(*LineLabels({0, 0}, {1, 0}, ScaleContext{std::nan(""), "mm", 3})));
}

}  // namespace
}  // namespace lensora
