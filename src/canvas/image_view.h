// A picture of the image container seen through the drawing surface's bitmap description.
#pragma once

#include "base/drawing_surface.h"
#include "imaging/cx_image.h"

namespace lensora {

// The view stays valid while the image is alive and not re-created.
inline DibView DibViewOf(const CxImage& image) {
    DibView view;
    if (!image.IsValid()) {
        return view;
    }
    view.width = image.GetWidth();
    view.height = image.GetHeight();
    view.bitsPerPixel = image.GetBpp();
    view.stride = image.GetStride();
    view.bits = image.GetBits();
    view.palette = reinterpret_cast<const std::uint8_t*>(image.GetPalette());
    view.paletteEntries = static_cast<int>(image.GetNumColors());
    return view;
}

}  // namespace lensora
