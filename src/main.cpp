// Program entry: one instance per user, the settings and folders, the main window, then the
// camera. The options are described in app/command_line.h.
#include <QApplication>
#include <QByteArray>
#include <QFile>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <thread>

#include <QTimer>
#include "app/app_state.h"
#include "app/command_line.h"
#include "app/ui/main_window.h"
#include "base/ui/skin.h"
#include "capture/capture_format.h"
#include "platform/camera_service.h"
#include "platform/picture_handover.h"
#include "platform/qt_settings_store.h"
#include "platform/single_instance.h"
#include "platform/system_paths.h"

namespace {

// The picture named on the command line, as bytes, made absolute: the running instance that
// receives it works in another folder. Empty when there is none.
QByteArray PictureArgument(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--camera") == 0) {
            ++i;
        } else if (std::strncmp(argv[i], "--", 2) != 0) {
            std::error_code error;
            const std::filesystem::path path = std::filesystem::absolute(argv[i], error);
            return QByteArray::fromStdString(error ? std::string(argv[i]) : path.native());
        }
    }
    return {};
}

}  // namespace

int main(int argc, char** argv) {
    // A second instance ends at once, before any window exists; a picture it was given goes
    // to the running instance, which opens it in front.
    lensora::SingleInstanceLock instance;
    if (!instance.Acquired()) {
        const QByteArray picture = PictureArgument(argc, argv);
        if (!picture.isEmpty()) {
            QCoreApplication handover(argc, argv);
            // The running instance may be starting still, before it listens: try for a while.
            for (int attempt = 0; attempt < 20; ++attempt) {
                if (lensora::SendPicture(lensora::HandoverSocketPath(), picture)) {
                    break;
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(150));
            }
        }
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
    window.AttachCamera(&camera);
    window.show();
    camera.Connect();
    // Developer hook for screenshots: opens the video settings once the picture runs.
    if (qEnvironmentVariableIsSet("LENSORA_OPEN_VIDEO_SETTINGS")) {
        QTimer::singleShot(1500, &window, [&window] { window.OpenVideoSettings(); });
    }
    // A picture named on the command line (or handed over by a file manager) opens for
    // measuring in front of the main window.
    if (!commandLine.picture.empty()) {
        window.OpenPictureInFront(commandLine.picture);
    }
    lensora::PictureHandoverServer handover;
    QObject::connect(
        &handover, &lensora::PictureHandoverServer::PictureReceived, &window,
        [&window](const QByteArray& path) { window.OpenPictureInFront(path.toStdString()); });
    handover.Listen(lensora::HandoverSocketPath());
    const int status = QApplication::exec();
    window.AttachCamera(nullptr);
    return status;
}
