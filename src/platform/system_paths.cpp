#include "platform/system_paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QStandardPaths>

#include "base/language.h"

namespace lensora {

std::string ConfigFolder() {
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (base.isEmpty() || !QDir::isAbsolutePath(base)) {
        base = QDir::homePath() + "/.config";
    }
    return (base + "/lumabench").toStdString();
}

QString SettingsFilePath(const std::string& configFolder) {
    return QString::fromStdString(configFolder) + "/lumabench.ini";
}

std::string DocumentsFolder() {
    QString docs = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (docs.isEmpty()) {
        docs = QDir::homePath() + "/Documents";
    }
    QDir().mkpath(docs);
    return docs.toStdString();
}

std::string ResourceFolder() {
    const QString installed = QCoreApplication::applicationDirPath() + "/../share/lensora";
    if (QFileInfo(installed + "/lang").isDir()) {
        return QDir::cleanPath(installed).toStdString();
    }
    if (QFileInfo(QStringLiteral(LENSORA_INSTALL_DATADIR) + "/lang").isDir() &&
        !QFileInfo(QStringLiteral(LENSORA_SOURCE_RESOURCES)).isDir()) {
        return LENSORA_INSTALL_DATADIR;
    }
    return LENSORA_SOURCE_RESOURCES;
}

std::uint16_t SystemLanguageId() {
    return LanguageIdFromLocaleName(QLocale::system().name().toStdString());
}

}  // namespace lensora
