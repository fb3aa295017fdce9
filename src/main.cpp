// Program entry: one instance per user, the settings and folders, the main window, then the
// camera. The options are described in app/command_line.h.
#include <QApplication>
#include <QByteArray>

#include <QTimer>
#include "app/app_state.h"
#include "app/command_line.h"
#include "app/ui/main_window.h"
#include "base/ui/skin.h"
#include "capture/capture_format.h"
#include "live/live_session.h"
#include "platform/camera_service.h"
#include "platform/qt_settings_store.h"
#include "platform/single_instance.h"
#include "platform/system_paths.h"

namespace {

// Developer hook for screenshots: LENSORA_LIVE_OVERLAYS="cross,ruler,rings,time" switches live
// overlays on at start, with the ruler at 100 pixels per millimetre.
void ApplyOverlayHook(lensora::LiveOverlayState& overlays, lensora::LiveSession& session) {
    using lensora::LiveOverlay;
    const QByteArray hook = qgetenv("LENSORA_LIVE_OVERLAYS");
    if (hook.isEmpty()) {
        return;
    }
    const auto turnOn = [&](LiveOverlay overlay, const char* word) {
        if (hook.contains(word) && !session.IsOn(overlay)) {
            session.Toggle(overlay);
        }
    };
    turnOn(LiveOverlay::WhiteCross, "cross");
    turnOn(LiveOverlay::CrossRuler, "ruler");
    turnOn(LiveOverlay::Rings, "rings");
    turnOn(LiveOverlay::DateTime, "time");
    overlays.ruler.pixelsPerUnit = 100.0;
    overlays.ruler.magnification = 20.0;
}

}  // namespace

int main(int argc, char** argv) {
    // A second instance ends at once, silently, before any window exists.
    lensora::SingleInstanceLock instance;
    if (!instance.Acquired()) {
        return 0;
    }
    QApplication application(argc, argv);
    QApplication::setApplicationName("Lensora");
    QApplication::setOrganizationName("lumabench");

    // QApplication has taken its own options out of argv by now.
    const lensora::CommandLine commandLine = lensora::ParseCommandLine(argc, argv);

    lensora::skin::ApplyTheme();

    lensora::AppEnvironment environment;
    environment.appFolder = lensora::ConfigFolder();
    environment.documentsFolder = lensora::DocumentsFolder();
    environment.resourceFolder = lensora::ResourceFolder();
    environment.systemLanguageId = lensora::SystemLanguageId();

    lensora::QtSettingsStore store(lensora::SettingsFilePath(environment.appFolder));
    lensora::AppState app(store, environment);
    app.Initialise();

    lensora::CameraService::Options cameraOptions;
    cameraOptions.demo = commandLine.demoCamera;
    cameraOptions.forcedPath = commandLine.forcedCamera;
    cameraOptions.capConfigPath = lensora::CapConfigPath(environment.appFolder);
    cameraOptions.buttonEnabled = app.Settings().isEnableSnap == 1;
    lensora::CameraService camera(cameraOptions);

    lensora::MainWindow window(app);
    ApplyOverlayHook(camera.Overlays(), window.Session());
    window.AttachCamera(&camera);
    window.show();
    camera.Connect();
    // Developer hook for screenshots: opens the video settings once the picture runs.
    if (qEnvironmentVariableIsSet("LENSORA_OPEN_VIDEO_SETTINGS")) {
        QTimer::singleShot(1500, &window, [&window] { window.OpenVideoSettings(); });
    }
    // A picture named on the command line (or handed over by a file manager) opens for
    // measuring beside the main window.
    if (!commandLine.picture.empty()) {
        window.OpenPicture(commandLine.picture);
    }
    const int status = QApplication::exec();
    window.AttachCamera(nullptr);
    return status;
}
