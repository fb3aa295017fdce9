#include <gtest/gtest.h>

#include "base/persisted_settings.h"
#include "platform/qt_settings_store.h"
#include "platform/single_instance.h"
#include "support/temp_dir.h"

namespace lensora {
namespace {
using test::TempDir;

TEST(QtSettingsStore, RoundTripsNumbersAndTextsAndKnowsAFirstRun) {
    TempDir dir;
    const QString path = QString::fromStdString(dir.Sub("lumabench.ini"));
    {
        QtSettingsStore store(path);
        EXPECT_FALSE(store.RootExists());
        EnsureDefaultSettings(store);
        EXPECT_TRUE(store.WriteNumber("font", "LineColor", 0x00FF8040));
        WriteUnitName(store, "\xC2\xB5m");  // µm
    }
    QtSettingsStore store(path);
    EXPECT_TRUE(store.RootExists());
    EXPECT_EQ(store.ReadNumber("font", "LineColor"), 0x00FF8040u);
    EXPECT_EQ(store.ReadNumber("LanguageID", "sys_date"), 1u);
    EXPECT_EQ(ReadUnitName(store, "mm"), "\xC2\xB5m");
    EXPECT_FALSE(store.ReadNumber("font", "missing"));
}

TEST(QtSettingsStore, BrokenFilesGiveTheInMemoryValues) {
    TempDir dir;
    const std::string path = dir.Write(
        "lumabench.ini",
        "[font]\nLinewidth=wide\nfontsize=-3\nLineColor=99999999999\n\x01\x02\xFF garbage\n"
        "[LanguageID\nLanID=7\n");
    QtSettingsStore store(QString::fromStdString(path));
    EXPECT_FALSE(store.RootExists());
    EXPECT_EQ(ReadSetting(store, setting::kLineWidth, 1), 1u);
    EXPECT_EQ(ReadSetting(store, setting::kFontSize, 16), 16u);
    EXPECT_EQ(ReadSetting(store, setting::kLineColor, 0), 0u);
}

TEST(SingleInstanceLock, ASecondHolderIsRefusedUntilTheFirstEnds) {
    TempDir dir;
    auto first = std::make_unique<SingleInstanceLock>(dir.Str());
    EXPECT_TRUE(first->Acquired());
    {
        SingleInstanceLock second(dir.Str());
        EXPECT_FALSE(second.Acquired());
    }
    first.reset();
    SingleInstanceLock third(dir.Str());
    EXPECT_TRUE(third.Acquired());
}

}  // namespace
}  // namespace lensora
