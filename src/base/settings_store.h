// The per-user settings store: named 32-bit values and short texts in three groups ("font",
// "LanguageID", "Units"). The program's values, defaults and fallbacks live in
// persisted_settings.h; this interface only moves values in and out of storage.
// Implementations: a file-backed store in platform/, an in-memory store for tests.
// Used from the user-interface thread only.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace lensora {

class SettingsStore {
  public:
    virtual ~SettingsStore() = default;

    // True when the store exists with all three groups; false means "first run".
    virtual bool RootExists() = 0;

    // nullopt when the value is missing, has the wrong type or cannot be read.
    virtual std::optional<std::uint32_t> ReadNumber(std::string_view group,
                                                    std::string_view name) = 0;
    virtual std::optional<std::string> ReadText(std::string_view group, std::string_view name) = 0;

    // Writes fail silently from the caller's point of view; the result is for tests.
    virtual bool WriteNumber(std::string_view group, std::string_view name,
                             std::uint32_t value) = 0;
    virtual bool WriteText(std::string_view group, std::string_view name,
                           std::string_view value) = 0;
};

// Keeps the values in memory. Tests use it directly; it can also simulate an unreadable or
// read-only store.
class MemorySettingsStore : public SettingsStore {
  public:
    bool RootExists() override;
    std::optional<std::uint32_t> ReadNumber(std::string_view group, std::string_view name) override;
    std::optional<std::string> ReadText(std::string_view group, std::string_view name) override;
    bool WriteNumber(std::string_view group, std::string_view name, std::uint32_t value) override;
    bool WriteText(std::string_view group, std::string_view name, std::string_view value) override;

    void Remove(std::string_view group, std::string_view name);
    void SetReadOnly(bool readOnly) { readOnly_ = readOnly; }
    std::size_t WriteCount() const { return writeCount_; }

  private:
    using Key = std::pair<std::string, std::string>;
    std::map<Key, std::uint32_t> numbers_;
    std::map<Key, std::string> texts_;
    bool readOnly_ = false;
    std::size_t writeCount_ = 0;
};

}  // namespace lensora
