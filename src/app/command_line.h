// The program's command line:
//   lensora [PICTURE]            opens a picture for measuring beside the main window
//   lensora --demo-camera        the virtual microscope instead of a camera
//   lensora --camera /dev/videoN that device, even when it is not a supported microscope
// Arguments are kept as the bytes the system passed, so a picture whose name is not valid
// UTF-8 still opens.
#pragma once

#include <filesystem>
#include <string>

namespace lensora {

struct CommandLine {
    bool demoCamera = false;
    std::string forcedCamera;       // device path, empty for the usual search
    std::filesystem::path picture;  // empty when none was named
};

// Reads argv[1..argc-1]; the first argument that is not an option names the picture.
CommandLine ParseCommandLine(int argc, const char* const* argv);

}  // namespace lensora
