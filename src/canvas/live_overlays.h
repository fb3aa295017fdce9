// The fixed overlays of the live view: the cross ruler, the concentric rings and the
// comparison shapes (length line, angle line, tolerance circle) with their values, which are
// recomputed at every paint. Drawn on the streaming thread into the preview surface or on the
// user-interface thread into a snapshot; stateless.
#pragma once

#include <span>
#include <string>

#include "base/drawing_surface.h"
#include "base/units.h"
#include "canvas/record_renderer.h"
#include "canvas/view_factors.h"
#include "measure/reference_shape.h"

namespace lensora {

inline constexpr std::uint32_t kOverlayRed = 0x0000FF;

struct RulerSettings {
    double pixelsPerUnit = 0.0;  // S: surface pixels per display unit (live calibration)
    double magnification = 0.0;  // M: finer ticks above 30
    std::string unit = std::string(unit::kMillimetre);
    LogFont font = SurfaceDefaultFont();  // labels are drawn in the surface's font
};

// Tick spacing in pixels: 0.05 S above magnification 30, else 0.25 S, rounded; 0 draws no
// ticks. The k-th tick's label lies k * S pixels from the centre.
int RulerTickSpacing(const RulerSettings& ruler);
// Value step per tick: 0.01 for "inch", 10 for "mil", 0.1 for "cm", else 1.
double RulerValueStep(std::string_view unit);

// Red axes through (width / 2 + 1, height / 2 + 1) with ticks of +-6 pixels and value labels
// ("%.2f", negative to the left and above) alternating below and above the axis (right and
// left of it on the vertical axis). Labels that would lie wholly off the surface are skipped.
void DrawCrossRuler(DrawingSurface& surface, const RulerSettings& ruler);

// The red axes and circles of radius r, 2r, ... (r = S rounded) centred on them while the
// radius is below height / 2 + 1; only the axes when r is 0.
void DrawConcentricRings(DrawingSurface& surface, double pixelsPerUnit);

// White one-pixel cross through the middle of the surface.
void DrawWhiteCross(DrawingSurface& surface);

struct ReferenceContext {
    ViewTransform display;  // video-area pixels -> surface pixels
    CameraFacts camera;     // capture size and sensor, for the length line's unit per pixel
    double magnification = 0.0;
    std::string unit = std::string(unit::kMillimetre);
    int decimals = kDefaultDecimals;
};

// The length line's value in the unit: |pixels| * OverlayUnitsPerPixel * 10 / magnification,
// cut to hundredths (see CutLengthLineValue). 0 for a magnification that is not positive.
double LengthLineValue(double pixelLength, const ReferenceContext& context);
// Hundredths of the value, h = floor(100 v); when h is not a multiple of 10 the thousandths
// decide (floor(1000 v) rounded half up to hundredths), else h stays.
double CutLengthLineValue(double value);

// "Arial" 14 pixels of the comparison shapes' texts; turned to run downwards (escapement 2700)
// for a vertical length line.
LogFont ReferenceLabelFont(bool vertical);

// Every shape, in list order, scaled by the display factors.
void DrawReferenceOverlays(DrawingSurface& surface, std::span<const ReferenceShape> shapes,
                           const ReferenceContext& context);

}  // namespace lensora
