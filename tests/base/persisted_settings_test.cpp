#include "base/persisted_settings.h"

#include <gtest/gtest.h>

namespace lensora {
namespace {

TEST(PersistedSettings, FirstRunWritesEveryDefaultOnceAndOnlyWhenTheStoreIsMissing) {
    MemorySettingsStore store;
    EXPECT_FALSE(store.RootExists());
    EnsureDefaultSettings(store);
    EXPECT_TRUE(store.RootExists());

    EXPECT_EQ(store.ReadNumber("font", "fontcolor"), 255u);
    EXPECT_EQ(store.ReadNumber("font", "LineColor"), 255u);
    EXPECT_EQ(store.ReadNumber("font", "MeasureTxtColor"), 255u);
    EXPECT_EQ(store.ReadNumber("font", "fontsize"), 16u);
    EXPECT_EQ(store.ReadNumber("font", "Linewidth"), 2u);
    EXPECT_EQ(store.ReadNumber("font", "Linetype"), 0u);
    EXPECT_EQ(store.ReadNumber("LanguageID", "LanID"), 0u);
    EXPECT_EQ(store.ReadNumber("LanguageID", "SubLanIDD"), 0u);
    EXPECT_EQ(store.ReadNumber("LanguageID", "ImageFormat"), 2u);
    EXPECT_EQ(store.ReadNumber("LanguageID", "IsEnableSnap"), 0u);
    EXPECT_EQ(store.ReadNumber("LanguageID", "sys_date"), 1u);
    EXPECT_EQ(store.ReadText("Units", "unit"), "mm");
    EXPECT_EQ(store.ReadNumber("Units", "decimal"), 3u);
    EXPECT_EQ(store.WriteCount(), 13u);

    // A second call with the store present changes nothing, even values the user changed.
    WriteSetting(store, setting::kLineWidth, 5);
    const auto writes = store.WriteCount();
    EnsureDefaultSettings(store);
    EXPECT_EQ(store.WriteCount(), writes);
    EXPECT_EQ(ReadSetting(store, setting::kLineWidth, 1), 5u);
}

TEST(PersistedSettings, UnreadableValuesKeepTheInMemoryValue) {
    MemorySettingsStore store;
    EnsureDefaultSettings(store);
    store.Remove("font", "Linewidth");
    store.Remove("Units", "unit");
    AppSettings settings;
    EXPECT_EQ(ReadSetting(store, setting::kLineWidth, settings.lineWidth), 1u);  // not 2
    EXPECT_EQ(ReadUnitName(store, settings.unit), "mm");
    // A value of the wrong type is unreadable too.
    store.WriteText("font", "fontsize", "big");
    EXPECT_EQ(ReadSetting(store, setting::kFontSize, 16), 16u);
}

TEST(PersistedSettings, UnitNameIsCutToItsFiveCharacterBuffer) {
    MemorySettingsStore store;
    WriteUnitName(store, "inches");
    EXPECT_EQ(store.ReadText("Units", "unit"), "inche");
    store.WriteText("Units", "unit", "micrometre");
    EXPECT_EQ(ReadUnitName(store, "mm"), "micro");
}

TEST(PersistedSettings, CalibratePromptFollowsSysDate) {
    MemorySettingsStore store;
    EXPECT_TRUE(ShouldShowCalibratePrompt(store));  // unreadable: 1
    EnsureDefaultSettings(store);
    EXPECT_TRUE(ShouldShowCalibratePrompt(store));
    ConfirmCalibratePrompt(store, false);
    EXPECT_EQ(store.ReadNumber("LanguageID", "sys_date"), 0u);
    EXPECT_FALSE(ShouldShowCalibratePrompt(store));
    ConfirmCalibratePrompt(store, true);
    EXPECT_TRUE(ShouldShowCalibratePrompt(store));
}

TEST(PersistedSettings, ColoursAreUsedWithoutTheirTopByte) {
    EXPECT_EQ(UsableColour(0xFF0000FFu), 0x0000FFu);
}

}  // namespace
}  // namespace lensora
