// What the measurement interaction of a view (still_interaction.h, live_interaction.h) asks of
// the window that shows it: repaints, the rubber band figure, mouse capture and pointer
// confinement, the current drawing settings and scale, questions to the user and the rate
// check of a measuring tool. The Qt canvases implement it and forward their mouse events to
// the interaction; tests use a fake. All coordinates are client pixels of the view.
// User-interface thread only; the view must outlive the interaction that refers to it.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "base/drawing_settings.h"
#include "base/pixel_box.h"
#include "base/pixel_point.h"
#include "base/units.h"
#include "base/user_prompts.h"
#include "measure/rubber_band.h"

namespace lensora {

// How a view shows the rubber band.
enum class RubberBandDrawing {
    // Over a still picture: ShowRubberBand draws the figure at once in NOT-XOR mode and
    // EraseRubberBand draws it once more, which restores the pixels beneath it. The
    // interaction erases a figure before it shows another one.
    NotXor,
    // Over a picture that is composed anew for every frame (the live view): ShowRubberBand
    // keeps the figure, replacing any kept one, and the view draws it into the next composed
    // frame; EraseRubberBand forgets it. Nothing is drawn twice.
    NextFrame,
};

class InteractionView {
  public:
    virtual ~InteractionView() = default;

    virtual RubberBandDrawing BandDrawing() const { return RubberBandDrawing::NotXor; }

    // Redraw the whole view (records, preview, labels) through the double-buffered paint.
    virtual void Repaint() = 0;
    // Redraw only this part of the view.
    virtual void InvalidateRect(const PixelBox& rect) = 0;

    // The rubber band, drawn as BandDrawing() says. The interaction removes the figure before
    // every repaint it asks for.
    virtual void ShowRubberBand(const RubberBand& band) = 0;
    virtual void EraseRubberBand() = 0;

    // From a tool's first click until it finishes or is cancelled the view receives every
    // mouse event and the pointer stays inside `area` (clipped by the view to its client area).
    virtual void CaptureMouse() = 0;
    virtual void ReleaseMouse() = 0;
    virtual void ConfinePointer(const PixelBox& area) = 0;
    virtual void FreePointer() = 0;

    // Pen, label colour and font that shapes made from now on take.
    virtual DrawingSettings CurrentDrawingSettings() const = 0;
    // The units per pixel, unit and decimals of the view's current rate (set by PrepareRate).
    virtual ScaleContext CurrentScale() const = 0;
    // Runs the view's rate check (ViewCalibration::PrepareRate with its two boxes); false when
    // the user was told to type a magnification and the tool must not be selected.
    virtual bool PrepareRate() = 0;
    virtual UserPrompts& Prompts() = 0;

    // Caption of the chosen tool in the tool-name box; empty clears it.
    virtual void ShowToolName(std::string_view caption) { (void)caption; }
    // Move: the pointer is placed on the grab point of the record to move.
    virtual void SetPointerPosition(PixelPoint client) { (void)client; }
    // The move cursor while a comparison shape is dragged.
    virtual void SetMoveCursor(bool on) { (void)on; }
    // The length dialog of the live length line, showing the unit name; nullopt for Cancel.
    // The interaction checks the number and asks again after its message.
    virtual std::optional<double> AskReferenceLength(std::string_view unitName) {
        (void)unitName;
        return std::nullopt;
    }
};

}  // namespace lensora
