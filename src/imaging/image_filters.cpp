#include "imaging/image_filters.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>
#include <vector>

#include "imaging/cx_image.h"

namespace lensora {

namespace {

// Bytes per pixel of a picture whose pixel bytes are colour values (24-bit or grey), else 0.
int ValueChannels(const CxImage& image) {
    if (image.GetBpp() == 24) {
        return 3;
    }
    return image.IsGrey() ? 1 : 0;
}

// A 24-bit copy of a palette picture, replacing it.
bool ExpandTo24(CxImage& image) {
    CxImage wide(image.GetType());
    if (!wide.Create(image.GetWidth(), image.GetHeight(), 24, image.GetType())) {
        image.SetLastError(wide.LastError());
        return false;
    }
    for (int y = 0; y < image.GetHeight(); ++y) {
        std::uint8_t* dst = wide.StoredRow(y);
        for (int x = 0; x < image.GetWidth(); ++x, dst += 3) {
            const RgbQuad c = image.GetPixelColor(x, y);
            dst[0] = c.blue, dst[1] = c.green, dst[2] = c.red;
        }
    }
    return ReplacePixels(image, std::move(wide));
}

// Picture ready for a per-value filter: 24-bit or grey. Returns its bytes per pixel, 0 on
// failure.
int PrepareForFilter(CxImage& image) {
    if (!image.IsValid()) {
        return 0;
    }
    const int channels = ValueChannels(image);
    if (channels != 0) {
        return channels;
    }
    return ExpandTo24(image) ? 3 : 0;
}

}  // namespace

bool MirrorHorizontal(CxImage& image) {
    if (!image.IsValid()) {
        return false;
    }
    const int width = image.GetWidth();
    const int height = image.GetHeight();
    const int bpp = image.GetBpp();
    if (bpp == 24 || bpp == 8) {
        const int n = bpp / 8;
        for (int y = 0; y < height; ++y) {
            std::uint8_t* row = image.StoredRow(y);
            if (n == 1) {
                std::reverse(row, row + width);
                continue;
            }
            std::uint8_t* left = row;
            std::uint8_t* right = row + std::size_t(width - 1) * 3;
            for (; left < right; left += 3, right -= 3) {
                std::swap(left[0], right[0]);
                std::swap(left[1], right[1]);
                std::swap(left[2], right[2]);
            }
        }
    } else {
        for (int y = 0; y < height; ++y) {
            for (int x = 0, mirror = width - 1; x < mirror; ++x, --mirror) {
                const std::uint8_t a = image.GetPixelIndex(x, y);
                image.SetPixelIndex(x, y, image.GetPixelIndex(mirror, y));
                image.SetPixelIndex(mirror, y, a);
            }
        }
    }
    image.DiscardGreyPlane();
    return true;
}

bool FlipVertical(CxImage& image) {
    if (!image.IsValid()) {
        return false;
    }
    const int height = image.GetHeight();
    const std::size_t stride = image.GetStride();
    std::vector<std::uint8_t> scratch(stride);
    for (int i = 0; i < height / 2; ++i) {
        std::uint8_t* a = image.StoredRow(i);
        std::uint8_t* b = image.StoredRow(height - 1 - i);
        std::memcpy(scratch.data(), a, stride);
        std::memcpy(a, b, stride);
        std::memcpy(b, scratch.data(), stride);
    }
    image.DiscardGreyPlane();
    return true;
}

bool Negative(CxImage& image) {
    if (!image.IsValid()) {
        return false;
    }
    const int channels = ValueChannels(image);
    if (channels != 0) {
        const std::size_t bytes = std::size_t(image.GetWidth()) * channels;
        for (int y = 0; y < image.GetHeight(); ++y) {
            std::uint8_t* row = image.StoredRow(y);
            for (std::size_t i = 0; i < bytes; ++i) {
                row[i] = static_cast<std::uint8_t>(~row[i]);
            }
        }
    } else {
        RgbQuad* palette = image.GetPalette();
        for (std::uint32_t i = 0; i < image.GetNumColors(); ++i) {
            palette[i].red = static_cast<std::uint8_t>(255 - palette[i].red);
            palette[i].green = static_cast<std::uint8_t>(255 - palette[i].green);
            palette[i].blue = static_cast<std::uint8_t>(255 - palette[i].blue);
        }
    }
    RgbQuad background = image.GetBackgroundColor();
    background.red = static_cast<std::uint8_t>(255 - background.red);
    background.green = static_cast<std::uint8_t>(255 - background.green);
    background.blue = static_cast<std::uint8_t>(255 - background.blue);
    image.SetBackgroundColor(background);
    image.DiscardGreyPlane();
    return true;
}

std::array<std::uint8_t, 256> BrightnessTable(int brightness, int contrast) {
    std::array<std::uint8_t, 256> table{};
    const double scale = (contrast + 100) / 100.0;
    for (int k = 0; k < 256; ++k) {
        const double v = std::trunc(brightness + 128 + scale * (k - 128) + 0.5);
        table[k] = static_cast<std::uint8_t>(std::clamp(v, 0.0, 255.0));
    }
    return table;
}

bool AdjustBrightness(CxImage& image, int brightness) {
    if (!image.IsValid()) {
        return false;
    }
    const std::array<std::uint8_t, 256> table = BrightnessTable(brightness);
    const int channels = ValueChannels(image);
    if (channels != 0) {
        const std::size_t bytes = std::size_t(image.GetWidth()) * channels;
        for (int y = 0; y < image.GetHeight(); ++y) {
            std::uint8_t* row = image.StoredRow(y);
            for (std::size_t i = 0; i < bytes; ++i) {
                row[i] = table[row[i]];
            }
        }
    } else {
        RgbQuad* palette = image.GetPalette();
        for (std::uint32_t i = 0; i < image.GetNumColors(); ++i) {
            palette[i].red = table[palette[i].red];
            palette[i].green = table[palette[i].green];
            palette[i].blue = table[palette[i].blue];
        }
    }
    image.DiscardGreyPlane();
    return true;
}

// ---- median ----

namespace {

// Sort key of a neighbour: luminance in the high bits, its place in the neighbourhood (0..8,
// top row first) in the low four, so that equal luminances sort in neighbourhood order and
// the chosen key names the pixel to copy. Fits a signed 16-bit lane.
using Key = std::int16_t;

inline void SortPair(Key& a, Key& b) {
    const Key low = std::min(a, b);
    b = std::max(a, b);
    a = low;
}

// Median of nine by the classic 19-exchange network.
inline Key MedianOfNine(Key p0, Key p1, Key p2, Key p3, Key p4, Key p5, Key p6, Key p7, Key p8) {
    SortPair(p1, p2), SortPair(p4, p5), SortPair(p7, p8);
    SortPair(p0, p1), SortPair(p3, p4), SortPair(p6, p7);
    SortPair(p1, p2), SortPair(p4, p5), SortPair(p7, p8);
    SortPair(p0, p3), SortPair(p5, p8), SortPair(p4, p7);
    SortPair(p3, p6), SortPair(p1, p4), SortPair(p2, p5);
    SortPair(p4, p7), SortPair(p4, p2), SortPair(p6, p4);
    SortPair(p4, p2);
    return p4;
}

}  // namespace

bool MedianFilter3x3(CxImage& image) {
    const int channels = PrepareForFilter(image);
    if (channels == 0) {
        return false;
    }
    const int width = image.GetWidth();
    const int height = image.GetHeight();
    const std::size_t stride = image.GetStride();

    // Luminance of every pixel, in stored row order.
    std::vector<Key> lum(std::size_t(width) * height);
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* src = image.StoredRow(y);
        Key* dst = lum.data() + std::size_t(y) * width;
        if (channels == 1) {
            for (int x = 0; x < width; ++x) {
                dst[x] = static_cast<Key>(src[x] << 4);
            }
        } else {
            for (int x = 0; x < width; ++x, src += 3) {
                dst[x] = static_cast<Key>(MedianLuminance(src[0], src[1], src[2]) << 4);
            }
        }
    }

