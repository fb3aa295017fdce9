// Feeds arbitrary bytes to the JPEG decoder from memory. Library errors must come back as a
// not-valid image with a message; a decoded picture must encode again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "imaging/cx_file.h"
#include "imaging/cx_image.h"
#include "imaging/jpeg_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace lensora;
    CxMemFile file(data, size);
    CxImage image;
    if (!CxImageJPG::Decode(image, file)) {
        if (image.IsValid() || image.LastError().empty()) {
            std::abort();
        }
        return 0;
    }
    if (image.GetBpp() != 8 && image.GetBpp() != 24) {
        std::abort();
    }
    // Re-encoding small pictures exercises the encoder on every shape the decoder produces.
    if (std::size_t(image.GetWidth()) * image.GetHeight() <= 256 * 256) {
        CxMemFile out;
        if (!image.Encode(&out, kImageTypeJpeg)) {
            std::abort();
        }
    }
    return 0;
}
