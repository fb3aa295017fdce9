#include "base/persisted_settings.h"

#include <array>

#include "base/utf.h"

namespace lensora {

std::uint32_t ReadSetting(SettingsStore& store, const NumberSetting& setting,
                          std::uint32_t current) {
    return store.ReadNumber(setting.group, setting.name).value_or(current);
}

void WriteSetting(SettingsStore& store, const NumberSetting& setting, std::uint32_t value) {
    store.WriteNumber(setting.group, setting.name, value);
}

std::string ReadUnitName(SettingsStore& store, std::string_view current) {
    auto unit = store.ReadText(setting::kUnitGroup, setting::kUnitName);
    if (!unit) {
        return std::string(current);
    }
    if (*unit == setting::kMicrometreStored) {
        return std::string(setting::kMicrometreShown);
    }
    return FitToBuffer(*unit, setting::kUnitBufferChars);
}

void WriteUnitName(SettingsStore& store, std::string_view unit) {
    if (unit == setting::kMicrometreShown) {
        unit = setting::kMicrometreStored;
    }
    store.WriteText(setting::kUnitGroup, setting::kUnitName,
                    FitToBuffer(unit, setting::kUnitBufferChars));
}

void EnsureDefaultSettings(SettingsStore& store) {
    if (store.RootExists()) {
        return;
    }
    static constexpr std::array<const NumberSetting*, 11> kBeforeUnit = {
        &setting::kFontColor,    &setting::kLineColor, &setting::kMeasureTxtColor,
        &setting::kFontSize,     &setting::kLineWidth, &setting::kLineType,
        &setting::kLanId,        &setting::kSubLanId,  &setting::kImageFormat,
        &setting::kIsEnableSnap, &setting::kSysDate,
    };
    for (const NumberSetting* s : kBeforeUnit) {
        WriteSetting(store, *s, s->firstRunDefault);
    }
    store.WriteText(setting::kUnitGroup, setting::kUnitName, setting::kUnitDefault);
    WriteSetting(store, setting::kDecimal, setting::kDecimal.firstRunDefault);
}

bool ShouldShowCalibratePrompt(SettingsStore& store) {
    return ReadSetting(store, setting::kSysDate, setting::kSysDate.fallback) == 1;
}

void ConfirmCalibratePrompt(SettingsStore& store, bool showNextTime) {
    WriteSetting(store, setting::kSysDate, showNextTime ? 1 : 0);
}

}  // namespace lensora
