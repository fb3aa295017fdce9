// Turning pictures of any depth into 24-bit blue-green-red pictures, the depth that detection,
// filters and the annotated rendering work on.
#pragma once

#include "imaging/cx_image.h"

namespace lensora {

// Replaces the picture by its 24-bit copy (palette colours resolved); keeps the resolution.
// True when the picture is valid and now 24-bit; on failure the picture is unchanged.
bool ConvertTo24Bits(CxImage& image);

}  // namespace lensora
