// What the still window, its canvas and its settings dialogs need from the running program:
// the settings store, the in-memory settings, the shared calibration rates and the font and
// calibration files. The program's state implements it; it outlives every window that holds
// it. Used on the user-interface thread.
#pragma once

#include <string>

#include "base/log_font.h"
#include "base/persisted_settings.h"
#include "base/settings_store.h"
#include "measure/calibration.h"

namespace lensora {

class CanvasServices {
  public:
    virtual ~CanvasServices() = default;

    virtual SettingsStore& Store() = 0;
    virtual AppSettings& Settings() = 0;
    // The calibration rates shared by the live and the still view.
    virtual CalibrationState& Calibration() = 0;
    // The calibration file the still view reads and updates.
    virtual const std::string& CalibrationFile() const = 0;
    // The per-user folder holding the font files.
    virtual const std::string& AppFolder() const = 0;
    // The measurement label font read at start (or the default font).
    virtual const LogFont& LabelFont() const = 0;
    virtual void SetLabelFont(const LogFont& font) = 0;
};

}  // namespace lensora
