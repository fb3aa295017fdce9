// Feeds arbitrary bytes to the BMP decoder from memory. A decoded picture is written back and
// read again, which must give the same packed DIB.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "imaging/bmp_codec.h"
#include "imaging/cx_file.h"
#include "imaging/cx_image.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace lensora;
    CxMemFile file(data, size);
    CxImage image;
    if (!DecodeBmp(image, file)) {
        if (image.IsValid() || image.LastError().empty()) {
            std::abort();
        }
        return 0;
    }
    CxMemFile out;
    if (!image.Encode(&out, kImageTypeBmp)) {
        std::abort();
    }
    const CxImage back = CxImage::LoadFromMemory(out.Data(), out.DataSize(), kImageTypeBmp);
    if (!back.IsValid() || back.GetDibSize() != image.GetDibSize() ||
        std::memcmp(back.GetDib(), image.GetDib(), image.GetDibSize()) != 0) {
        std::abort();
    }
    return 0;
}
