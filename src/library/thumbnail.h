// Thumbnails of the strip: a picture or the first frame of a video, shrunk to one cell.
// Decoding is safe on any thread (each call owns everything it touches); a file that cannot be
// decoded gives a thumbnail marked broken instead of pixels.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace lensora {

class CxImage;

struct Thumbnail {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> bgr;  // rows from the top, width * 3 bytes each, blue-green-red
    bool broken = true;             // the file could not be decoded
    std::string error;              // why, when broken
};

// The whole picture stretched into width x height by averaging the source pixels under each
// thumbnail pixel. Broken when the image is not valid or the size is below one pixel.
Thumbnail ScaleToThumbnail(const CxImage& image, int width, int height);

// A picture file: "jpg" names are decoded as JPEG at the smallest eighth of full size that still
// fills the cell; other files through the BMP decoder (which also takes a JPEG misnamed).
Thumbnail MakePictureThumbnail(const std::string& path, int width, int height);

// The first video frame of a recording.
Thumbnail MakeVideoThumbnail(const std::string& path, int width, int height);

// Decodes the first frame of the first video stream of a media file (AVI and anything else the
// installed libavformat reads) into a 24-bit image. False with `error` set on failure.
bool DecodeFirstVideoFrame(const std::string& path, CxImage& image, std::string& error);

}  // namespace lensora
