#include "capture/picture_memory.h"

#include <charconv>
#include <string_view>

namespace lensora {

std::string PictureMemory::CameraKey(const CameraDeviceInfo& camera) {
    std::string key = camera.hardwareId + "_" + camera.identity;
    for (char& c : key) {
        const bool plain =
            (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
        if (!plain) {
            c = '_';
        }
    }
    return key;
}

void PictureMemory::Remember(const CameraDeviceInfo& camera, const ProcAmpTable& table) {
    std::string text;
    for (int row = 0; row < ProcAmpTable::kRows; ++row) {
        if (table.Row(row).available) {
            text += std::to_string(row) + "=" + std::to_string(table.Row(row).value) + ";";
        }
    }
    store_.WriteText(kGroup, CameraKey(camera), text);
}

void PictureMemory::Forget(const CameraDeviceInfo& camera) {
    // The store has no removal; an empty text means "nothing remembered".
    if (store_.ReadText(kGroup, CameraKey(camera)).value_or("").empty()) {
        return;
    }
    store_.WriteText(kGroup, CameraKey(camera), "");
}

std::map<int, int> PictureMemory::Stored(const CameraDeviceInfo& camera) {
    std::map<int, int> values;
    const std::string text = store_.ReadText(kGroup, CameraKey(camera)).value_or("");
    std::string_view rest = text;
    while (!rest.empty()) {
        const std::size_t end = rest.find(';');
        const std::string_view item = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view{} : rest.substr(end + 1);
        const std::size_t eq = item.find('=');
        if (eq == std::string_view::npos) {
            continue;
        }
        int row = -1;
        int value = 0;
        const auto [rowEnd, rowErr] = std::from_chars(item.data(), item.data() + eq, row);
        const auto [valueEnd, valueErr] =
            std::from_chars(item.data() + eq + 1, item.data() + item.size(), value);
        if (rowErr != std::errc{} || rowEnd != item.data() + eq || valueErr != std::errc{} ||
            valueEnd != item.data() + item.size() || row < 0 || row >= ProcAmpTable::kRows) {
            continue;
        }
        values[row] = value;
    }
    return values;
}

int PictureMemory::Reapply(const CameraDeviceInfo& camera, FrameSource& source) {
    const std::map<int, int> values = Stored(camera);
    if (values.empty()) {
        return 0;
    }
    ProcAmpTable table(source);
    table.Load();
    int applied = 0;
    for (const auto& [row, value] : values) {
        if (table.Row(row).available) {
            table.Set(row, value);
            ++applied;
        }
    }
    return applied;
}

}  // namespace lensora
