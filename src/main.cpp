// Program entry: one instance per user, the settings and folders, then the main window.
#include <QApplication>

#include "app/app_state.h"
#include "app/ui/main_window.h"
#include "base/ui/skin.h"
#include "platform/qt_settings_store.h"
#include "platform/single_instance.h"
#include "platform/system_paths.h"

int main(int argc, char** argv) {
    // A second instance ends at once, silently, before any window exists.
    lensora::SingleInstanceLock instance;
    if (!instance.Acquired()) {
        return 0;
    }
    QApplication application(argc, argv);
    QApplication::setApplicationName("Lensora");
    QApplication::setOrganizationName("lumabench");

    lensora::skin::ApplyTheme();

    lensora::AppEnvironment environment;
    environment.appFolder = lensora::ConfigFolder();
    environment.documentsFolder = lensora::DocumentsFolder();
    environment.resourceFolder = lensora::ResourceFolder();
    environment.systemLanguageId = lensora::SystemLanguageId();

    lensora::QtSettingsStore store(lensora::SettingsFilePath(environment.appFolder));
    lensora::AppState app(store, environment);
    app.Initialise();

    lensora::MainWindow window(app);
    window.show();
    // A picture named on the command line (or handed over by a file manager) opens for
    // measuring beside the main window.
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() > 1) {
        window.OpenPicture(arguments.at(1));
    }
    return QApplication::exec();
}