    CxImage result(image.GetType());
    if (!result.Create(width, height, channels * 8, image.GetType())) {
        image.SetLastError(result.LastError());
        return false;
    }
    if (channels == 1) {
        result.SetGreyPalette();
    }
    // Byte offset from a pixel to neighbour k. Picture row "above" is stored row + 1.
    std::ptrdiff_t offset[9];
    for (int k = 0; k < 9; ++k) {
        const int dx = k % 3 - 1;
        const int dyStored = 1 - k / 3;
        offset[k] = std::ptrdiff_t(dyStored) * std::ptrdiff_t(stride) + dx * channels;
    }
    auto copyPixel = [&](int x, int y, Key key) {
        const std::uint8_t* src = image.StoredRow(y) + std::size_t(x) * channels + offset[key & 15];
        std::uint8_t* dst = result.StoredRow(y) + std::size_t(x) * channels;
        for (int c = 0; c < channels; ++c) {
            dst[c] = src[c];
        }
    };
    // Edges and corners: only the neighbours inside the picture take part.
    auto borderPixel = [&](int x, int y) {
        Key keys[9];
        int count = 0;
        for (int k = 0; k < 9; ++k) {
            const int nx = x + k % 3 - 1;
            const int ny = y + 1 - k / 3;
            if (nx >= 0 && ny >= 0 && nx < width && ny < height) {
                keys[count++] = static_cast<Key>(lum[std::size_t(ny) * width + nx] | k);
            }
        }
        std::sort(keys, keys + count);
        copyPixel(x, y, keys[count / 2]);
    };

