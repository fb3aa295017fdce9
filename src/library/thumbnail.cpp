#include "library/thumbnail.h"

#include <algorithm>
#include <cctype>

#include "imaging/cx_file.h"
#include "imaging/cx_image.h"
#include "imaging/jpeg_codec.h"

namespace lensora {

namespace {

bool HasJpegExtension(const std::string& path) {
    const std::size_t dot = path.rfind('.');
    if (dot == std::string::npos) {
        return false;
    }
    std::string ext = path.substr(dot + 1);
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return ext == "jpg";
}

Thumbnail Broken(std::string error) {
    Thumbnail t;
    t.error = std::move(error);
    return t;
}

}  // namespace

Thumbnail ScaleToThumbnail(const CxImage& image, int width, int height) {
    if (!image.IsValid() || width < 1 || height < 1) {
        return Broken(image.IsValid() ? "empty cell" : image.LastError());
    }
    const int srcW = image.GetWidth();
    const int srcH = image.GetHeight();
    Thumbnail t;
    t.width = width;
    t.height = height;
    t.bgr.assign(std::size_t(width) * height * 3, 0);
    t.broken = false;
    const bool direct = image.GetBpp() == 24;
    // Source columns of each thumbnail column, computed once: [x0, x1).
    std::vector<int> colStart(width + 1);
    for (int x = 0; x <= width; ++x) {
        colStart[x] = static_cast<int>(std::int64_t(x) * srcW / width);
    }
    std::vector<std::uint32_t> sums(std::size_t(width) * 3);
    for (int y = 0; y < height; ++y) {
        const int y0 = static_cast<int>(std::int64_t(y) * srcH / height);
        const int y1 = std::max(y0 + 1, static_cast<int>(std::int64_t(y + 1) * srcH / height));
        std::fill(sums.begin(), sums.end(), 0);
        for (int sy = y0; sy < y1; ++sy) {
            const std::uint8_t* row = image.RowFromTop(sy);
            for (int x = 0; x < width; ++x) {
                const int x0 = colStart[x];
                const int x1 = std::max(x0 + 1, colStart[x + 1]);
                std::uint32_t b = 0, g = 0, r = 0;
                for (int sx = x0; sx < x1; ++sx) {
                    if (direct) {
                        b += row[sx * 3];
                        g += row[sx * 3 + 1];
                        r += row[sx * 3 + 2];
                    } else {
                        const RgbQuad c = image.GetPixelColor(sx, srcH - 1 - sy);
                        b += c.blue;
                        g += c.green;
                        r += c.red;
                    }
                }
                sums[x * 3] += b;
                sums[x * 3 + 1] += g;
                sums[x * 3 + 2] += r;
            }
        }
        std::uint8_t* out = t.bgr.data() + std::size_t(y) * width * 3;
        for (int x = 0; x < width; ++x) {
            const std::uint32_t n =
                std::uint32_t(y1 - y0) * std::uint32_t(std::max(1, colStart[x + 1] - colStart[x]));
            for (int c = 0; c < 3; ++c) {
                out[x * 3 + c] = static_cast<std::uint8_t>((sums[x * 3 + c] + n / 2) / n);
            }
        }
    }
    return t;
}

Thumbnail MakePictureThumbnail(const std::string& path, int width, int height) {
    CxImage image;
    if (HasJpegExtension(path)) {
        CxIOFile file;
        if (!file.Open(path, "rb")) {
            return Broken("cannot open the file");
        }
        CxImageJPG::DecodeScaled(image, file, width, height);
    } else {
        image = CxImage::LoadFromFile(path, kImageTypeBmp);
    }
    return ScaleToThumbnail(image, width, height);
}

Thumbnail MakeVideoThumbnail(const std::string& path, int width, int height) {
    CxImage frame;
    std::string error;
    if (!DecodeFirstVideoFrame(path, frame, error)) {
        return Broken(error);
    }
    return ScaleToThumbnail(frame, width, height);
}

}  // namespace lensora
