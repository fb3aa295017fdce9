#include "imaging/cx_image.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <new>
#include <utility>

#include "imaging/bmp_codec.h"
#include "imaging/byte_order.h"
#include "imaging/cx_file.h"
#include "imaging/image_messages.h"
#include "imaging/jpeg_codec.h"

namespace lensora {

namespace msg = image_message;

std::uint64_t DibStride(std::uint64_t width, std::uint32_t bits) {
    return ((width * bits + 31) / 32) * 4;
}

CxImage::CxImage(std::uint32_t imageType) : imageType_(imageType) {}

CxImage::~CxImage() = default;

CxImage::CxImage(CxImage&& other) noexcept {
    *this = std::move(other);
}

CxImage& CxImage::operator=(CxImage&& other) noexcept {
    if (this != &other) {
        dib_ = std::move(other.dib_);
        bits_ = std::exchange(other.bits_, nullptr);
        header_ = std::exchange(other.header_, DibHeader{});
        stride_ = std::exchange(other.stride_, 0);
        imageType_ = other.imageType_;
        jpegQuality_ = other.jpegQuality_;
        xDpi_ = other.xDpi_;
        yDpi_ = other.yDpi_;
        codecOptions_ = other.codecOptions_;
        background_ = other.background_;
        lastError_ = std::move(other.lastError_);
        grey_ = std::move(other.grey_);
        greyStride_ = std::exchange(other.greyStride_, 0);
        other.grey_.clear();
    }
    return *this;
}

void CxImage::SetLastError(const std::string& message) const {
    lastError_ = message.substr(0, 255);
}

void CxImage::Destroy() {
    dib_.reset();
    bits_ = nullptr;
    header_ = DibHeader{};
    stride_ = 0;
    DiscardGreyPlane();
}

void CxImage::DiscardGreyPlane() {
    grey_.clear();
    grey_.shrink_to_fit();
    greyStride_ = 0;
}

bool CxImage::Create(std::int64_t width, std::int64_t height, std::uint32_t bits,
                     std::uint32_t imageType) {
    Destroy();
    if (width <= 0 || height <= 0) {
        SetLastError(msg::kBadSize);
        return false;
    }
    bits = bits <= 1 ? 1 : bits <= 4 ? 4 : bits <= 8 ? 8 : 24;
    // 64-bit arithmetic throughout: in 32 bits 65536 x 65536 wraps to 0 and would pass. The
    // limit counts the row padding too, which is what is actually allocated.
    constexpr std::int64_t kMaxSide = std::numeric_limits<std::int32_t>::max();
    if (width > kMaxSide || height > kMaxSide) {
        SetLastError(msg::kMaxMemory);
        return false;
    }
    const std::uint64_t stride = DibStride(static_cast<std::uint64_t>(width), bits);
    const std::uint64_t pixelBytes = stride * static_cast<std::uint64_t>(height);
    if (pixelBytes > kMaxImageBytes) {
        SetLastError(msg::kMaxMemory);
        return false;
    }
    const std::uint32_t colours = bits == 24 ? 0 : (1u << bits);
    const std::size_t total = kDibHeaderSize + colours * 4 + static_cast<std::size_t>(pixelBytes);
    dib_.reset(new (std::nothrow) std::uint8_t[total]());
    if (!dib_) {
        SetLastError(msg::kCreateNoMemory);
        return false;
    }
    header_ = DibHeader{};
    header_.width = static_cast<std::int32_t>(width);
    header_.height = static_cast<std::int32_t>(height);
    header_.bitCount = static_cast<std::uint16_t>(bits);
    header_.sizeImage = static_cast<std::uint32_t>(pixelBytes);
    header_.clrUsed = colours;
    stride_ = static_cast<std::uint32_t>(stride);
    bits_ = dib_.get() + kDibHeaderSize + colours * 4;
    imageType_ = imageType;
    SetXDpi(xDpi_);
    SetYDpi(yDpi_);
    WriteHeaderToBlock();
    return true;
}

void CxImage::WriteHeaderToBlock() {
    if (!dib_) {
        return;
    }
    std::uint8_t* p = dib_.get();
    le::Put32(p + 0, header_.size);
    le::Put32(p + 4, static_cast<std::uint32_t>(header_.width));
    le::Put32(p + 8, static_cast<std::uint32_t>(header_.height));
    le::Put16(p + 12, header_.planes);
    le::Put16(p + 14, header_.bitCount);
    le::Put32(p + 16, header_.compression);
    le::Put32(p + 20, header_.sizeImage);
    le::Put32(p + 24, static_cast<std::uint32_t>(header_.xPelsPerMeter));
    le::Put32(p + 28, static_cast<std::uint32_t>(header_.yPelsPerMeter));
    le::Put32(p + 32, header_.clrUsed);
    le::Put32(p + 36, header_.clrImportant);
}

std::size_t CxImage::GetDibSize() const {
    if (!dib_) {
        return 0;
    }
    return kDibHeaderSize + GetPaletteSize() + std::size_t(stride_) * header_.height;
}

namespace {

std::int32_t DpiToPelsPerMeter(std::int32_t dpi) {
    const double ppm = std::floor(dpi * 39.37007874015748 + 0.5);
    return ppm > std::numeric_limits<std::int32_t>::max() ? std::numeric_limits<std::int32_t>::max()
                                                          : static_cast<std::int32_t>(ppm);
}

}  // namespace

void CxImage::SetXDpi(std::int32_t dpi) {
    xDpi_ = dpi <= 0 ? kDefaultDpi : dpi;
    header_.xPelsPerMeter = DpiToPelsPerMeter(xDpi_);
    WriteHeaderToBlock();
}

void CxImage::SetYDpi(std::int32_t dpi) {
    yDpi_ = dpi <= 0 ? kDefaultDpi : dpi;
    header_.yPelsPerMeter = DpiToPelsPerMeter(yDpi_);
    WriteHeaderToBlock();
}

void CxImage::SetJpegQuality(float quality) {
    if (!(quality >= 0.0f)) {
        quality = 0.0f;
    }
    jpegQuality_ = quality > 255.0f ? 255.0f : quality;
}

RgbQuad* CxImage::GetPalette() {
    return dib_ && header_.clrUsed > 0 ? reinterpret_cast<RgbQuad*>(dib_.get() + kDibHeaderSize)
                                       : nullptr;
}

const RgbQuad* CxImage::GetPalette() const {
    return dib_ && header_.clrUsed > 0
               ? reinterpret_cast<const RgbQuad*>(dib_.get() + kDibHeaderSize)
               : nullptr;
}

void CxImage::SetPaletteColor(std::uint32_t index, std::uint8_t red, std::uint8_t green,
                              std::uint8_t blue) {
    RgbQuad* palette = GetPalette();
    if (palette != nullptr && index < header_.clrUsed) {
        palette[index] = RgbQuad{blue, green, red, 0};
    }
}

void CxImage::SetGreyPalette() {
    RgbQuad* palette = GetPalette();
    const std::uint32_t n = header_.clrUsed;
    for (std::uint32_t i = 0; palette != nullptr && i < n; ++i) {
        const auto level = static_cast<std::uint8_t>(n > 1 ? i * 255 / (n - 1) : 0);
        palette[i] = RgbQuad{level, level, level, 0};
    }
}

bool CxImage::IsGrey() const {
    if (!dib_ || header_.bitCount != 8 || header_.clrUsed != 256) {
        return false;
    }
    const RgbQuad* palette = GetPalette();
    for (std::uint32_t i = 0; i < 256; ++i) {
        if (palette[i].red != i || palette[i].green != i || palette[i].blue != i) {
            return false;
        }
    }
    return true;
}

std::uint8_t CxImage::GetPixelIndex(int x, int storedY) const {
    if (!dib_ || header_.bitCount > 8 || x < 0 || storedY < 0 || x >= header_.width ||
        storedY >= header_.height) {
        return 0;
    }
    const std::uint8_t* row = StoredRow(storedY);
    switch (header_.bitCount) {
        case 8:
            return row[x];
        case 4:
            return (row[x >> 1] >> ((x & 1) ? 0 : 4)) & 0x0F;
        default:
            return (row[x >> 3] >> (7 - (x & 7))) & 0x01;
    }
}

void CxImage::SetPixelIndex(int x, int storedY, std::uint8_t index) {
    if (!dib_ || header_.bitCount > 8 || x < 0 || storedY < 0 || x >= header_.width ||
        storedY >= header_.height) {
        return;
    }
    std::uint8_t* row = StoredRow(storedY);
    switch (header_.bitCount) {
        case 8:
            row[x] = index;
            break;
        case 4: {
            const int shift = (x & 1) ? 0 : 4;
            row[x >> 1] = static_cast<std::uint8_t>((row[x >> 1] & ~(0x0F << shift)) |
                                                    ((index & 0x0F) << shift));
            break;
        }
        default: {
            const int shift = 7 - (x & 7);
            row[x >> 3] =
                static_cast<std::uint8_t>((row[x >> 3] & ~(1 << shift)) | ((index & 1) << shift));
            break;
        }
    }
}

RgbQuad CxImage::GetPixelColor(int x, int storedY) const {
    if (!dib_ || x < 0 || storedY < 0 || x >= header_.width || storedY >= header_.height) {
        return background_;
    }
    if (header_.bitCount == 24) {
        const std::uint8_t* p = StoredRow(storedY) + std::size_t(x) * 3;
        return RgbQuad{p[0], p[1], p[2], 0};
    }
    // A file may use indices beyond its short palette: those read black instead of past it.
    const std::uint8_t index = GetPixelIndex(x, storedY);
    const RgbQuad* palette = GetPalette();
    return palette != nullptr && index < GetNumColors() ? palette[index] : RgbQuad{};
}

bool CxImage::CreateFromDrawnBitmap(const std::uint8_t* pixels, int width, int height,
                                    std::ptrdiff_t stride, int bitsPerPixel) {
    Destroy();
    if (width <= 0 || height <= 0) {
        SetLastError(msg::kBadSize);
        return false;
    }
    const int bytesPerPixel = bitsPerPixel / 8;
    if (pixels == nullptr || (bitsPerPixel != 24 && bitsPerPixel != 32) ||
        std::abs(stride) < std::ptrdiff_t(width) * bytesPerPixel) {
        SetLastError(msg::kDrawnBitmap);
        return false;
    }
    if (!Create(width, height, 24, imageType_)) {
        return false;
    }
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* src = pixels + std::ptrdiff_t(y) * stride;
        std::uint8_t* dst = RowFromTop(y);
        if (bytesPerPixel == 3) {
            std::memcpy(dst, src, std::size_t(width) * 3);
        } else {
            for (int x = 0; x < width; ++x, src += 4, dst += 3) {
                dst[0] = src[0];
                dst[1] = src[1];
                dst[2] = src[2];
            }
        }
    }
    return true;
}

