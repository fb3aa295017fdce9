// Edge painting ("Edge Detect(Global)" and "Edge Detect(Portion)"): the outlines between the
// dark and bright areas of the picture, split by the automatic threshold, are painted pure red
// into the picture's own pixels. Only the picture in memory changes; it reaches a file only
// when the user saves. Runs on the user-interface thread; the caller repaints afterwards.
#pragma once

#include "base/view_transform.h"
#include "detect/grey_region.h"
#include "imaging/cx_image.h"

namespace lensora {

// Width of the frame along the picture's edges that global painting leaves untouched.
inline constexpr int kGlobalPaintMargin = 5;

// Paints the edges of the whole picture: threshold from the whole picture's histogram; pixels
// with 5 <= x <= width - 6 and 5 <= y <= height - 6 may be painted. False (nothing changed)
// when the picture is not a valid 24-bit picture.
bool PaintEdgesGlobal(CxImage& image);

// Paints the edges inside the rectangle (picture pixels, corners in any order), with the
// threshold of the rectangle's own histogram; pixels with x1 + 5 <= x <= x2 - 4 and
// y1 + 4 <= y <= y2 - 5 may be painted. A rectangle of zero width or height returns true at
// once. The rectangle is clipped to the picture first. False (nothing changed) for a picture
// that is not 24-bit or a rectangle wholly outside it.
bool PaintEdgesInRect(CxImage& image, int x1, int y1, int x2, int y2);

// "Edge Detect(Portion)" from the rectangle dragged in a view: both corners (view pixels) are
// converted to picture pixels, then PaintEdgesInRect.
bool PaintEdgesInViewRect(CxImage& image, PixelPoint corner1, PixelPoint corner2,
                          const ViewTransform& mapping);

}  // namespace lensora
