// CxImage: the in-memory picture. It holds one packed device-independent bitmap (DIB) in the
// layout BMP files and the drawing code use: a 40-byte header, the palette (4 bytes an entry:
// blue, green, red, 0), then the pixel rows BOTTOM ROW FIRST, each row padded to a multiple of
// 4 bytes (the stride). 24-bit pixels are stored blue, green, red. Depths are 1, 4, 8 or 24.
//
// Failures never throw: operations return false (or an invalid image) and leave a message in
// LastError(). An image has one owner; it can be moved but not copied. Not thread-safe: one
// thread at a time. Picture rows are addressed from the top by RowFromTop(y), which is stored
// row height - 1 - y.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace lensora {

class CxFile;

// Image file types. Only these values are used.
inline constexpr std::uint32_t kImageTypeUnknown = 0;  // decoding tries BMP, then JPEG
inline constexpr std::uint32_t kImageTypeBmp = 1;
inline constexpr std::uint32_t kImageTypeJpeg = 3;

// The pixels of all depths together may not need more than this many bytes.
inline constexpr std::uint64_t kMaxImageBytes = 256u * 1024u * 1024u;
inline constexpr std::int32_t kDefaultDpi = 96;
inline constexpr float kDefaultJpegQuality = 90.0f;
inline constexpr std::size_t kDibHeaderSize = 40;

struct RgbQuad {
    std::uint8_t blue = 0;
    std::uint8_t green = 0;
    std::uint8_t red = 0;
    std::uint8_t reserved = 0;
};

// The values of the 40-byte DIB header, in host order (the block holds them little-endian).
struct DibHeader {
    std::uint32_t size = kDibHeaderSize;
    std::int32_t width = 0;
    std::int32_t height = 0;  // always positive here: rows are stored bottom-up
    std::uint16_t planes = 1;
    std::uint16_t bitCount = 0;
    std::uint32_t compression = 0;
    std::uint32_t sizeImage = 0;  // stride * height
    std::int32_t xPelsPerMeter = 0;
    std::int32_t yPelsPerMeter = 0;
    std::uint32_t clrUsed = 0;  // palette entries held: 2, 16, 256, or 0 at 24 bits
    std::uint32_t clrImportant = 0;
};

// One point of GreyAlongLine: a picture position (from the top) and its grey value.
struct GreySample {
    int x = 0;
    int y = 0;
    std::uint8_t grey = 0;
};

class CxImage {
public:
    explicit CxImage(std::uint32_t imageType = kImageTypeUnknown);
    ~CxImage();
    CxImage(CxImage&& other) noexcept;
    CxImage& operator=(CxImage&& other) noexcept;
    CxImage(const CxImage&) = delete;
    CxImage& operator=(const CxImage&) = delete;

    // Loads a file (UTF-8 path). With type 1 or 3 it decodes as that type first and, when that
    // fails, again with type 0 (BMP, then JPEG): a JPEG named ".bmp" still loads. When both fail
    // the first attempt's message is kept. A file that cannot be opened gives an invalid image
    // with an empty LastError().
    static CxImage LoadFromFile(const std::string& pathUtf8, std::uint32_t imageType);
    // Decodes a memory block (not kept). Type 1 accepts a BMP file or a bare DIB.
    static CxImage LoadFromMemory(const std::uint8_t* buffer, std::size_t size,
                                  std::uint32_t imageType);

    // Makes an empty image of the given size; bits are rounded up to 1, 4, 8 or 24. Palette and
    // pixels are zero. Fails (freeing any image held) on a size of 0 or below, on pixels over
    // 256 MiB, or when memory is short.
    bool Create(std::int64_t width, std::int64_t height, std::uint32_t bits,
                std::uint32_t imageType = kImageTypeUnknown);
    // Frees the picture and the grey plane; the image becomes not valid.
    void Destroy();

    // Replaces the picture with a 24-bit copy of a drawn bitmap: rows top row first, `stride`
    // bytes apart, pixels blue, green, red (24 bits) or blue, green, red, unused (32 bits) -
    // the memory layout of a 32-bit ARGB surface on a little-endian machine.
    bool CreateFromDrawnBitmap(const std::uint8_t* pixels, int width, int height,
                               std::ptrdiff_t stride, int bitsPerPixel);

    // Decodes from / encodes to a stream with the given type (see kImageType*).
    bool Decode(CxFile* file, std::uint32_t imageType);
    bool Encode(CxFile* file, std::uint32_t imageType) const;
    // Writes the picture (type 1 BMP, 3 JPEG). The file is replaced only when the whole picture
    // was written; false without a message when the file cannot be created.
    bool SaveToFile(const std::string& pathUtf8, std::uint32_t imageType) const;

    bool IsValid() const { return dib_ != nullptr; }
    int GetWidth() const { return header_.width; }
    int GetHeight() const { return header_.height; }
    int GetBpp() const { return header_.bitCount; }
    std::uint32_t GetStride() const { return stride_; }
    std::uint32_t GetType() const { return imageType_; }
    void SetType(std::uint32_t imageType) { imageType_ = imageType; }
    const DibHeader& GetHeader() const { return header_; }

    // The packed DIB (header, palette, rows) and its size = 40 + palette bytes + stride*height.
    const std::uint8_t* GetDib() const { return dib_.get(); }
    std::size_t GetDibSize() const;

