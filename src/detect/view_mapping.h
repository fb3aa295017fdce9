// How the clicks of a view relate to the pixels of the picture the detection works on.
// Still view: the scroll offset and the view-to-image factors of the canvas; live view: no
// scroll and the factors from the 640 x 480 video area to the grabbed frame. A value type.
#pragma once

#include "base/pixel_point.h"

namespace lensora {

struct ViewMapping {
    int scrollX = 0;
    int scrollY = 0;
    double factorX = 1.0;  // picture pixels per view pixel
    double factorY = 1.0;

    // picture = scroll + view * factor, rounded to the nearest pixel.
    PixelPoint ToPicture(PixelPoint view) const {
        return {RoundToPixel(scrollX + view.x * factorX), RoundToPixel(scrollY + view.y * factorY)};
    }
    // view = (picture - scroll) / factor, rounded; a factor that is not positive counts as 1.
    PixelPoint ToView(PixelPoint picture) const {
        const double fx = factorX > 0.0 ? factorX : 1.0;
        const double fy = factorY > 0.0 ? factorY : 1.0;
        return {RoundToPixel((double(picture.x) - scrollX) / fx),
                RoundToPixel((double(picture.y) - scrollY) / fy)};
    }
    // Where a record keeps a view point: the view position plus the scroll offset.
    PixelPoint ToRecord(PixelPoint view) const { return {view.x + scrollX, view.y + scrollY}; }
};

}  // namespace lensora
