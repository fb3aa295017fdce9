#include "base/language.h"

#include <gtest/gtest.h>

#include "app/app_state.h"
#include "base/text_catalog.h"
#include "support/temp_dir.h"

namespace lensora {
namespace {
using test::TempDir;

TEST(LanguageTable, SystemLanguageDecidesTheFirstChoice) {
    EXPECT_EQ(ChoiceForSystemLanguage(2052), (LanguageChoice{4, 2}));
    EXPECT_EQ(ChoiceForSystemLanguage(1028), (LanguageChoice{4, 1}));
    EXPECT_EQ(ChoiceForSystemLanguage(1031), (LanguageChoice{7, 0}));
    EXPECT_EQ(ChoiceForSystemLanguage(1053), (LanguageChoice{29, 0}));
    EXPECT_EQ(ChoiceForSystemLanguage(3076), (LanguageChoice{4, 0}));  // Hong Kong

    EXPECT_EQ(LanguageFilesFor({4, 2}).languageFile, "Chinese936.ini");
    EXPECT_EQ(LanguageFilesFor({4, 1}).languageFile, "Chinese950.ini");
    EXPECT_EQ(LanguageFilesFor({4, 0}).languageFile, "Chinese936.ini");
    EXPECT_EQ(LanguageFilesFor({4, 1}).helpFile, "Lensora-CN.CHM");
    EXPECT_EQ(LanguageFilesFor({7, 0}).languageFile, "German1252.ini");
    EXPECT_EQ(LanguageFilesFor({29, 0}).languageFile, "Swedish1252.ini");
    EXPECT_EQ(LanguageFilesFor({25, 0}).helpFile, "Lensora-RU.CHM");
    EXPECT_EQ(LanguageFilesFor({58, 0}).languageFile, "Persian874.ini");
    EXPECT_EQ(LanguageFilesFor({3, 0}).languageFile, "English1252.ini");  // no row
    EXPECT_EQ(LanguageFilesFor({3, 0}).helpFile, "Lensora-EN.CHM");
    EXPECT_EQ(LanguageFilesFor({0, 0}).languageFile, "English1252.ini");
}

TEST(LanguageTable, LocaleNamesMapToPlatformIdentifiers) {
    EXPECT_EQ(LanguageIdFromLocaleName("en_US"), 1033);
    EXPECT_EQ(LanguageIdFromLocaleName("de_DE"), 1031);
    EXPECT_EQ(LanguageIdFromLocaleName("de-DE.UTF-8"), 1031);
    EXPECT_EQ(LanguageIdFromLocaleName("sv_SE"), 1053);
    EXPECT_EQ(LanguageIdFromLocaleName("zh_CN"), 2052);
    EXPECT_EQ(LanguageIdFromLocaleName("zh_TW"), 1028);
    EXPECT_EQ(LanguageIdFromLocaleName("pt_PT"), 0x0816);
    EXPECT_EQ(LanguageIdFromLocaleName("C"), 1033);
    EXPECT_EQ(LanguageIdFromLocaleName(""), 1033);
    for (std::uint16_t id : {1033, 1031, 1053, 2052, 1028}) {
        EXPECT_EQ(id & 0x3FF, ChoiceForSystemLanguage(id).primary);
    }
}

TEST(LanguageMenu, MarksTheCurrentEntryWithTheChineseVariantRule) {
    const auto current = [](LanguageChoice choice) {
        std::vector<int> marked;
        for (const LanguageMenuEntry& e : kLanguageMenu) {
            if (IsCurrentLanguageEntry(e, choice)) {
                marked.push_back(e.command);
            }
        }
        return marked;
    };
    EXPECT_EQ(current({4, 2}), std::vector<int>{1302});
    EXPECT_EQ(current({4, 1}), std::vector<int>{1351});
    EXPECT_EQ(current({4, 0}), std::vector<int>{1351});
    EXPECT_EQ(current({9, 0}), std::vector<int>{1301});
    EXPECT_EQ(current({7, 0}), std::vector<int>{1305});
    EXPECT_TRUE(current({29, 0}).empty());  // Swedish has a file but no entry
}

TEST(LanguageSelection, StoredChoiceWinsAndTheFirstChoiceIsRemembered) {
    TempDir dir;
    MemorySettingsStore store;
    AppEnvironment env{dir.Sub("config"), dir.Sub("Documents"), dir.Sub("res"), 1028};
    AppState first(store, env);
    first.Initialise();
    EXPECT_EQ(first.Language().current, (LanguageChoice{4, 1}));
    EXPECT_EQ(first.Language().languageFile, dir.Sub("res") + "/lang/Chinese950.ini");
    EXPECT_EQ(store.ReadNumber("LanguageID", "LanID"), 4u);
    EXPECT_EQ(store.ReadNumber("LanguageID", "SubLanIDD"), 1u);

    env.systemLanguageId = 1031;  // the system changed; the stored choice stays
    AppState second(store, env);
    second.Initialise();
    EXPECT_EQ(second.Language().current, (LanguageChoice{4, 1}));
}

TEST(LanguageSelection, MenuChoiceLoadsTheFileAndIsStored) {
    TempDir dir;
    dir.Write("res/lang/German1252.ini", "[Quillaret]\nTipLine=Linie\n");
    MemorySettingsStore store;
    AppState app(store, {dir.Sub("config"), dir.Sub("Documents"), dir.Sub("res"), 1033});
    app.Initialise();
    EXPECT_EQ(GetText("TipLine", "Line Measurement"), "Line Measurement");
    app.ChooseLanguage({7, 0});
    EXPECT_EQ(GetText("TipLine", "Line Measurement"), "Linie");
    EXPECT_EQ(store.ReadNumber("LanguageID", "LanID"), 7u);
    app.ChooseLanguage({4, 1});
    EXPECT_EQ(store.ReadNumber("LanguageID", "LanID"), 4u);
    EXPECT_EQ(store.ReadNumber("LanguageID", "SubLanIDD"), 1u);
    EXPECT_EQ(GetText("TipLine", "Line Measurement"), "Line Measurement");  // no such file
    EXPECT_EQ(app.Language().playerPath, dir.Sub("res") + "/Tavelkin.exe");
}

}  // namespace
}  // namespace lensora
