// Grey histogram and the automatic (Otsu) threshold that splits a plane into dark and bright
// for the edge painter and the segment search. Plain functions.
#pragma once

#include <array>
#include <cstdint>

#include "detect/grey_region.h"

namespace lensora {

using GreyHistogram = std::array<std::uint32_t, 256>;

// Counts of each grey level in the plane (cleared first).
GreyHistogram MakeHistogram(const GreyPlane& plane);

// The threshold t (0..254) that maximises the between-class score w0 (1 - w0) (mu1 - mu0)^2
// of class 0 = levels 0..t and class 1 = levels t+1..255. w0 and the score are single
// precision; on equal scores the smaller t wins; a t that leaves a class empty never wins, and
// when none wins the result is 0 (e.g. all pixels in one level).
int OtsuThreshold(const GreyHistogram& histogram);

// Binarises in place: levels above t (Otsu's class 1) become 255, the others 0.
void BinariseAbove(GreyPlane& plane, int threshold);

}  // namespace lensora
