// The main window over the virtual microscope, measured through mouse events with the cross
// ruler on. When LENSORA_SCREENSHOT names a PNG path the window is saved there, and with
// LENSORA_SCREENSHOT_FULL also in full screen (run under xvfb-run to see the program as an
// operator does). Without the variables it still checks that the measurements were made.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <memory>

#include "app/app_state.h"
#include "app/main_buttons.h"
#include "app/ui/calibrate_prompt_dialog.h"
#include "app/ui/main_window.h"
#include "base/ui/skin_button.h"
#include "live/live_session.h"
#include "live/ui/live_canvas.h"
#include "platform/camera_service.h"
#include "platform/qt_settings_store.h"
#include "platform/system_paths.h"
#include "support/event_loop.h"
#include "support/fake_prompts.h"
#include "support/temp_dir.h"

namespace lensora {
namespace {

void Send(QWidget* widget, QEvent::Type type, QPoint pos, Qt::MouseButton button) {
    const Qt::MouseButtons held =
        type == QEvent::MouseButtonPress ? Qt::MouseButtons(button) : Qt::MouseButtons();
    QMouseEvent event(type, QPointF(pos), QPointF(widget->mapToGlobal(pos)), button, held,
                      Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

void Clicks(QWidget* widget, std::initializer_list<QPoint> points) {
    for (const QPoint& p : points) {
        Send(widget, QEvent::MouseMove, p, Qt::NoButton);
        Send(widget, QEvent::MouseButtonPress, p, Qt::LeftButton);
        Send(widget, QEvent::MouseButtonRelease, p, Qt::LeftButton);
    }
}

void Settle(int ms) {
    test::WaitUntil([] { return false; }, ms);
}

TEST(MainWindowScreenshot, LiveMeasurementsWithTheRulerInBothLayouts) {
    test::TempDir dir;
    QtSettingsStore store(QString::fromStdString(dir.Sub("config/lumabench.ini")));
    AppState app(store, {dir.Sub("config"), dir.Sub("Documents"), ResourceFolder(), 1033});
    app.Initialise();
    test::FakePrompts prompts;
    CameraService::Options options;
    options.demo = true;
    CameraService camera(options);
    auto window = std::make_unique<MainWindow>(app);
    window->OverridePrompts(&prompts);
    window->AttachCamera(&camera);
    window->show();
    CalibratePromptDialog* prompt = nullptr;
    test::WaitUntil(
        [&] { return (prompt = window->findChild<CalibratePromptDialog*>()) != nullptr; }, 1500);
    if (prompt != nullptr) {
        prompt->reject();
    }
    ASSERT_TRUE(camera.Connect());
    ASSERT_TRUE(test::WaitUntil([&] { return window->Preview()->FramesShown() >= 3; }, 10000));

    // The specimen drifts under the lens: the picture is paused so that both layouts show the
    // frame the measurements were made on.
    window->OnCommand(command::kPreview);
    QWidget* preview = window->Preview();
    // The scale bar's length, the hole of the washer, the triangle's top corner and a label.
    window->Button(command::kLine)->click();
    Clicks(preview, {{67, 420}, {225, 420}, {120, 400}});
    window->Button(command::kRadiusCircle)->click();
    Clicks(preview, {{473, 143}, {500, 143}, {520, 175}});
    window->Button(command::kAngle)->click();
    Clicks(preview, {{345, 383}, {387, 229}, {494, 329}, {440, 250}});
    window->Button(command::kCircleLabel)->click();
    Clicks(preview, {{560, 400}});
    window->Button(command::kLine)->click();  // the next tool waits, nothing half-drawn
    EXPECT_TRUE(window->ToggleOverlay(LiveOverlay::CrossRuler));
    EXPECT_TRUE(window->ToggleOverlay(LiveOverlay::DateTime));
    EXPECT_GE(window->Session().Records().size(), 4u);
    EXPECT_TRUE(prompts.shown.empty());
    Settle(150);

    if (const QByteArray path = qgetenv("LENSORA_SCREENSHOT"); !path.isEmpty()) {
        EXPECT_TRUE(window->grab().save(QString::fromLocal8Bit(path)));
    }
    window->OnCommand(command::kFullScreen);
    Settle(300);
    EXPECT_TRUE(window->IsFullScreen());
    if (const QByteArray path = qgetenv("LENSORA_SCREENSHOT_FULL"); !path.isEmpty()) {
        EXPECT_TRUE(window->grab().save(QString::fromLocal8Bit(path)));
    }
    window->LeaveFullScreen();
    window->OnCommand(command::kPreview);
    EXPECT_TRUE(window->PreviewRunning());
    window->AttachCamera(nullptr);
}

}  // namespace
}  // namespace lensora
