// The settings store kept in "lumabench.ini" in the per-user configuration folder, with the
// groups "font", "LanguageID" and "Units". Numbers are stored as integers, the unit as text.
// UI thread only.
#pragma once

#include <QSettings>
#include <QString>
#include <memory>

#include "base/settings_store.h"

namespace lensora {

class QtSettingsStore : public SettingsStore {
  public:
    explicit QtSettingsStore(const QString& filePath);

    bool RootExists() override;
    std::optional<std::uint32_t> ReadNumber(std::string_view group, std::string_view name) override;
    std::optional<std::string> ReadText(std::string_view group, std::string_view name) override;
    bool WriteNumber(std::string_view group, std::string_view name, std::uint32_t value) override;
    bool WriteText(std::string_view group, std::string_view name, std::string_view value) override;

  private:
    bool Readable() const;
    bool Write(std::string_view group, std::string_view name, const QVariant& value);

    std::unique_ptr<QSettings> settings_;
};

}  // namespace lensora
