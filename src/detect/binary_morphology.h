// Operations on binary planes (0 = dark, 255 = bright) shared by the edge painter and the
// segment search: dilation and erosion of the bright set with the cross element (the centre
// and its four direct neighbours, placed in a 5 x 5 window), and boundary extraction.
// Plain functions working in place on a GreyPlane.
#pragma once

#include "detect/grey_region.h"

namespace lensora {

// The window centre never enters this many rows and columns at each side of the plane; those
// pixels keep their values in dilation and erosion.
inline constexpr int kMorphologyBorder = 2;

// A pixel becomes bright when it or one of its four direct neighbours is bright.
void DilateCross(GreyPlane& plane);
// A pixel stays bright only when it and all four direct neighbours are bright.
void ErodeCross(GreyPlane& plane);

// Every interior pixel (not in the first or last row or column) that is dark and whose eight
// neighbours are all dark becomes bright: only the dark pixels touching a bright one remain,
// the outline of the dark areas.
void ExtractBoundary(GreyPlane& plane);

}  // namespace lensora
