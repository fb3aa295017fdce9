// The languages of the user interface: the table from platform language identifiers to
// language and help files, the choice at start, and the entries of the language menu.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/settings_store.h"

namespace lensora {

struct LanguageChoice {
    std::uint16_t primary = 0;  // primary language identifier (English is 9)
    std::uint16_t variant = 0;  // sub-language; for Chinese 1 is traditional
    bool operator==(const LanguageChoice&) const = default;
};

struct LanguageFileNames {
    std::string_view languageFile;  // e.g. "German1252.ini"
    std::string_view helpFile;      // e.g. "Lensora-EN.CHM"
};

// The row of the language table; unknown identifiers give English.
LanguageFileNames LanguageFilesFor(LanguageChoice choice);

// The language chosen at first start from the system's language identifier
// (primary = id AND 0x3FF; Chinese variant 1 for 1028 and 2 for 2052).
LanguageChoice ChoiceForSystemLanguage(std::uint16_t systemLanguageId);

// The platform language identifier for a locale name such as "de_DE" or "zh_TW"
// ((sub-language << 10) | primary); 1033 (English, United States) when unknown.
std::uint16_t LanguageIdFromLocaleName(std::string_view localeName);

struct LanguageMenuEntry {
    std::string_view textKey;
    std::string_view defaultText;
    int command;
    LanguageChoice choice;
};

inline constexpr std::array<LanguageMenuEntry, 12> kLanguageMenu = {{
    {"English", "English(English)", 1301, {9, 0}},
    {"Simplified", "Chinese(China)", 1302, {4, 2}},
    {"Traditional", "Traditional(China)", 1351, {4, 1}},
    {"Japanese", "Japanese(Japanese)", 1303, {17, 0}},
    {"Korean", "Korean(Korean)", 1304, {18, 0}},
    {"German", "German(German)", 1305, {7, 0}},
    {"Portuguese", "Portuguese(Portugal)", 1306, {22, 0}},
    {"Turkey", "Turkish(Turkey)", 1313, {31, 0}},
    {"Thai", "Thai(Thailand)", 1308, {30, 0}},
    {"Russian", "Russian(Russia)", 1352, {25, 0}},
    {"Bulgarian", "Bulgarian(Bulgaria)", 1353, {2, 0}},
    {"Persian", "Persian(Persian)", 1359, {58, 0}},
}};

// Whether a menu entry is the current language: for Chinese, variant 2 marks the simplified
// entry and any other variant the traditional one.
bool IsCurrentLanguageEntry(const LanguageMenuEntry& entry, LanguageChoice current);

// The current language with its files. Selecting stores the choice in the settings and loads
// the language file into the process-wide text catalogue.
struct LanguageState {
    LanguageChoice current;
    std::string languageFile;
    std::string helpFile;
    std::string playerPath;
};

void SelectLanguage(LanguageState& state, SettingsStore& store, LanguageChoice choice,
                    std::string_view resourceFolder);

// The choice at start: the stored language, or the system's when none was chosen yet.
LanguageChoice StartupLanguage(SettingsStore& store, std::uint16_t systemLanguageId);

}  // namespace lensora
