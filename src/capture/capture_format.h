// Capture format rules: the 88-byte video format block kept in CapConfig.dat, the default
// format of each sensor class, the recording frame rate of a capture size and the sensor class
// itself. Plain functions and values; no state.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "capture/frame_source.h"

namespace lensora {

inline constexpr std::size_t kVideoFormatBlockSize = 88;
inline constexpr int kMaxCaptureSide = 16384;

struct FourCc {
    static constexpr std::uint32_t Of(char a, char b, char c, char d) {
        return static_cast<std::uint32_t>(static_cast<unsigned char>(a)) |
               static_cast<std::uint32_t>(static_cast<unsigned char>(b)) << 8 |
               static_cast<std::uint32_t>(static_cast<unsigned char>(c)) << 16 |
               static_cast<std::uint32_t>(static_cast<unsigned char>(d)) << 24;
    }
};
inline constexpr std::uint32_t kFourCcYuy2 = FourCc::Of('Y', 'U', 'Y', '2');

// The video format block: rectangles, rates and the bitmap header, little-endian on disk.
struct VideoFormatBlock {
    std::array<std::int32_t, 4> source{};  // left, top, right, bottom
    std::array<std::int32_t, 4> target{};
    std::uint32_t bitRate = 0;
    std::uint32_t bitErrorRate = 0;
    std::int64_t avgTimePerFrame = 0;  // 100 ns units
    std::uint32_t headerSize = 40;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::uint16_t planes = 1;
    std::uint16_t bitCount = 16;
    std::uint32_t compression = kFourCcYuy2;
    std::uint32_t sizeImage = 0;
    std::int32_t xPelsPerMeter = 0;
    std::int32_t yPelsPerMeter = 0;
    std::uint32_t clrUsed = 0;
    std::uint32_t clrImportant = 0;
    friend bool operator==(const VideoFormatBlock&, const VideoFormatBlock&) = default;
};

std::array<std::uint8_t, kVideoFormatBlockSize> SerializeFormatBlock(const VideoFormatBlock& b);
// Nullopt when the bytes are fewer than 88 or describe no usable size (width or height not in
// 1..16384, or a negative frame time): such a file counts as absent.
std::optional<VideoFormatBlock> ParseFormatBlock(std::span<const std::uint8_t> bytes);

// CapConfig.dat in the application folder.
std::string CapConfigPath(const std::string& appFolder);
std::optional<VideoFormatBlock> ReadCapConfig(const std::string& path);
// Creates or truncates the file; false when it cannot be written.
bool WriteCapConfig(const std::string& path, const VideoFormatBlock& block);

// round-half-down(10,000,000 / frame time) * image size * 8; 0 for a frame time that is not
// positive.
std::uint32_t FormatBitRate(std::int64_t avgTimePerFrame, std::uint32_t sizeImage);

// 1600x1200 with a large sensor, else 1280x1024, 16-bit YUY2, at the device's current frame
// time.
VideoFormatBlock DefaultFormatBlock(bool largeSensor, std::int64_t avgTimePerFrame);

// Frames per second written into recordings: 15, 14 or 5 by the capture width.
int RecordingFrameRate(bool largeSensor, int captureWidth);

// The sensor class after a probe: large when a YUYV/UYVY 1600x1200 size is offered, small when
// YUV sizes exist but none is; unchanged when the device offers no YUV format at all.
bool LargeSensorAfterProbe(bool current, const SensorProbe& probe);

StreamFormat ToStreamFormat(const VideoFormatBlock& block);

// The block stored after a resolution change, from the format the device applied: both
// rectangles span the frame, the image size is width x height x 2 for 16 bits per pixel, x 3
// for 24 and x 1 otherwise, the bit rate follows FormatBitRate, and the compression code and
// depth are the device's native ones (YUY2 at 16 bits when unknown). `avgTimePerFrame` stands
// in when the applied format carries no frame interval.
VideoFormatBlock FormatBlockFor(const StreamFormat& applied, std::int64_t avgTimePerFrame);

}  // namespace lensora