    // Pixel rows: stored row 0 is the bottom of the picture.
    std::uint8_t* GetBits() { return bits_; }
    const std::uint8_t* GetBits() const { return bits_; }
    std::uint8_t* StoredRow(int index) { return bits_ + std::size_t(index) * stride_; }
    const std::uint8_t* StoredRow(int index) const { return bits_ + std::size_t(index) * stride_; }
    // Picture row y counted from the top.
    std::uint8_t* RowFromTop(int y) { return StoredRow(header_.height - 1 - y); }
    const std::uint8_t* RowFromTop(int y) const { return StoredRow(header_.height - 1 - y); }

    // Palette (empty at 24 bits).
    std::uint32_t GetNumColors() const { return header_.clrUsed; }
    std::uint32_t GetPaletteSize() const { return header_.clrUsed * 4; }
    RgbQuad* GetPalette();
    const RgbQuad* GetPalette() const;
    void SetPaletteColor(std::uint32_t index, std::uint8_t red, std::uint8_t green,
                         std::uint8_t blue);
    // Fills the palette with an even ramp from black to white.
    void SetGreyPalette();
    // True for an 8-bit image whose palette entry i is grey level i.
    bool IsGrey() const;
    // Palette index of a pixel at 1, 4 or 8 bits (stored coordinates); 0 outside the picture.
    std::uint8_t GetPixelIndex(int x, int storedY) const;
    void SetPixelIndex(int x, int storedY, std::uint8_t index);
    // Colour of a pixel (stored coordinates) at any depth.
    RgbQuad GetPixelColor(int x, int storedY) const;

    // Colour that surrounds the picture where it is drawn; the negative inverts it too.
    RgbQuad GetBackgroundColor() const { return background_; }
    void SetBackgroundColor(RgbQuad colour) { background_ = colour; }

    // Resolution in dots per inch; 0 or below sets 96. Also stored in the header as pixels per
    // metre (96 dpi is 3780).
    void SetXDpi(std::int32_t dpi);
    void SetYDpi(std::int32_t dpi);
    std::int32_t GetXDpi() const { return xDpi_; }
    std::int32_t GetYDpi() const { return yDpi_; }

    // JPEG quality 0..255 (values over 100 write as 100); 90 by default.
    void SetJpegQuality(float quality);
    float GetJpegQuality() const { return jpegQuality_; }
    // JPEG options: bit 0 forces baseline; 0x1000 samples chroma 4:2:2, 0x2000 4:4:4.
    void SetCodecOption(std::uint32_t options) { codecOptions_ = options; }
    std::uint32_t GetCodecOption() const { return codecOptions_; }

    // The last failure message ("" when none). At most 255 bytes.
    const std::string& LastError() const { return lastError_; }
    void SetLastError(const std::string& message) const;

    // ---- grey plane (24-bit images only) ----
    // Builds an 8-bit grey copy (0.11 B + 0.59 G + 0.30 R, rounded), rows bottom-up with 4-byte
    // aligned stride like the picture. False when the image is not 24-bit. The plane lives until
    // the next MakeGreyPlane, a change of the picture or the image's end.
    bool MakeGreyPlane();
    bool HasGreyPlane() const { return !grey_.empty(); }
    // Frees the grey plane; called whenever the pixels change.
    void DiscardGreyPlane();
    std::uint32_t GreyStride() const { return greyStride_; }
    // Grey row y counted from the top; the plane must exist.
    const std::uint8_t* GreyRowFromTop(int y) const {
        return grey_.data() + std::size_t(header_.height - 1 - y) * greyStride_;
    }
    // Grey values of the rectangle (left, top, width, height) from the top, row by row; parts
    // outside the picture are 0. Builds the plane when missing. False when not 24-bit or the
    // rectangle is empty.
    bool GreyRect(int left, int top, int width, int height, std::vector<std::uint8_t>& out);
    // The square of side 2 * halfSide + 1 centred on (x, y), as GreyRect.
    bool GreyWindow(int x, int y, int halfSide, std::vector<std::uint8_t>& out);
    // Grey values of the pixels on the straight line from (x0, y0) to (x1, y1) (both ends
    // included, one sample per step of the longer axis); points outside the picture are left
    // out. False when not 24-bit.
    bool GreyAlongLine(int x0, int y0, int x1, int y1, std::vector<GreySample>& out);
    // Copies the rectangle (left, top, width, height) from the top into a new 24-bit image;
    // parts outside the picture are black. False when not 24-bit or the rectangle is empty.
    bool CopyRect(int left, int top, int width, int height, CxImage& out) const;
    // The square of side 2 * halfSide + 1 centred on (x, y), as CopyRect.
    bool CopyWindow(int x, int y, int halfSide, CxImage& out) const;

private:
    void WriteHeaderToBlock();
    friend bool ReplacePixels(CxImage& image, CxImage&& replacement);

    std::unique_ptr<std::uint8_t[]> dib_;
    std::uint8_t* bits_ = nullptr;
    DibHeader header_;
    std::uint32_t stride_ = 0;
    std::uint32_t imageType_ = kImageTypeUnknown;
    float jpegQuality_ = kDefaultJpegQuality;
    std::int32_t xDpi_ = kDefaultDpi;
    std::int32_t yDpi_ = kDefaultDpi;
    std::uint32_t codecOptions_ = 0;
    RgbQuad background_;
    mutable std::string lastError_;

    std::vector<std::uint8_t> grey_;
    std::uint32_t greyStride_ = 0;
};

// Row stride in bytes for a width and depth: ((width * bits + 31) / 32) * 4.
std::uint64_t DibStride(std::uint64_t width, std::uint32_t bits);

// Moves the pixels of `replacement` (same width/height) into `image`, keeping the image's
// resolution, type, quality and options. Used by the filters that work on a copy.
bool ReplacePixels(CxImage& image, CxImage&& replacement);

}  // namespace lensora
