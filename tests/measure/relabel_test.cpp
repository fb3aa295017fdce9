#include "measure/relabel.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>

#include "measure/measured_values.h"

namespace lensora {
namespace {

using ::testing::ElementsAre;

const std::string kUm = "\xC2\xB5m";
// 100 pixels read 6.383 mm: the small-sensor pixel at magnification 10.
const ScaleContext kMm{0.063829787234, "mm", 3};
const ScaleContext kMicro{63.829787234, kUm, 3};

MeasureRecord Made(int kind, std::vector<PixelPoint> points, Labels labels) {
    MeasureRecord r = NewRecord();
    r.kind = kind;
    r.points = std::move(points);
    r.labels = std::move(labels);
    return r;
}

TEST(Relabel, ManualToolsAreMeasuredAgainFromTheirPoints) {
    // A still line with its end ticks: exact micrometres, not the rounded millimetres * 1000.
    MeasureRecord line =
        Made(int(StillKind::kStraightLine),
             {{10, 20}, {110, 20}, {0, 0}, {0, 0}, {0, 0}, {0, 0}, {110, 20}}, {"L:6.383mm"});
    EXPECT_TRUE(RelabelRecord(line, false, kMm, kMicro));
    EXPECT_THAT(line.labels, ElementsAre("L:6382.979" + kUm));
    EXPECT_EQ(line.points.size(), 7u);  // points are kept

    const ScaleContext mm{0.01, "mm", 3};
    const ScaleContext cm{0.001, "cm", 4};
    MeasureRecord box = Made(int(StillKind::kRectangle), {{0, 0}, {100, 50}, {100, 50}},
                             RectangleLabels({0, 0}, {100, 50}, mm));
    ASSERT_TRUE(RelabelRecord(box, false, mm, cm));
    EXPECT_THAT(box.labels, ElementsAre("A:0.0050cm2", "W:0.1000cm", "H:0.0500cm"));

    // Three-point circle stored as centre, second, first and third click.
    const PixelPoint a{100, 0}, b{0, 100}, c{-100, 0};
    MeasureRecord circle = Made(int(StillKind::kThreePointCircle), {{0, 0}, b, a, c, c},
                                ThreePointCircleLabels(a, b, c, mm)->labels);
    ASSERT_TRUE(RelabelRecord(circle, false, mm, cm));
    EXPECT_EQ(circle.labels, ThreePointCircleLabels(a, b, c, cm)->labels);
    EXPECT_EQ(circle.labels[1], "R:0.1000cm");

    // Polygon: vertices then the label anchor, which must not count as a vertex.
    MeasureRecord polygon =
        Made(int(StillKind::kPolygon), {{0, 0}, {10, 0}, {10, 10}, {0, 10}, {0, 10}, {500, 500}},
             {"A:x"});
    ASSERT_TRUE(RelabelRecord(polygon, false, mm, cm));
    EXPECT_EQ(
        polygon.labels,
        *PolygonLabels(std::vector<PixelPoint>{{0, 0}, {10, 0}, {10, 10}, {0, 10}, {0, 10}}, cm));

    // Continuous line: start, then end vertex and label anchor per segment.
    MeasureRecord path =
        Made(int(StillKind::kContinuousLine), {{0, 0}, {30, 40}, {99, 99}, {30, 140}, {7, 7}},
             {"0.500mm", "1.000mm"});
    ASSERT_TRUE(RelabelRecord(path, false, mm, cm));
    EXPECT_THAT(path.labels, ElementsAre("0.0500cm", "0.1000cm"));
}

TEST(Relabel, LiveRecordsUseTheirOwnToolCodes) {
    const ScaleContext mm{0.01, "mm", 3};
    // Live code 5 is the rectangle, 7 the ellipse; in the still view 7 is the polygon.
    MeasureRecord ellipse = Made(int(LiveKind::kEllipse), {{0, 0}, {100, 100}, {100, 100}},
                                 EllipseLabels({0, 0}, {100, 100}, mm));
    ASSERT_TRUE(RelabelRecord(ellipse, true, mm, kMicro));
    EXPECT_EQ(ellipse.labels, EllipseLabels({0, 0}, {100, 100}, kMicro));
    EXPECT_EQ(ellipse.labels[0].substr(ellipse.labels[0].size() - 5), kUm + "\xC2\xB2");

    MeasureRecord line =
        Made(int(LiveKind::kStraightLine), {{0, 0}, {0, 100}, {0, 100}}, {"L:1.000mm"});
    ASSERT_TRUE(RelabelRecord(line, true, mm, kMicro));
    EXPECT_THAT(line.labels, ElementsAre("L:6382.979" + kUm));
}

TEST(Relabel, AutomaticToolsConvertTheirNumbersAndAnglesAndTextsStay) {
    const ScaleContext mm{0.01, "mm", 3};
    const ScaleContext um{10.0, kUm, 1};
    MeasureRecord circle = Made(int(StillKind::kAutoCircle), {{0, 0}, {5, 5}},
                                {"A:0.785mm2", "R:0.500mm", "G:3.142mm"});
    ASSERT_TRUE(RelabelRecord(circle, false, mm, um));
    EXPECT_THAT(circle.labels,
                ElementsAre("A:785000.0" + kUm + "\xC2\xB2", "R:500.0" + kUm, "G:3142.0" + kUm));

    MeasureRecord arc =
        Made(int(StillKind::kAutoArc), {}, {"R:0.500mm", "Angle:90.00\xC2\xB0", "Arc:0.785mm"});
    ASSERT_TRUE(RelabelRecord(arc, false, mm, um));
    EXPECT_THAT(arc.labels, ElementsAre("R:500.0" + kUm, "Angle:90.00\xC2\xB0", "Arc:785.0" + kUm));

    MeasureRecord angle =
        Made(int(StillKind::kAngle), {{1, 0}, {0, 0}, {0, 1}, {0, 1}}, {"45.00\xC2\xB0"});
    MeasureRecord text = Made(int(StillKind::kText), {{0, 0}}, {"L:1mm crack"});
    MeasureRecord calibration = Made(int(StillKind::kParallelLine), {{0, 0}, {10, 0}}, {""});
    for (MeasureRecord* r : {&angle, &text, &calibration}) {
        const Labels before = r->labels;
        EXPECT_FALSE(RelabelRecord(*r, false, mm, um));
        EXPECT_EQ(r->labels, before);
    }

    // Without a usable new scale nothing changes (no "inf" labels).
    MeasureRecord line = Made(int(StillKind::kStraightLine), {{0, 0}, {100, 0}}, {"L:1.000mm"});
    EXPECT_FALSE(RelabelRecord(line, false, mm, ScaleContext{0.0, "mm", 3}));
    EXPECT_THAT(line.labels, ElementsAre("L:1.000mm"));
}

TEST(Relabel, AListChangesDecimalsAndTheAreaRuleTogether) {
    const ScaleContext mm{0.001, "mm", 3};
    ScaleContext fine = mm;
    fine.decimals = 4;
    fine.areaSignificant = true;
    RecordList list;
    AppendRecord(list, std::make_unique<MeasureRecord>(
                           Made(int(StillKind::kRadiusCircle), {{0, 0}, {25, 0}, {25, 0}},
                                *RadiusCircleLabels({0, 0}, {25, 0}, mm))));
    AppendRecord(list, std::make_unique<MeasureRecord>(Made(
                           int(StillKind::kAngle), {{1, 0}, {0, 0}, {0, 1}}, {"90.00\xC2\xB0"})));
    EXPECT_EQ(list[0].labels[0], "A:0.002mm2");
    EXPECT_EQ(RelabelRecords(list, false, mm, fine), 1);
    EXPECT_THAT(list[0].labels, ElementsAre("A:0.00196mm2", "R:0.0250mm", "G:0.1571mm"));
    EXPECT_EQ(RelabelRecords(list, false, fine, fine), 0);
    EXPECT_TRUE(SameLabelScale(fine, fine));
    EXPECT_FALSE(SameLabelScale(mm, fine));
}

}  // namespace
}  // namespace lensora
