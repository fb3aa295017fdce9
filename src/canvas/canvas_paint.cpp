#include "canvas/canvas_paint.h"

#include "base/log_font.h"

#include <algorithm>
#include <cctype>

namespace lensora {
namespace {

constexpr int kCaptionX = 2;
constexpr int kCaptionFromBottom = 14;
constexpr std::uint32_t kCaptionColour = 0xFFFFFF;

PixelBox WholeDib(const DibView& dib) {
    return {0, 0, dib.width, dib.height};
}

bool HasPixels(const DibView* dib) {
    return dib != nullptr && dib->bits != nullptr && dib->width > 0 && dib->height > 0;
}

void DrawTwoCirclesPreview(DrawingSurface& s, const WorkingLists& w, const DrawingSettings& d,
                           const ViewTransform& t) {
    const std::vector<PixelPoint>& pts = w.points;
    const auto P = [&](std::size_t i) { return t.ToPicture(pts[i]); };
    s.SetPen(d.CurrentPen());
    for (std::size_t i = 0; i < pts.size(); ++i) {
        // Centres and label anchors carry no mark.
        if (i != 3 && i != 4 && i != 8 && i != 9 && i != 10) {
            s.Rectangle(MarkBox(P(i)));
        }
    }
    const auto circle = [&](std::size_t centre, std::size_t rim) {
        const PixelPoint c = P(centre);
        const std::int32_t r = IntegerRadius(c, P(rim));
        s.Ellipse(BoxAround(c, r, r));
    };
    const auto label = [&](std::size_t anchor, std::size_t line) {
        if (line < w.labels.size() && !w.labels[line].empty()) {
            s.TextOut(P(anchor), w.labels[line]);
        }
    };
    s.SetFont(d.labelFont);
    s.SetTextColour(d.labelColour);
    if (pts.size() >= 5) {
        circle(3, 0);
        label(4, 0);
    }
    if (pts.size() >= 11) {
        circle(8, 5);
        label(9, 1);
        label(10, 2);
        s.MoveTo(P(3));
        s.LineTo(P(8));
    }
}

}  // namespace

LogFont CaptionFont() {
    // The fallback label font with the default character set.
    LogFont font = DefaultLogFont();
    font.charSet = 1;
    return font;
}

ViewTransform PictureToViewDrawing(DisplayMode mode, int pictureWidth, int pictureHeight,
                                   PixelPoint scroll) {
    const double f = ViewToImageFactors(mode, pictureWidth, pictureHeight).fx;
    const double toView = f > 0.0 ? 1.0 / f : 1.0;
    return {{-scroll.x, -scroll.y}, toView, toView, PixelRounding::TowardZero};
}

void DrawPreview(DrawingSurface& surface, PreviewTool tool, const WorkingLists& working,
                 const DrawingSettings& settings, PixelPoint scroll) {
    DrawPreviewThrough(surface, tool, working, settings,
                       ViewTransform{{-scroll.x, -scroll.y}, 1.0, 1.0, PixelRounding::TowardZero});
}

void DrawPreviewThrough(DrawingSurface& surface, PreviewTool tool, const WorkingLists& working,
                        const DrawingSettings& settings, const ViewTransform& t) {
    if (tool == PreviewTool::TwoCircles) {
        DrawTwoCirclesPreview(surface, working, settings, t);
        return;
    }
    if (tool != PreviewTool::ContinuousLine) {
        return;
    }
    MeasureRecord path;
    path.kind = static_cast<int>(StillKind::kContinuousLine);
    path.penStyle = settings.penStyle;
    path.penWidth = settings.penWidth;
    path.penColor = settings.penColour;
    path.labelColor = settings.labelColour;
    path.labelFont = settings.labelFont;
    path.points = working.points;
    path.labels = working.labels;
    RecordRenderOptions options;
    options.transform = t;
    options.highlight = Highlight::None;
    options.continuousTotal = false;
    DrawRecord(surface, path, RecordScheme::Still, options);
}

bool PaintCanvas(DrawingSurface& surface, const CanvasPaintInput& in) {
    if (!HasPixels(in.picture)) {
        return false;
    }
    const int w = surface.Width();
    const int h = surface.Height();
    const ViewTransform toView =
        PictureToViewDrawing(in.mode, in.picture->width, in.picture->height, in.scroll);
    // The picture's far corner lands where a stored point there would be drawn.
    const PixelBox dest{-in.scroll.x, -in.scroll.y,
                        RoundToPixel(in.picture->width * toView.fx) - in.scroll.x,
                        RoundToPixel(in.picture->height * toView.fy) - in.scroll.y};
    surface.SetRasterMode(RasterMode::Copy);
    surface.DrawStretched(*in.picture, dest, WholeDib(*in.picture));

    if (in.working != nullptr && in.settings != nullptr) {
        DrawPreviewThrough(surface, in.preview, *in.working, *in.settings, toView);
    }
    if (in.records != nullptr) {
        RecordRenderOptions options;
        options.transform = toView;
        options.tickScale = 1.0 / toView.fx;
        options.highlight = Highlight::Screen;
        options.totalDecimals = in.totalDecimals;
        options.totalUnit = in.totalUnit;
        options.surfaceFont = in.surfaceFont;
        DrawRecords(surface, *in.records, RecordScheme::Still, options);
    }
    surface.SetFont(CaptionFont());
    surface.SetTextColour(kCaptionColour);
    surface.TextOut({kCaptionX, h - kCaptionFromBottom}, in.caption);

    if (HasPixels(in.magnifier)) {
        surface.DrawStretched(*in.magnifier, {0, 0, w, h}, WholeDib(*in.magnifier));
    }
    return true;
}

bool RenderAnnotatedImage(DrawingSurface& surface, const AnnotatedImageInput& in) {
    if (!HasPixels(in.picture) || surface.Width() != in.picture->width ||
        surface.Height() != in.picture->height) {
        return false;
    }
    surface.SetRasterMode(RasterMode::Copy);
    surface.DrawStretched(*in.picture, WholeDib(*in.picture), WholeDib(*in.picture));
    if (in.records != nullptr) {
        RecordRenderOptions options;
        options.transform = ScaledDrawing(in.factors.fx, in.factors.fy);
        options.sizeScale = in.sizeScale;
        options.tickScale = in.tickScale;
        options.highlight = Highlight::Saved;
        options.totalDecimals = in.totalDecimals;
        options.totalUnit = in.totalUnit;
        options.surfaceFont = in.surfaceFont;
        DrawRecords(surface, *in.records, RecordScheme::Still, options);
    }
    return true;
}

}  // namespace lensora
