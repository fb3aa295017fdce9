#include "capture/recording_naming.h"

#include <fmt/format.h>

namespace lensora {

std::string RecordingFileName(const std::tm& t, int sequence) {
    return fmt::format("Video_{:4d}-{:02d}-{:02d}_{:02d}{:02d}{:02d}_N{:04d}.avi", t.tm_year + 1900,
                       t.tm_mon + 1, t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec, sequence);
}

}  // namespace lensora
