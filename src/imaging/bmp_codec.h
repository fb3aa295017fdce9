// BMP files: the decoder reads every common BMP variant into a CxImage (1/4/8-bit palette
// pictures stay palette pictures, 16/32-bit pictures become 24-bit); the encoder writes the
// image's packed DIB behind a 14-byte file header.
#pragma once

namespace lensora {

class CxFile;
class CxImage;

// Reads a BMP file, or a bare DIB (header, palette, pixels without the 14-byte file header),
// from the stream's current position. Accepts the 12-byte core header and the 40-byte header
// together with its 52/56/108/124-byte extensions (the extra colour-space fields are ignored);
// uncompressed 1/4/8/16/24/32 bits, RLE8, RLE4 and bit fields. On failure the image is
// not valid and LastError() says why.
bool DecodeBmp(CxImage& image, CxFile& file);

// Writes "BM", the file size, the pixel offset and the packed DIB as held (rows bottom-up).
bool EncodeBmp(const CxImage& image, CxFile& file);

}  // namespace lensora