bool ReplacePixels(CxImage& image, CxImage&& replacement) {
    if (!replacement.IsValid()) {
        return false;
    }
    image.dib_ = std::move(replacement.dib_);
    image.bits_ = std::exchange(replacement.bits_, nullptr);
    image.header_ = std::exchange(replacement.header_, DibHeader{});
    image.stride_ = std::exchange(replacement.stride_, 0);
    image.DiscardGreyPlane();
    image.SetXDpi(image.xDpi_);
    image.SetYDpi(image.yDpi_);
    return true;
}

// ---- decoding and encoding ----

bool CxImage::Decode(CxFile* file, std::uint32_t imageType) {
    if (file == nullptr) {
        Destroy();
        SetLastError(msg::kNullFile);
        return false;
    }
    lastError_.clear();
    bool ok = false;
    if (imageType == kImageTypeBmp) {
        ok = DecodeBmp(*this, *file);
    } else if (imageType == kImageTypeJpeg) {
        ok = CxImageJPG::Decode(*this, *file);
    } else if (imageType == kImageTypeUnknown) {
        const std::int64_t start = file->Tell();
        if (DecodeBmp(*this, *file)) {
            imageType = kImageTypeBmp;
            ok = true;
        } else if (start >= 0 && file->Seek(start, SEEK_SET) && CxImageJPG::Decode(*this, *file)) {
            imageType = kImageTypeJpeg;
            ok = true;
        } else {
            SetLastError(msg::kUnknownDecode);
        }
    } else {
        SetLastError(msg::kUnknownDecode);
    }
    if (!ok) {
        Destroy();
        return false;
    }
    imageType_ = imageType;
    lastError_.clear();
    return true;
}

