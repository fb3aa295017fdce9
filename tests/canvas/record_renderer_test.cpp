#include "canvas/record_renderer.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <limits>

#include "canvas/arc_through.h"
#include "canvas/render_test_support.h"

namespace lensora {
namespace {

using namespace test;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::Pair;

RecordingSurface Draw(const MeasureRecord& r, RecordRenderOptions options = {},
                      RecordScheme scheme = RecordScheme::Still) {
    RecordingSurface s;
    DrawRecord(s, r, scheme, options);
    return s;
}

const std::vector<std::string> kThree = {"A:1", "R:2", "G:3"};

TEST(RecordRenderer, LinesTheirTicksAndSingleLabels) {
    const std::vector<PixelPoint> seven = {{10, 10}, {110, 10}, {10, 0}, {10, 20},
                                           {110, 0}, {110, 20}, {60, 30}};
    for (StillKind kind :
         {StillKind::kStraightLine, StillKind::kParallelLine, StillKind::kAutoLineSpacing}) {
        RecordingSurface s = Draw(Still(kind, seven, {"L:1mm", "ignored"}));
        EXPECT_THAT(Lines(s), ElementsAre(Seg{{10, 10}, {110, 10}}, Seg{{10, 0}, {10, 20}},
                                          Seg{{110, 0}, {110, 20}}));
        EXPECT_THAT(Texts(s), ElementsAre(Pair(PixelPoint{60, 30}, "L:1mm")));
        EXPECT_EQ(s.calls[0].pen, (Pen{PenStyle::Dash, 1, 0x00FF00}));
        EXPECT_EQ(s.Of(Op::Text)[0].textColour, 0x123456u);
    }
    for (StillKind kind : {StillKind::kAutoLineLength1, StillKind::kAutoLineLength2}) {
        RecordingSurface s = Draw(Still(kind, {{1, 2}, {30, 40}, {5, 6}}, {"L:2"}));
        EXPECT_THAT(Lines(s), ElementsAre(Seg{{1, 2}, {30, 40}}));
        EXPECT_THAT(Texts(s), ElementsAre(Pair(PixelPoint{5, 6}, "L:2")));
    }
    RecordingSurface angle =
        Draw(Still(StillKind::kAngle, {{0, 0}, {50, 50}, {100, 0}, {7, 8}}, {"90.00°"}));
    EXPECT_THAT(Lines(angle), ElementsAre(Seg{{0, 0}, {50, 50}}, Seg{{50, 50}, {100, 0}}));
    EXPECT_THAT(Texts(angle), ElementsAre(Pair(PixelPoint{7, 8}, "90.00°")));
    for (StillKind kind : {StillKind::kFourPointAngle, StillKind::kAutoAngle}) {
        RecordingSurface s = Draw(Still(kind, {{0, 0}, {9, 9}, {20, 0}, {20, 9}, {3, 4}}, {"x"}));
        EXPECT_THAT(Lines(s), ElementsAre(Seg{{0, 0}, {9, 9}}, Seg{{20, 0}, {20, 9}}));
        EXPECT_THAT(Texts(s), ElementsAre(Pair(PixelPoint{3, 4}, "x")));
    }
}

TEST(RecordRenderer, CirclesUseIntegerRadiiMarksAndLabelBlocks) {
    // Radius circle: sqrt(98) = 9.9 -> 9.
    RecordingSurface radius =
        Draw(Still(StillKind::kRadiusCircle, {{100, 100}, {107, 107}, {5, 5}}, kThree));
    EXPECT_EQ(radius.Of(Op::Ellipse)[0].box, Around({100, 100}, 9));
    EXPECT_THAT(Lines(radius), ElementsAre(Seg{{100, 100}, {107, 107}}));
    EXPECT_THAT(Texts(radius),
                ElementsAre(Pair(PixelPoint{5, 5}, "A:1"), Pair(PixelPoint{5, 18}, "R:2"),
                            Pair(PixelPoint{5, 31}, "G:3")));

    RecordingSurface diameter =
        Draw(Still(StillKind::kDiameterCircle, {{50, 50}, {40, 50}, {60, 50}, {1, 1}}, kThree));
    EXPECT_EQ(diameter.Of(Op::Ellipse)[0].box, Around({50, 50}, 10));
    EXPECT_THAT(Lines(diameter), ElementsAre(Seg{{40, 50}, {60, 50}}));
    EXPECT_EQ(Texts(diameter).front().first, (PixelPoint{1, 1}));

    RecordingSurface three = Draw(Still(StillKind::kThreePointCircle,
                                        {{50, 50}, {50, 40}, {40, 50}, {60, 50}, {2, 2}}, kThree));
    EXPECT_EQ(three.Of(Op::Ellipse)[0].box, Around({50, 50}, 10));
    EXPECT_THAT(Lines(three), ElementsAre(Seg{{50, 50}, {60, 50}}));
    const auto marks = three.Of(Op::Rectangle);
    ASSERT_EQ(marks.size(), 3u);
    EXPECT_EQ(marks[0].box, (PixelBox{39, 49, 41, 51}));  // p2
    EXPECT_EQ(marks[1].box, (PixelBox{49, 39, 51, 41}));  // p1
    EXPECT_EQ(marks[2].box, (PixelBox{59, 49, 61, 51}));  // p3
    EXPECT_EQ(Texts(three).front().first, (PixelPoint{2, 2}));

    MeasureRecord fitted = Still(StillKind::kAutoCircle, {{80, 80}, {9, 9}}, kThree);
    fitted.fitRadius = 12.5;
    RecordingSurface autoCircle = Draw(fitted);
    EXPECT_EQ(autoCircle.Of(Op::Ellipse)[0].box, Around({80, 80}, 13));
    EXPECT_EQ(Texts(autoCircle).size(), 3u);
    // A sub-pixel centre is drawn at its nearest pixel, not at the truncated p0.
    fitted.refined = RefinedGeometry{PointD{80.7, 80.2}, 12.5, {}};
    EXPECT_EQ(Draw(fitted).Of(Op::Ellipse)[0].box, Around({81, 80}, 13));

    std::vector<PixelPoint> two = {{0, 10},   {10, 0},    {20, 10},   {10, 10}, {1, 1}, {100, 90},
                                   {90, 100}, {110, 100}, {100, 100}, {2, 2},   {3, 3}};
    RecordingSurface pair = Draw(Still(StillKind::kTwoCircles, two, {"R:a", "R:b", "L:c"}));
    EXPECT_EQ(pair.Of(Op::Rectangle).size(), 6u);
    ASSERT_EQ(pair.Of(Op::Ellipse).size(), 2u);
    EXPECT_EQ(pair.Of(Op::Ellipse)[0].box, Around({10, 10}, 10));
    EXPECT_EQ(pair.Of(Op::Ellipse)[1].box, Around({100, 100}, 10));
    EXPECT_THAT(Lines(pair), ElementsAre(Seg{{10, 10}, {100, 100}}));
    EXPECT_THAT(Texts(pair),
                ElementsAre(Pair(PixelPoint{1, 1}, "R:a"), Pair(PixelPoint{2, 2}, "R:b"),
                            Pair(PixelPoint{3, 3}, "L:c")));
}

TEST(RecordRenderer, RectanglesLabelsAndTextNotes) {
    RecordingSurface rect =
        Draw(Still(StillKind::kRectangle, {{50, 60}, {10, 20}, {0, 0}}, kThree));
    EXPECT_EQ(rect.Of(Op::Rectangle)[0].box, (PixelBox{10, 20, 50, 60}));
    EXPECT_EQ(Texts(rect).size(), 3u);

    RecordingSurface circleLabel = Draw(Still(StillKind::kCircleLabel, {{40, 40}}, {"7"}));
    EXPECT_EQ(circleLabel.Of(Op::Ellipse)[0].box, Around({40, 40}, 10));
    const DrawCall number = circleLabel.Of(Op::CentredText)[0];
    EXPECT_EQ(number.box, Around({40, 40}, 10));
    EXPECT_EQ(number.text, "7");
    EXPECT_EQ(number.textColour, 0x123456u);
    EXPECT_EQ(number.font, SurfaceDefaultFont());
    RecordingSurface squareLabel = Draw(Still(StillKind::kSquareLabel, {{40, 40}}, {"8"}));
    EXPECT_EQ(squareLabel.Of(Op::Rectangle)[0].box, Around({40, 40}, 10));

    MeasureRecord note = Still(StillKind::kText, {{5, 6}, {65, 66}}, {"hello"});
    RecordingSurface text = Draw(note);
    ASSERT_EQ(text.calls.size(), 1u);
    EXPECT_EQ(text.calls[0].text, "hello");
    EXPECT_EQ(text.calls[0].textColour, 0x654321u);
    EXPECT_EQ(text.calls[0].font.height, -20);
}

TEST(RecordRenderer, SelectionIsMagentaOnScreenAndRedWhenSavedExceptThreeTools) {
    MeasureRecord line = Still(StillKind::kStraightLine,
                               {{0, 0}, {9, 0}, {0, 1}, {0, 2}, {9, 1}, {9, 2}, {4, 4}}, {"L"});
    line.selected = true;
    RecordRenderOptions saved;
    saved.highlight = Highlight::Saved;
    EXPECT_EQ(Draw(line).calls[0].pen.colour, kScreenSelectionColour);
    EXPECT_EQ(Draw(line, saved).calls[0].pen.colour, kSavedSelectionColour);
    // A selected record's label keeps its colour.
    EXPECT_EQ(Draw(line, saved).Of(Op::Text)[0].textColour, 0x123456u);

    for (StillKind kind : {StillKind::kAutoLineLength1, StillKind::kAutoLineLength2}) {
        MeasureRecord autoLine = Still(kind, {{0, 0}, {9, 0}, {4, 4}}, {"L"});
        autoLine.selected = true;
        EXPECT_EQ(Draw(autoLine, saved).calls[0].pen.colour, kScreenSelectionColour);
    }
    MeasureRecord two = Still(StillKind::kTwoCircles, std::vector<PixelPoint>(11, {5, 5}));
    two.selected = true;
    EXPECT_EQ(Draw(two, saved).calls[0].pen.colour, kScreenSelectionColour);

    MeasureRecord note = Still(StillKind::kText, {{5, 6}, {65, 66}}, {"hello"});
    note.selected = true;
    EXPECT_EQ(Draw(note).calls[0].textColour, kScreenSelectionColour);
    EXPECT_EQ(Draw(note, saved).calls[0].textColour, kSavedSelectionColour);
    // The live view has no highlight.
    RecordRenderOptions live;
    live.highlight = Highlight::None;
    EXPECT_EQ(Draw(line, live).calls[0].pen.colour, 0x00FF00u);
}

TEST(RecordRenderer, ContinuousLineRunningTotal) {
    // p0, then per segment its end vertex and label anchor.
    const std::vector<PixelPoint> path = {{0, 0},  {10, 0}, {5, 5}, {10, 10},
                                          {12, 5}, {0, 10}, {5, 12}};
    RecordRenderOptions options;
    options.totalDecimals = 2;
    options.totalUnit = "mm";
    RecordingSurface s =
        Draw(Still(StillKind::kContinuousLine, path, {"1.25mm", "2.5mm", "x"}), options);
    ASSERT_EQ(s.Of(Op::Polyline).size(), 1u);
    EXPECT_THAT(s.Of(Op::Polyline)[0].points, ElementsAre(PixelPoint{0, 0}, PixelPoint{10, 0},
                                                          PixelPoint{10, 10}, PixelPoint{0, 10}));
    // Text that does not start with a number counts 0; the total sits one line gap lower.
    EXPECT_THAT(Texts(s),
                ElementsAre(Pair(PixelPoint{5, 5}, "1.25mm"), Pair(PixelPoint{12, 5}, "2.5mm"),
                            Pair(PixelPoint{5, 12}, "x"), Pair(PixelPoint{5, 25}, "T:3.75mm")));

    RecordingSurface zero =
        Draw(Still(StillKind::kContinuousLine, {{0, 0}, {10, 0}, {5, 5}}, {"0.000mm"}), options);
    EXPECT_THAT(Texts(zero), ElementsAre(Pair(PixelPoint{5, 5}, "0.000mm")));
    // While the last label is not yet placed (the last point is a vertex) no total is drawn.
    RecordingSurface open =
        Draw(Still(StillKind::kContinuousLine, {{0, 0}, {10, 0}, {5, 5}, {20, 0}}, {"1mm", "2mm"}),
             options);
    EXPECT_EQ(Texts(open).size(), 1u);
    EXPECT_THAT(s.Of(Op::Polyline).size(), 1u);
    EXPECT_THAT(Draw(Still(StillKind::kContinuousLine, {{3, 3}})).calls, IsEmpty());
}

TEST(RecordRenderer, PolygonSkipsEdgesEndingOnTheViewBorder) {
    // Vertices (10,10) (50,10) (0,40) (10,10 double-click) + anchor.
    const std::vector<PixelPoint> pts = {{10, 10}, {50, 10}, {30, 40},
                                         {10, 40}, {10, 40}, {20, 20}};
    RecordingSurface s = Draw(Still(StillKind::kPolygon, pts, {"A:1"}));
    EXPECT_THAT(Lines(s), ElementsAre(Seg{{10, 10}, {50, 10}}, Seg{{50, 10}, {30, 40}},
                                      Seg{{30, 40}, {10, 40}}, Seg{{10, 40}, {10, 10}}));
    EXPECT_THAT(Texts(s), ElementsAre(Pair(PixelPoint{20, 20}, "A:1")));

    std::vector<PixelPoint> atBorder = pts;
    atBorder[2] = {0, 40};
    RecordingSurface b = Draw(Still(StillKind::kPolygon, atBorder, {"A:1"}));
    EXPECT_THAT(Lines(b), ElementsAre(Seg{{10, 10}, {50, 10}}, Seg{{0, 40}, {10, 40}},
                                      Seg{{10, 40}, {10, 10}}));
    // Scrolled so that the first two vertices land on y = 0: the edges ending there go.
    RecordRenderOptions scrolled;
    scrolled.transform.origin = {0, -10};
    EXPECT_THAT(Lines(Draw(Still(StillKind::kPolygon, pts), scrolled)),
                ElementsAre(Seg{{50, 0}, {30, 30}}, Seg{{30, 30}, {10, 30}}));
    EXPECT_THAT(Lines(Draw(Still(StillKind::kPolygon, {{1, 1}, {2, 2}}))), IsEmpty());
}

TEST(RecordRenderer, DotLinePerpendicularEndsAtTheRoundedExactFoot) {
    RecordingSurface vertical =
        Draw(Still(StillKind::kDotLine, {{20, 0}, {20, 100}, {50, 37}, {1, 1}}, {"L"}));
    EXPECT_THAT(Lines(vertical), ElementsAre(Seg{{20, 0}, {20, 100}}, Seg{{50, 37}, {20, 37}}));
    RecordingSurface horizontal =
        Draw(Still(StillKind::kDotLine, {{0, 20}, {100, 20}, {50, 70}, {1, 1}}));
    EXPECT_THAT(Lines(horizontal), ElementsAre(Seg{{0, 20}, {100, 20}}, Seg{{50, 70}, {50, 20}}));
    // Line y = x / 2 through (0,0) and (10,5); point (0,5): foot (2, 1).
    RecordingSurface oblique = Draw(Still(StillKind::kDotLine, {{0, 0}, {10, 5}, {0, 5}, {1, 1}}));
    EXPECT_EQ(Lines(oblique)[1], (Seg{{0, 5}, {2, 1}}));
    // Foot (1.2, 2.4) of (0,3) on y = 2x rounds to (1, 2).
    RecordingSurface rounded = Draw(Still(StillKind::kDotLine, {{0, 0}, {5, 10}, {0, 3}, {1, 1}}));
    EXPECT_EQ(Lines(rounded)[1], (Seg{{0, 3}, {1, 2}}));
    // A reference line of one point draws no perpendicular.
    EXPECT_EQ(Lines(Draw(Still(StillKind::kDotLine, {{5, 5}, {5, 5}, {9, 9}, {1, 1}}))).size(), 1u);
}

TEST(ArcThrough, PassesTheMiddlePointAndRefusesCollinearPoints) {
    // Counter-clockwise from the right end over the top to the left end.
    EXPECT_EQ(*PlanArcThrough({110, 100}, {100, 90}, {90, 100}),
              (ArcThroughPlan{{90, 90, 110, 110}, {110, 100}, {90, 100}}));
    // Clicked the other way round: still over the top.
    EXPECT_EQ(*PlanArcThrough({90, 100}, {100, 90}, {110, 100}),
              (ArcThroughPlan{{90, 90, 110, 110}, {110, 100}, {90, 100}}));
    // Through the bottom.
    EXPECT_EQ(*PlanArcThrough({90, 100}, {100, 110}, {110, 100}),
              (ArcThroughPlan{{90, 90, 110, 110}, {90, 100}, {110, 100}}));
    EXPECT_FALSE(PlanArcThrough({0, 50}, {40, 50}, {90, 50}));
    EXPECT_FALSE(PlanArcThrough({0, 0}, {10, 10}, {30, 30}));

    for (StillKind kind : {StillKind::kArc, StillKind::kAutoArc}) {
        RecordingSurface s =
            Draw(Still(kind, {{110, 100}, {100, 90}, {90, 100}, {0, 0}, {100, 100}}, kThree));
        ASSERT_EQ(s.Of(Op::Arc).size(), 1u);
        EXPECT_EQ(s.Of(Op::Arc)[0].box, (PixelBox{90, 90, 110, 110}));
        EXPECT_EQ(Texts(s).size(), 3u);
        RecordingSurface flat =
            Draw(Still(kind, {{0, 50}, {40, 50}, {90, 50}, {0, 0}, {0, 0}}, kThree));
        EXPECT_THAT(flat.Of(Op::Arc), IsEmpty());
        EXPECT_EQ(Texts(flat).size(), 3u);  // labels still drawn
    }
}

// Every drawn coordinate of `moved` equals that of `base` shifted by d.
void ExpectShifted(const RecordingSurface& base, const RecordingSurface& moved, PixelPoint d) {
    ASSERT_EQ(base.calls.size(), moved.calls.size());
    for (std::size_t i = 0; i < base.calls.size(); ++i) {
        const DrawCall& a = base.calls[i];
        const DrawCall& b = moved.calls[i];
        ASSERT_EQ(a.points.size(), b.points.size());
        for (std::size_t k = 0; k < a.points.size(); ++k) {
            EXPECT_EQ(b.points[k], (PixelPoint{a.points[k].x + d.x, a.points[k].y + d.y})) << i;
        }
        if (a.op != Op::Text && a.op != Op::Line && a.op != Op::Polyline) {
            EXPECT_EQ(b.box, (PixelBox{a.box.left + d.x, a.box.top + d.y, a.box.right + d.x,
                                       a.box.bottom + d.y}))
                << i;
        }
    }
}

TEST(RecordRenderer, ScrollOffsetMovesEveryFigureAndLabel) {
    RecordList list;
    AppendRecord(list,
                 Still(StillKind::kDotLine, {{120, 50}, {120, 300}, {200, 77}, {210, 80}}, {"L"}));
    AppendRecord(list,
                 Still(StillKind::kDotLine, {{50, 120}, {300, 120}, {90, 200}, {90, 210}}, {"L"}));
    AppendRecord(list,
                 Still(StillKind::kDotLine, {{50, 60}, {300, 200}, {90, 200}, {90, 210}}, {"L"}));
    AppendRecord(list,
                 Still(StillKind::kRadiusCircle, {{150, 150}, {170, 160}, {200, 100}}, kThree));
    AppendRecord(list, Still(StillKind::kArc,
                             {{110, 100}, {100, 90}, {90, 100}, {0, 0}, {100, 100}}, kThree));
    AppendRecord(list, Still(StillKind::kCircleLabel, {{300, 300}}, {"1"}));
    AppendRecord(list, Still(StillKind::kContinuousLine, {{60, 60}, {90, 60}, {70, 70}}, {"1mm"}));
    AppendRecord(list, Still(StillKind::kPolygon,
                             {{60, 60}, {90, 60}, {90, 90}, {90, 90}, {70, 70}}, {"A"}));
    RecordingSurface base, scrolled;
    RecordRenderOptions options;
    DrawRecords(base, list, RecordScheme::Still, options);
    options.transform.origin = {-30, -40};
    DrawRecords(scrolled, list, RecordScheme::Still, options);
    ExpectShifted(base, scrolled, {-30, -40});
}

TEST(RecordRenderer, LiveRecordsDeriveTicksAndGuides) {
    RecordRenderOptions live;
    live.highlight = Highlight::None;
    RecordingSurface straight =
        Draw(Live(LiveKind::kStraightLine, {{10, 10}, {10, 60}, {20, 20}}, {"L"}), live,
             RecordScheme::Live);
    EXPECT_THAT(Lines(straight), ElementsAre(Seg{{10, 10}, {10, 60}}, Seg{{20, 10}, {0, 10}},
                                             Seg{{20, 60}, {0, 60}}));
    EXPECT_THAT(Texts(straight), ElementsAre(Pair(PixelPoint{20, 20}, "L")));
    RecordingSurface parallel = Draw(Live(LiveKind::kParallelLine, {{200, 10}, {300, 10}, {0, 0}}),
                                     live, RecordScheme::Live);
    EXPECT_THAT(Lines(parallel), ElementsAre(Seg{{200, 10}, {300, 10}}, Seg{{200, 110}, {200, -90}},
                                             Seg{{300, 110}, {300, -90}}));
    // Display factors scale every point, ticks included.
    live.transform.fx = live.transform.fy = 2.0;
    RecordingSurface scaled = Draw(Live(LiveKind::kStraightLine, {{10, 10}, {10, 60}, {20, 20}}),
                                   live, RecordScheme::Live);
    EXPECT_EQ(Lines(scaled)[1], (Seg{{40, 20}, {0, 20}}));
    live.transform.fx = live.transform.fy = 1.0;

    MeasureRecord label = Live(LiveKind::kSquareLabel, {{50, 50}}, {"3"});
    label.selected = true;
    const DrawCall number = Draw(label, live, RecordScheme::Live).Of(Op::CentredText)[0];
    EXPECT_EQ(number.textColour, 0x654321u);  // the live view keeps it in textColor

    RecordingSurface guided =
        Draw(Live(LiveKind::kAutoAngle, {{0, 100}, {100, 100}, {50, 0}, {50, 90}, {1, 1}}), live,
             RecordScheme::Live);
    const std::vector<Seg> lines = Lines(guided);
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[0], (Seg{{0, 100}, {100, 100}}));
    EXPECT_EQ(lines[1], (Seg{{50, 0}, {50, 90}}));
    EXPECT_EQ(lines[2], (Seg{{0, 106}, {100, 106}}));
    EXPECT_EQ(lines[3], (Seg{{0, 94}, {100, 94}}));
    EXPECT_EQ(lines[4], (Seg{{56, 0}, {56, 90}}));
    EXPECT_EQ(guided.Of(Op::Line)[2].pen, (Pen{PenStyle::Dot, 1, 0x0000FF}));
    RecordingSurface ellipse = Draw(Live(LiveKind::kEllipse, {{30, 0}, {0, 20}, {1, 1}}, kThree),
                                    live, RecordScheme::Live);
    EXPECT_EQ(ellipse.Of(Op::Ellipse)[0].box, (PixelBox{0, 0, 30, 20}));
    EXPECT_EQ(Texts(ellipse).size(), 3u);
}

TEST(RecordRenderer, WidePensDrawSolidAndStrangeRecordsStayInRange) {
    MeasureRecord wide = Still(StillKind::kAutoLineLength1, {{0, 0}, {9, 9}, {1, 1}});
    wide.penWidth = 3;
    wide.penStyle = 2;
    EXPECT_EQ(RecordPen(wide, RecordScheme::Still, Highlight::Screen),
              (Pen{PenStyle::Solid, 3, 0x00FF00}));
    wide.penWidth = 100000;
    wide.penStyle = 7;
    wide.penColor = 0xFF123456;
    EXPECT_EQ(RecordPen(wide, RecordScheme::Still, Highlight::Screen),
              (Pen{PenStyle::Solid, kMaxPenWidthDrawn, 0x123456}));

    // Points at the ends of the pixel range, every kind of both schemes, with scrolling and
    // scaling: figures are clamped, nothing overflows (checked by the sanitizers).
    constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
    constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
    std::vector<PixelPoint> extreme;
    for (int i = 0; i < 12; ++i) {
        extreme.push_back(i % 3 == 0   ? PixelPoint{kMax, kMin}
                          : i % 3 == 1 ? PixelPoint{kMin, kMax}
                                       : PixelPoint{kMax, kMax});
    }
    RecordRenderOptions options;
    options.transform = {{kMin, kMax}, 2.5, 2.5};
    for (int kind : {1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12,  13,
                     14, 15, 16, 17, 18, 19, 21, 22, 23, 24, 25, 222, 333}) {
        MeasureRecord r = Rec(kind, extreme, {"a", "b", "c"});
        r.fitRadius = 1e300;
        r.lineGap = kMax;
        for (RecordScheme scheme : {RecordScheme::Still, RecordScheme::Live}) {
            RecordingSurface s;
            DrawRecord(s, r, scheme, options);
            DrawRecord(s, r, scheme, {});
        }
    }
}

}  // namespace
}  // namespace lensora
