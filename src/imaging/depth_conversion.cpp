#include "imaging/depth_conversion.h"

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
        return false;
    }
    for (int y = 0; y < image.GetHeight(); ++y) {
        std::uint8_t* row = converted.StoredRow(y);
        for (int x = 0; x < image.GetWidth(); ++x) {
            const RgbQuad c = image.GetPixelColor(x, y);
            row[3 * x] = c.blue;
            row[3 * x + 1] = c.green;
            row[3 * x + 2] = c.red;
        }
    }
    converted.SetXDpi(image.GetXDpi());
    converted.SetYDpi(image.GetYDpi());
    image = std::move(converted);
    return true;
}

}  // namespace lensora
