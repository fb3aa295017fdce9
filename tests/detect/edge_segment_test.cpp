#include "detect/edge_segment.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "detect/search_rectangle.h"
#include "detect/synthetic_pictures.h"

namespace lensora {
namespace {

using namespace lensora::testing;

double DistanceToLine(PixelPoint p, PointD a, PointD b) {
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    return std::abs(dx * (p.y - a.y) - dy * (p.x - a.x)) / std::hypot(dx, dy);
}

double Length(const FoundSegment& s) {
    return std::hypot(double(s.b.x) - s.a.x, double(s.b.y) - s.a.y);
}

// Dark below the line through (10, 20) with slope 0.6 (y downwards), bright above.
CxImage SlopedEdgePicture() {
    return MakePicture(200, 160,
                       [](int x, int y) { return (y - 20) * 10 > (x - 10) * 6 ? kDark : kBright; });
}

TEST(SearchRectangle, MaskFollowsTheDrawnDirection) {
    SearchArea area = SearchRectangle({100, 50}, {100, 150});
    EXPECT_EQ(area.mask, SegmentMask::kVertical);
    EXPECT_EQ(area.rect, (PixelBox{80, 50, 121, 151}));
    area = SearchRectangle({150, 60}, {40, 60});
    EXPECT_EQ(area.mask, SegmentMask::kHorizontal);
    EXPECT_EQ(area.rect, (PixelBox{40, 40, 151, 81}));
    // Steep but not vertical: diagonal masks by the direction of fall.
    EXPECT_EQ(SearchRectangle({100, 50}, {110, 150}).mask, SegmentMask::kFallingDiagonal);
    EXPECT_EQ(SearchRectangle({110, 150}, {100, 50}).mask, SegmentMask::kFallingDiagonal);
    EXPECT_EQ(SearchRectangle({100, 150}, {110, 50}).mask, SegmentMask::kRisingDiagonal);
    EXPECT_EQ(SearchRectangle({40, 60}, {150, 70}).mask, SegmentMask::kFallingDiagonal);
    EXPECT_EQ(SearchRectangle({40, 70}, {150, 60}).mask, SegmentMask::kRisingDiagonal);
    // Wide and high: the bounding box.
    area = SearchRectangle({200, 20}, {50, 120});
    EXPECT_EQ(area.mask, SegmentMask::kRisingDiagonal);
    EXPECT_EQ(area.rect, (PixelBox{50, 20, 201, 121}));
    area = SearchRectangle({50, 20}, {200, 120});
    EXPECT_EQ(area.mask, SegmentMask::kFallingDiagonal);
}

TEST(SearchRectangle, DifferenceOfExactlyTwentyGetsTheBand) {
    EXPECT_EQ(SearchRectangle({100, 50}, {120, 150}).rect, (PixelBox{80, 50, 141, 151}));
    EXPECT_EQ(SearchRectangle({10, 50}, {110, 70}).rect, (PixelBox{10, 30, 111, 91}));
    EXPECT_EQ(SearchRectangle({10, 50}, {31, 71}).rect, (PixelBox{10, 50, 32, 72}));
    // Short in both directions: the band goes across the longer direction.
    EXPECT_EQ(SearchRectangle({10, 50}, {20, 52}).rect, (PixelBox{10, 30, 21, 73}));
    EXPECT_EQ(SearchRectangle({10, 50}, {12, 60}).rect, (PixelBox{-10, 50, 33, 61}));
    // Far outside any picture: the band stops at the int range, the far edges included.
    EXPECT_EQ(SearchRectangle({INT32_MIN, 0}, {INT32_MIN, 100}).rect.left, INT32_MIN);
    EXPECT_EQ(SearchRectangle({INT32_MAX, 0}, {INT32_MAX, 100}).rect,
              (PixelBox{INT32_MAX - 20, 0, INT32_MAX, 101}));
    EXPECT_EQ(SearchRectangle({0, INT32_MAX}, {100, INT32_MAX}).rect,
              (PixelBox{0, INT32_MAX - 20, 101, INT32_MAX}));
    EXPECT_EQ(SearchRectangle({INT32_MIN, INT32_MIN}, {INT32_MIN + 100, INT32_MIN + 100}).rect,
              (PixelBox{INT32_MIN, INT32_MIN, INT32_MIN + 101, INT32_MIN + 101}));
    // Picture corners from the view's first and last pixels through the mapping.
    const ViewTransform mapping{5, 7, 2.5, 2.5};
    EXPECT_EQ(ToPictureRect({10, 20, 31, 42}, mapping), (PixelBox{30, 57, 81, 111}));
    const ViewTransform identity{};
    EXPECT_EQ(ToPictureRect(SearchRectangle({INT32_MAX, 5}, {INT32_MAX, 60}).rect, identity),
              (PixelBox{INT32_MAX - 20, 5, INT32_MAX, 61}));
    EXPECT_TRUE(ToPictureRect({40, 40, 40, 80}, mapping).IsEmpty());
    // A search that far out finds nothing in a picture, without overflowing anywhere.
    const CxImage bar = VerticalBarPicture(60, 60, 30, 59);
    for (PixelPoint far : {PixelPoint{INT32_MAX, INT32_MAX}, PixelPoint{INT32_MIN, INT32_MIN}}) {
        const SearchArea area = SearchRectangle(far, {far.x, far.y / 2});
        EXPECT_FALSE(FindEdgeSegment(bar, ToPictureRect(area.rect, identity), area.mask));
        EXPECT_FALSE(FindEdgeSegmentDilated(bar, ToPictureRect(area.rect, mapping)));
    }
}

TEST(EdgeSegment, MasksKeepOnlyTheirCells) {
    const CxImage image =
        MakePicture(100, 80, [](int x, int y) { return (x / 5 + y / 5) % 2 ? kBright : kDark; });
    const PixelBox rect{0, 0, 100, 80};
    auto edgesIn = [&](SegmentMask mask, int cellX, int cellYFromTop) {
        GreyPlane plane;
        PixelBox clipped;
        EXPECT_TRUE(EdgePlaneForSegmentSearch(image, rect, mask, false, plane, clipped));
        int count = 0;
        for (int row = 0; row < plane.height; ++row) {
            const int yFromTop = plane.height - 1 - row;
            for (int x = 0; x < plane.width; ++x) {
                count += plane.At(x, row) != 0 && x / 25 == cellX && yFromTop / 20 == cellYFromTop;
            }
        }
        return count;
    };
    EXPECT_GT(edgesIn(SegmentMask::kNone, 0, 3), 0);
    EXPECT_GT(edgesIn(SegmentMask::kFallingDiagonal, 0, 0), 0);
    EXPECT_GT(edgesIn(SegmentMask::kFallingDiagonal, 3, 3), 0);
    EXPECT_EQ(edgesIn(SegmentMask::kFallingDiagonal, 0, 3), 0);
    EXPECT_EQ(edgesIn(SegmentMask::kFallingDiagonal, 1, 0), 0);
    EXPECT_GT(edgesIn(SegmentMask::kRisingDiagonal, 0, 3), 0);
    EXPECT_EQ(edgesIn(SegmentMask::kRisingDiagonal, 0, 0), 0);
    EXPECT_GT(edgesIn(SegmentMask::kVertical, 1, 0), 0);
    EXPECT_EQ(edgesIn(SegmentMask::kVertical, 0, 2), 0);
    EXPECT_EQ(edgesIn(SegmentMask::kVertical, 3, 1), 0);
    EXPECT_GT(edgesIn(SegmentMask::kHorizontal, 0, 1), 0);
    EXPECT_EQ(edgesIn(SegmentMask::kHorizontal, 2, 0), 0);
    EXPECT_EQ(edgesIn(SegmentMask::kHorizontal, 1, 3), 0);
}

TEST(EdgeSegment, FindsAVerticalEdgeWithinAPixel) {
    for (int noise : {0, 25}) {
        CxImage image = VerticalBarPicture(200, 160, 80, 119);
        AddNoise(image, noise, 5);
        const SearchArea area = SearchRectangle({83, 30}, {83, 130});
        for (bool dilated : {false, true}) {
            const std::optional<FoundSegment> found =
                dilated ? FindEdgeSegmentDilated(image, area.rect)
                        : FindEdgeSegment(image, area.rect, area.mask);
            ASSERT_TRUE(found) << noise << dilated;
            EXPECT_LE(std::abs(found->a.x - 80), 1) << noise << dilated;
            EXPECT_LE(std::abs(found->b.x - 80), 1) << noise << dilated;
            EXPECT_GT(Length(*found), 60) << noise << dilated;
        }
    }
}

TEST(EdgeSegment, FindsASlopedEdgeWithinAPixel) {
    for (int noise : {0, 20}) {
        CxImage image = SlopedEdgePicture();
        AddNoise(image, noise, 9);
        const SearchArea area = SearchRectangle({40, 36}, {160, 110});
        ASSERT_EQ(area.mask, SegmentMask::kFallingDiagonal);
        const std::optional<FoundSegment> found = FindEdgeSegment(image, area.rect, area.mask);
        ASSERT_TRUE(found) << noise;
        for (PixelPoint end : {found->a, found->b}) {
            EXPECT_LE(DistanceToLine(end, {10, 20}, {110, 80}), 1.0)
                << noise << " " << end.x << "," << end.y;
        }
        EXPECT_GT(Length(*found), 30) << noise;
    }
}

TEST(EdgeSegment, FlatGreyAndTinyRegionsFail) {
    const CxImage flat = UniformPicture(120, 100, 90);
    EXPECT_FALSE(FindEdgeSegment(flat, {20, 20, 101, 81}, SegmentMask::kNone));
    EXPECT_FALSE(FindEdgeSegmentDilated(flat, {20, 20, 101, 81}));
    const CxImage bar = VerticalBarPicture(60, 60, 30, 59);
    EXPECT_FALSE(FindEdgeSegment(bar, {28, 10, 32, 13}, SegmentMask::kNone));  // diagonal 3
    EXPECT_FALSE(FindEdgeSegmentDilated(bar, {26, 10, 34, 17}));               // diagonal 9
    EXPECT_FALSE(FindEdgeSegment(bar, {30, 10, 31, 51}, SegmentMask::kNone));  // one column
    EXPECT_FALSE(FindEdgeSegment(bar, {25, 10, 35, 11}, SegmentMask::kNone));  // one row
    EXPECT_FALSE(FindEdgeSegment(bar, {30, 10, 30, 51}, SegmentMask::kNone));  // empty
    EXPECT_FALSE(FindEdgeSegment(bar, {100, 100, 121, 131}, SegmentMask::kNone));
    // Reaching outside the picture: clipped, still found.
    EXPECT_TRUE(FindEdgeSegment(bar, {10, -40, 51, 101}, SegmentMask::kVertical));
    EXPECT_TRUE(FindEdgeSegment(bar, {10, 0, 51, INT32_MAX}, SegmentMask::kVertical));
    CxImage grey;
    ASSERT_TRUE(grey.Create(60, 60, 8));
    EXPECT_FALSE(FindEdgeSegment(grey, {0, 0, 60, 60}, SegmentMask::kNone));
}

TEST(EdgeSegment, ShortestSegmentRule) {
    const std::vector<HoughSegment> segments = {
        {{0, 0}, {10, 0}}, {{0, 0}, {10, 3}}, {{0, 0}, {7, 7}}, {{0, 0}, {9, 5}}};
    // 10; 10.44 <= 10? no; 9.9 <= 10: chosen (9); 10.3 <= 9? no.
    EXPECT_EQ(ShortestSegment(segments), segments[2]);
    EXPECT_EQ(ShortestSegment({{{0, 0}, {5, 0}}, {{1, 1}, {6, 1}}}),
              (HoughSegment{{1, 1}, {6, 1}}));
    EXPECT_FALSE(ShortestSegment({}));
}

// The fast threshold search must return exactly what the plain loop returns.
TEST(EdgeSegment, FastSearchEqualsThePlainLoop) {
    std::vector<CxImage> pictures;
    pictures.push_back(DiscPicture(160, 120, 70, 60, 40));
    pictures.push_back(RectanglePicture(160, 120, 30, 25, 120, 90));
    pictures.push_back(SlopedEdgePicture());
    pictures.push_back(MakePicture(
        160, 120, [](int x, int y) { return ((x + 2 * y) / 23) % 2 ? kBright : kDark; }));
    for (int i = 0; i < 3; ++i) {
        pictures.push_back(DiscPicture(160, 120, 80, 60, 30 + 10 * i));
        AddNoise(pictures.back(), 30 + 20 * i, 100 + i);
    }
    std::mt19937 random(42);
    int regions = 0;
    int fastCalls = 0;
    for (const CxImage& image : pictures) {
        std::uniform_int_distribution<int> xs(0, image.GetWidth() - 1);
        std::uniform_int_distribution<int> ys(0, image.GetHeight() - 1);
        for (int n = 0; n < 12; ++n) {
            // Corners in any order.
            const PixelPoint corner1{xs(random), ys(random)};
            const PixelPoint corner2{xs(random), ys(random)};
            const PixelBox rect = BoxOfCorners(corner1, corner2);
            const auto mask = static_cast<SegmentMask>(n % 5);
            for (bool dilated : {false, true}) {
                const auto plain =
                    dilated ? FindEdgeSegmentDilated(image, rect, ThresholdSearch::kPlain)
                            : FindEdgeSegment(image, rect, mask, ThresholdSearch::kPlain);
                const auto fast = dilated
                                      ? FindEdgeSegmentDilated(image, rect, ThresholdSearch::kFast)
                                      : FindEdgeSegment(image, rect, mask, ThresholdSearch::kFast);
                ASSERT_EQ(plain.has_value(), fast.has_value());
                if (plain) {
                    EXPECT_EQ(plain->a, fast->a);
                    EXPECT_EQ(plain->b, fast->b);
                    EXPECT_EQ(plain->threshold, fast->threshold);
                    ++regions;
                    fastCalls += fast->houghCalls;
                }
            }
        }
    }
    EXPECT_GT(regions, 60);
    // The accumulator peak predicts the threshold: two calls, one when it is the diagonal.
    EXPECT_LE(fastCalls, 2 * regions);
}

TEST(HoughThreshold, SearchBoundsAndPeak) {
    GreyPlane plane{40, 30, std::vector<std::uint8_t>(40 * 30, 0)};
    for (int x = 5; x < 35; ++x) {
        plane.At(x, 12) = 255;
    }
    EXPECT_EQ(HoughVotePeak(plane), 30);
    for (ThresholdSearch search : {ThresholdSearch::kPlain, ThresholdSearch::kFast}) {
        HoughSearchResult result = SearchSegmentThreshold(plane, 50, 6, search);
        ASSERT_TRUE(result.found);
        EXPECT_EQ(result.threshold, 30);
        ASSERT_EQ(result.segments.size(), 1u);
        // Start below the peak: the start itself.
        EXPECT_EQ(SearchSegmentThreshold(plane, 20, 6, search).threshold, 20);
        EXPECT_FALSE(SearchSegmentThreshold(plane, 50, 31, search).found);
        EXPECT_FALSE(SearchSegmentThreshold(plane, 5, 6, search).found);
    }
    EXPECT_EQ(SearchSegmentThreshold(plane, 50, 6, ThresholdSearch::kPlain).houghCalls, 21);
    EXPECT_EQ(SearchSegmentThreshold(plane, 50, 6, ThresholdSearch::kFast).houghCalls, 2);
    // A wrong guess is corrected: every guess ends at the plain loop's answer.
    CxImage disc = DiscPicture(90, 70, 40, 35, 25);
    AddNoise(disc, 40, 17);
    GreyPlane edges;
    PixelBox clipped;
    ASSERT_TRUE(
        EdgePlaneForSegmentSearch(disc, {0, 0, 90, 70}, SegmentMask::kNone, false, edges, clipped));
    const HoughSearchResult plain = SearchSegmentThreshold(edges, 114, 6, ThresholdSearch::kPlain);
    ASSERT_TRUE(plain.found);
    for (int guess = 0; guess <= 120; guess += 7) {
        const HoughSearchResult fromGuess = SearchSegmentThresholdFrom(edges, 114, 6, guess);
        EXPECT_EQ(fromGuess.threshold, plain.threshold) << guess;
        EXPECT_EQ(fromGuess.segments, plain.segments) << guess;
        EXPECT_LE(fromGuess.houghCalls, 9) << guess;
    }
    const GreyPlane empty{10, 10, std::vector<std::uint8_t>(100, 0)};
    EXPECT_FALSE(SearchSegmentThreshold(empty, 14, 6, ThresholdSearch::kFast).found);
}

}  // namespace
}  // namespace lensora
