#include "app/command_line.h"

#include <string_view>

namespace lensora {

CommandLine ParseCommandLine(int argc, const char* const* argv) {
    constexpr std::string_view kCameraOption = "--camera=";
    CommandLine line;
    for (int i = 1; i < argc; ++i) {
        const std::string_view a = argv[i];
        if (a == "--demo-camera") {
            line.demoCamera = true;
        } else if (a == "--camera" && i + 1 < argc) {
            line.forcedCamera = argv[++i];
        } else if (a.starts_with(kCameraOption)) {
            line.forcedCamera = std::string(a.substr(kCameraOption.size()));
        } else if (line.picture.empty() && !a.starts_with("--")) {
            line.picture = std::filesystem::path(std::string(a));
        }
    }
    return line;
}

}  // namespace lensora
