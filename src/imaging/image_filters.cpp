#include "imaging/image_filters.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>
#include <vector>

#include "imaging/cx_image.h"
#include "imaging/depth_conversion.h"

namespace lensora {

namespace {

// Bytes per pixel of a picture whose pixel bytes are colour values (24-bit or grey), else 0.
int ValueChannels(const CxImage& image) {
    if (image.GetBpp() == 24) {
        return 3;
    }
    return image.IsGrey() ? 1 : 0;
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
    return ConvertTo24Bits(image) ? 3 : 0;
}

}  // namespace

bool MirrorHorizontal(CxImage& image) {
    if (!image.IsValid()) {
        return false;
    }
    const int width = image.GetWidth();
    const int height = image.GetHeight();
    const int bpp = image.GetBpp();
    if (bpp == 8) {
        for (int y = 0; y < height; ++y) {
            std::reverse(image.StoredRow(y), image.StoredRow(y) + width);
        }
    } else if (bpp == 24) {
        // Each row goes through a scratch copy, so that pixels move as single 4-byte copies
        // (the fourth byte is overwritten by the next pixel); the scratch has one spare byte.
        const std::size_t rowBytes = std::size_t(width) * 3;
        std::vector<std::uint8_t> scratch(rowBytes + 1);
        for (int y = 0; y < height; ++y) {
            std::uint8_t* row = image.StoredRow(y);
            std::memcpy(scratch.data(), row, rowBytes);
            const std::uint8_t* src = scratch.data() + rowBytes - 3;
            for (int x = 0; x + 1 < width; ++x, src -= 3) {
                std::memcpy(row + std::size_t(x) * 3, src, 4);
            }
            std::memcpy(row + rowBytes - 3, scratch.data(), 3);
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
        // With contrast 0 the table is a saturating add, which runs on whole vectors of bytes
        // where a table lookup goes one byte at a time.
        const int step = std::clamp(brightness, -255, 255);
        const auto limit = static_cast<std::uint8_t>(step >= 0 ? 255 - step : -step);
        const auto amount = static_cast<std::uint8_t>(step >= 0 ? step : -step);
        const std::size_t bytes = std::size_t(image.GetWidth()) * channels;
        for (int y = 0; y < image.GetHeight(); ++y) {
            std::uint8_t* row = image.StoredRow(y);
            if (step >= 0) {
                for (std::size_t i = 0; i < bytes; ++i) {
                    row[i] = static_cast<std::uint8_t>(std::min(row[i], limit) + amount);
                }
            } else {
                for (std::size_t i = 0; i < bytes; ++i) {
                    row[i] = static_cast<std::uint8_t>(std::max(row[i], limit) - amount);
                }
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

// Sort key of a neighbour: luminance in the high bits, then its row (0 top .. 2 bottom) and
// column (0 left .. 2 right) in two bits each, so that equal luminances sort in neighbourhood
// order and the chosen key names the pixel to copy. Fits a signed 16-bit lane.
using Key = std::int16_t;

inline void SortPair(Key& a, Key& b) {
    const Key low = std::min(a, b);
    b = std::max(a, b);
    a = low;
}

inline Key MedianOfThree(Key a, Key b, Key c) {
    return std::max(std::min(a, b), std::min(std::max(a, b), c));
}

// The luminance and median passes vectorise well when the compiler may use byte shuffles
// (SSSE3, AVX2), which the baseline x86-64 target lacks; on x86-64 they are built for those
// instruction sets too and the best one is chosen when the program starts.
#if defined(__x86_64__) && defined(__GNUC__)
#define LENSORA_CPU_CLONES __attribute__((target_clones("avx2", "ssse3", "default")))
#else
#define LENSORA_CPU_CLONES
#endif

LENSORA_CPU_CLONES
void LuminanceKeys(const std::uint8_t* __restrict src, Key* __restrict dst, int width,
                   int channels) {
    if (channels == 1) {
        for (int x = 0; x < width; ++x) {
            dst[x] = static_cast<Key>(src[x] << 4);
        }
        return;
    }
    for (int x = 0; x < width; ++x) {
        dst[x] = static_cast<Key>(MedianLuminance(src[3 * x], src[3 * x + 1], src[3 * x + 2]) << 4);
    }
}

// Median keys of the interior pixels 1 .. width - 2 of a row from the three luminance rows.
// Each column of three is sorted once; the median of nine distinct keys is then the median of
// the largest column minimum, the median of the column medians and the smallest column maximum.
LENSORA_CPU_CLONES
void MedianKeys(const Key* __restrict up, const Key* __restrict mid, const Key* __restrict down,
                Key* __restrict low, Key* __restrict middle, Key* __restrict high,
                Key* __restrict out, int width) {
    for (int x = 0; x < width; ++x) {
        Key a = up[x];
        Key b = static_cast<Key>(mid[x] | (1 << 2));
        Key c = static_cast<Key>(down[x] | (2 << 2));
        SortPair(a, b);
        SortPair(b, c);
        SortPair(a, b);
        low[x] = a;
        middle[x] = b;
        high[x] = c;
    }
    for (int x = 1; x < width - 1; ++x) {
        const Key maxLow = std::max(std::max(low[x - 1], static_cast<Key>(low[x] | 1)),
                                    static_cast<Key>(low[x + 1] | 2));
        const Key minHigh = std::min(std::min(high[x - 1], static_cast<Key>(high[x] | 1)),
                                     static_cast<Key>(high[x + 1] | 2));
        const Key medMiddle = MedianOfThree(middle[x - 1], static_cast<Key>(middle[x] | 1),
                                            static_cast<Key>(middle[x + 1] | 2));
        out[x] = MedianOfThree(maxLow, medMiddle, minHigh);
    }
}

}  // namespace

bool MedianFilter3x3(CxImage& image) {
    const int channels = PrepareForFilter(image);
    if (channels == 0) {
        return false;
    }
    const int width = image.GetWidth();
    const int height = image.GetHeight();
    const std::size_t rowBytes = std::size_t(width) * channels;

    // Rows are filtered in place from the bottom up. The original values of the row being
    // written and of the row below it are kept in two scratch rows (the row above is not yet
    // written), and the luminances of the three rows in a ring of three: the same result as
    // filtering a full copy, without a second picture.
    std::vector<std::uint8_t> saved(2 * rowBytes);
    std::vector<Key> lumRing(3 * std::size_t(width));
    auto lumRow = [&](int y) { return lumRing.data() + std::size_t(y % 3) * width; };
    auto fillLum = [&](int y) { LuminanceKeys(image.StoredRow(y), lumRow(y), width, channels); };

    std::vector<Key> medians(static_cast<std::size_t>(width));
    std::vector<Key> columns(3 * static_cast<std::size_t>(width));
    fillLum(0);
    for (int y = 0; y < height; ++y) {
        const bool hasAbove = y + 1 < height;  // picture row above = stored row y + 1
        const bool hasBelow = y > 0;
        if (hasAbove) {
            fillLum(y + 1);
        }
        std::uint8_t* out = image.StoredRow(y);
        std::uint8_t* savedMid = saved.data() + std::size_t(y % 2) * rowBytes;
        std::memcpy(savedMid, out, rowBytes);
        // Neighbourhood rows, top first: above, this row, below.
        const std::uint8_t* rows[3] = {
            hasAbove ? image.StoredRow(y + 1) : nullptr, savedMid,
            hasBelow ? saved.data() + std::size_t((y + 1) % 2) * rowBytes : nullptr};
        const Key* lums[3] = {hasAbove ? lumRow(y + 1) : nullptr, lumRow(y),
                              hasBelow ? lumRow(y - 1) : nullptr};

        // Edges and corners: only the neighbours inside the picture take part.
        auto borderPixel = [&](int x) {
            Key keys[9] = {};
            int count = 0;
            for (int k = 0; k < 9; ++k) {
                const int nx = x + k % 3 - 1;
                if (lums[k / 3] != nullptr && nx >= 0 && nx < width) {
                    keys[count++] = static_cast<Key>(lums[k / 3][nx] | (k / 3) << 2 | k % 3);
                }
            }
            for (int i = 1; i < count; ++i) {  // insertion sort of at most nine keys
                const Key key = keys[i];
                int j = i;
                for (; j > 0 && keys[j - 1] > key; --j) {
                    keys[j] = keys[j - 1];
                }
                keys[j] = key;
            }
            const int row = (keys[count / 2] >> 2) & 3;
            const int column = keys[count / 2] & 3;
            const std::uint8_t* src = rows[row] + std::ptrdiff_t(x + column - 1) * channels;
            std::memcpy(out + std::size_t(x) * channels, src, std::size_t(channels));
        };

        if (!hasAbove || !hasBelow || width < 3) {
            for (int x = 0; x < width; ++x) {
                borderPixel(x);
            }
            continue;
        }
        MedianKeys(lums[0], lums[1], lums[2], columns.data(), columns.data() + width,
                   columns.data() + 2 * std::size_t(width), medians.data(), width);
        // The chosen key names the neighbour whose colour is copied.
        const std::uint8_t* base[16] = {};
        for (int k = 0; k < 9; ++k) {
            base[(k / 3) << 2 | k % 3] = rows[k / 3] + (k % 3 - 1) * channels;
        }
        if (channels == 3) {
            // 4-byte copies, each overwriting the first byte of the next pixel; the last
            // interior pixel is copied in 3 bytes so that no read passes the end of a row.
            for (int x = 1; x < width - 2; ++x) {
                std::memcpy(out + std::size_t(x) * 3, base[medians[x] & 15] + std::size_t(x) * 3,
                            4);
            }
            const int last = width - 2;
            std::memcpy(out + std::size_t(last) * 3,
                        base[medians[last] & 15] + std::size_t(last) * 3, 3);
        } else {
            for (int x = 1; x < width - 1; ++x) {
                out[x] = base[medians[x] & 15][x];
            }
        }
        borderPixel(0);
        borderPixel(width - 1);
    }
    image.DiscardGreyPlane();
    return true;
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
