// JPEG files over libjpeg-turbo. One-component pictures decode to 8-bit images with a grey
// palette, colour pictures to 24-bit images. The encoder takes 24-bit and 8-bit grey images and
// writes baseline-compatible JFIF with the image's quality (90 unless set), 4:2:0 chroma
// sampling and the image's resolution in dots per inch.
// A library error never ends the process: it ends the call, frees the library's memory and
// leaves the library's message in the image's LastError().
#pragma once

namespace lensora {

class CxFile;
class CxImage;

class CxImageJPG {
  public:
    // Decodes from the stream's current position into `image` (not valid on failure).
    static bool Decode(CxImage& image, CxFile& file);
    // Decodes at the smallest eighth of the full size (1/8 .. 8/8) that still covers
    // fillWidth x fillHeight pixels, for thumbnails; 0 or less decodes at full size.
    static bool DecodeScaled(CxImage& image, CxFile& file, int fillWidth, int fillHeight);
    static bool Encode(const CxImage& image, CxFile& file);
};

}  // namespace lensora
