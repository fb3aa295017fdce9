#include "imaging/bmp_codec.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

#include "imaging/byte_order.h"
#include "imaging/cx_file.h"
#include "imaging/cx_image.h"
#include "imaging/image_messages.h"

namespace lensora {

namespace msg = image_message;

namespace {

constexpr std::uint16_t kBmpMagic = 0x4D42;  // "BM"
constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiRle8 = 1;
constexpr std::uint32_t kBiRle4 = 2;
constexpr std::uint32_t kBiBitfields = 3;
constexpr std::uint32_t kBiJpeg = 4;
constexpr std::uint32_t kBiPng = 5;
constexpr std::uint32_t kBiAlphaBitfields = 6;

bool Fail(CxImage& image, const char* message) {
    image.Destroy();
    image.SetLastError(message);
    return false;
}

// One colour channel of a bit-field pixel, scaled to 8 bits.
struct Channel {
    std::uint32_t mask = 0;
    int shift = 0;
    int width = 0;
    std::uint8_t table[256] = {};  // for widths up to 8: value -> 0..255

    bool Init(std::uint32_t m) {
        mask = m;
        if (m == 0) {
            return false;
        }
        shift = std::countr_zero(m);
        width = std::popcount(m);
        // Only contiguous masks are meaningful.
        if ((m >> shift) != (width == 32 ? 0xFFFFFFFFu : ((1u << width) - 1))) {
            return false;
        }
        if (width <= 8) {
            const std::uint32_t max = (1u << width) - 1;
            for (std::uint32_t v = 0; v <= max; ++v) {
                table[v] = static_cast<std::uint8_t>((v * 255 + max / 2) / max);
            }
        }
        return true;
    }
    std::uint8_t Get(std::uint32_t pixel) const {
        const std::uint32_t v = (pixel & mask) >> shift;
        return width <= 8 ? table[v] : static_cast<std::uint8_t>(v >> (width - 8));
    }
};

struct BmpInfo {
    std::uint32_t headerSize = 0;
    std::int64_t width = 0;
    std::int64_t height = 0;  // made positive; topDown keeps the sign
    bool topDown = false;
    std::uint32_t bits = 0;
    std::uint32_t compression = kBiRgb;
    std::int32_t xPelsPerMeter = 0;
    std::int32_t yPelsPerMeter = 0;
    std::uint32_t clrUsed = 0;
    std::uint32_t masks[3] = {0, 0, 0};
    bool masksInHeader = false;
};

// Reads the DIB header after its size field. False (with the message set) when unusable.
bool ReadInfo(CxImage& image, CxFile& file, BmpInfo& info) {
    std::uint8_t h[124] = {};
    if (file.ReadItems(h, 4, 1) != 1) {
        return Fail(image, msg::kBmpInfo);
    }
    info.headerSize = le::Get32(h);
    const std::uint32_t size = info.headerSize;
    // 16 and 64 are OS/2 2.x headers: their first 16 bytes are laid out like the 40-byte
    // header's, and the longer one continues that layout up to byte 40.
    const bool os2 = size == 16 || size == 64;
    if (size != 12 && size != 40 && size != 52 && size != 56 && size != 108 && size != 124 &&
        !os2) {
        return Fail(image, msg::kBmpInfo);
    }
    if (file.ReadItems(h + 4, size - 4, 1) != 1) {
        return Fail(image, msg::kBmpInfo);
    }
    if (size == 12) {
        info.width = le::Get16(h + 4);
        info.height = le::Get16(h + 6);
        info.bits = le::Get16(h + 10);
    } else if (size == 16) {
        info.width = le::GetS32(h + 4);
        info.height = le::GetS32(h + 8);
        info.bits = le::Get16(h + 14);
    } else {
        info.width = le::GetS32(h + 4);
        info.height = le::GetS32(h + 8);
        info.bits = le::Get16(h + 14);
        info.compression = le::Get32(h + 16);
        info.xPelsPerMeter = le::GetS32(h + 24);
        info.yPelsPerMeter = le::GetS32(h + 28);
        info.clrUsed = le::Get32(h + 32);
        if (size >= 52 && !os2) {
            info.masks[0] = le::Get32(h + 40);
            info.masks[1] = le::Get32(h + 44);
            info.masks[2] = le::Get32(h + 48);
            info.masksInHeader = true;
        }
    }
    if (info.height < 0) {
        info.topDown = true;
        info.height = -info.height;
    }
    const std::uint32_t b = info.bits;
    if (b != 1 && b != 4 && b != 8 && b != 16 && b != 24 && b != 32) {
        return Fail(image, msg::kBmpInfo);
    }
    // OS/2 gives 3 and 4 other meanings: Huffman 1D (fax) and RLE24.
    if (os2 && (info.compression == kBiBitfields || info.compression == kBiJpeg)) {
        return Fail(image, msg::kOs2CompressionNotSupported);
    }
    switch (info.compression) {
        case kBiRgb:
            break;
        case kBiRle8:
        case kBiRle4:
            // Run-length data only exists bottom-up and at its own depth.
            if (info.topDown || b != (info.compression == kBiRle8 ? 8u : 4u)) {
                return Fail(image, msg::kCompressionNotSupported);
            }
            break;
        case kBiBitfields:
        case kBiAlphaBitfields:
            if (b != 16 && b != 32) {
                return Fail(image, msg::kCompressionNotSupported);
            }
            break;
        case kBiJpeg:
        case kBiPng:
            return Fail(image, msg::kCompressionNotSupported);
        default:
            return Fail(image, msg::kUnknownCompression);
    }
    if (b <= 8 && info.clrUsed > (1u << b)) {
        return Fail(image, msg::kBmpBadPalette);
    }
    return true;
}

bool ReadPalette(CxImage& image, CxFile& file, const BmpInfo& info) {
    const bool core = info.headerSize == 12;
    const std::uint32_t count = (core || info.clrUsed == 0) ? (1u << info.bits) : info.clrUsed;
    const std::uint32_t entrySize = core ? 3 : 4;
    std::uint8_t raw[256 * 4];
    if (file.ReadItems(raw, entrySize, count) != count) {
        return Fail(image, msg::kBmpTruncated);
    }
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::uint8_t* e = raw + i * entrySize;
        image.SetPaletteColor(i, e[2], e[1], e[0]);
    }
    return true;
}

// Reads rows of `fileRowBytes` each into the image, in file order (bottom-up unless topDown).
bool ReadUncompressed(CxImage& image, CxFile& file, const BmpInfo& info) {
    const int height = image.GetHeight();
    const std::size_t stride = image.GetStride();
    if (!info.topDown) {
        if (file.ReadItems(image.GetBits(), stride, std::size_t(height)) != std::size_t(height)) {
            return Fail(image, msg::kBmpTruncated);
        }
        return true;
    }
    for (int y = 0; y < height; ++y) {
        if (file.ReadItems(image.RowFromTop(y), stride, 1) != 1) {
            return Fail(image, msg::kBmpTruncated);
        }
    }
    return true;
}

bool ReadBitfields(CxImage& image, CxFile& file, const BmpInfo& info) {
    std::uint32_t masks[3] = {info.masks[0], info.masks[1], info.masks[2]};
    if (info.compression == kBiRgb) {
        if (info.bits == 16) {
            masks[0] = 0x7C00, masks[1] = 0x03E0, masks[2] = 0x001F;
        } else {
            masks[0] = 0xFF0000, masks[1] = 0xFF00, masks[2] = 0xFF;
        }
    }
    Channel red, green, blue;
    const std::uint32_t limit = info.bits == 16 ? 0xFFFFu : 0xFFFFFFFFu;
    if (!red.Init(masks[0]) || !green.Init(masks[1]) || !blue.Init(masks[2]) ||
        (masks[0] | masks[1] | masks[2]) > limit) {
        return Fail(image, msg::kBmpBadMasks);
    }
    const int width = image.GetWidth();
    const int height = image.GetHeight();
    const std::size_t fileRow = DibStride(std::uint64_t(width), info.bits);
    std::vector<std::uint8_t> row(fileRow);
    const bool plain32 =
        info.bits == 32 && masks[0] == 0xFF0000 && masks[1] == 0xFF00 && masks[2] == 0xFF;
    for (int i = 0; i < height; ++i) {
        if (file.ReadItems(row.data(), fileRow, 1) != 1) {
            return Fail(image, msg::kBmpTruncated);
        }
        std::uint8_t* dst = info.topDown ? image.RowFromTop(i) : image.StoredRow(i);
        const std::uint8_t* src = row.data();
        if (plain32) {
            for (int x = 0; x < width; ++x, src += 4, dst += 3) {
                dst[0] = src[0], dst[1] = src[1], dst[2] = src[2];
            }
        } else if (info.bits == 32) {
            for (int x = 0; x < width; ++x, src += 4, dst += 3) {
                const std::uint32_t p = le::Get32(src);
                dst[0] = blue.Get(p), dst[1] = green.Get(p), dst[2] = red.Get(p);
            }
        } else {
            for (int x = 0; x < width; ++x, src += 2, dst += 3) {
                const std::uint32_t p = le::Get16(src);
                dst[0] = blue.Get(p), dst[1] = green.Get(p), dst[2] = red.Get(p);
            }
        }
    }
    return true;
}

// Decodes RLE8 or RLE4 data. Runs that would cross the end of a row or of the picture are
// refused rather than clipped; an end-of-picture marker before the last row is accepted (the
// rest stays index 0); data that stops without that marker is a truncated file.
bool DecodeRle(CxImage& image, const std::vector<std::uint8_t>& data, bool rle4) {
    const std::int64_t width = image.GetWidth();
    const std::int64_t height = image.GetHeight();
    const std::size_t n = data.size();
    std::int64_t x = 0;
    std::int64_t y = 0;
    std::size_t i = 0;
    auto put = [&](std::int64_t px, std::uint8_t index) {
        image.SetPixelIndex(static_cast<int>(px), static_cast<int>(y), index);
    };
    while (i + 1 < n) {
        const std::uint8_t count = data[i];
        const std::uint8_t value = data[i + 1];
        i += 2;
        if (count > 0) {
            if (y >= height || x + count > width) {
                return Fail(image, msg::kBmpBadRle);
            }
            for (int k = 0; k < count; ++k) {
                put(x + k, rle4 ? ((k & 1) ? (value & 0x0F) : (value >> 4)) : value);
            }
            x += count;
        } else if (value == 0) {  // end of row
            x = 0;
            if (++y > height) {
                return Fail(image, msg::kBmpBadRle);
            }
        } else if (value == 1) {  // end of picture
            return true;
        } else if (value == 2) {  // move right dx, up dy
            if (i + 1 >= n) {
                break;
            }
            x += data[i];
            y += data[i + 1];
            i += 2;
            if (x > width || y > height || (y == height && x > 0)) {
                return Fail(image, msg::kBmpBadRle);
            }
        } else {  // `value` literal pixels, padded to a 16-bit boundary
            const std::size_t bytes = rle4 ? (value + 1u) / 2 : value;
            if (y >= height || x + value > width) {
                return Fail(image, msg::kBmpBadRle);
            }
            if (i + bytes > n) {
                break;
            }
            for (int k = 0; k < value; ++k) {
                const std::uint8_t b = data[i + (rle4 ? k / 2 : k)];
                put(x + k, rle4 ? ((k & 1) ? (b & 0x0F) : (b >> 4)) : b);
            }
            x += value;
            i += (bytes + 1) & ~std::size_t(1);
        }
    }
    return Fail(image, msg::kBmpTruncated);
}

bool ReadRest(CxFile& file, std::int64_t fileSize, std::vector<std::uint8_t>& data) {
    const std::int64_t position = file.Tell();
    if (fileSize >= 0 && position >= 0) {
        data.resize(static_cast<std::size_t>(std::max<std::int64_t>(0, fileSize - position)));
        data.resize(file.ReadItems(data.data(), 1, data.size()));
        return true;
    }
    std::uint8_t chunk[65536];
    std::size_t got = 0;
    while ((got = file.ReadItems(chunk, 1, sizeof chunk)) > 0) {
        data.insert(data.end(), chunk, chunk + got);
    }
    return true;
}

}  // namespace

