// The program-wide state that start-up builds before the main window shows: folders, the
// in-memory settings and the language. Owned by the program's entry point for the whole run;
// used on the user-interface thread.
#pragma once

#include <cstdint>
#include <string>

#include "base/data_folders.h"
#include "base/language.h"
#include "base/log_font.h"
#include "base/persisted_settings.h"
#include "base/settings_store.h"
#include "canvas/canvas_services.h"
#include "measure/calibration.h"

namespace lensora {

struct AppEnvironment {
    std::string appFolder;        // per-user folder for the settings files the program writes
    std::string documentsFolder;  // the user's documents folder
    std::string resourceFolder;   // read-only data shipped with the program
    std::uint16_t systemLanguageId = 1033;
};

inline constexpr std::string_view kCalibrationFileName = "CalibrationIni.ini";
inline constexpr std::string_view kMeasureFontFileName = "Measurefont.ini";
inline constexpr std::string_view kNoteFontFileName = "logfont.ini";

class AppState : public CanvasServices {
  public:
    AppState(SettingsStore& store, AppEnvironment environment);

    // Runs the start-up steps in their order: folders, the first settings, the first-run
    // defaults, the language, then the measurement settings.
    void Initialise();

    // A choice from the language menu: select it and store it.
    void ChooseLanguage(LanguageChoice choice);

    SettingsStore& Store() override { return store_; }
    const AppEnvironment& Environment() const { return environment_; }
    const DataFolders& Folders() const { return folders_; }
    DataFolders& Folders() { return folders_; }
    const AppSettings& Settings() const { return settings_; }
    AppSettings& Settings() override { return settings_; }
    const LanguageState& Language() const { return language_; }
    const std::string& CalibrationFile() const override { return calibrationFile_; }
    const std::string& AppFolder() const override { return environment_.appFolder; }
    // The calibration rates shared by the live and the still view.
    CalibrationState& Calibration() override { return calibration_; }
    // The measurement label font read at start from its font file (or the default font).
    const LogFont& LabelFont() const override { return labelFont_; }
    void SetLabelFont(const LogFont& font) override { labelFont_ = font; }

  private:
    SettingsStore& store_;
    AppEnvironment environment_;
    DataFolders folders_;
    AppSettings settings_;
    LanguageState language_;
    std::string calibrationFile_;
    CalibrationState calibration_;
    LogFont labelFont_ = DefaultLogFont();
};

}  // namespace lensora
