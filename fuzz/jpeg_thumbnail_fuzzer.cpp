// Feeds arbitrary bytes to the scaled JPEG decode of the thumbnail strip. The first two bytes
// choose the cell to fill; the rest is the file. A failure must come back as a not-valid image
// with a message; a decoded picture must be no smaller than the cell unless it is the full size,
// and must shrink into the cell.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "imaging/cx_file.h"
#include "imaging/cx_image.h"
#include "imaging/jpeg_codec.h"
#include "library/thumbnail.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace lensora;
    if (size < 2) {
        return 0;
    }
    const int cellWidth = 1 + data[0] % 200;
    const int cellHeight = 1 + data[1] % 200;
    CxMemFile file(data + 2, size - 2);
    CxImage image;
    if (!CxImageJPG::DecodeScaled(image, file, cellWidth, cellHeight)) {
        if (image.IsValid() || image.LastError().empty()) {
            std::abort();
        }
        return 0;
    }
    const Thumbnail thumb = ScaleToThumbnail(image, cellWidth, cellHeight);
    if (thumb.broken || thumb.bgr.size() != std::size_t(cellWidth) * cellHeight * 3) {
        std::abort();
    }
    return 0;
}
