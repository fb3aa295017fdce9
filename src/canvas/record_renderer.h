// Draws stored measurement records: the lines and figures of each tool from its stored points,
// the selection highlight and the label lines at their anchors. Used by the still canvas, the
// saved annotated picture, the live view and the rubber band of a moved record. Stateless;
// the caller's surface is used by one thread at a time.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "base/drawing_surface.h"
#include "base/log_font.h"
#include "base/units.h"
#include "canvas/record_rules.h"
#include "canvas/view_factors.h"
#include "measure/measure_record.h"
#include "measure/record_lists.h"

namespace lensora {

inline constexpr std::uint32_t kScreenSelectionColour = 0xFF00FF;  // magenta
inline constexpr std::uint32_t kSavedSelectionColour = 0x0000FF;   // red
// Half side of the box of circle and square labels, in surface pixels (never scaled).
inline constexpr int kLabelBoxHalf = 10;
// Stored pen widths beyond this draw this wide.
inline constexpr int kMaxPenWidthDrawn = 64;

// How a selected record is coloured: as on screen (magenta), as in the saved picture (red,
// except the two circles and the automatic line lengths, which stay magenta), or not at all
// (live view).
enum class Highlight { Screen, Saved, None };

// The font a surface draws with before anything selected another one; circle and square label
// numbers use it.
LogFont SurfaceDefaultFont();

struct RecordRenderOptions {
    ViewTransform transform = ScaledDrawing(1.0, 1.0);
    Highlight highlight = Highlight::Screen;
    // Decimals and unit of the continuous line's running total ("T:").
    int totalDecimals = kDefaultDecimals;
    std::string totalUnit = std::string(unit::kMillimetre);
    bool continuousTotal = true;  // false while a continuous line is still being drawn
    LogFont surfaceFont = SurfaceDefaultFont();
    // Surface pixels per screen pixel for everything that has a size on screen rather than a
    // place in the picture: pen widths, fonts, label line gaps, label and mark boxes, tick
    // half-lengths. 1 on screen; a saved picture drawn at a larger scale than the screen
    // shows it passes that scale, so that it looks as the screen does.
    double sizeScale = 1.0;
    // Stored pixels per pixel of a tick's half-length: records kept at a finer scale than
    // the view they were made in pass that scale so that their ticks keep their length.
    double tickScale = 1.0;
};

// `font` with its height and width multiplied by `scale` (rounded, at least one pixel high
// when it had a height). A scale that is not a positive finite number leaves the font.
LogFont ScaledFont(const LogFont& font, double scale);

// The pen a record is drawn with (its style, width and colour, or the highlight colour).
Pen RecordPen(const MeasureRecord& record, RecordScheme scheme, Highlight highlight);

// One record: pen, lines, figures and labels. Records of unknown kind draw nothing.
void DrawRecord(DrawingSurface& surface, const MeasureRecord& record, RecordScheme scheme,
                const RecordRenderOptions& options);

// Every record of a view's list, oldest first, so later records lie on top.
void DrawRecords(DrawingSurface& surface, const RecordList& records, RecordScheme scheme,
                 const RecordRenderOptions& options);

// Lines, circles, rectangles and marks only, in the surface's current pen (no labels, no
// guides): the figure of a record being moved.
void DrawRecordFigure(DrawingSurface& surface, const MeasureRecord& record, RecordScheme scheme,
                      const ViewTransform& transform, double tickScale = 1.0);

// The label lines of a block at `anchor` (surface pixels), `lineGap` apart, in the current
// font and text colour; empty lines are skipped but keep their place.
void DrawLabelLines(DrawingSurface& surface, PixelPoint anchor, std::span<const std::string> lines,
                    int lineGap);

// The guides of the live automatic angle detection beside the segment a-b (surface pixels):
// two red one-pixel dotted lines parallel to it, 6 pixels to either side. Also for the
// segments of a detection still in progress.
void DrawSegmentGuides(DrawingSurface& surface, PixelPoint a, PixelPoint b);

// Radius of a circle through two surface points: integer squared distance, root truncated.
std::int32_t IntegerRadius(PixelPoint centre, PixelPoint rim);

// p + (dx, dy), each coordinate kept in the pixel range, so that figures of points near the
// ends of the range never overflow.
PixelPoint OffsetPoint(PixelPoint p, double dx, double dy);
// The box from centre - (rx, ry) to centre + (rx, ry), kept in the pixel range.
PixelBox BoxAround(PixelPoint centre, double rx, double ry);
// The mark drawn at a construction point: the box from p - (1, 1) to p + (1, 1).
inline PixelBox MarkBox(PixelPoint p) {
    return BoxAround(p, 1, 1);
}
// The box of circle and square labels around p.
inline PixelBox LabelBox(PixelPoint p) {
    return BoxAround(p, kLabelBoxHalf, kLabelBoxHalf);
}

// The pen style a record's or shape's stored style (0 solid, 1 dash, 2 dot) draws with:
// unknown styles draw solid, and so does every pen wider than one pixel, as the platform's
// wide pens do (the pen dialog shows such pens as solid).
PenStyle StoredPenStyle(int style, int width);

}  // namespace lensora
