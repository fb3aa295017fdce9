#include "app/app_state.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/temp_dir.h"

namespace lensora {
namespace {
using test::TempDir;

TEST(AppStartup, FirstRunUsesTheFirstRunDefaultsAndCreatesTheCalibrationFile) {
    TempDir dir;
    MemorySettingsStore store;
    AppState app(store, {dir.Sub("config"), dir.Sub("Documents"), dir.Sub("res"), 1033});
    app.Initialise();
    EXPECT_TRUE(store.RootExists());
    EXPECT_EQ(app.Settings().lineWidth, 2u);
    EXPECT_EQ(app.Settings().imageFormat, 2u);
    EXPECT_EQ(app.Settings().fontSize, 16u);
    EXPECT_EQ(app.Settings().lineColor, 255u);
    EXPECT_EQ(app.Settings().measureTxtColor, 255u);
    EXPECT_EQ(app.Settings().unit, "mm");
    EXPECT_EQ(app.Settings().decimals, 3u);
    EXPECT_EQ(app.CalibrationFile(), dir.Sub("config") + "/CalibrationIni.ini");
    EXPECT_TRUE(std::filesystem::is_regular_file(app.CalibrationFile()));
    EXPECT_TRUE(std::filesystem::is_directory(dir.Sub("Documents/Lensora files/Picture")));
}

TEST(AppStartup, StoredValuesAreReadAndMissingOnesUseTheirFallback) {
    TempDir dir;
    MemorySettingsStore store;
    EnsureDefaultSettings(store);
    WriteSetting(store, setting::kImageFormat, 1);
    WriteSetting(store, setting::kLineType, 3);
    store.Remove("font", "Linewidth");
    store.Remove("font", "LineColor");
    AppState app(store, {dir.Sub("config"), dir.Sub("Documents"), dir.Sub("res"), 1033});
    app.Initialise();
    EXPECT_EQ(app.Settings().imageFormat, 1u);
    EXPECT_EQ(app.Settings().lineType, 3u);
    EXPECT_EQ(app.Settings().lineWidth, 1u);
    EXPECT_EQ(app.Settings().lineColor, 0u);
    // Start-up never writes defaults over a store that exists.
    EXPECT_FALSE(store.ReadNumber("font", "Linewidth"));
}

TEST(AppStartup, AnExistingCalibrationFileIsKept) {
    TempDir dir;
    dir.Write("config/CalibrationIni.ini", "[60]\nrate=1.5\n");
    MemorySettingsStore store;
    AppState app(store, {dir.Sub("config"), dir.Sub("Documents"), dir.Sub("res"), 1033});
    app.Initialise();
    EXPECT_EQ(test::ReadFile(app.CalibrationFile()), "[60]\nrate=1.5\n");
}

}  // namespace
}  // namespace lensora
