// Renders every tool of both views into one picture: the still canvas on the left, a live
// frame with its overlays on the right. With LENSORA_RENDER_ALL_TOOLS set to a path the
// picture is written there as PNG (docs/render-all-tools.png is made this way).
#include <gtest/gtest.h>

#include <QPainter>
#include <cstdlib>
#include <vector>

#include "canvas/canvas_paint.h"
#include "canvas/live_renderer.h"
#include "measure/geometry.h"
#include "measure/measured_values.h"
#include "platform/qt_drawing_surface.h"

namespace lensora {
namespace {

const ScaleContext kMm{0.01, "mm", 3};

struct Gradient {
    std::vector<std::uint8_t> bytes;
    DibView dib;
    Gradient(int w, int h, int base) : bytes(static_cast<std::size_t>(w) * 3 * h) {
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                std::uint8_t* p = &bytes[(static_cast<std::size_t>(y) * w + x) * 3];
                p[0] = static_cast<std::uint8_t>(base + (x * 40) / w);
                p[1] = static_cast<std::uint8_t>(base + (y * 40) / h);
                p[2] = static_cast<std::uint8_t>(base + 10);
            }
        }
        dib = {w, h, 24, static_cast<std::size_t>(w) * 3, bytes.data()};
    }
};

MeasureRecord Make(int kind, std::vector<PixelPoint> points, std::vector<std::string> labels) {
    MeasureRecord r;
    r.kind = kind;
    r.penColor = 0x00FFFF;  // yellow
    r.labelColor = 0x80FF80;
    r.labelFont = DefaultLogFont();
    r.labelFont.height = -12;
    r.textColor = 0xFFFFFF;
    r.textFont = DefaultLogFont();
    r.textFont.height = -11;
    r.points = std::move(points);
    r.labels = std::move(labels);
    r.lineGap = 13;
    return r;
}

MeasureRecord S(StillKind k, std::vector<PixelPoint> p, std::vector<std::string> l) {
    return Make(static_cast<int>(k), std::move(p), std::move(l));
}

void Name(StillRecords& list, PixelPoint at, const char* name) {
    MeasureRecord note = S(StillKind::kText, {at, {at.x + 60, at.y + 60}}, {name});
    note.textColor = 0xC0C0C0;
    AppendRecord(list, note);
}

void TickedLine(StillRecords& list, StillKind kind, PixelPoint p, PixelPoint q, int half,
                const char* name) {
    const auto t = EndTicks(p, q, half);
    AppendRecord(list,
                 S(kind, {p, q, t[0], t[1], t[2], t[3], {p.x, q.y + 14}}, *LineLabels(p, q, kMm)));
    Name(list, {p.x, p.y - 28}, name);
}

