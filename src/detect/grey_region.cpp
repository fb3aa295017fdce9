#include "detect/grey_region.h"

#include <algorithm>

namespace lensora {

bool IsDetectable(const CxImage& image) {
    return image.IsValid() && image.GetBpp() == 24 && image.GetWidth() > 0 && image.GetHeight() > 0;
}

bool ClipToPicture(const CxImage& image, PixelRect& rect) {
    if (!IsDetectable(image)) {
        return false;
    }
    if (rect.x1 > rect.x2) {
        std::swap(rect.x1, rect.x2);
    }
    if (rect.y1 > rect.y2) {
        std::swap(rect.y1, rect.y2);
    }
    rect.x1 = std::max(rect.x1, 0);
    rect.y1 = std::max(rect.y1, 0);
    rect.x2 = std::min(rect.x2, image.GetWidth() - 1);
    rect.y2 = std::min(rect.y2, image.GetHeight() - 1);
    return rect.x1 <= rect.x2 && rect.y1 <= rect.y2;
}

bool GreyOfRect(const CxImage& image, const PixelRect& rect, bool bottomUp, GreyPlane& out) {
    out.width = 0;
    out.height = 0;
    out.pixels.clear();
    if (!IsDetectable(image) || rect.x1 < 0 || rect.y1 < 0 || rect.x1 > rect.x2 ||
        rect.y1 > rect.y2 || rect.x2 >= image.GetWidth() || rect.y2 >= image.GetHeight()) {
        return false;
    }
    out.width = rect.Width();
    out.height = rect.Height();
    out.pixels.resize(std::size_t(out.width) * std::size_t(out.height));
    for (int row = 0; row < out.height; ++row) {
        const int pictureY = bottomUp ? rect.y2 - row : rect.y1 + row;
        const std::uint8_t* src = image.RowFromTop(pictureY) + std::size_t(rect.x1) * 3;
        std::uint8_t* dst = out.Row(row);
        for (int x = 0; x < out.width; ++x, src += 3) {
            dst[x] = GreyOfBgr(src);
        }
    }
    return true;
}

}  // namespace lensora
