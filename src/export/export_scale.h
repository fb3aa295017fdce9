// The scale an export turns stored record points into real lengths with, filled by the view
// that exports. Record points are first taken to picture pixels (toPictureX/Y), then
//     X = x * unitsPerPixel,  Y = (pictureHeight - y) * unitsPerPixel
// where unitsPerPixel = s * UnitsPerPixel * 10 / EffectiveRate and s is the view's
// picture -> view factor (1 in the live view, whose records hold 640 x 480 frame pixels), so
// that a length in the drawing equals the label the view printed for it. Plain value.
#pragma once

#include <cmath>
#include <string>

#include "base/units.h"

namespace lensora {

struct ExportScale {
    double unitsPerPixel = 0.0;  // measuring units per picture pixel
    std::string unit = std::string(unit::kMillimetre);
    int decimals = kDefaultDecimals;
    double pictureHeight = 0.0;  // H, picture pixels
    // Stored record point -> picture pixel; 1 for views that store picture pixels (the still
    // canvas does).
    double toPictureX = 1.0;
    double toPictureY = 1.0;

    // Whether lengths can be converted at all (a view measures only after choosing a rate).
    bool Usable() const {
        return std::isfinite(unitsPerPixel) && unitsPerPixel > 0.0 &&
               std::isfinite(pictureHeight) && std::isfinite(toPictureX) &&
               std::isfinite(toPictureY) && toPictureX > 0.0 && toPictureY > 0.0;
    }
};

}  // namespace lensora
