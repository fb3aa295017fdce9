// Which camera is used: the table of supported cameras (row = rank, lower preferred), the
// device list rebuilt at every enumeration, and the rules that pick a device and keep the one
// in use across re-enumerations (by its USB identity, not its node number). UI thread only.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "capture/frame_source.h"

namespace lensora {

inline constexpr std::array<std::string_view, 2> kSupportedCameras = {"Vid_7a5e&Pid_0101",
                                                                      "Vid_7a5e&Pid_0103"};
inline constexpr std::size_t kMaxCameraDevices = 25;

// The row of kSupportedCameras whose fragment occurs in `hardwareId` (case ignored), or -1.
int SupportedCameraRank(std::string_view hardwareId);

struct CameraDevice {
    CameraDeviceInfo info;
    int rank = -1;
    bool selected = false;
};

struct CameraDeviceList {
    std::vector<CameraDevice> entries;
    int selectedIndex = -1;
    std::string identifier;  // the selected camera's table fragment (or its path when forced)

    const CameraDevice* Selected() const {
        return selectedIndex >= 0 ? &entries[static_cast<std::size_t>(selectedIndex)] : nullptr;
    }
};

// Rebuilds `list` from `found` (at most 25 devices) and selects a camera: the device in use
// before, when it is still there; else the best-ranked one (first listed among equals). With a
// `forcedPath` ("--camera /dev/videoN") the device at that path ranks 0 whatever its USB
// identifier, and only it is used. True when a camera is selected.
bool EnumerateCameras(CameraDeviceList& list, const std::vector<CameraDeviceInfo>& found,
                      const std::string& forcedPath = {});

// Whether the selected camera still exists; clears the identifier when it does not.
bool IsSelectedCameraPresent(CameraDeviceList& list, FrameSource& source);

// Makes entry `index` the selected one; false when it is out of range or already selected.
bool SelectListEntry(CameraDeviceList& list, int index);

}  // namespace lensora
