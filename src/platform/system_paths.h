// Where the program finds and keeps its files on this system, and the system language.
#pragma once

#include <QString>
#include <cstdint>
#include <string>

namespace lensora {

// $XDG_CONFIG_HOME/lumabench (default ~/.config/lumabench): settings the program writes.
std::string ConfigFolder();
// The settings file inside the configuration folder.
QString SettingsFilePath(const std::string& configFolder);
// The user's documents folder.
std::string DocumentsFolder();
// Read-only data shipped with the program: <prefix>/share/lensora when installed, else the
// source tree's resources/ folder.
std::string ResourceFolder();
// The platform language identifier of the user's locale (1031 for de_DE, 2052 for zh_CN).
std::uint16_t SystemLanguageId();

}  // namespace lensora
