// The failure texts that CxImage and its codecs leave in LastError(). Callers compare against
// these and show their own localised messages.
#pragma once

namespace lensora::image_message {

inline constexpr const char* kBadSize =
    "CxImage::Create : width and height must be greater than zero";
inline constexpr const char* kMaxMemory = "CXIMAGE_MAX_MEMORY exceeded";
inline constexpr const char* kCreateNoMemory = "CxImage::Create can't allocate memory";
inline constexpr const char* kNullFile = "null file handler";
inline constexpr const char* kNullImage = "null image!!!";
inline constexpr const char* kUnknownDecode = "Decode: Unknown or wrong format";
inline constexpr const char* kUnknownEncode = "Encode: Unknown format";
inline constexpr const char* kNotBmp = "Not a BMP";
inline constexpr const char* kBmpInfo = "Error reading BMP info";
inline constexpr const char* kCompressionNotSupported = "compression type not supported";
inline constexpr const char* kUnknownCompression = "unknown compression";
inline constexpr const char* kNoMemory = "can't allocate memory";
inline constexpr const char* kJpegRgbOrGrey = "JPEG can save only RGB or GreyScale images";
inline constexpr const char* kDrawnBitmap = "GetDIBits failed";
// Damaged files that the texts above do not describe.
inline constexpr const char* kBmpTruncated = "BMP pixel data truncated";
inline constexpr const char* kBmpBadOffset = "BMP pixel offset past end of file";
inline constexpr const char* kBmpBadPalette = "BMP palette larger than its depth allows";
inline constexpr const char* kBmpBadMasks = "BMP bit field masks invalid";
inline constexpr const char* kBmpBadRle = "BMP run-length data runs past the picture";
inline constexpr const char* kOs2CompressionNotSupported =
    "OS/2 bitmap compression not supported (Huffman 1D or RLE24)";
inline constexpr const char* kWriteFailed = "write error";

}  // namespace lensora::image_message