bool DecodeBmp(CxImage& image, CxFile& file) {
    std::int64_t start = file.Tell();
    if (start < 0) {
        start = 0;
    }
    const std::int64_t fileSize = file.Size();
    std::uint8_t fileHeader[14];
    if (file.ReadItems(fileHeader, sizeof fileHeader, 1) != 1) {
        return Fail(image, msg::kNotBmp);
    }
    std::uint32_t pixelOffset = 0;
    if (le::Get16(fileHeader) == kBmpMagic) {
        pixelOffset = le::Get32(fileHeader + 10);
    } else if (!file.Seek(start, SEEK_SET)) {  // a bare DIB starts with its header
        return Fail(image, msg::kNotBmp);
    }

    BmpInfo info;
    if (!ReadInfo(image, file, info)) {
        return false;
    }
    // Masks of a 40-byte header follow it, before any palette.
    if (!info.masksInHeader &&
        (info.compression == kBiBitfields || info.compression == kBiAlphaBitfields)) {
        const std::size_t maskCount = info.compression == kBiAlphaBitfields ? 4 : 3;
        std::uint8_t raw[16];
        if (file.ReadItems(raw, 4, maskCount) != maskCount) {
            return Fail(image, msg::kBmpTruncated);
        }
        for (int k = 0; k < 3; ++k) {
            info.masks[k] = le::Get32(raw + 4 * k);
        }
    }

    // Check the pixel offset and, for uncompressed data, the amount of data before anything
    // is allocated: a tiny damaged file must not cost a large allocation.
    std::int64_t pixelStart = -1;
    if (pixelOffset != 0) {
        pixelStart = start + pixelOffset;
        if (pixelStart < start + 14 + std::int64_t(info.headerSize) ||
            (fileSize >= 0 && pixelStart >= fileSize)) {
            return Fail(image, msg::kBmpBadOffset);
        }
    }
    const bool rle = info.compression == kBiRle8 || info.compression == kBiRle4;
    const std::uint32_t outBits = info.bits <= 8 ? info.bits : 24;
    if (!rle && fileSize >= 0 && info.width > 0 && info.height > 0 && info.width <= 0x7FFFFFFF &&
        info.height <= 0x7FFFFFFF) {
        const std::uint64_t outStride = DibStride(std::uint64_t(info.width), outBits);
        const bool fitsLimit =
            outStride <= kMaxImageBytes && outStride * std::uint64_t(info.height) <= kMaxImageBytes;
        const std::uint64_t rowBytes = DibStride(std::uint64_t(info.width), info.bits);
        const std::int64_t from = pixelStart >= 0 ? pixelStart : file.Tell();
        const std::uint64_t available = from >= 0 && from < fileSize ? fileSize - from : 0;
        // Too large a picture is left to Create, which names the limit.
        if (fitsLimit && std::uint64_t(info.height) > available / rowBytes) {
            return Fail(image, msg::kBmpTruncated);
        }
    }

    if (!image.Create(info.width, info.height, outBits, kImageTypeBmp)) {
        return false;
    }
    image.SetXDpi(static_cast<std::int32_t>(std::floor(info.xPelsPerMeter * 0.0254 + 0.5)));
    image.SetYDpi(static_cast<std::int32_t>(std::floor(info.yPelsPerMeter * 0.0254 + 0.5)));

    if (info.bits <= 8) {
        if (!ReadPalette(image, file, info)) {
            return false;
        }
    }
    if (pixelStart >= 0) {
        if (!file.Seek(pixelStart, SEEK_SET)) {
            return Fail(image, msg::kBmpBadOffset);
        }
    } else if (info.bits > 8 && info.clrUsed > 0 && info.headerSize != 12) {
        // A bare DIB of more than 8 bits may still carry a palette before its pixels.
        if (!file.Seek(std::int64_t(info.clrUsed) * 4, SEEK_CUR)) {
            return Fail(image, msg::kBmpTruncated);
        }
    }

    if (rle) {
        std::vector<std::uint8_t> data;
        ReadRest(file, fileSize, data);
        return DecodeRle(image, data, info.compression == kBiRle4);
    }
    if (info.bits == 16 || info.bits == 32) {
        return ReadBitfields(image, file, info);
    }
    return ReadUncompressed(image, file, info);
}

bool EncodeBmp(const CxImage& image, CxFile& file) {
    if (!image.IsValid()) {
        image.SetLastError(msg::kNullImage);
        return false;
    }
    const std::size_t dibSize = image.GetDibSize();
    std::uint8_t fileHeader[14] = {'B', 'M'};
    le::Put32(fileHeader + 2, static_cast<std::uint32_t>(dibSize + sizeof fileHeader));
    le::Put32(fileHeader + 10, static_cast<std::uint32_t>(sizeof fileHeader + kDibHeaderSize +
                                                          image.GetPaletteSize()));
    if (file.WriteItems(fileHeader, sizeof fileHeader, 1) != 1 ||
        file.WriteItems(image.GetDib(), dibSize, 1) != 1) {
        image.SetLastError(msg::kWriteFailed);
        return false;
    }
    return true;
}

}  // namespace lensora
