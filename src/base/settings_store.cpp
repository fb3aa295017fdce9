#include "base/settings_store.h"

#include <array>

namespace lensora {
namespace {
constexpr std::array<std::string_view, 3> kGroups = {"font", "LanguageID", "Units"};
}

bool MemorySettingsStore::RootExists() {
    for (std::string_view group : kGroups) {
        bool found = false;
        for (const auto& [key, value] : numbers_) {
            found = found || key.first == group;
        }
        for (const auto& [key, value] : texts_) {
            found = found || key.first == group;
        }
        if (!found) {
            return false;
        }
    }
    return true;
}

std::optional<std::uint32_t> MemorySettingsStore::ReadNumber(std::string_view group,
                                                             std::string_view name) {
    auto it = numbers_.find(Key(group, name));
    if (it == numbers_.end()) {
        return std::nullopt;
    }
    return it->second;
}

std::optional<std::string> MemorySettingsStore::ReadText(std::string_view group,
                                                         std::string_view name) {
    auto it = texts_.find(Key(group, name));
    if (it == texts_.end()) {
        return std::nullopt;
    }
    return it->second;
}

bool MemorySettingsStore::WriteNumber(std::string_view group, std::string_view name,
                                      std::uint32_t value) {
    if (readOnly_) {
        return false;
    }
    ++writeCount_;
    texts_.erase(Key(group, name));
    numbers_[Key(group, name)] = value;
    return true;
}

bool MemorySettingsStore::WriteText(std::string_view group, std::string_view name,
                                    std::string_view value) {
    if (readOnly_) {
        return false;
    }
    ++writeCount_;
    numbers_.erase(Key(group, name));
    texts_[Key(group, name)] = std::string(value);
    return true;
}

void MemorySettingsStore::Remove(std::string_view group, std::string_view name) {
    numbers_.erase(Key(group, name));
    texts_.erase(Key(group, name));
}

}  // namespace lensora
