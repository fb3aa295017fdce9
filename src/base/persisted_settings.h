// The program's persisted settings: one entry per stored value with its group, name,
// first-run default and the in-memory value used when it cannot be read, the readers and
// writers over a SettingsStore, and the first-run defaults.
// Colours are 0x00BBGGRR; callers clear the top byte with UsableColour().
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "base/settings_store.h"

namespace lensora {

struct NumberSetting {
    std::string_view group;
    std::string_view name;
    std::uint32_t firstRunDefault;
    std::uint32_t fallback;  // the in-memory value when the stored one cannot be read
};

namespace setting {
inline constexpr NumberSetting kFontColor{"font", "fontcolor", 255, 0};
inline constexpr NumberSetting kLineColor{"font", "LineColor", 255, 0};
inline constexpr NumberSetting kMeasureTxtColor{"font", "MeasureTxtColor", 255, 0};
inline constexpr NumberSetting kFontSize{"font", "fontsize", 16, 16};
inline constexpr NumberSetting kLineWidth{"font", "Linewidth", 2, 1};
inline constexpr NumberSetting kLineType{"font", "Linetype", 0, 0};
inline constexpr NumberSetting kLanId{"LanguageID", "LanID", 0, 0};
inline constexpr NumberSetting kSubLanId{"LanguageID", "SubLanIDD", 0, 0};
inline constexpr NumberSetting kImageFormat{"LanguageID", "ImageFormat", 2, 2};
inline constexpr NumberSetting kIsEnableSnap{"LanguageID", "IsEnableSnap", 0, 0};
inline constexpr NumberSetting kSysDate{"LanguageID", "sys_date", 1, 1};
inline constexpr NumberSetting kDecimal{"Units", "decimal", 3, 3};
// "Sub-pixel edges" of the automatic tools: 1 on, 0 the plain snapped pixels.
inline constexpr NumberSetting kSubPixelEdges{"Units", "SubPixelEdges", 1, 1};

inline constexpr std::string_view kUnitGroup = "Units";
inline constexpr std::string_view kUnitName = "unit";
inline constexpr std::string_view kUnitDefault = "mm";
// The unit name is kept in a buffer of 6 UTF-16 units including the terminator.
inline constexpr std::size_t kUnitBufferChars = 6;
// The micrometre is shown and printed as "µm" but stored as "um", so that the settings file
// stays plain ASCII.
inline constexpr std::string_view kMicrometreShown = "\u00B5m";
inline constexpr std::string_view kMicrometreStored = "um";
// "Significant digits for areas": 1 prints areas with at least three significant digits, 0 with
// the length's decimals.
inline constexpr NumberSetting kAreaSignificantDigits{"Units", "AreaSigDigits", 0, 0};
}  // namespace setting

// Reads one value; when it cannot be read the caller's current in-memory value stays.
std::uint32_t ReadSetting(SettingsStore& store, const NumberSetting& setting,
                          std::uint32_t current);
void WriteSetting(SettingsStore& store, const NumberSetting& setting, std::uint32_t value);

// Reads the unit name; the stored "um" reads as "µm".
std::string ReadUnitName(SettingsStore& store, std::string_view current);
// Stores the unit name cut to the 5 characters its buffer holds ("µm" as "um").
void WriteUnitName(SettingsStore& store, std::string_view unit);

// On a first run (no store yet) writes every value with its first-run default, in table order.
// Does nothing when the store exists.
void EnsureDefaultSettings(SettingsStore& store);

inline constexpr std::uint32_t UsableColour(std::uint32_t colour) {
    return colour & 0xFFFFFF;
}

// The in-memory copies of the persisted values, starting at their fallbacks.
struct AppSettings {
    std::uint32_t fontColor = setting::kFontColor.fallback;
    std::uint32_t lineColor = setting::kLineColor.fallback;
    std::uint32_t measureTxtColor = setting::kMeasureTxtColor.fallback;
    std::uint32_t fontSize = setting::kFontSize.fallback;
    std::uint32_t lineWidth = setting::kLineWidth.fallback;
    std::uint32_t lineType = setting::kLineType.fallback;
    std::uint32_t imageFormat = setting::kImageFormat.fallback;
    std::uint32_t isEnableSnap = setting::kIsEnableSnap.fallback;
    std::string unit = std::string(setting::kUnitDefault);
    std::uint32_t decimals = setting::kDecimal.fallback;
    std::uint32_t subPixelEdges = setting::kSubPixelEdges.fallback;
    std::uint32_t areaSignificantDigits = setting::kAreaSignificantDigits.fallback;
};

// The calibrate-first prompt: whether to show it now, and what its OK button stores.
bool ShouldShowCalibratePrompt(SettingsStore& store);
void ConfirmCalibratePrompt(SettingsStore& store, bool showNextTime);

}  // namespace lensora
