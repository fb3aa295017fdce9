#include "canvas/live_renderer.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <limits>

#include "canvas/render_test_support.h"
#include "canvas/rubber_band_renderer.h"

namespace lensora {
namespace {

using namespace test;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::Pair;

RulerSettings Ruler(double s, double m, std::string unit = "mm") {
    RulerSettings r;
    r.pixelsPerUnit = s;
    r.magnification = m;
    r.unit = std::move(unit);
    return r;
}

TEST(CrossRuler, TicksAndAlternatingLabelsOnBothAxes) {
    RecordingSurface s(640, 480);  // centre (321, 241)
    DrawCrossRuler(s, Ruler(100, 50));
    const std::vector<Seg> lines = Lines(s);
    EXPECT_EQ(lines[0], (Seg{{0, 241}, {640, 241}}));
    EXPECT_EQ(lines[1], (Seg{{321, 0}, {321, 480}}));
    // Spacing round(0.05 * 100) = 5: 65 tick pairs across, 49 down.
    EXPECT_EQ(lines.size(), 2u + 2 * 65 + 2 * 49);
    EXPECT_EQ(lines[4], (Seg{{326, 235}, {326, 247}}));
    EXPECT_EQ(lines[5], (Seg{{316, 235}, {316, 247}}));
    EXPECT_EQ(s.Of(Op::Line)[0].pen, (Pen{PenStyle::Solid, 1, 0x0000FF}));
    // Labels every S pixels, 6 pixels before their tick, below, above, below...; those wholly
    // off the surface are left out.
    EXPECT_THAT(
        Texts(s),
        ElementsAre(Pair(PixelPoint{415, 258}, "1.00"), Pair(PixelPoint{215, 258}, "-1.00"),
                    Pair(PixelPoint{515, 207}, "2.00"), Pair(PixelPoint{115, 207}, "-2.00"),
                    Pair(PixelPoint{615, 258}, "3.00"), Pair(PixelPoint{15, 258}, "-3.00"),
                    Pair(PixelPoint{338, 335}, "1.00"), Pair(PixelPoint{338, 135}, "-1.00"),
                    Pair(PixelPoint{287, 435}, "2.00"), Pair(PixelPoint{287, 35}, "-2.00")));
    EXPECT_EQ(s.Of(Op::Text)[0].textColour, 0x0000FFu);

    // Coarse ticks at magnification 30 and below put the labels at the same places.
    RecordingSurface coarse(640, 480);
    DrawCrossRuler(coarse, Ruler(100, 30, "cm"));
    EXPECT_EQ(Lines(coarse).size(), 2u + 2 * 13 + 2 * 10);
    EXPECT_EQ(Texts(coarse)[0], std::make_pair(PixelPoint{415, 258}, std::string("0.10")));
    EXPECT_EQ(RulerValueStep("inch"), 0.01);
    EXPECT_EQ(RulerValueStep("mil"), 10.0);
    EXPECT_EQ(RulerValueStep("mm"), 1.0);

    RecordingSurface none(640, 480);
    DrawCrossRuler(none, Ruler(1, 50));  // spacing round(0.05) = 0
    EXPECT_EQ(Lines(none).size(), 2u);
    EXPECT_THAT(Texts(none), IsEmpty());
}

TEST(ConcentricRings, RadiiStepBySWhileInsideHalfTheHeight) {
    RecordingSurface s(640, 480);
    DrawConcentricRings(s, 99.6);
    EXPECT_EQ(Lines(s).size(), 2u);
    const auto rings = s.Of(Op::Ellipse);
    ASSERT_EQ(rings.size(), 2u);
    EXPECT_EQ(rings[0].box, Around({321, 241}, 100));
    EXPECT_EQ(rings[1].box, Around({321, 241}, 200));
    RecordingSurface cross(640, 480);
    DrawConcentricRings(cross, 0.4);
    EXPECT_THAT(cross.Of(Op::Ellipse), IsEmpty());
    EXPECT_EQ(Lines(cross).size(), 2u);
}

TEST(ReferenceOverlays, LengthLineValueIsCutToHundredths) {
    EXPECT_DOUBLE_EQ(CutLengthLineValue(1.2345), 1.23);
    EXPECT_DOUBLE_EQ(CutLengthLineValue(1.2365), 1.24);
    EXPECT_DOUBLE_EQ(CutLengthLineValue(1.2999), 1.30);
    EXPECT_DOUBLE_EQ(CutLengthLineValue(1.2059), 1.20);  // whole tenths stay
    ReferenceContext ctx;
    ctx.camera = {false, 640, 480};
    ctx.magnification = 10;
    // 100 pixels of 0.02963 mm: 2.963 -> 2.96.
    EXPECT_DOUBLE_EQ(LengthLineValue(100, ctx), 2.96);
    ctx.magnification = 0;
    EXPECT_EQ(LengthLineValue(100, ctx), 0.0);
}

TEST(ReferenceOverlays, LengthLineAngleLineAndToleranceCircle) {
    ReferenceContext ctx;
    ctx.camera = {false, 640, 480};
    ctx.magnification = 10;
    ctx.decimals = 3;
    ReferenceShape across;
    across.points = {{100, 100}, {200, 100}};
    ReferenceShape down = across;
    down.points = {{100, 100}, {100, 300}};
    down.flag = 1;
    const std::vector<ReferenceShape> lines = {across, down};
    RecordingSurface s;
    DrawReferenceOverlays(s, lines, ctx);
    EXPECT_EQ(Lines(s)[0], (Seg{{100, 100}, {200, 100}}));
    EXPECT_EQ(Lines(s)[1], (Seg{{100, 110}, {100, 90}}));
    EXPECT_EQ(s.Of(Op::Line)[0].pen, (Pen{PenStyle::Solid, 2, 255}));
    EXPECT_THAT(Texts(s), ElementsAre(Pair(PixelPoint{100, 116}, "L:2.960mm"),
                                      Pair(PixelPoint{100, 116}, "L:5.930mm")));
    EXPECT_EQ(s.Of(Op::Text)[0].font.escapement, 0);
    EXPECT_EQ(s.Of(Op::Text)[1].font.escapement, 2700);
    EXPECT_EQ(s.Of(Op::Text)[1].font.faceName, u"Arial");

    const auto angle = MakeAngleLine(100, 300);
    ASSERT_TRUE(std::holds_alternative<ReferenceShape>(angle));
    RecordingSurface a;
    DrawReferenceOverlays(a, std::span(&std::get<ReferenceShape>(angle), 1), ctx);
    EXPECT_THAT(Lines(a), ElementsAre(Seg{{100, 300}, {100, 100}}, Seg{{100, 300}, {300, 300}}));
    // Clockwise from the upward arm to the right arm: 0.3 * 200 = 60 pixels.
    const DrawCall arc = a.Of(Op::Arc)[0];
    EXPECT_EQ(arc.box, Around({100, 300}, 60));
    EXPECT_THAT(arc.points, ElementsAre(PixelPoint{300, 300}, PixelPoint{100, 100}));
    EXPECT_THAT(Texts(a), ElementsAre(Pair(PixelPoint{110, 270}, "90.00°")));

    ReferenceShape tolerance;
    tolerance.kind = ReferenceKind::kToleranceCircle;
    tolerance.points = {{320, 240}};
    tolerance.radius = 2.0;
    tolerance.tolerancePlus = 0.2;
    tolerance.toleranceMinus = 0.1;
    tolerance.radiusPx = 50;
    tolerance.tolerancePlusPx = 10;
    tolerance.toleranceMinusPx = 5;
    tolerance.textColor = 0x00FF00;
    RecordingSurface t;
    ctx.display = ScaledDrawing(2.0, 2.0);
    DrawReferenceOverlays(t, std::span(&tolerance, 1), ctx);
    const auto rings = t.Of(Op::Ellipse);
    ASSERT_EQ(rings.size(), 3u);
    EXPECT_EQ(rings[0].box, Around({640, 480}, 100));
    EXPECT_EQ(rings[1].box, Around({640, 480}, 120));
    EXPECT_EQ(rings[1].pen, (Pen{PenStyle::DashDot, 1, 255}));
    EXPECT_EQ(rings[2].box, Around({640, 480}, 90));
    EXPECT_THAT(Lines(t), ElementsAre(Seg{{640, 480}, {740, 480}}));
    EXPECT_THAT(Texts(t), ElementsAre(Pair(PixelPoint{640, 460}, "R+:2.200mm"),
                                      Pair(PixelPoint{640, 480}, "R:2.000mm"),
                                      Pair(PixelPoint{640, 500}, "R-:1.900mm")));
    EXPECT_EQ(t.Of(Op::Text)[0].textColour, 0x00FF00u);
}

TEST(LiveFrame, OverlaysFollowTheRecordsInTheirOrder) {
    std::vector<std::uint8_t> bytes(640 * 480 * 3);
    const DibView frame{640, 480, 24, 640 * 3, bytes.data()};
    LiveRecords records;
    AppendRecord(records, Live(LiveKind::kAutoLineLength2, {{10, 10}, {20, 10}, {0, 0}}));
    ReferenceShape circle;
    circle.kind = ReferenceKind::kToleranceCircle;
    circle.points = {{320, 240}};
    circle.radiusPx = 30;
    LiveFrameInput in;
    in.frame = &frame;
    in.records = &records;
    in.shapes = std::span(&circle, 1);
    in.switches = {true, true, true, true, true};
    in.now = {2026, 3, 7, 9, 5, 1};
    in.ruler = Ruler(100, 50);
    RecordingSurface s(640, 480);
    ComposeLiveFrame(s, in);
    std::vector<std::string> order;
    for (const DrawCall& c : s.calls) {
        std::string what = c.op == Op::Image                                ? "frame"
                           : c.pen.colour == 0x00FF00 && c.op == Op::Line   ? "record"
                           : c.op == Op::Text && c.text.starts_with("2026") ? "stamp"
                           : c.pen.colour == 0xFFFFFF && c.op == Op::Line   ? "cross"
                           : c.op == Op::Ellipse && c.box.Width() == 200    ? "rings"
                           : c.op == Op::Ellipse && c.box.Width() == 60     ? "shapes"
                           : c.pen.colour == 0x0000FF                       ? "red"
                                                                            : "other";
        if (order.empty() || order.back() != what) {
            order.push_back(what);
        }
    }
    EXPECT_THAT(order, ElementsAre("frame", "record", "stamp", "cross", "red", "rings", "red",
                                   "shapes", "red", "shapes", "red"));
    EXPECT_EQ(DateTimeStampText(in.now), "2026-3-7 9:5:1");
    EXPECT_EQ(s.Of(Op::Text)[0].points[0], (PixelPoint{0, 466}));
}

TEST(LiveFrame, SnapshotDrawsRecordsAndRulerAtCaptureScale) {
    std::vector<std::uint8_t> bytes(1280 * 1024 * 3);
    const DibView frame{1280, 1024, 24, 1280 * 3, bytes.data()};
    LiveRecords records;
    AppendRecord(records, Live(LiveKind::kAutoLineLength2, {{100, 100}, {200, 100}, {0, 0}}));
    SnapshotOverlayInput in;
    in.frame = &frame;
    in.records = &records;
    in.captureWidth = 1280;
    in.captureHeight = 1024;
    in.crossRuler = true;
    in.ruler = Ruler(50, 50);
    RecordingSurface s(1280, 1024);
    ASSERT_TRUE(ComposeSnapshot(s, in));
    EXPECT_EQ(Lines(s)[0], (Seg{{200, 200}, {400, 200}}));
    // S = 50 * 2: the first label 100 pixels right of the centre (641).
    EXPECT_EQ(Texts(s)[0], std::make_pair(PixelPoint{735, 530}, std::string("1.00")));
    for (const DrawCall& c : s.Of(Op::Text)) {
        EXPECT_FALSE(c.text.starts_with("20"));  // no date stamp
    }
}

TEST(RubberBand, EachFigureInNotXorWithItsPen) {
    RubberBand band;
    band.from = {50, 50};
    band.to = {20, 10};
    band.penWidth = 2;
    band.penColour = 0xFF000001;  // the top byte is not a colour
    RecordingSurface s;
    for (RubberBandKind kind : {RubberBandKind::Line, RubberBandKind::Rectangle,
                                RubberBandKind::RadiusCircle, RubberBandKind::LabelBox}) {
        band.kind = kind;
        DrawRubberBand(s, band);
    }
    ASSERT_EQ(s.calls.size(), 5u);
    for (const DrawCall& c : s.calls) {
        EXPECT_EQ(c.mode, RasterMode::NotXor);
        EXPECT_EQ(c.pen, (Pen{PenStyle::Solid, 2, 1}));
    }
    EXPECT_EQ(Lines(s)[0], (Seg{{50, 50}, {20, 10}}));
    EXPECT_EQ(s.calls[1].box, (PixelBox{20, 10, 50, 50}));
    EXPECT_EQ(s.calls[2].box, Around({50, 50}, 50));
    EXPECT_EQ(s.calls[3].points[1], (PixelPoint{20, 10}));
    EXPECT_EQ(s.calls[4].box, Around({20, 10}, 10));

    // A moved record: its whole figure shifted, no labels, one-pixel pen of colour 0.
    const MeasureRecord circle =
        Still(StillKind::kThreePointCircle, {{100, 100}, {100, 90}, {90, 100}, {110, 100}, {0, 0}},
              {"A", "R", "G"});
    band = {};
    band.kind = RubberBandKind::MovedRecord;
    band.record = &circle;
    band.shift = {5, 7};
    RecordingSurface moved;
    DrawRubberBand(
        moved, band,
        {RecordScheme::Still, ViewTransform{{-30, -40}, 1, 1, PixelRounding::TowardZero}});
    EXPECT_THAT(Texts(moved), IsEmpty());
    EXPECT_EQ(moved.Of(Op::Ellipse)[0].box, Around({75, 67}, 10));
    EXPECT_EQ(moved.Of(Op::Rectangle).size(), 3u);
    EXPECT_EQ(moved.calls[0].pen, (Pen{PenStyle::Solid, 1, 0}));
    EXPECT_EQ(moved.calls[0].mode, RasterMode::NotXor);
    moved.MoveTo({0, 0});
    moved.LineTo({1, 1});
    EXPECT_EQ(moved.calls.back().mode, RasterMode::Copy);
}

TEST(ReferenceOverlays, ExtremeShapesAndRulersDrawWithoutOverflow) {
    constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
    constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
    std::vector<ReferenceShape> shapes(3);
    for (int i = 0; i < 3; ++i) {
        shapes[i].kind = static_cast<ReferenceKind>(i + 1);
        shapes[i].points = {{kMax, kMin}, {kMin, kMax}, {kMax, kMax}};
        shapes[i].radiusPx = kMax;
        shapes[i].tolerancePlusPx = kMax;
        shapes[i].toleranceMinusPx = kMin;
        shapes[i].radius = 1e308;
        shapes[i].penWidth = kMax;
    }
    ReferenceContext ctx;
    ctx.display = ScaledDrawing(3.2, 3.2);
    ctx.magnification = 1e-300;
    RecordingSurface s;
    DrawReferenceOverlays(s, shapes, ctx);
    EXPECT_FALSE(s.calls.empty());
    for (double pixelsPerUnit : {1e300, -5.0, std::numeric_limits<double>::quiet_NaN()}) {
        RecordingSurface r(640, 480);
        DrawCrossRuler(r, Ruler(pixelsPerUnit, 50));
        DrawConcentricRings(r, pixelsPerUnit);
        EXPECT_LE(Lines(r).size(), 8u);  // two axes each, at most the centre ticks
    }
}

}  // namespace
}  // namespace lensora
