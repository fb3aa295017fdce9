// Hit tests of the Select tool, at the edges of each region.
#include "measure/hit_testing.h"

#include <gtest/gtest.h>

#include "measure/record_move.h"

namespace lensora {
namespace {

TEST(HitTestingTest, SegmentBandIsWidenedAcrossItsLongerExtent) {
    // Horizontal: corners y +- 3, top edge in, bottom edge out.
    EXPECT_TRUE(HitsSegmentBand({50, 7}, {10, 10}, {110, 10}));
    EXPECT_TRUE(HitsSegmentBand({50, 12}, {10, 10}, {110, 10}));
    EXPECT_FALSE(HitsSegmentBand({50, 13}, {10, 10}, {110, 10}));
    EXPECT_FALSE(HitsSegmentBand({50, 6}, {10, 10}, {110, 10}));
    EXPECT_TRUE(HitsSegmentBand({10, 10}, {10, 10}, {110, 10}));
    EXPECT_FALSE(HitsSegmentBand({110, 10}, {10, 10}, {110, 10}));
    // Vertical: corners x +- 3.
    EXPECT_TRUE(HitsSegmentBand({7, 50}, {10, 110}, {10, 10}));
    EXPECT_TRUE(HitsSegmentBand({12, 50}, {10, 110}, {10, 10}));
    EXPECT_FALSE(HitsSegmentBand({13, 50}, {10, 110}, {10, 10}));
    // A diagonal is as wide as high: widened horizontally.
    EXPECT_TRUE(HitsSegmentBand({52, 50}, {0, 0}, {100, 100}));
    EXPECT_FALSE(HitsSegmentBand({50, 56}, {0, 0}, {100, 100}));
    EXPECT_FALSE(HitsSegmentBand({5, 5}, {5, 5}, {5, 5}));
    EXPECT_FALSE(HitsSegmentBand({0, 0}, {2000000000, 0}, {-2000000000, 0}));
}

TEST(HitTestingTest, RectangleFrameRingsAndBoxes) {
    const PixelPoint a{110, 60};
    const PixelPoint b{10, 10};
    EXPECT_TRUE(HitsRectangleFrame({8, 30}, a, b));
    EXPECT_TRUE(HitsRectangleFrame({11, 30}, a, b));
    EXPECT_FALSE(HitsRectangleFrame({12, 30}, a, b));
    EXPECT_FALSE(HitsRectangleFrame({60, 35}, a, b));
    EXPECT_TRUE(HitsRectangleFrame({111, 30}, a, b));
    EXPECT_FALSE(HitsRectangleFrame({112, 30}, a, b));
    EXPECT_FALSE(HitsRectangleFrame({7, 30}, a, b));

    // Radius 49.497 truncates to 49: 51 and 47 hit, 52 misses.
    EXPECT_TRUE(HitsRing({151, 100}, {100, 100}, {135, 135}));
    EXPECT_TRUE(HitsRing({147, 100}, {100, 100}, {135, 135}));
    EXPECT_FALSE(HitsRing({152, 100}, {100, 100}, {135, 135}));
    EXPECT_FALSE(HitsRing({100, 100}, {100, 100}, {135, 135}));

    EXPECT_TRUE(HitsFittedRing({152, 100}, {100, 100}, 49.5));
    EXPECT_FALSE(HitsFittedRing({153, 100}, {100, 100}, 49.5));
    EXPECT_TRUE(HitsFittedRing({147, 100}, {100, 100}, 49.5));
}

MeasureRecord Record(StillKind kind, std::vector<PixelPoint> points) {
    MeasureRecord record;
    record.kind = static_cast<int>(kind);
    record.points = std::move(points);
    return record;
}

TEST(HitTestingTest, EachKindIsHitWhereItIsDrawn) {
    auto hits = [](const MeasureRecord& r, PixelPoint click) {
        return HitsRecord(r, click, false);
    };
    const auto label = Record(StillKind::kCircleLabel, {{50, 50}});
    EXPECT_TRUE(hits(label, {32, 32}));
    EXPECT_TRUE(hits(label, {51, 51}));
    EXPECT_FALSE(hits(label, {52, 50}));
    EXPECT_FALSE(hits(label, {31, 40}));

    const auto text = Record(StillKind::kText, {{50, 50}, {110, 110}});
    EXPECT_TRUE(hits(text, {42, 42}));
    EXPECT_TRUE(hits(text, {117, 117}));
    EXPECT_FALSE(hits(text, {118, 60}));

    const auto angle = Record(StillKind::kAngle, {{0, 100}, {100, 100}, {100, 0}, {300, 300}});
    EXPECT_TRUE(hits(angle, {101, 50}));  // second arm p2-p1
    EXPECT_FALSE(hits(angle, {200, 200}));

    const auto autoAngle =
        Record(StillKind::kAutoAngle, {{0, 0}, {100, 0}, {200, 50}, {200, 150}, {9, 9}});
    EXPECT_TRUE(hits(autoAngle, {201, 100}));
    EXPECT_FALSE(hits(autoAngle, {150, 25}));  // p1-p2 is not drawn

    // Continuous line: drawn p0-p1, p1-p3; the anchors (p2, p4) are far off the path.
    const auto path =
        Record(StillKind::kContinuousLine, {{0, 0}, {100, 0}, {300, 300}, {100, 100}, {400, 400}});
    EXPECT_TRUE(hits(path, {101, 50}));
    EXPECT_FALSE(hits(path, {200, 150}));

    const auto polygon =
        Record(StillKind::kPolygon, {{0, 0}, {100, 0}, {100, 100}, {0, 100}, {500, 500}});
    EXPECT_TRUE(hits(polygon, {1, 50}));  // closing edge
    EXPECT_FALSE(hits(polygon, {50, 50}));

    const auto arc = Record(StillKind::kArc, {{0, 100}, {100, 0}, {200, 100}, {5, 5}, {100, 100}});
    EXPECT_TRUE(hits(arc, {100, 199}));  // the whole circle counts
    const auto two = Record(StillKind::kTwoCircles, {{0, 100},
                                                     {100, 0},
                                                     {200, 100},
                                                     {100, 100},
                                                     {5, 5},
                                                     {300, 150},
                                                     {350, 100},
                                                     {400, 150},
                                                     {350, 150},
                                                     {5, 5},
                                                     {5, 5}});
    EXPECT_TRUE(hits(two, {100, 1}));
    EXPECT_FALSE(hits(two, {350, 101}));  // circle 2 is not tested

    auto fitted = Record(StillKind::kAutoCircle, {{100, 100}, {0, 0}});
    fitted.fitRadius = 40.0;
    EXPECT_TRUE(hits(fitted, {142, 100}));
    EXPECT_FALSE(hits(fitted, {143, 100}));

    const auto broken = Record(StillKind::kRadiusCircle, {});
    EXPECT_FALSE(hits(broken, {0, 0}));

    const auto four = Record(StillKind::kFourPointAngle, {{0, 0}, {100, 0}, {0, 50}, {100, 60}});
    EXPECT_FALSE(HitsRecord(four, {50, 0}, false));
    EXPECT_TRUE(HitsRecord(four, {50, 0}, true));
    EXPECT_FALSE(HitsRecord(Record(StillKind::kStraightLine, {{0, 0}, {100, 0}}), {50, 0}, true));
}

TEST(RecordMoveTest, GrabPointsAndSaturatingShift) {
    EXPECT_EQ(GrabPoint(Record(StillKind::kStraightLine, {{0, 0}, {101, 51}})),
              (PixelPoint{50, 25}));
    EXPECT_EQ(GrabPoint(Record(StillKind::kRadiusCircle, {{7, 8}, {20, 20}})), (PixelPoint{7, 8}));
    EXPECT_EQ(GrabPoint(Record(StillKind::kArc, {{0, 0}, {1, 1}, {2, 0}, {3, 3}, {1, 0}})),
              (PixelPoint{1, 0}));
    EXPECT_EQ(GrabPoint(Record(StillKind::kRectangle, {})), (PixelPoint{0, 0}));
    auto record = Record(StillKind::kStraightLine, {{2147483600, -2147483600}});
    ShiftRecord(record, 1000, -1000);
    EXPECT_EQ(record.points[0], (PixelPoint{2147483647, -2147483647 - 1}));
}

}  // namespace
}  // namespace lensora
