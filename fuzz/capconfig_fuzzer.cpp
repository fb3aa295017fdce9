// Feeds arbitrary bytes to the stored capture format parser. Besides not crashing, a block it
// accepts must describe a usable size and survive a write and a second parse unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "capture/capture_format.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto block = lensora::ParseFormatBlock(std::span(data, size));
    if (!block) {
        return 0;
    }
    if (block->width < 1 || block->width > lensora::kMaxCaptureSide || block->height == 0) {
        std::abort();
    }
    const auto bytes = lensora::SerializeFormatBlock(*block);
    const auto again = lensora::ParseFormatBlock(bytes);
    if (!again || !(*again == *block)) {
        std::abort();
    }
    return 0;
}
