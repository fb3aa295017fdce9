#include "platform/qt_settings_store.h"

#include <QFileInfo>
#include <charconv>

namespace lensora {
namespace {

QString KeyOf(std::string_view group, std::string_view name) {
    return QString::fromUtf8(group.data(), static_cast<qsizetype>(group.size())) + '/' +
           QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
}

}  // namespace

QtSettingsStore::QtSettingsStore(const QString& filePath)
    : settings_(std::make_unique<QSettings>(filePath, QSettings::IniFormat)) {}

bool QtSettingsStore::Readable() const {
    return settings_->status() != QSettings::AccessError;
}

bool QtSettingsStore::RootExists() {
    if (!QFileInfo::exists(settings_->fileName())) {
        return false;
    }
    const QStringList groups = settings_->childGroups();
    return groups.contains("font") && groups.contains("LanguageID") && groups.contains("Units");
}

std::optional<std::uint32_t> QtSettingsStore::ReadNumber(std::string_view group,
                                                         std::string_view name) {
    if (!Readable()) {
        return std::nullopt;
    }
    const QVariant v = settings_->value(KeyOf(group, name));
    if (!v.isValid()) {
        return std::nullopt;
    }
    // Values are integers written by this program; anything else (text typed by hand, a
    // number out of range) counts as unreadable.
    const QByteArray text = v.toString().trimmed().toUtf8();
    std::uint32_t value = 0;
    const char* end = text.constData() + text.size();
    auto [ptr, ec] = std::from_chars(text.constData(), end, value);
    if (ec != std::errc() || ptr != end || text.isEmpty()) {
        return std::nullopt;
    }
    return value;
}

std::optional<std::string> QtSettingsStore::ReadText(std::string_view group,
                                                     std::string_view name) {
    if (!Readable()) {
        return std::nullopt;
    }
    const QVariant v = settings_->value(KeyOf(group, name));
    if (!v.isValid()) {
        return std::nullopt;
    }
    return v.toString().toStdString();
}

bool QtSettingsStore::Write(std::string_view group, std::string_view name, const QVariant& value) {
    settings_->setValue(KeyOf(group, name), value);
    settings_->sync();
    return settings_->status() == QSettings::NoError;
}

bool QtSettingsStore::WriteNumber(std::string_view group, std::string_view name,
                                  std::uint32_t value) {
    return Write(group, name, QVariant::fromValue<qulonglong>(value));
}

bool QtSettingsStore::WriteText(std::string_view group, std::string_view name,
                                std::string_view value) {
    return Write(group, name,
                 QString::fromUtf8(value.data(), static_cast<qsizetype>(value.size())));
}

}  // namespace lensora
