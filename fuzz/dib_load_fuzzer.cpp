// Loads arbitrary bytes as the live-frame path does: LoadFromMemory with the BMP type, where
// input without "BM" is taken as a bare DIB (header, palette, pixels).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "imaging/cx_image.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace lensora;
    CxImage image = CxImage::LoadFromMemory(data, size, kImageTypeBmp);
    if (!image.IsValid()) {
        if (image.LastError().empty()) {
            std::abort();
        }
        return 0;
    }
    // Touch every stored byte and the grey plane the way detection will.
    volatile std::uint8_t sink = 0;
    const std::uint8_t* dib = image.GetDib();
    for (std::size_t i = 0; i < image.GetDibSize(); i += 61) {
        sink = sink ^ dib[i];
    }
    if (image.GetBpp() == 24) {
        std::vector<std::uint8_t> window;
        image.GreyWindow(image.GetWidth() / 2, image.GetHeight() / 2, 2, window);
    }
    return 0;
}
