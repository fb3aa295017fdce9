#include "canvas/live_renderer.h"

#include <fmt/format.h>

namespace lensora {
namespace {

constexpr int kStampFromBottom = 14;

bool HasPixels(const DibView* dib) {
    return dib != nullptr && dib->bits != nullptr && dib->width > 0 && dib->height > 0;
}

}  // namespace

std::string DateTimeStampText(const LocalDateTime& t) {
    return fmt::format("{}-{}-{} {}:{}:{}", t.year, t.month, t.day, t.hour, t.minute, t.second);
}

void DrawDateTimeStamp(DrawingSurface& surface, const LocalDateTime& time) {
    surface.TextOut({0, surface.Height() - kStampFromBottom}, DateTimeStampText(time));
}

void DrawLiveRecords(DrawingSurface& surface, const LiveRecords& records,
                     const ViewTransform& display, const LiveLabelStyle& style) {
    RecordRenderOptions options;
    options.transform = ScaledDrawing(display.fx, display.fy);
    options.highlight = Highlight::None;
    options.totalDecimals = style.decimals;
    options.totalUnit = style.unit;
    options.surfaceFont = style.surfaceFont;
    DrawRecords(surface, records, RecordScheme::Live, options);
}

void ComposeLiveFrame(DrawingSurface& surface, const LiveFrameInput& in) {
    surface.SetRasterMode(RasterMode::Copy);
    if (HasPixels(in.frame)) {
        const PixelBox whole{0, 0, surface.Width(), surface.Height()};
        const PixelBox& dest = in.frameDestination.Width() > 0 ? in.frameDestination : whole;
        surface.DrawStretched(*in.frame, dest, {0, 0, in.frame->width, in.frame->height});
    }
    if (in.records != nullptr) {
        DrawLiveRecords(surface, *in.records, in.display, in.labels);
    }
    if (in.switches.dateTime) {
        surface.SetFont(in.stampFont);
        surface.SetTextColour(in.stampColour);
        DrawDateTimeStamp(surface, in.now);
    }
    if (in.switches.whiteCross) {
        DrawWhiteCross(surface);
    }
    if (in.switches.crossRuler) {
        DrawCrossRuler(surface, in.ruler);
    }
    if (in.switches.rings) {
        DrawConcentricRings(surface, in.ruler.pixelsPerUnit);
    }
    if (in.switches.referenceShapes && !in.shapes.empty()) {
        DrawReferenceOverlays(surface, in.shapes, in.reference);
    }
}

bool ComposeSnapshot(DrawingSurface& surface, const SnapshotOverlayInput& in) {
    if (!HasPixels(in.frame)) {
        return false;
    }
    surface.SetRasterMode(RasterMode::Copy);
    surface.DrawStretched(*in.frame, {0, 0, surface.Width(), surface.Height()},
                          {0, 0, in.frame->width, in.frame->height});
    if (in.records != nullptr) {
        const double f = SnapshotRecordScale(in.captureWidth, in.captureHeight);
        DrawLiveRecords(surface, *in.records, ScaledDrawing(f, f), in.labels);
    }
    if (in.whiteCross) {
        DrawWhiteCross(surface);
    }
    if (in.crossRuler) {
        RulerSettings ruler = in.ruler;
        ruler.pixelsPerUnit *= SnapshotRulerScale(in.captureWidth, in.captureHeight);
        DrawCrossRuler(surface, ruler);
    }
    return true;
}

}  // namespace lensora
