// The main window over the virtual microscope: measuring on the live picture with the mouse,
// undo / redo / delete all, full screen and Escape, the zoom pad, the preview menu's switches
// and the rate rule, the live line calibration, the capture controls and pause / resume.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QScreen>
#include <QSpinBox>
#include <memory>

#include "app/app_state.h"
#include "app/main_buttons.h"
#include "app/ui/calibrate_prompt_dialog.h"
#include "app/ui/main_window.h"
#include "base/ui/skin_button.h"
#include "canvas/ui/pen_setting_dialog.h"
#include "capture/capture_format.h"
#include "capture/virtual_microscope.h"
#include "library/ui/thumbnail_strip.h"
#include "live/live_session.h"
#include "live/ui/live_canvas.h"
#include "live/ui/zoom_pad.h"
#include "measure/calibration.h"
#include "platform/camera_service.h"
#include "platform/qt_settings_store.h"
#include "support/event_loop.h"
#include "support/fake_prompts.h"
#include "support/started_app.h"
#include "support/temp_dir.h"

namespace lensora {
namespace {
using test::WaitUntil;

void Mouse(QWidget* widget, QEvent::Type type, QPoint pos, Qt::MouseButton button) {
    const Qt::MouseButtons held =
        type == QEvent::MouseButtonPress ? Qt::MouseButtons(button) : Qt::MouseButtons();
    QMouseEvent event(type, QPointF(pos), QPointF(widget->mapToGlobal(pos)), button, held,
                      Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

void Click(QWidget* widget, QPoint pos, Qt::MouseButton button = Qt::LeftButton) {
    Mouse(widget, QEvent::MouseMove, pos, Qt::NoButton);
    Mouse(widget, QEvent::MouseButtonPress, pos, button);
    Mouse(widget, QEvent::MouseButtonRelease, pos, button);
}

bool IsRed(QRgb c) {
    return qRed(c) > 200 && qGreen(c) < 80 && qBlue(c) < 80;
}

int RedPixels(const QImage& image, QRect area) {
    int count = 0;
    area = area.intersected(image.rect());
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            count += IsRed(image.pixel(x, y)) ? 1 : 0;
        }
    }
    return count;
}

QAction* FindAction(QMenu* menu, int command) {
    for (QAction* action : menu->findChildren<QAction*>()) {
        if (action->data().toInt() == command) {
            return action;
        }
    }
    return nullptr;
}

class MainWindowLiveTest : public ::testing::Test {
  protected:
    void Start(bool withCamera = true) {
        test::StartApp(dir, store, app);
        window = std::make_unique<MainWindow>(*app);
        window->OverridePrompts(&prompts);
        window->show();
        // The first start asks to calibrate; the tests answer it at once.
        CalibratePromptDialog* prompt = nullptr;
        WaitUntil([&] { return (prompt = window->findChild<CalibratePromptDialog*>()) != nullptr; },
                  1500);
        if (prompt != nullptr) {
            prompt->reject();
        }
        if (!withCamera) {
            return;
        }
        CameraService::Options options;
        options.demo = true;
        options.capConfigPath = CapConfigPath(dir.Sub("config"));
        camera = std::make_unique<CameraService>(options);
        window->AttachCamera(camera.get());
        ASSERT_TRUE(camera->Connect());
        ASSERT_TRUE(WaitUntil([&] { return window->Preview()->FramesShown() >= 2; }, 10000));
    }
    void TearDown() override {
        if (window != nullptr) {
            window->AttachCamera(nullptr);
        }
        window.reset();
    }
    const LiveRecords& Records() { return window->Session().Records(); }
    LiveInteraction& Live() { return *window->Session().Interaction(); }
    // Waits for the next composed frames.
    void NextFrames(int n = 2) {
        const std::uint64_t shown = window->Preview()->FramesShown();
        ASSERT_TRUE(WaitUntil([&] { return window->Preview()->FramesShown() >= shown + n; }, 5000));
    }
    void MeasureLine(QPoint from, QPoint to, QPoint label) {
        // A second press on the chosen tool's button would deselect it.
        if (Live().CurrentTool() != LiveKind::kStraightLine) {
            window->Button(command::kLine)->click();
        }
        ASSERT_EQ(Live().CurrentTool(), LiveKind::kStraightLine);
        Click(window->Preview(), from);
        Click(window->Preview(), to);
        Click(window->Preview(), label);
    }

