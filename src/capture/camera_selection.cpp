#include "capture/camera_selection.h"

#include <algorithm>
#include <cctype>

namespace lensora {
namespace {

bool ContainsNoCase(std::string_view haystack, std::string_view needle) {
    const auto it = std::search(haystack.begin(), haystack.end(), needle.begin(), needle.end(),
                                [](char a, char b) {
                                    return std::tolower(static_cast<unsigned char>(a)) ==
                                           std::tolower(static_cast<unsigned char>(b));
                                });
    return it != haystack.end();
}

}  // namespace

int SupportedCameraRank(std::string_view hardwareId) {
    if (hardwareId.empty()) {
        return -1;
    }
    for (std::size_t row = 0; row < kSupportedCameras.size(); ++row) {
        if (ContainsNoCase(hardwareId, kSupportedCameras[row])) {
            return static_cast<int>(row);
        }
    }
    return -1;
}

bool EnumerateCameras(CameraDeviceList& list, const std::vector<CameraDeviceInfo>& found,
                      const std::string& forcedPath) {
    CameraDeviceList next;
    for (const CameraDeviceInfo& info : found) {
        if (next.entries.size() == kMaxCameraDevices) {
            break;
        }
        CameraDevice device;
        device.info = info;
        if (forcedPath.empty()) {
            device.rank = SupportedCameraRank(info.hardwareId);
        } else {
            device.rank = info.path == forcedPath ? 0 : -1;
        }
        next.entries.push_back(std::move(device));
    }

    // Keep the device in use: the same USB device, whatever node number it has now.
    if (const CameraDevice* previous = list.Selected(); previous != nullptr) {
        for (std::size_t i = 0; i < next.entries.size(); ++i) {
            CameraDevice& entry = next.entries[i];
            if (entry.rank >= 0 && !entry.info.identity.empty() &&
                entry.info.identity == previous->info.identity) {
                entry.selected = true;
                next.selectedIndex = static_cast<int>(i);
                next.identifier = list.identifier;
                list = std::move(next);
                return true;
            }
        }
    }

    int best = -1;
    for (std::size_t i = 0; i < next.entries.size(); ++i) {
        const int rank = next.entries[i].rank;
        if (rank >= 0 && (best < 0 || rank < next.entries[static_cast<std::size_t>(best)].rank)) {
            best = static_cast<int>(i);
        }
    }
    list = std::move(next);
    if (best < 0) {
        list.identifier.clear();
        return false;
    }
    SelectListEntry(list, best);
    return true;
}

bool SelectListEntry(CameraDeviceList& list, int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= list.entries.size() ||
        index == list.selectedIndex) {
        return false;
    }
    for (CameraDevice& e : list.entries) {
        e.selected = false;
    }
    CameraDevice& entry = list.entries[static_cast<std::size_t>(index)];
    entry.selected = true;
    list.selectedIndex = index;
    const int row = SupportedCameraRank(entry.info.hardwareId);
    list.identifier =
        row >= 0 ? std::string(kSupportedCameras[static_cast<std::size_t>(row)]) : entry.info.path;
    return true;
}

bool IsSelectedCameraPresent(CameraDeviceList& list, FrameSource& source) {
    const CameraDevice* selected = list.Selected();
    if (list.identifier.empty() || selected == nullptr) {
        return false;
    }
    if (source.IsPresent(selected->info.identity)) {
        return true;
    }
    list.identifier.clear();
    return false;
}

}  // namespace lensora
