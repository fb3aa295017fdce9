// Pictures and recordings made by the library tests: plain-coloured pictures written through
// the image container, and short AVI files written with libavformat.
#pragma once

#include <cstdint>
#include <string>

namespace lensora::test {

// A 24-bit picture of one colour, written as BMP or JPEG by the path's extension.
bool WritePicture(const std::string& path, int width, int height, std::uint8_t red,
                  std::uint8_t green, std::uint8_t blue);

// An AVI recording of `frames` frames of one colour (MJPEG), or false when it cannot be written.
bool WriteAvi(const std::string& path, int width, int height, int frames, std::uint8_t red,
              std::uint8_t green, std::uint8_t blue);

}  // namespace lensora::test