StillRecords StillTools() {
    StillRecords l;
    TickedLine(l, StillKind::kStraightLine, {30, 60}, {150, 60}, 10, "1 Straight Line");
    TickedLine(l, StillKind::kAutoLineSpacing, {190, 50}, {290, 80}, 10, "18 Auto Line-spacing");
    TickedLine(l, StillKind::kParallelLine, {600, 100}, {760, 100}, 100, "12 Parallel line");
    {
        const PixelPoint a{340, 40}, b{340, 120}, r{420, 70};
        const auto v = *DotLineLabels(a, b, r, kMm);
        AppendRecord(l, S(StillKind::kDotLine, {a, b, r, {360, 100}}, v.labels));
        Name(l, {330, 14}, "22 Dot Line");
    }
    for (const auto& [kind, x, name] :
         {std::tuple{StillKind::kAutoLineLength1, 450, "23 Line-Length1"},
          std::tuple{StillKind::kAutoLineLength2, 450, "24 Line-Length2"}}) {
        const int y = kind == StillKind::kAutoLineLength1 ? 130 : 172;
        AppendRecord(l, S(kind, {{x, y}, {x + 80, y + 10}, {x, y + 14}},
                          *LineLabels({x, y}, {x + 80, y + 10}, kMm)));
        Name(l, {x, y - 18}, name);
    }
    AppendRecord(l, S(StillKind::kRadiusCircle, {{80, 250}, {120, 280}, {40, 310}},
                      *RadiusCircleLabels({80, 250}, {120, 280}, kMm)));
    Name(l, {20, 180}, "2 Radius Circle");
    {
        const auto v = *DiameterCircleLabels({170, 250}, {250, 250}, kMm);
        AppendRecord(l, S(StillKind::kDiameterCircle,
                          {v.centre, {170, 250}, {250, 250}, {170, 300}}, v.labels));
        Name(l, {170, 190}, "8 Diameter Circle");
    }
    {
        const PixelPoint c1{300, 260}, c2{340, 215}, c3{380, 270};
        const auto v = *ThreePointCircleLabels(c1, c2, c3, kMm);
        AppendRecord(l,
                     S(StillKind::kThreePointCircle, {v.centre, c2, c1, c3, {300, 310}}, v.labels));
        Name(l, {300, 190}, "9 Three Points Circle");
    }
    {
        MeasureRecord fitted =
            S(StillKind::kAutoCircle, {{460, 260}, {430, 300}}, *AutoCircleLabels(33.4, kMm));
        fitted.fitRadius = 33.4;
        AppendRecord(l, fitted);
        Name(l, {430, 212}, "19 Auto circle");
    }
    {
        const std::array<PixelPoint, 6> clicks = {
            {{540, 250}, {570, 220}, {600, 250}, {680, 230}, {700, 210}, {720, 230}}};
        const auto v = *TwoCirclesLabels(clicks, kMm);
        AppendRecord(l, S(StillKind::kTwoCircles,
                          {clicks[0],
                           clicks[1],
                           clicks[2],
                           v.centre1,
                           {530, 290},
                           clicks[3],
                           clicks[4],
                           clicks[5],
                           v.centre2,
                           {680, 260},
                           {610, 305}},
                          v.labels));
        Name(l, {530, 203}, "11 Two Circles");
    }
    AppendRecord(l, S(StillKind::kRectangle, {{30, 370}, {130, 430}, {30, 435}},
                      RectangleLabels({30, 370}, {130, 430}, kMm)));
    Name(l, {30, 350}, "3 Rectangle");
    AppendRecord(l, S(StillKind::kAngle, {{170, 370}, {200, 440}, {260, 420}, {210, 445}},
                      *AngleLabels({170, 370}, {200, 440}, {260, 420})));
    Name(l, {170, 350}, "5 Angle");
    AppendRecord(l, S(StillKind::kFourPointAngle,
                      {{290, 380}, {360, 430}, {290, 440}, {370, 380}, {330, 445}},
                      *FourPointAngleLabels({290, 380}, {360, 430}, {290, 440}, {370, 380})));
    Name(l, {290, 350}, "10 Four points Angle");
    AppendRecord(
        l, S(StillKind::kAutoAngle, {{420, 380}, {500, 440}, {420, 440}, {500, 380}, {450, 445}},
             *FourPointAngleLabels({420, 380}, {500, 440}, {420, 440}, {500, 380})));
    Name(l, {420, 350}, "21 Auto Angle");
    for (const auto& [kind, x, name] : {std::tuple{StillKind::kArc, 540, "222 Arc"},
                                        std::tuple{StillKind::kAutoArc, 660, "333 Auto Arc"}}) {
        const PixelPoint a{x, 420}, b{x + 40, 380}, c{x + 90, 410};
        const auto v = *ArcLabels(a, b, c, kMm);
        AppendRecord(l, S(kind, {a, b, c, {x, 430}, v.centre}, v.labels));
        Name(l, {x, 350}, name);
    }
    {
        const std::vector<PixelPoint> vertices = {{30, 520}, {90, 490}, {150, 540}, {200, 500}};
        std::vector<PixelPoint> pts = {vertices[0]};
        const Labels labels = ContinuousLineLabels(vertices, kMm);
        const std::vector<PixelPoint> anchors = {{20, 525}, {70, 550}, {180, 522}};
        for (std::size_t i = 1; i < vertices.size(); ++i) {
            pts.push_back(vertices[i]);
            pts.push_back(anchors[i - 1]);
        }
        AppendRecord(l, S(StillKind::kContinuousLine, pts, labels));
        Name(l, {30, 470}, "6 Continuous Line");
    }
    {
        std::vector<PixelPoint> pts = {{250, 490}, {330, 500}, {320, 560}, {260, 550}, {260, 550}};
        Labels area = *PolygonLabels(pts, kMm);
        pts.push_back({270, 565});
        AppendRecord(l, S(StillKind::kPolygon, pts, area));
        Name(l, {250, 470}, "7 Ploygon");
    }
    AppendRecord(l, S(StillKind::kCircleLabel, {{400, 520}}, {"1"}));
    AppendRecord(l, S(StillKind::kSquareLabel, {{440, 520}}, {"1"}));
    Name(l, {380, 470}, "13/14 Labels");
    MeasureRecord text = S(StillKind::kText, {{500, 510}, {560, 570}}, {"4 Input Text"});
    text.textFont.height = -18;
    text.textColor = 0x40A0FF;
    AppendRecord(l, text);
    MeasureRecord selected = S(StillKind::kAutoLineLength1, {{620, 520}, {760, 540}, {620, 550}},
                               *LineLabels({620, 520}, {760, 540}, kMm));
    selected.selected = true;
    AppendRecord(l, selected);
    Name(l, {620, 490}, "selected (magenta)");
    return l;
}

