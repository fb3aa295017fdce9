#include "detect/grey_region.h"

#include <algorithm>

namespace lensora {

bool IsDetectable(const CxImage& image) {
    return image.IsValid() && image.GetBpp() == 24 && image.GetWidth() > 0 && image.GetHeight() > 0;
}

bool ClipToPicture(const CxImage& image, PixelBox& box) {
    if (!IsDetectable(image)) {
        return false;
    }
    box.left = std::max(box.left, 0);
    box.top = std::max(box.top, 0);
    box.right = std::min(box.right, image.GetWidth());
    box.bottom = std::min(box.bottom, image.GetHeight());
    return !box.IsEmpty();
}

bool GreyOfRect(const CxImage& image, const PixelBox& box, bool bottomUp, GreyPlane& out) {
    out.width = 0;
    out.height = 0;
    out.pixels.clear();
    if (!IsDetectable(image) || box.left < 0 || box.top < 0 || box.IsEmpty() ||
        box.right > image.GetWidth() || box.bottom > image.GetHeight()) {
        return false;
    }
    out.width = box.Width();
    out.height = box.Height();
    out.pixels.resize(std::size_t(out.width) * std::size_t(out.height));
    for (int row = 0; row < out.height; ++row) {
        const int pictureY = bottomUp ? box.bottom - 1 - row : box.top + row;
        const std::uint8_t* src = image.RowFromTop(pictureY) + std::size_t(box.left) * 3;
        std::uint8_t* dst = out.Row(row);
        for (int x = 0; x < out.width; ++x, src += 3) {
            dst[x] = GreyOfBgr(src);
        }
    }
    return true;
}

}  // namespace lensora