    std::vector<Key> medians(static_cast<std::size_t>(width));
    for (int y = 0; y < height; ++y) {
        if (y == 0 || y == height - 1 || width < 3) {
            for (int x = 0; x < width; ++x) {
                borderPixel(x, y);
            }
            continue;
        }
        const Key* up = lum.data() + std::size_t(y + 1) * width;  // picture row above
        const Key* mid = lum.data() + std::size_t(y) * width;
        const Key* down = lum.data() + std::size_t(y - 1) * width;
        // Vectorisable pass: the key of the median for every interior pixel of the row.
        for (int x = 1; x < width - 1; ++x) {
            medians[x] = MedianOfNine(up[x - 1] | 0, up[x] | 1, up[x + 1] | 2,  //
                                      mid[x - 1] | 3, mid[x] | 4, mid[x + 1] | 5,
                                      down[x - 1] | 6, down[x] | 7, down[x + 1] | 8);
        }
        borderPixel(0, y);
        for (int x = 1; x < width - 1; ++x) {
            copyPixel(x, y, medians[x]);
        }
        borderPixel(width - 1, y);
    }
    return ReplacePixels(image, std::move(result));
}

// ---- average ----

namespace {

// s / 9 for every s up to 9 * 255 by a multiply and a shift.
constexpr std::uint32_t kDivideBy9 = 7282;
constexpr bool DivisionIsExact() {
    for (std::uint32_t s = 0; s <= 9 * 255; ++s) {
        if ((s * kDivideBy9) >> 16 != s / 9) {
            return false;
        }
    }
    return true;
}
static_assert(DivisionIsExact());

}  // namespace

bool AverageFilter3x3(CxImage& image) {
    const int channels = PrepareForFilter(image);
    if (channels == 0) {
        return false;
    }
    const int width = image.GetWidth();
    const int height = image.GetHeight();
    const std::size_t bytes = std::size_t(width) * channels;
    CxImage result(image.GetType());
    if (!result.Create(width, height, channels * 8, image.GetType())) {
        image.SetLastError(result.LastError());
        return false;
    }
    if (channels == 1) {
        result.SetGreyPalette();
    }
    // Column sums of the rows inside the picture, then sums of three neighbouring columns.
    std::vector<std::uint16_t> column(bytes);
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* mid = image.StoredRow(y);
        const std::uint8_t* below = y > 0 ? image.StoredRow(y - 1) : nullptr;
        const std::uint8_t* above = y + 1 < height ? image.StoredRow(y + 1) : nullptr;
        const int rows = 1 + (below != nullptr) + (above != nullptr);
        if (rows == 3) {
            for (std::size_t i = 0; i < bytes; ++i) {
                column[i] = static_cast<std::uint16_t>(below[i] + mid[i] + above[i]);
            }
        } else {
            const std::uint8_t* other = below != nullptr ? below : above;
            for (std::size_t i = 0; i < bytes; ++i) {
                column[i] = static_cast<std::uint16_t>(mid[i] + (other ? other[i] : 0));
            }
        }
        std::uint8_t* dst = result.StoredRow(y);
        const std::uint16_t* c = column.data();
        const std::size_t ch = std::size_t(channels);
        if (width == 1) {
            for (std::size_t i = 0; i < ch; ++i) {
                dst[i] = static_cast<std::uint8_t>(c[i] / rows);
            }
            continue;
        }
        // Edge columns have two neighbouring columns inside the picture.
        const unsigned edgeCount = 2u * unsigned(rows);
        for (std::size_t i = 0; i < ch; ++i) {
            dst[i] = static_cast<std::uint8_t>((c[i] + c[i + ch]) / edgeCount);
            const std::size_t j = bytes - ch + i;
            dst[j] = static_cast<std::uint8_t>((c[j - ch] + c[j]) / edgeCount);
        }
        if (rows == 3) {
            for (std::size_t i = ch; i + ch < bytes; ++i) {
                const std::uint32_t s = std::uint32_t(c[i - ch]) + c[i] + c[i + ch];
                dst[i] = static_cast<std::uint8_t>((s * kDivideBy9) >> 16);
            }
        } else {
            const unsigned count = 3u * unsigned(rows);
            for (std::size_t i = ch; i + ch < bytes; ++i) {
                dst[i] = static_cast<std::uint8_t>((c[i - ch] + c[i] + c[i + ch]) / count);
            }
        }
    }
    return ReplacePixels(image, std::move(result));
}

}  // namespace lensora