QImage StillPanel() {
    Gradient picture(800, 600, 40);
    const StillRecords records = StillTools();
    QtDrawingSurface surface(800, 600);
    CanvasPaintInput in;
    in.picture = &picture.dib;
    in.mode = DisplayMode::ActualSize;
    in.records = &records;
    in.caption = "Still_2026-12-08_013000_60X_N0001";
    in.totalDecimals = kMm.decimals;
    in.totalUnit = kMm.unit;
    EXPECT_TRUE(PaintCanvas(surface, in));
    return surface.Image().copy();
}

QImage LivePanel() {
    Gradient frame(640, 480, 20);
    LiveRecords records;
    const auto live = [](LiveKind k, std::vector<PixelPoint> p, std::vector<std::string> l) {
        MeasureRecord r = Make(static_cast<int>(k), std::move(p), std::move(l));
        r.penColor = 0xFFC040;
        r.textColor = 0xFFC040;
        return r;
    };
    AppendRecord(records, live(LiveKind::kStraightLine, {{40, 60}, {160, 90}, {40, 100}},
                               *LineLabels({40, 60}, {160, 90}, kMm)));
    AppendRecord(records, live(LiveKind::kParallelLine, {{40, 300}, {40, 420}, {50, 430}},
                               *LineLabels({40, 300}, {40, 420}, kMm)));
    AppendRecord(
        records,
        live(LiveKind::kAutoAngle, {{430, 60}, {600, 110}, {440, 140}, {600, 40}, {480, 140}},
             *FourPointAngleLabels({430, 60}, {600, 110}, {440, 140}, {600, 40})));
    AppendRecord(records, live(LiveKind::kEllipse, {{450, 330}, {600, 400}, {450, 405}},
                               EllipseLabels({450, 330}, {600, 400}, kMm)));
    AppendRecord(records, live(LiveKind::kCircleLabel, {{200, 40}}, {"2"}));
    std::vector<ReferenceShape> shapes;
    ReferenceShape across;
    across.points = {{120, 170}, {260, 170}};
    shapes.push_back(across);
    ReferenceShape down;
    down.points = {{600, 180}, {600, 300}};
    down.flag = 1;
    shapes.push_back(down);
    shapes.push_back(std::get<ReferenceShape>(MakeAngleLine(160, 440)));
    shapes.back().color = 0xFF80FF;
    shapes.back().textColor = 0xFF80FF;
    shapes.push_back(std::get<ReferenceShape>(MakeToleranceCircle(0.6, 0.1, 0.1, 0.01)));
    shapes.back().color = 0x00C000;
    shapes.back().textColor = 0x00C000;

    QtDrawingSurface surface(640, 480);
    LiveFrameInput in;
    in.frame = &frame.dib;
    in.records = &records;
    in.shapes = shapes;
    in.switches = {true, false, true, true, true};
    in.now = {2026, 12, 8, 1, 30, 0};
    in.ruler.pixelsPerUnit = 100;
    in.ruler.magnification = 60;
    in.reference.camera = {false, 640, 480};
    in.reference.magnification = 60;
    ComposeLiveFrame(surface, in);
    return surface.Image().copy();
}

TEST(RenderAllTools, EveryToolInOnePicture) {
    const QImage still = StillPanel();
    const QImage live = LivePanel();
    QImage all(still.width() + 8 + live.width(), std::max(still.height(), live.height()),
               QImage::Format_RGB32);
    all.fill(Qt::black);
    {
        QPainter p(&all);
        p.drawImage(0, 0, still);
        p.drawImage(still.width() + 8, 0, live);
    }
    // Something of every colour family was drawn.
    int yellow = 0;
    for (int y = 0; y < still.height(); ++y) {
        for (int x = 0; x < still.width(); ++x) {
            yellow += (still.pixel(x, y) & 0xFFFFFF) == 0xFFFF00;
        }
    }
    EXPECT_GT(yellow, 2000);
    if (const char* path = std::getenv("LENSORA_RENDER_ALL_TOOLS")) {
        ASSERT_TRUE(all.save(QString::fromUtf8(path), "PNG"));
    }
}

}  // namespace
}  // namespace lensora
