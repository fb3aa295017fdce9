// One measuring tool's click sequence, shared by the still and the live view: it receives the
// clicks in stored coordinates (picture pixels in the still view, video-area pixels in the
// live view), keeps the points of the measurement in progress and hands back the finished
// record. The view's interaction (interaction_core.h) decides what storing means, places
// the label, captures the mouse and draws the rubber band the tool describes.
// Automatic tools implement the same interface (auto_tool.h). User-interface thread only.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "base/drawing_settings.h"
#include "base/units.h"
#include "measure/interaction_view.h"
#include "measure/measure_record.h"
#include "measure/record_lists.h"
#include "measure/rubber_band.h"

namespace lensora {

// The part of a view a label block anchored at `anchor` may cover: from a little above-left
// of the anchor to 120 pixels beyond an estimate of the text width (16 pixels a character),
// and down to two line heights below its last line. Clamped to the 32-bit range.
PixelBox LabelArea(PixelPoint anchor, const std::vector<std::string>& lines, int lineGap);
// The smallest rectangle holding both.
PixelBox UnionRect(const PixelBox& a, const PixelBox& b);
// The rectangle spanning two points, one pixel grown on every side (right/bottom inside).
PixelBox SpanRect(PixelPoint a, PixelPoint b);

// What a tool needs from the interaction that runs it.
class ToolEnv {
  public:
    virtual ~ToolEnv() = default;
    // Scale of the view at this moment (the live view recomputes it at every click).
    virtual ScaleContext Scale() const = 0;
    // A record of this tool code with the current pen, colours, font and line gap.
    virtual MeasureRecord MakeRecord(int kind) const = 0;
    virtual LabelCounters& Counters() = 0;
    virtual DrawingSettings Drawing() const = 0;
};

// The outcome of one input to a tool.
struct ToolStep {
    bool consumed = true;  // false: the tool does not use this input (e.g. a right click)
    bool started = false;  // the tool's first click: capture the mouse, confine the pointer
    bool changed = false;  // the working points changed: repaint the preview
    bool ended = false;    // back to ready for a new first click (finished or refused)
    // A complete record with its labels. With anchorIndex >= 0 the next click places the
    // label: it moves point anchorIndex, which starts at the storing click.
    std::optional<MeasureRecord> record;
    int anchorIndex = -1;
};

// Shorthands for the common steps.
inline ToolStep StepOf(bool started, bool changed, bool ended) {
    ToolStep step;
    step.started = started;
    step.changed = changed;
    step.ended = ended;
    return step;
}
inline ToolStep UnusedStep() {
    ToolStep step;
    step.consumed = false;
    return step;
}
inline RubberBand BandOf(RubberBandKind kind, PixelPoint from, PixelPoint to) {
    RubberBand band;
    band.kind = kind;
    band.from = from;
    band.to = to;
    return band;
}
inline RubberBand MovedBand(const MeasureRecord& record, PixelPoint shift) {
    RubberBand band;
    band.kind = RubberBandKind::MovedRecord;
    band.record = &record;
    band.shift = shift;
    return band;
}

class ClickTool {
  public:
    virtual ~ClickTool() = default;

    virtual ToolStep Click(PixelPoint p) = 0;
    // The second press of a double-click (the first press came as a Click). Only the tools
    // that close with a double-click use it; for the others it is not a click of its own, so
    // a double-click never starts a second measurement on the spot.
    virtual ToolStep DoubleClick(PixelPoint p) {
        (void)p;
        return UnusedStep();
    }
    // Right button: automatic tools finish with it; manual tools leave it to cancel.
    virtual ToolStep RightClick(PixelPoint p) {
        (void)p;
        return UnusedStep();
    }
    // Pointer moved (while the button is up or down). Returns the area whose look changed
    // (stored coordinates), e.g. a freehand path that grew or a label that follows.
    virtual std::optional<PixelBox> Move(PixelPoint p) {
        (void)p;
        return std::nullopt;
    }
    // The figure joining the fixed points to the pointer, in stored coordinates; the
    // interaction fills in the pen.
    virtual std::optional<RubberBand> Band(PixelPoint pointer) const {
        (void)pointer;
        return std::nullopt;
    }
    virtual bool InProgress() const = 0;
    // Drops the measurement in progress; the tool is ready for a new first click.
    virtual void Reset() = 0;
    // Points fixed so far and their labels, for the preview the canvas draws.
    virtual const WorkingLists& Working() const = 0;
};

}  // namespace lensora