bool CxImage::Encode(CxFile* file, std::uint32_t imageType) const {
    if (file == nullptr) {
        SetLastError(msg::kNullFile);
        return false;
    }
    if (!IsValid()) {
        SetLastError(msg::kNullImage);
        return false;
    }
    if (imageType == kImageTypeBmp) {
        return EncodeBmp(*this, *file);
    }
    if (imageType == kImageTypeJpeg) {
        return CxImageJPG::Encode(*this, *file);
    }
    SetLastError(msg::kUnknownEncode);
    return false;
}

CxImage CxImage::LoadFromFile(const std::string& pathUtf8, std::uint32_t imageType) {
    CxImage image(imageType);
    std::string firstError;
    const bool typed = imageType == kImageTypeBmp || imageType == kImageTypeJpeg;
    if (typed) {
        CxIOFile file;
        if (!file.Open(pathUtf8, "rb")) {
            return image;
        }
        if (image.Decode(&file, imageType)) {
            return image;
        }
        firstError = image.lastError_;
    }
    CxIOFile file;
    if (!file.Open(pathUtf8, "rb")) {
        return image;
    }
    if (!image.Decode(&file, kImageTypeUnknown) && typed) {
        image.lastError_ = firstError;
    }
    return image;
}

CxImage CxImage::LoadFromMemory(const std::uint8_t* buffer, std::size_t size,
                                std::uint32_t imageType) {
    CxImage image(imageType);
    if (buffer == nullptr) {
        image.SetLastError(msg::kNullFile);
        return image;
    }
    CxMemFile file(buffer, size);
    image.Decode(&file, imageType);
    return image;
}

bool CxImage::SaveToFile(const std::string& pathUtf8, std::uint32_t imageType) const {
    // Written beside the target and renamed over it only when complete, so a failed save never
    // leaves a cut-off picture or destroys the previous file of that name.
    const std::string partPath = pathUtf8 + ".part";
    CxIOFile file;
    if (!file.Open(partPath, "wb")) {
        return false;
    }
    bool ok = Encode(&file, imageType);
    if (ok && (!file.Flush() || file.Error() != 0)) {
        SetLastError(msg::kWriteFailed);
        ok = false;
    }
    if (!file.Close() && ok) {
        SetLastError(msg::kWriteFailed);
        ok = false;
    }
    if (ok && std::rename(partPath.c_str(), pathUtf8.c_str()) != 0) {
        SetLastError(msg::kWriteFailed);
        ok = false;
    }
    if (!ok) {
        std::remove(partPath.c_str());
    }
    return ok;
}

}  // namespace lensora
