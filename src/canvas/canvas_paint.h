// The still canvas's paint (picture, shape being placed, records, caption, magnifier) and the
// annotated picture saved from it at picture resolution. Both draw into a surface the caller
// owns: the canvas's memory surface of the view's size, or a surface of the picture's size
// that the caller then saves. User-interface thread.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "base/drawing_settings.h"
#include "base/drawing_surface.h"
#include "canvas/record_renderer.h"
#include "canvas/view_factors.h"
#include "measure/record_lists.h"

namespace lensora {

// The measurement whose clicks are still being collected in the working lists.
enum class PreviewTool { None, ContinuousLine, TwoCircles };

// Stored points are picture pixels. The fit view shows the whole picture at one scale from the
// view's top-left corner (ViewToImageFactors); the rest of the surface is left as it is.
struct CanvasPaintInput {
    const DibView* picture = nullptr;  // null: no picture loaded, nothing is drawn
    DisplayMode mode = DisplayMode::Fit;
    PixelPoint scroll;  // actual size: the picture pixel at the view's top-left corner
    const StillRecords* records = nullptr;
    PreviewTool preview = PreviewTool::None;
    const WorkingLists* working = nullptr;      // points in stored coordinates, labels
    const DrawingSettings* settings = nullptr;  // pen, label colour and font of the preview
    std::string caption;                        // file name without folder and extension
    int totalDecimals = kDefaultDecimals;       // of the continuous line's total
    std::string totalUnit = std::string(unit::kMillimetre);
    LogFont surfaceFont = SurfaceDefaultFont();
    const DibView* magnifier = nullptr;  // shown over the whole view while the magnifier is on
};

// The caption's font: "Arial", 14 pixels, normal weight.
LogFont CaptionFont();

// Paints the canvas into `surface` (the view's size). Returns false, drawing nothing, when no
// picture is loaded.
bool PaintCanvas(DrawingSurface& surface, const CanvasPaintInput& input);

// The shape being placed, with the current drawing settings: the continuous line's path and
// segment labels (no total), or the two circles' marks, circles, labels and centre line.
void DrawPreview(DrawingSurface& surface, PreviewTool tool, const WorkingLists& working,
                 const DrawingSettings& settings, PixelPoint scroll);
// The same through a stored -> surface transform.
void DrawPreviewThrough(DrawingSurface& surface, PreviewTool tool, const WorkingLists& working,
                        const DrawingSettings& settings, const ViewTransform& toSurface);

// How the canvas draws stored picture pixels on its view: minus the scroll position, divided
// by the display factor, truncated.
ViewTransform PictureToViewDrawing(DisplayMode mode, int pictureWidth, int pictureHeight,
                                   PixelPoint scroll);

struct AnnotatedImageInput {
    const DibView* picture = nullptr;
    const StillRecords* records = nullptr;
    ViewTransform factors;  // stored point -> picture
    int totalDecimals = kDefaultDecimals;
    std::string totalUnit = std::string(unit::kMillimetre);
    LogFont surfaceFont = SurfaceDefaultFont();
    double sizeScale = 1.0;  // pens, fonts, label boxes (RecordRenderOptions)
    double tickScale = 1.0;
};

// The picture at its own size with every record at picture resolution (points times the
// factors, truncated; fonts, pen widths and label boxes times sizeScale), selected records red
// except the two circles and the automatic line lengths (magenta); no caption, preview or
// magnifier. False when there is no picture or the surface is not the picture's size.
bool RenderAnnotatedImage(DrawingSurface& surface, const AnnotatedImageInput& input);

}  // namespace lensora
