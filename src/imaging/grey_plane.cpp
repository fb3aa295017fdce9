// The grey working copy of a 24-bit picture and the windows that detection and the magnifier
// cut out of it and out of the colour rows.
#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "imaging/cx_image.h"

namespace lensora {

namespace {

// (0.11 B + 0.59 G + 0.30 R + 0.5) truncated, in exact integer arithmetic so that values that
// land on .5 are not pushed down by binary rounding of the weights.
inline std::uint8_t GreyOf(const std::uint8_t* bgr) {
    return static_cast<std::uint8_t>((11u * bgr[0] + 59u * bgr[1] + 30u * bgr[2] + 50u) / 100u);
}

}  // namespace

bool CxImage::MakeGreyPlane() {
    DiscardGreyPlane();
    if (!IsValid() || header_.bitCount != 24) {
        return false;
    }
    const int width = header_.width;
    const int height = header_.height;
    greyStride_ = static_cast<std::uint32_t>(DibStride(std::uint64_t(width), 8));
    grey_.assign(std::size_t(greyStride_) * height, 0);
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* src = StoredRow(y);
        std::uint8_t* dst = grey_.data() + std::size_t(y) * greyStride_;
        for (int x = 0; x < width; ++x, src += 3) {
            dst[x] = GreyOf(src);
        }
    }
    return true;
}

bool CxImage::GreyRect(int left, int top, int width, int height, std::vector<std::uint8_t>& out) {
    out.clear();
    if (width <= 0 || height <= 0 || !IsValid() || header_.bitCount != 24 ||
        std::uint64_t(width) * std::uint64_t(height) > kMaxImageBytes) {
        return false;
    }
    if (!HasGreyPlane() && !MakeGreyPlane()) {
        return false;
    }
    out.assign(std::size_t(width) * height, 0);
    // Clip in 64 bits: a window may reach far outside the picture.
    const std::int64_t x0 = std::max<std::int64_t>(left, 0);
    const std::int64_t x1 = std::min<std::int64_t>(std::int64_t(left) + width, header_.width);
    const std::int64_t y0 = std::max<std::int64_t>(top, 0);
    const std::int64_t y1 = std::min<std::int64_t>(std::int64_t(top) + height, header_.height);
    for (std::int64_t y = y0; y < y1 && x0 < x1; ++y) {
        std::memcpy(out.data() + std::size_t(y - top) * width + (x0 - left),
                    GreyRowFromTop(static_cast<int>(y)) + x0, std::size_t(x1 - x0));
    }
    return true;
}

bool CxImage::GreyWindow(int x, int y, int halfSide, std::vector<std::uint8_t>& out) {
    if (halfSide < 0 || halfSide > 0x3FFF) {
        out.clear();
        return false;
    }
    return GreyRect(x - halfSide, y - halfSide, 2 * halfSide + 1, 2 * halfSide + 1, out);
}

bool CxImage::GreyAlongLine(int x0, int y0, int x1, int y1, std::vector<GreySample>& out) {
    out.clear();
    if (!IsValid() || header_.bitCount != 24) {
        return false;
    }
    if (!HasGreyPlane() && !MakeGreyPlane()) {
        return false;
    }
    // Bresenham: one sample per step along the longer axis.
    const std::int64_t dx = std::llabs(std::int64_t(x1) - x0);
    const std::int64_t dy = -std::llabs(std::int64_t(y1) - y0);
    const int sx = x0 < x1 ? 1 : -1;
    const int sy = y0 < y1 ? 1 : -1;
    std::int64_t err = dx + dy;
    std::int64_t x = x0;
    std::int64_t y = y0;
    out.reserve(std::size_t(std::max(dx, -dy)) + 1);
    while (true) {
        if (x >= 0 && y >= 0 && x < header_.width && y < header_.height) {
            out.push_back(GreySample{static_cast<int>(x), static_cast<int>(y),
                                     GreyRowFromTop(static_cast<int>(y))[x]});
        }
        if (x == x1 && y == y1) {
            break;
        }
        const std::int64_t e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y += sy;
        }
    }
    return true;
}

bool CxImage::CopyRect(int left, int top, int width, int height, CxImage& out) const {
    if (width <= 0 || height <= 0 || !IsValid() || header_.bitCount != 24) {
        return false;
    }
    if (!out.Create(width, height, 24, imageType_)) {
        return false;
    }
    out.SetXDpi(xDpi_);
    out.SetYDpi(yDpi_);
    const std::int64_t x0 = std::max<std::int64_t>(left, 0);
    const std::int64_t x1 = std::min<std::int64_t>(std::int64_t(left) + width, header_.width);
    const std::int64_t y0 = std::max<std::int64_t>(top, 0);
    const std::int64_t y1 = std::min<std::int64_t>(std::int64_t(top) + height, header_.height);
    for (std::int64_t y = y0; y < y1 && x0 < x1; ++y) {
        std::memcpy(out.RowFromTop(static_cast<int>(y - top)) + (x0 - left) * 3,
                    RowFromTop(static_cast<int>(y)) + x0 * 3, std::size_t(x1 - x0) * 3);
    }
    return true;
}

bool CxImage::CopyWindow(int x, int y, int halfSide, CxImage& out) const {
    if (halfSide < 0 || halfSide > 0x3FFF) {
        return false;
    }
    return CopyRect(x - halfSide, y - halfSide, 2 * halfSide + 1, 2 * halfSide + 1, out);
}

}  // namespace lensora
