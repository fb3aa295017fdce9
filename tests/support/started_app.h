// The program state as start-up builds it, for widget tests: the settings file in dir/config
// and the documents folder (so the data folders) in dir/Documents.
#pragma once

#include <memory>

#include "app/app_state.h"
#include "platform/qt_settings_store.h"
#include "support/temp_dir.h"

namespace lensora::test {

inline void StartApp(const TempDir& dir, std::unique_ptr<QtSettingsStore>& store,
                     std::unique_ptr<AppState>& app) {
    store =
        std::make_unique<QtSettingsStore>(QString::fromStdString(dir.Sub("config/lumabench.ini")));
    app = std::make_unique<AppState>(
        *store, AppEnvironment{dir.Sub("config"), dir.Sub("Documents"), dir.Sub("res"), 1033});
    app->Initialise();
}

}  // namespace lensora::test
