#include "imaging/depth_conversion.h"

#include <utility>

namespace lensora {

bool ConvertTo24Bits(CxImage& image) {
    if (!image.IsValid()) {
        return false;
    }
    if (image.GetBpp() == 24) {
        return true;
    }
    CxImage converted(image.GetType());
    if (!converted.Create(image.GetWidth(), image.GetHeight(), 24, image.GetType())) {
        image.SetLastError(converted.LastError());
        return false;
    }
    for (int y = 0; y < image.GetHeight(); ++y) {
        std::uint8_t* dst = converted.StoredRow(y);
        for (int x = 0; x < image.GetWidth(); ++x, dst += 3) {
            const RgbQuad c = image.GetPixelColor(x, y);
            dst[0] = c.blue;
            dst[1] = c.green;
            dst[2] = c.red;
        }
    }
    // Keeps the picture's own resolution.
    return ReplacePixels(image, std::move(converted));
}

}  // namespace lensora
