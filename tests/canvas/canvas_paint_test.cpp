#include "canvas/canvas_paint.h"

#include <cmath>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "canvas/render_test_support.h"

namespace lensora {
namespace {

using namespace test;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::Pair;

// A 24-bit picture of the given size; its pixels do not matter to the recording surface.
struct Picture {
    std::vector<std::uint8_t> bytes;
    DibView dib;
    Picture(int w, int h) : bytes(static_cast<std::size_t>(w * 3 + 3) / 4 * 4 * h) {
        dib = {w, h, 24, static_cast<std::size_t>(w * 3 + 3) / 4 * 4, bytes.data()};
    }
};

TEST(ViewFactors, FitViewFactorsAreThePictureToViewRatios) {
    EXPECT_EQ(ViewToImageFactors(DisplayMode::Fit, 1280, 1024), (ViewTransform{{0, 0}, 2.0, 2.0}));
    EXPECT_EQ(ViewToImageFactors(DisplayMode::Fit, 640, 480), (ViewTransform{{0, 0}, 1.0, 1.0}));
    EXPECT_EQ(ViewToImageFactors(DisplayMode::Fit, 320, 240), (ViewTransform{{0, 0}, 0.5, 0.5}));
    EXPECT_EQ(ViewToImageFactors(DisplayMode::Fit, 1600, 1200), (ViewTransform{{0, 0}, 2.5, 2.5}));
    EXPECT_EQ(ViewToImageFactors(DisplayMode::Fit, 1280, 960), (ViewTransform{{0, 0}, 2.0, 2.0}));
    EXPECT_EQ(ViewToImageFactors(DisplayMode::Fit, 1024, 768), (ViewTransform{{0, 0}, 1.6, 1.6}));
    EXPECT_EQ(ViewToImageFactors(DisplayMode::Fit, 2048, 1536), (ViewTransform{{0, 0}, 3.2, 3.2}));
    // Other shapes keep one factor for both axes, the larger ratio, so that circles stay round.
    EXPECT_EQ(ViewToImageFactors(DisplayMode::Fit, 800, 480), (ViewTransform{{0, 0}, 1.25, 1.25}));
    EXPECT_EQ(ViewToImageFactors(DisplayMode::Fit, 960, 960), (ViewTransform{{0, 0}, 2.0, 2.0}));
    EXPECT_EQ(ViewToImageFactors(DisplayMode::Fit, 550, 660),
              (ViewTransform{{0, 0}, 1.375, 1.375}));
    EXPECT_EQ(ViewToImageFactors(DisplayMode::ActualSize, 1280, 1024),
              (ViewTransform{{0, 0}, 1.0, 1.0}));

    EXPECT_EQ(SnapshotRecordScale(1600, 1200), 2.5);
    EXPECT_EQ(SnapshotRecordScale(1600, 900), 2.5);
    EXPECT_EQ(SnapshotRecordScale(1280, 1024), 2.0);
    EXPECT_EQ(SnapshotRecordScale(640, 480), 1.0);
    EXPECT_EQ(SnapshotRecordScale(320, 240), 0.5);
    EXPECT_EQ(SnapshotRecordScale(800, 600), 2.5);
    EXPECT_EQ(SnapshotRulerScale(2592, 1944), 4.05);
    EXPECT_EQ(SnapshotRulerScale(2048, 1536), 3.2);
    EXPECT_EQ(SnapshotRulerScale(1280, 960), 2.0);
    EXPECT_EQ(SnapshotRulerScale(320, 240), 0.5);
    EXPECT_EQ(SnapshotRulerScale(800, 600), 1.0);
}

TEST(AnnotatedImage, FitViewPointsAreScaledAndFontsKept) {
    Picture picture(1280, 1024);
    StillRecords records;
    MeasureRecord line =
        Still(StillKind::kAutoLineLength1, {{100, 50}, {150, 50}, {100, 60}}, {"L:1"});
    AppendRecord(records, line);
    MeasureRecord circle = Still(StillKind::kCircleLabel, {{7, 9}}, {"1"});
    AppendRecord(records, circle);
    RecordingSurface s(1280, 1024);
    AnnotatedImageInput in{&picture.dib, &records,
                           ViewToImageFactors(DisplayMode::Fit, 1280, 1024)};
    ASSERT_TRUE(RenderAnnotatedImage(s, in));
    EXPECT_EQ(s.calls[0].op, Op::Image);
    EXPECT_EQ(s.calls[0].box, (PixelBox{0, 0, 1280, 1024}));
    EXPECT_THAT(Lines(s), ElementsAre(Seg{{200, 100}, {300, 100}}));
    // Labels move with their anchor, keep their font; the label box keeps its 10 pixels.
    EXPECT_THAT(Texts(s), ElementsAre(Pair(PixelPoint{200, 120}, "L:1")));
    EXPECT_EQ(s.Of(Op::Text)[0].font, line.labelFont);
    EXPECT_EQ(s.Of(Op::Ellipse)[0].box, Around({14, 18}, 10));
    // No caption: nothing else was drawn.
    EXPECT_EQ(s.calls.size(), 5u);

    RecordingSurface wrongSize(640, 480);
    EXPECT_FALSE(RenderAnnotatedImage(wrongSize, in));
    in.picture = nullptr;
    EXPECT_FALSE(RenderAnnotatedImage(s, in));
}

TEST(CanvasPaint, PictureThenPreviewThenRecordsThenCaption) {
    Picture picture(1280, 1024);
    StillRecords records;
    AppendRecord(records,
                 Still(StillKind::kAutoLineLength2, {{100, 100}, {200, 100}, {150, 120}}, {"L"}));
    WorkingLists working;
    working.points = {{60, 60}, {90, 60}, {70, 70}, {120, 90}};
    working.labels = {"3mm"};
    DrawingSettings settings;
    settings.penColour = 0xABCDEF;
    settings.labelColour = 0x111111;
    CanvasPaintInput in;
    in.picture = &picture.dib;
    in.records = &records;
    in.preview = PreviewTool::ContinuousLine;
    in.working = &working;
    in.settings = &settings;
    in.caption = "Still_1";
    in.scroll = {30, 40};
    in.mode = DisplayMode::ActualSize;
    RecordingSurface s(800, 600);
    ASSERT_TRUE(PaintCanvas(s, in));
    ASSERT_EQ(s.calls.size(), 6u);
    EXPECT_EQ(s.calls[0].op, Op::Image);
    EXPECT_EQ(s.calls[0].box, (PixelBox{-30, -40, 1250, 984}));
    // Preview with the current settings, no total.
    EXPECT_EQ(s.calls[1].op, Op::Polyline);
    EXPECT_THAT(s.calls[1].points,
                ElementsAre(PixelPoint{30, 20}, PixelPoint{60, 20}, PixelPoint{90, 50}));
    EXPECT_EQ(s.calls[1].pen.colour, 0xABCDEFu);
    EXPECT_EQ(s.calls[2].text, "3mm");
    EXPECT_EQ(s.calls[2].textColour, 0x111111u);
    EXPECT_EQ(s.calls[3].op, Op::Line);
    EXPECT_EQ(s.calls[3].points[0], (PixelPoint{70, 60}));
    EXPECT_EQ(s.calls[5].text, "Still_1");
    EXPECT_EQ(s.calls[5].points[0], (PixelPoint{2, 586}));
    EXPECT_EQ(s.calls[5].textColour, 0xFFFFFFu);
    EXPECT_EQ(s.calls[5].font, CaptionFont());

    // Fit view: the picture fills the view.
    in.mode = DisplayMode::Fit;
    in.scroll = {0, 0};
    RecordingSurface fit(640, 512);
    PaintCanvas(fit, in);
    EXPECT_EQ(fit.calls[0].box, (PixelBox{0, 0, 640, 512}));

    RecordingSurface empty;
    in.picture = nullptr;
    EXPECT_FALSE(PaintCanvas(empty, in));
    EXPECT_THAT(empty.calls, IsEmpty());
}

TEST(ViewFactors, RatesCountPixelsOfThe640WideViewWhateverThePictureShape) {
    EXPECT_DOUBLE_EQ(MeasuringPixelsPerPicturePixel(1600), 0.4);
    EXPECT_DOUBLE_EQ(MeasuringPixelsPerPicturePixel(1280), 0.5);
    EXPECT_DOUBLE_EQ(MeasuringPixelsPerPicturePixel(640), 1.0);
    EXPECT_DOUBLE_EQ(MeasuringPixelsPerPicturePixel(320), 2.0);
    EXPECT_DOUBLE_EQ(MeasuringPixelsPerPicturePixel(1000), 0.64);
    EXPECT_DOUBLE_EQ(MeasuringPixelsPerPicturePixel(0), 1.0);
    EXPECT_DOUBLE_EQ(MeasuringPixelsPerPicturePixel(-5), 1.0);
}

TEST(CanvasPaint, FitViewLetterboxesOtherShapesAndDrawsPicturePixelsScaledDown) {
    // A square picture: 960 x 960 shows as 480 x 480 at the left of the 640 x 480 view.
    Picture picture(960, 960);
    StillRecords records;
    AppendRecord(records,
                 Still(StillKind::kAutoLineLength1, {{100, 100}, {900, 100}, {200, 300}}, {"L:1"}));
    AppendRecord(records, Still(StillKind::kCircleLabel, {{400, 400}}, {"1"}));
    CanvasPaintInput in;
    in.picture = &picture.dib;
    in.records = &records;
    in.mode = DisplayMode::Fit;
    RecordingSurface s(640, 480);
    ASSERT_TRUE(PaintCanvas(s, in));
    EXPECT_EQ(s.calls[0].box, (PixelBox{0, 0, 480, 480}));
    EXPECT_THAT(Lines(s), ElementsAre(Seg{{50, 50}, {450, 50}}));
    // Label boxes, pens and fonts keep their screen size.
    EXPECT_EQ(s.Of(Op::Ellipse)[0].box, Around({200, 200}, 10));
    EXPECT_EQ(s.Of(Op::Line)[0].pen.width, 1);
    EXPECT_EQ(s.Of(Op::Text)[0].points[0], (PixelPoint{100, 150}));

    // Actual size: picture pixels one to one, less the scroll position.
    in.mode = DisplayMode::ActualSize;
    in.scroll = {100, 50};
    RecordingSurface actual(640, 480);
    ASSERT_TRUE(PaintCanvas(actual, in));
    EXPECT_EQ(actual.calls[0].box, (PixelBox{-100, -50, 860, 910}));
    EXPECT_THAT(Lines(actual), ElementsAre(Seg{{0, 50}, {800, 50}}));
}

TEST(AnnotatedImage, SizeScaleGrowsPensFontsGapsAndBoxesButNotPositions) {
    Picture picture(1600, 1200);
    StillRecords records;
    MeasureRecord rect =
        Still(StillKind::kRectangle, {{100, 100}, {500, 300}, {510, 320}}, {"S:1", "W:2", "H:3"});
    AppendRecord(records, rect);
    AppendRecord(records, Still(StillKind::kSquareLabel, {{800, 800}}, {"2"}));
    MeasureRecord note = Still(StillKind::kText, {{50, 900}, {110, 960}}, {"note"});
    AppendRecord(records, note);
    RecordingSurface s(1600, 1200);
    AnnotatedImageInput in{&picture.dib, &records, {}};
    in.sizeScale = 2.5;
    in.tickScale = 2.5;
    ASSERT_TRUE(RenderAnnotatedImage(s, in));
    const std::vector<DrawCall> boxes = s.Of(Op::Rectangle);
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].box, (PixelBox{100, 100, 500, 300}));  // positions stay
    EXPECT_EQ(boxes[0].pen.width, 3);                         // 1 * 2.5, rounded
    EXPECT_EQ(boxes[1].box, Around({800, 800}, 25));
    const std::vector<DrawCall> texts = s.Of(Op::Text);
    ASSERT_GE(texts.size(), 4u);
    EXPECT_EQ(texts[0].points[0], (PixelPoint{510, 320}));
    EXPECT_EQ(texts[1].points[0], (PixelPoint{510, 320 + 33}));  // gap 13 * 2.5
    EXPECT_EQ(texts[0].font.height, RoundToPixel(rect.labelFont.height * 2.5));
    EXPECT_EQ(texts.back().text, "note");
    EXPECT_EQ(texts.back().font.height, -50);  // -20 * 2.5

