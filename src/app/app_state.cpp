#include "app/app_state.h"

#include <filesystem>
#include <fstream>
#include <system_error>

#include "base/text_catalog.h"
#include "canvas/font_files.h"

namespace lensora {
namespace fs = std::filesystem;

AppState::AppState(SettingsStore& store, AppEnvironment environment)
    : store_(store), environment_(std::move(environment)) {}

void AppState::Initialise() {
    const std::string& appFolder = environment_.appFolder;
    std::error_code ec;
    fs::create_directories(fs::path(appFolder), ec);

    // Calibrations are kept in the per-user folder; an empty file from the first start on
    // means the calibration code always finds a file to update.
    calibrationFile_ = JoinPath(appFolder, kCalibrationFileName);
    if (!fs::exists(fs::path(calibrationFile_), ec)) {
        std::ofstream(fs::path(calibrationFile_), std::ios::binary);
    }

    folders_ = LoadFolders(appFolder, environment_.documentsFolder);

    settings_.imageFormat = ReadSetting(store_, setting::kImageFormat, settings_.imageFormat);
    settings_.fontSize = ReadSetting(store_, setting::kFontSize, settings_.fontSize);
    labelFont_ = ReadLabelFont(appFolder).value_or(DefaultLogFont());
    settings_.isEnableSnap = ReadSetting(store_, setting::kIsEnableSnap, settings_.isEnableSnap);

    // Runs after the reads above, so that on a first run those keep their in-memory values.
    EnsureDefaultSettings(store_);

    SelectLanguage(language_, store_, StartupLanguage(store_, environment_.systemLanguageId),
                   environment_.resourceFolder);

    settings_.unit = ReadUnitName(store_, settings_.unit);
    settings_.decimals = ReadSetting(store_, setting::kDecimal, settings_.decimals);
    settings_.subPixelEdges =
        ReadSetting(store_, setting::kSubPixelEdges, settings_.subPixelEdges) != 0 ? 1 : 0;
    settings_.areaSignificantDigits =
        ReadSetting(store_, setting::kAreaSignificantDigits, settings_.areaSignificantDigits) != 0
            ? 1
            : 0;
    settings_.measureTxtColor =
        ReadSetting(store_, setting::kMeasureTxtColor, settings_.measureTxtColor);
    settings_.lineColor = ReadSetting(store_, setting::kLineColor, settings_.lineColor);
    settings_.lineWidth = ReadSetting(store_, setting::kLineWidth, settings_.lineWidth);
    settings_.lineType = ReadSetting(store_, setting::kLineType, settings_.lineType);
}

void AppState::ChooseLanguage(LanguageChoice choice) {
    language_.languageFile.clear();
    language_.helpFile.clear();
    SelectLanguage(language_, store_, choice, environment_.resourceFolder);
}

}  // namespace lensora
