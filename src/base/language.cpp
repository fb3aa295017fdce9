#include "base/language.h"

#include <algorithm>
#include <cctype>

#include "base/data_folders.h"
#include "base/persisted_settings.h"
#include "base/text_catalog.h"

namespace lensora {
namespace {

struct LanguageRow {
    std::uint16_t primary;
    LanguageFileNames files;
};

constexpr std::string_view kHelpEn = "Lensora-EN.CHM";
constexpr std::string_view kHelpCn = "Lensora-CN.CHM";
constexpr std::string_view kHelpRu = "Lensora-RU.CHM";

constexpr std::array<LanguageRow, 22> kLanguageRows = {{
    {1, {"Arabic1256.ini", kHelpEn}},      {2, {"Bulgarian442.ini", kHelpEn}},
    {6, {"Danish1252.ini", kHelpEn}},      {7, {"German1252.ini", kHelpEn}},
    {10, {"Spanish1252.ini", kHelpEn}},    {11, {"Finnish1252.ini", kHelpEn}},
    {12, {"French1252.ini", kHelpEn}},     {13, {"Hebrew1255.ini", kHelpEn}},
    {16, {"Italian1252.ini", kHelpEn}},    {17, {"Japanese932.ini", kHelpEn}},
    {18, {"Korean949.ini", kHelpEn}},      {19, {"Dutch1252.ini", kHelpEn}},
    {20, {"Norwegian1252.ini", kHelpEn}},  {21, {"Polish1250.ini", kHelpEn}},
    {22, {"Portuguese1252.ini", kHelpEn}}, {25, {"Russian1251.ini", kHelpRu}},
    {29, {"Swedish1252.ini", kHelpEn}},    {30, {"Thai874.ini", kHelpEn}},
    {31, {"Turkish1254.ini", kHelpEn}},    {42, {"Vietnamese1258.ini", kHelpEn}},
    {58, {"Persian874.ini", kHelpEn}},     {9, {"English1252.ini", kHelpEn}},
}};

constexpr std::uint16_t kChinese = 4;

// ISO 639 language codes with their primary language identifiers.
struct LocaleLanguage {
    std::string_view code;
    std::uint16_t primary;
};
constexpr std::array<LocaleLanguage, 44> kLocaleLanguages = {{
    {"ar", 0x01}, {"bg", 0x02}, {"ca", 0x03}, {"zh", 0x04}, {"cs", 0x05}, {"da", 0x06},
    {"de", 0x07}, {"el", 0x08}, {"en", 0x09}, {"es", 0x0A}, {"fi", 0x0B}, {"fr", 0x0C},
    {"he", 0x0D}, {"hu", 0x0E}, {"is", 0x0F}, {"it", 0x10}, {"ja", 0x11}, {"ko", 0x12},
    {"nl", 0x13}, {"nb", 0x14}, {"nn", 0x14}, {"no", 0x14}, {"pl", 0x15}, {"pt", 0x16},
    {"ro", 0x18}, {"ru", 0x19}, {"hr", 0x1A}, {"sk", 0x1B}, {"sq", 0x1C}, {"sv", 0x1D},
    {"th", 0x1E}, {"tr", 0x1F}, {"ur", 0x20}, {"id", 0x21}, {"uk", 0x22}, {"be", 0x23},
    {"sl", 0x24}, {"et", 0x25}, {"lv", 0x26}, {"lt", 0x27}, {"fa", 0x29}, {"vi", 0x2A},
    {"hy", 0x2B}, {"ms", 0x3E},
}};

// Sub-languages other than the default (1) of a country.
struct LocaleVariant {
    std::string_view name;
    std::uint16_t sub;
};
constexpr std::array<LocaleVariant, 12> kLocaleVariants = {{
    {"zh_TW", 1},
    {"zh_CN", 2},
    {"zh_HK", 3},
    {"zh_SG", 4},
    {"zh_MO", 5},
    {"en_GB", 2},
    {"en_AU", 3},
    {"en_CA", 4},
    {"pt_PT", 2},
    {"fr_BE", 2},
    {"de_CH", 2},
    {"de_AT", 3},
}};

}  // namespace

LanguageFileNames LanguageFilesFor(LanguageChoice choice) {
    if (choice.primary == kChinese) {
        return choice.variant == 1 ? LanguageFileNames{"Chinese950.ini", kHelpCn}
                                   : LanguageFileNames{"Chinese936.ini", kHelpCn};
    }
    for (const LanguageRow& row : kLanguageRows) {
        if (row.primary == choice.primary) {
            return row.files;
        }
    }
    return {"English1252.ini", kHelpEn};
}

LanguageChoice ChoiceForSystemLanguage(std::uint16_t systemLanguageId) {
    std::uint16_t variant = 0;
    if (systemLanguageId == 1028) {
        variant = 1;
    } else if (systemLanguageId == 2052) {
        variant = 2;
    }
    return {static_cast<std::uint16_t>(systemLanguageId & 0x3FF), variant};
}

std::uint16_t LanguageIdFromLocaleName(std::string_view localeName) {
    // Accept "de_DE", "de-DE", "de_DE.UTF-8", "zh_Hant_TW".
    std::string name(localeName.substr(0, localeName.find_first_of(".@")));
    std::replace(name.begin(), name.end(), '-', '_');
    const std::string language = name.substr(0, name.find('_'));
    const std::string country = name.size() > 2 ? name.substr(name.rfind('_') + 1) : "";
    const std::string key = language + "_" + country;

    for (const LocaleLanguage& lang : kLocaleLanguages) {
        if (lang.code != language) {
            continue;
        }
        std::uint16_t sub = 1;
        for (const LocaleVariant& v : kLocaleVariants) {
            if (v.name == key) {
                sub = v.sub;
            }
        }
        if (lang.primary == kChinese && country.empty()) {
            sub = name.find("Hant") != std::string::npos ? 1 : 2;
        }
        return static_cast<std::uint16_t>((sub << 10) | lang.primary);
    }
    return 1033;
}

bool IsCurrentLanguageEntry(const LanguageMenuEntry& entry, LanguageChoice current) {
    if (entry.choice.primary != current.primary) {
        return false;
    }
    if (current.primary == kChinese) {
        return (current.variant == 2) == (entry.choice.variant == 2);
    }
    return true;
}

void SelectLanguage(LanguageState& state, SettingsStore& store, LanguageChoice choice,
                    std::string_view resourceFolder) {
    WriteSetting(store, setting::kLanId, choice.primary);
    WriteSetting(store, setting::kSubLanId, choice.variant);
    state.current = choice;
    state.playerPath = JoinPath(resourceFolder, "Tavelkin.exe");
    const LanguageFileNames files = LanguageFilesFor(choice);
    state.languageFile = JoinPath(JoinPath(resourceFolder, "lang"), files.languageFile);
    state.helpFile = JoinPath(JoinPath(resourceFolder, "help"), files.helpFile);
    CurrentTexts().Load(state.languageFile);
}

LanguageChoice StartupLanguage(SettingsStore& store, std::uint16_t systemLanguageId) {
    const auto lanId = static_cast<std::uint16_t>(ReadSetting(store, setting::kLanId, 0));
    const auto subLanId = static_cast<std::uint16_t>(ReadSetting(store, setting::kSubLanId, 0));
    if (lanId != 0) {
        return {lanId, subLanId};
    }
    return ChoiceForSystemLanguage(systemLanguageId);
}

}  // namespace lensora