    EXPECT_EQ(ScaledFont(rect.labelFont, 1.0), rect.labelFont);
    EXPECT_EQ(ScaledFont(rect.labelFont, std::nan("")), rect.labelFont);
    LogFont tiny = rect.labelFont;
    tiny.height = -1;
    EXPECT_EQ(ScaledFont(tiny, 0.1).height, -1);  // never vanishes
}

TEST(CanvasPaint, TwoCirclesPreviewGrowsWithItsClicks) {
    DrawingSettings settings;
    WorkingLists w;
    w.points = {{0, 10}, {10, 0}, {20, 10}, {10, 10}, {30, 30}};
    w.labels = {"R:1"};
    RecordingSurface five;
    DrawPreview(five, PreviewTool::TwoCircles, w, settings, {0, 0});
    EXPECT_EQ(five.Of(Op::Rectangle).size(), 3u);  // no mark at the centre or the anchor
    EXPECT_EQ(five.Of(Op::Ellipse)[0].box, Around({10, 10}, 10));
    EXPECT_THAT(Texts(five), ElementsAre(Pair(PixelPoint{30, 30}, "R:1")));

    w.points.insert(w.points.end(), {{100, 90}, {90, 100}, {110, 100}, {100, 100}, {1, 1}, {2, 2}});
    w.labels = {"R:1", "R:2", "L:3"};
    RecordingSurface eleven;
    DrawPreview(eleven, PreviewTool::TwoCircles, w, settings, {0, 0});
    EXPECT_EQ(eleven.Of(Op::Rectangle).size(), 6u);
    EXPECT_EQ(eleven.Of(Op::Ellipse).size(), 2u);
    EXPECT_THAT(Lines(eleven), ElementsAre(Seg{{10, 10}, {100, 100}}));
    EXPECT_EQ(Texts(eleven).size(), 3u);
}

}  // namespace
}  // namespace lensora
