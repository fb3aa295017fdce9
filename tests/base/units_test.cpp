#include "base/units.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "base/drawing_settings.h"
#include "base/persisted_settings.h"
#include "base/settings_store.h"

namespace lensora {
namespace {

constexpr CameraFacts kSmallCamera{false, 1280, 1024};

TEST(UnitsTest, UnitFactorComparesNamesExactly) {
    EXPECT_DOUBLE_EQ(UnitFactor("inch"), 0.0000394);
    EXPECT_DOUBLE_EQ(UnitFactor("mil"), 0.0394);
    EXPECT_DOUBLE_EQ(UnitFactor("cm"), 0.0001);
    EXPECT_DOUBLE_EQ(UnitFactor("mm"), 0.001);
    // Anything else, including other spellings of the known names, converts as millimetres.
    for (const char* other : {"MM", "Inch", "CM", "mil ", "um", ""}) {
        EXPECT_DOUBLE_EQ(UnitFactor(other), 0.001) << other;
    }
}

TEST(UnitsTest, NominalPixelSizeFollowsSensorAndCaptureSize) {
    EXPECT_DOUBLE_EQ(NominalPixelSize(CameraFacts{}), 80.0);  // the default camera
    EXPECT_DOUBLE_EQ(NominalPixelSize({true, 1600, 1200}), 80.0);
    EXPECT_DOUBLE_EQ(NominalPixelSize({true, 640, 480}), 80.0);
    EXPECT_DOUBLE_EQ(NominalPixelSize({true, 1280, 960}), 63.829787234);
    EXPECT_DOUBLE_EQ(NominalPixelSize({false, 1600, 1200}), 63.829787234);
    EXPECT_DOUBLE_EQ(NominalPixelSize({false, 640, 480}), 63.829787234);
    EXPECT_DOUBLE_EQ(UnitsPerPixel("cm", {true, 1600, 1200}), 0.008);
}

TEST(UnitsTest, MilExampleAndUnknownUnitPrintWithTheirNames) {
    AppSettings settings;
    settings.unit = "mil";
    settings.decimals = 3;
    ScaleContext scale = MakeScaleContext(settings, kSmallCamera, 10.0);
    EXPECT_NEAR(scale.s, 2.51489, 1e-5);  // at rate 10, s is the units per pixel
    EXPECT_EQ(FormatWithUnit(ScaleLength(100.0, scale), scale), "251.489mil");

    settings.unit = "um";
    scale = MakeScaleContext(settings, kSmallCamera, 10.0);
    EXPECT_EQ(FormatWithUnit(ScaleLength(100.0, scale), scale), "6.383um");

    // Millimetres, a 100-pixel line at rate 10, and its square for the area.
    settings.unit = "mm";
    scale = MakeScaleContext(settings, kSmallCamera, 10.0);
    EXPECT_EQ(FormatWithUnit(ScaleLength(100.0, scale), scale), "6.383mm");
    EXPECT_NEAR(ScaleArea(100.0 * 100.0, scale), 6.3829787234 * 6.3829787234, 1e-9);
    EXPECT_NEAR(ScaleArea(50.0, scale), 50.0 * 100.0 * std::pow(0.063829787234, 2) / 100.0, 1e-12);
}

TEST(UnitsTest, UnusableRatesNeverGiveInfiniteValues) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    for (double rate : {0.0, -5.0, nan, inf}) {
        EXPECT_EQ(PixelScale(0.08, rate), 0.0) << rate;
    }
    AppSettings settings;
    const ScaleContext scale = MakeScaleContext(settings, CameraFacts{}, 0.0);
    EXPECT_EQ(scale.s, 0.0);
    EXPECT_EQ(FormatWithUnit(ScaleArea(1e6, scale), scale), "0.000mm");
    EXPECT_EQ(FormatWithUnit(inf, scale), "0.000mm");
}

TEST(UnitsTest, OverlayTableAndCaptureFactors) {
    EXPECT_DOUBLE_EQ(OverlayUnitsPerPixel("mm", {true, 1600, 1200}), 0.02963 * 2.5);
    EXPECT_DOUBLE_EQ(OverlayUnitsPerPixel("cm", {true, 1280, 960}), 0.002963 * 2.0);
    EXPECT_DOUBLE_EQ(OverlayUnitsPerPixel("inch", {true, 640, 480}), 0.0011665354330708663);
    EXPECT_DOUBLE_EQ(OverlayUnitsPerPixel("mil", {false, 1280, 1024}), 1.1665354330708662 * 2);
    EXPECT_DOUBLE_EQ(OverlayUnitsPerPixel("xx", {false, 640, 480}), 0.02963);
    EXPECT_DOUBLE_EQ(OverlayUnitsPerPixel("mm", {false, 320, 240}), 0.02963 * 0.5);
    EXPECT_DOUBLE_EQ(OverlayUnitsPerPixel("mm", {false, 1600, 1200}), 0.02963 * 0.5);
}

TEST(UnitsTest, SetUnitAndDecimalsWriteBothValues) {
    MemorySettingsStore store;
    AppSettings settings;
    EXPECT_TRUE(SetUnit(settings, store, "inch"));
    EXPECT_EQ(MeasureUnit(settings), "inch");
    EXPECT_EQ(ReadUnitName(store, "?"), "inch");
    EXPECT_EQ(ReadSetting(store, setting::kDecimal, 99), 3u);

    EXPECT_TRUE(SetDecimals(settings, store, 5));
    EXPECT_EQ(MeasureDecimals(settings), 5);
    EXPECT_EQ(ReadSetting(store, setting::kDecimal, 99), 5u);
    EXPECT_EQ(ReadUnitName(store, "?"), "inch");

    const std::size_t writes = store.WriteCount();
    EXPECT_FALSE(SetDecimals(settings, store, 1));
    EXPECT_FALSE(SetDecimals(settings, store, 6));
    EXPECT_FALSE(SetUnit(settings, store, ""));
    EXPECT_EQ(store.WriteCount(), writes);
    EXPECT_EQ(MeasureDecimals(settings), 5);

    // The stored buffer holds five characters; memory keeps what was stored.
    EXPECT_TRUE(SetUnit(settings, store, "micron"));
    EXPECT_EQ(MeasureUnit(settings), "micro");
    EXPECT_EQ(ReadUnitName(store, "?"), "micro");
}

TEST(UnitsTest, MicrometresConvertAtOneAndAreStoredAsAscii) {
    const std::string um = "\xC2\xB5m";  // µm
    EXPECT_DOUBLE_EQ(UnitFactor(um), 1.0);
    EXPECT_DOUBLE_EQ(UnitFactor(um) / UnitFactor("mm"), 1000.0);
    EXPECT_DOUBLE_EQ(UnitsPerPixel(um, {true, 1600, 1200}), 80.0);

    AppSettings settings;
    settings.unit = um;
    const ScaleContext scale = MakeScaleContext(settings, kSmallCamera, 10.0);
    EXPECT_EQ(FormatWithUnit(ScaleLength(100.0, scale), scale), "6382.979\xC2\xB5m");
    EXPECT_EQ(AreaUnitText(um), "\xC2\xB5m\xC2\xB2");  // µm²
    EXPECT_EQ(AreaUnitText("mm"), "mm2");
    EXPECT_EQ(AreaUnitText("um"), "um2");  // only the real sign is the micrometre

    // The settings file keeps "um"; reading it back gives the sign again, and a stored "µm"
    // (written by hand) still reads as itself.
    MemorySettingsStore store;
    ASSERT_TRUE(SetUnit(settings, store, um));
    EXPECT_EQ(MeasureUnit(settings), um);
    EXPECT_EQ(store.ReadText("Units", "unit"), "um");
    EXPECT_EQ(ReadUnitName(store, "?"), um);
    store.WriteText("Units", "unit", um);
    EXPECT_EQ(ReadUnitName(store, "?"), um);
    EXPECT_EQ(UnitButtonIndex(um), 4);
    EXPECT_DOUBLE_EQ(OverlayUnitsPerPixel(um, {false, 640, 480}),
                     1000.0 * OverlayUnitsPerPixel("mm", {false, 640, 480}));
}

TEST(UnitsTest, DamagedStoredDecimalsFallBackToThree) {
    AppSettings settings;
    settings.decimals = 4000000000u;
    EXPECT_EQ(MeasureDecimals(settings), 3);
    settings.decimals = 10;
    EXPECT_EQ(MeasureDecimals(settings), 10);
}

}  // namespace
}  // namespace lensora