    test::TempDir dir;
    std::unique_ptr<QtSettingsStore> store;
    std::unique_ptr<AppState> app;
    test::FakePrompts prompts;
    std::unique_ptr<CameraService> camera;
    std::unique_ptr<MainWindow> window;
};

TEST_F(MainWindowLiveTest, ALineMeasuredByMouseShowsItsLabelAndUndoRedoDeleteAllTakeItBack) {
    Start();
    MeasureLine({100, 300}, {300, 300}, {340, 340});
    ASSERT_EQ(Records().size(), 1u);
    ASSERT_FALSE(Records()[0].labels.empty());
    EXPECT_EQ(Records()[0].labels[0].rfind("L:", 0), 0u) << Records()[0].labels[0];
    NextFrames();
    // The line in its red pen along row 300, and its red label beside the placing click.
    const QImage& shown = window->Preview()->Surface();
    EXPECT_GT(RedPixels(shown, QRect(120, 299, 160, 3)), 150);
    EXPECT_GT(RedPixels(shown, QRect(310, 315, 200, 100)), 10);

    window->Button(command::kUndo)->click();
    EXPECT_EQ(Records().size(), 0u);
    NextFrames();
    EXPECT_LT(RedPixels(window->Preview()->Surface(), QRect(120, 299, 160, 3)), 20);
    window->Button(command::kRedo)->click();
    EXPECT_EQ(Records().size(), 1u);
    MeasureLine({100, 100}, {200, 100}, {220, 130});
    EXPECT_EQ(Records().size(), 2u);
    window->Button(command::kDeleteAll)->click();
    EXPECT_EQ(Records().size(), 0u);
    window->Button(command::kRedo)->click();
    EXPECT_EQ(Records().size(), 0u);  // Delete All also empties the redo stack
}

TEST_F(MainWindowLiveTest, FullScreenDiscardsTheMeasurementInProgressAndEscapeRestoresThePanel) {
    Start();
    MeasureLine({100, 300}, {300, 300}, {340, 340});
    Click(window->Preview(), {50, 50});
    ASSERT_TRUE(Live().MeasurementInProgress());

    window->Button(command::kFullScreen)->click();
    ASSERT_TRUE(window->IsFullScreen());
    const QSize screen = window->screen()->geometry().size();
    EXPECT_EQ(window->Preview()->size(), screen);
    EXPECT_FALSE(Live().MeasurementInProgress());
    EXPECT_EQ(Live().CurrentTool(), LiveKind::kNone);
    EXPECT_EQ(Records().size(), 1u);
    EXPECT_FALSE(window->Zoom()->isVisible());
    EXPECT_FALSE(window->Strip()->isVisible());
    EXPECT_FALSE(window->Button(command::kLine)->isVisible());
    EXPECT_EQ(window->Preview()->FullScreenHint(), "ESC Restore");
    // The finished line is drawn at the display scale.
    EXPECT_DOUBLE_EQ(Live().Transform().fx, 640.0 / screen.width());
    NextFrames();
    const int row = int(300.0 * screen.height() / 480.0);
    const int left = int(120.0 * screen.width() / 640.0);
    const int right = int(280.0 * screen.width() / 640.0);
    EXPECT_GT(RedPixels(window->Preview()->Surface(), QRect(left, row - 2, right - left, 5)),
              right - left - 5);

    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(window.get(), &escape);
    EXPECT_FALSE(window->IsFullScreen());
    EXPECT_EQ(window->Preview()->geometry(), QRect(98, 49, 640, 480));
    EXPECT_EQ(window->size(), QSize(MainWindow::kWidth, MainWindow::kHeight));
    EXPECT_TRUE(window->Zoom()->isVisible());
    EXPECT_TRUE(window->Strip()->isVisible());
    EXPECT_TRUE(window->Button(command::kLine)->isVisible());
    EXPECT_FALSE(window->Button(command::kEllipse)->isVisible());
    EXPECT_TRUE(window->Preview()->FullScreenHint().isEmpty());
    EXPECT_EQ(Live().Transform().fx, 1.0);
    EXPECT_EQ(Records().size(), 1u);
    // Escape outside full screen changes nothing and never closes the window.
    QKeyEvent again(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(window.get(), &again);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->Preview()->geometry(), QRect(98, 49, 640, 480));
}

TEST_F(MainWindowLiveTest, ZoomPadLevelsClampAndThePadMagnifiesTheHeldPictureAroundThePointer) {
    Start(false);
    ZoomPad* pad = window->Zoom();
    EXPECT_EQ(pad->geometry(), QRect(738, 530, 120, 120));
    EXPECT_EQ(pad->Level(), 1);
    for (int i = 0; i < 8; ++i) {
        Click(pad, {60, 60});
    }
    EXPECT_EQ(pad->Level(), 6);
    for (int i = 0; i < 8; ++i) {
        Click(pad, {60, 60}, Qt::RightButton);
    }
    EXPECT_EQ(pad->Level(), 1);

    // Without a held picture the pad is not redrawn.
    Mouse(window->Preview(), QEvent::MouseMove, {320, 240}, Qt::NoButton);
    EXPECT_FALSE(pad->Shown().has_value());

    // A 1600 x 1200 picture whose pixels tell where they are: blue = x, green = y (mod 256).
    CxImage& held = window->Session().HeldPicture();
    ASSERT_TRUE(held.Create(1600, 1200, 24));
    for (int y = 0; y < 1200; ++y) {
        std::uint8_t* row = held.RowFromTop(y);
        for (int x = 0; x < 1600; ++x) {
            row[3 * x] = std::uint8_t(x);
            row[3 * x + 1] = std::uint8_t(y);
            row[3 * x + 2] = 0;
        }
    }
    Mouse(window->Preview(), QEvent::MouseMove, {320, 240}, Qt::NoButton);
    ASSERT_TRUE(pad->Shown().has_value());
    EXPECT_EQ(*pad->Shown(), (ZoomWindow{740, 540, 120, 120}));
    EXPECT_EQ(qBlue(pad->Magnified().pixel(0, 0)), 740 % 256);
    EXPECT_EQ(qGreen(pad->Magnified().pixel(0, 0)), 540 % 256);
    for (int i = 0; i < 5; ++i) {
        Click(pad, {60, 60});
    }
    Mouse(window->Preview(), QEvent::MouseMove, {639, 479}, Qt::NoButton);
    EXPECT_EQ(*pad->Shown(), (ZoomWindow{1580, 1180, 20, 20}));
    EXPECT_EQ(qBlue(pad->Magnified().pixel(119, 119)), 1599 % 256);
    EXPECT_EQ(qGreen(pad->Magnified().pixel(119, 119)), 1199 % 256);
}

TEST_F(MainWindowLiveTest, PreviewMenuSwitchesTheOverlaysWithTheRateRuleAndTheSnapshotFormat) {
    Start();
    window->MagnificationBox()->setText("");
    ASSERT_TRUE(window->CalibratedRateBox()->text().isEmpty());
    // The ruler and the rings need a rate.
    EXPECT_FALSE(window->ToggleOverlay(LiveOverlay::CrossRuler));
    EXPECT_FALSE(window->ToggleOverlay(LiveOverlay::Rings));
    ASSERT_EQ(prompts.shown.size(), 2u);
    EXPECT_EQ(prompts.shown[0], "Please input the zoomIn scale!");
    EXPECT_EQ(prompts.icons[0], PromptIcon::Exclamation);
    EXPECT_TRUE(window->ToggleOverlay(LiveOverlay::WhiteCross));
    EXPECT_TRUE(window->ToggleOverlay(LiveOverlay::DateTime));
    window->MagnificationBox()->setText("60");
    EXPECT_TRUE(window->ToggleOverlay(LiveOverlay::CrossRuler));
    EXPECT_GT(camera->Overlays().ruler.pixelsPerUnit, 0.0);
    EXPECT_EQ(prompts.shown.size(), 2u);

    std::unique_ptr<QMenu> menu(window->BuildPreviewMenu());
    ASSERT_NE(FindAction(menu.get(), 1273), nullptr);
    EXPECT_EQ(FindAction(menu.get(), 1273)->text(), "Cancel");
    EXPECT_TRUE(FindAction(menu.get(), 1243)->isChecked());
    EXPECT_TRUE(FindAction(menu.get(), 1244)->isChecked());
    EXPECT_FALSE(FindAction(menu.get(), 1245)->isChecked());
    EXPECT_TRUE(FindAction(menu.get(), 395)->isChecked());
    EXPECT_FALSE(FindAction(menu.get(), 1314)->isChecked());  // JPEG by default
    EXPECT_TRUE(FindAction(menu.get(), 1315)->isChecked());
    FindAction(menu.get(), 1245)->trigger();
    EXPECT_TRUE(window->Session().IsOn(LiveOverlay::Rings));
    FindAction(menu.get(), 1314)->trigger();
    EXPECT_EQ(app->Settings().imageFormat, 1u);
    EXPECT_EQ(store->ReadNumber("LanguageID", "ImageFormat"), 1u);
    menu.reset(window->BuildPreviewMenu());
    EXPECT_TRUE(FindAction(menu.get(), 1314)->isChecked());
    EXPECT_FALSE(FindAction(menu.get(), 1315)->isChecked());
    FindAction(menu.get(), 1315)->trigger();
    EXPECT_EQ(store->ReadNumber("LanguageID", "ImageFormat"), 2u);
    // Cancel discards the measurement being drawn and deselects the tool.
    window->Button(command::kLine)->click();
    Click(window->Preview(), {50, 50});
    FindAction(menu.get(), 1273)->trigger();
    EXPECT_FALSE(window->Session().Interaction()->MeasurementInProgress());
    EXPECT_EQ(window->Session().Interaction()->CurrentTool(), LiveKind::kNone);

    // A right click on the picture with no automatic tool to finish opens the menu.
    Click(window->Preview(), {200, 200}, Qt::RightButton);
    QMenu* opened = nullptr;
    ASSERT_TRUE(WaitUntil([&] {
        for (QMenu* m : window->findChildren<QMenu*>(QStringLiteral("previewMenu"))) {
            if (m->isVisible()) {
                opened = m;
            }
        }
        return opened != nullptr;
    }));
    opened->close();

    // Without a camera the switches do nothing.
    camera->Demo()->Unplug();
    ASSERT_TRUE(WaitUntil([&] { return !window->Button(command::kLine)->isEnabled(); }, 5000));
    EXPECT_TRUE(window->ToggleOverlay(LiveOverlay::WhiteCross));
    EXPECT_TRUE(window->Session().IsOn(LiveOverlay::WhiteCross));
}

TEST_F(MainWindowLiveTest, LineCalibrationOnTheLivePictureIsStoredAndShownWithOneDecimal) {
    dir.Write("config/CalibrationIni.ini", "");
    Start();
    ASSERT_EQ(window->MagnificationBox()->text(), "60");
    std::vector<double> asked;
    window->askActualDistance = [&](const QString& unit, double pixels) {
        EXPECT_EQ(unit, "mm");
        asked.push_back(pixels);
        return std::optional<double>(2.0);
    };
    window->Button(command::kLineCalibration)->click();
    EXPECT_EQ(Live().CurrentTool(), LiveKind::kParallelLine);
    window->OnCommand(command::kCamera);  // a command that is not a tool keeps the calibration
    EXPECT_TRUE(Live().ExpectingCalibrationLine());
    Click(window->Preview(), {100, 200});
    Click(window->Preview(), {300, 200});
    Click(window->Preview(), {320, 230});
    ASSERT_TRUE(WaitUntil([&] { return !window->CalibratedRateBox()->text().isEmpty(); }));
    EXPECT_EQ(asked, (std::vector<double>{200.0}));
    // With the magnification as the rate before, the new rate makes the line 2 mm long.
    const double newRate = 200.0 * UnitsPerPixel("mm", window->Session().Camera()) * 10 / 2.0;
    const QString shown = QString::fromStdString(FormatRate(newRate));
    EXPECT_EQ(window->CalibratedRateBox()->text(), shown);
    EXPECT_EQ(QString::fromStdString(LookUpCalibration(app->CalibrationFile(), "60")), shown);
    ASSERT_EQ(Records().size(), 1u);
    EXPECT_EQ(Records()[0].labels[0], "L:2.000mm");
    // Another magnification has no rate of its own; back at 60 the stored one returns.
    window->MagnificationBox()->setText("100");
    EXPECT_TRUE(window->CalibratedRateBox()->text().isEmpty());
    window->MagnificationBox()->setText("60");
    EXPECT_EQ(window->CalibratedRateBox()->text(), shown);
}

TEST_F(MainWindowLiveTest, CaptureControlsFollowTheConnectionAndPauseKeepsTheLastFrame) {
    Start();
    EXPECT_TRUE(window->Button(command::kLine)->isEnabled());
    EXPECT_TRUE(window->Button(command::kPreview)->isChecked());
    EXPECT_FALSE(window->Button(command::kEllipse)->isEnabled());

    window->Button(command::kPreview)->click();
    EXPECT_FALSE(window->PreviewRunning());
    EXPECT_FALSE(window->Button(command::kPreview)->isChecked());
    const std::uint64_t frozenAt = window->Preview()->FramesShown();
    const QImage before = window->Preview()->Surface().copy();
    WaitUntil([] { return false; }, 400);
    EXPECT_EQ(window->Preview()->FramesShown(), frozenAt);
    // The timed capture needs the running picture.
    window->Button(command::kTimer)->click();
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0], "Please select a picture or video");
    // Measuring still works over the kept frame.
    MeasureLine({100, 300}, {300, 300}, {340, 340});
    EXPECT_GT(RedPixels(window->Preview()->Surface(), QRect(120, 299, 160, 3)), 150);
    EXPECT_EQ(RedPixels(before, QRect(120, 299, 160, 3)), 0);
    window->Button(command::kPreview)->click();
    EXPECT_TRUE(window->PreviewRunning());
    NextFrames();

