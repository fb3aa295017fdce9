// Builds BMP files byte by byte for the decoder tests, so that every header field can be set
// to a good or a damaged value.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace lensora::test {

struct BmpSpec {
    std::int32_t width = 1;
    std::int32_t height = 1;
    std::uint16_t bits = 24;
    std::uint32_t compression = 0;
    std::uint32_t clrUsed = 0;
    std::uint32_t headerSize = 40;
    std::int32_t xPelsPerMeter = 3780;
    std::int32_t yPelsPerMeter = 3780;
    std::vector<std::uint32_t> palette;  // 0x00RRGGBB, written as given
    std::vector<std::uint32_t> masks;    // after a 40-byte header, or inside a larger one
    std::string pixels;                  // exactly as stored in the file
    bool fileHeader = true;
    std::int64_t pixelOffset = -1;  // -1: right after the palette
};

inline void PutLe(std::string& s, std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        s.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
    }
}

inline std::string BuildBmp(const BmpSpec& spec) {
    std::string info;
    PutLe(info, spec.headerSize, 4);
    if (spec.headerSize == 12) {
        PutLe(info, std::uint32_t(spec.width), 2);
        PutLe(info, std::uint32_t(spec.height), 2);
        PutLe(info, 1, 2);
        PutLe(info, spec.bits, 2);
    } else {
        PutLe(info, std::uint32_t(spec.width), 4);
        PutLe(info, std::uint32_t(spec.height), 4);
        PutLe(info, 1, 2);
        PutLe(info, spec.bits, 2);
        PutLe(info, spec.compression, 4);
        PutLe(info, std::uint32_t(spec.pixels.size()), 4);
        PutLe(info, std::uint32_t(spec.xPelsPerMeter), 4);
        PutLe(info, std::uint32_t(spec.yPelsPerMeter), 4);
        PutLe(info, spec.clrUsed, 4);
        PutLe(info, 0, 4);
        if (spec.headerSize > 40) {
            for (std::size_t i = 0; i < spec.masks.size() && info.size() < spec.headerSize; ++i) {
                PutLe(info, spec.masks[i], 4);
            }
        }
        info.resize(spec.headerSize, '\0');
        if (spec.headerSize == 40) {
            for (auto m : spec.masks) {
                PutLe(info, m, 4);
            }
        }
    }
    for (auto c : spec.palette) {
        PutLe(info, c, spec.headerSize == 12 ? 3 : 4);
    }
    std::string out;
    if (spec.fileHeader) {
        const std::uint32_t offset =
            spec.pixelOffset >= 0 ? std::uint32_t(spec.pixelOffset) : 14 + std::uint32_t(info.size());
        out = "BM";
        PutLe(out, std::uint32_t(14 + info.size() + spec.pixels.size()), 4);
        PutLe(out, 0, 4);
        PutLe(out, offset, 4);
    }
    return out + info + spec.pixels;
}

}  // namespace lensora::test