    camera->Demo()->Unplug();
    ASSERT_TRUE(WaitUntil([&] { return !window->Button(command::kLine)->isEnabled(); }, 5000));
    EXPECT_FALSE(window->Button(command::kPreview)->isEnabled());
    EXPECT_FALSE(window->Button(command::kFullScreen)->isEnabled());
    EXPECT_TRUE(window->Button(command::kClose)->isEnabled());
    EXPECT_TRUE(window->Button(command::kMinimise)->isEnabled());
    EXPECT_TRUE(window->Button(command::kLanguage)->isEnabled());
    EXPECT_TRUE(window->Button(command::kAboutButton)->isEnabled());
    EXPECT_TRUE(window->Strip()->isEnabled());
    camera->Demo()->Replug();
    ASSERT_TRUE(WaitUntil([&] { return window->Button(command::kLine)->isEnabled(); }, 10000));
    EXPECT_TRUE(window->Button(command::kPreview)->isChecked());
}

TEST_F(MainWindowLiveTest, MeasurementSettingsGiveTheNextLiveMeasurementItsPen) {
    Start(false);
    window->EnableCaptureControls();
    window->Button(command::kMeasureSetting)->click();
    PenSettingDialog* dialog = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (dialog = window->findChild<PenSettingDialog*>()); }));
    dialog->WidthBox()->setValue(3);
    dialog->accept();
    EXPECT_EQ(window->Preview()->Drawing().penWidth, 3);
    MeasureLine({100, 300}, {300, 300}, {340, 340});
    ASSERT_EQ(Records().size(), 1u);
    EXPECT_EQ(Records()[0].penWidth, 3);
}

}  // namespace
}  // namespace lensora
