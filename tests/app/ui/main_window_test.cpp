#include "app/ui/main_window.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QSettings>
#include <memory>

#include "app/app_state.h"
#include "app/main_buttons.h"
#include "app/ui/calibrate_prompt_dialog.h"
#include "base/ui/skin_button.h"
#include "canvas/ui/still_window.h"
#include "capture/capture_format.h"
#include "live/live_session.h"
#include "live/ui/live_canvas.h"
#include "platform/camera_service.h"
#include "platform/qt_settings_store.h"
#include "support/event_loop.h"
#include "support/started_app.h"
#include "support/temp_dir.h"
#include "support/test_media.h"

namespace lensora {
namespace {
using test::TempDir;
using test::WaitUntil;

class MainWindowTest : public ::testing::Test {
  protected:
    void Start() {
        test::StartApp(dir, store, app);
        window = std::make_unique<MainWindow>(*app);
        window->show();
    }
    CalibratePromptDialog* WaitForPrompt() {
        CalibratePromptDialog* prompt = nullptr;
        WaitUntil([&] { return (prompt = window->findChild<CalibratePromptDialog*>()) != nullptr; },
                  1500);
        return prompt;
    }

    TempDir dir;
    std::unique_ptr<QtSettingsStore> store;
    std::unique_ptr<AppState> app;
    std::unique_ptr<MainWindow> window;
};

TEST_F(MainWindowTest, FirstStartWritesTheSettingsFileAndAsksToCalibrateOnce) {
    Start();
    EXPECT_EQ(window->size(), QSize(868, 650));
    EXPECT_EQ(window->MagnificationBox()->text(), "60");
    EXPECT_EQ(window->MagnificationBox()->geometry(), QRect(800, 462, 52, 24));
    EXPECT_EQ(window->Preview()->geometry(), QRect(98, 49, 640, 480));
    EXPECT_EQ(window->Preview()->StatusText(), "Please connect Lensora Digital Microscope");

    QSettings file(QString::fromStdString(dir.Sub("config/lumabench.ini")), QSettings::IniFormat);
    EXPECT_EQ(file.value("font/Linewidth").toInt(), 2);
    EXPECT_EQ(file.value("font/LineColor").toInt(), 255);
    EXPECT_EQ(file.value("LanguageID/ImageFormat").toInt(), 2);
    EXPECT_EQ(file.value("LanguageID/sys_date").toInt(), 1);
    EXPECT_EQ(file.value("Units/unit").toString(), "mm");
    EXPECT_EQ(file.value("Units/decimal").toInt(), 3);
    EXPECT_EQ(app->Settings().lineWidth, 2u);

    CalibratePromptDialog* prompt = WaitForPrompt();
    ASSERT_NE(prompt, nullptr);
    EXPECT_TRUE(prompt->CheckBox()->isChecked());
    prompt->CheckBox()->setChecked(false);
    prompt->accept();
    QSettings after(QString::fromStdString(dir.Sub("config/lumabench.ini")), QSettings::IniFormat);
    EXPECT_EQ(after.value("LanguageID/sys_date").toInt(), 0);

    // The next start does not ask again.
    window.reset();
    Start();
    EXPECT_EQ(WaitForPrompt(), nullptr);
}

TEST_F(MainWindowTest, ClosingThePromptWithoutOkChangesNothing) {
    Start();
    CalibratePromptDialog* prompt = WaitForPrompt();
    ASSERT_NE(prompt, nullptr);
    prompt->CheckBox()->setChecked(false);
    prompt->reject();
    EXPECT_EQ(store->ReadNumber("LanguageID", "sys_date"), 1u);
}

TEST_F(MainWindowTest, WithoutCameraOnlyTheWindowButtonsLanguageAboutAndFoldersRespond) {
    Start();
    int enabled = 0;
    for (const MainButton& b : kMainButtons) {
        SkinButton* button = window->Button(b.command);
        ASSERT_NE(button, nullptr) << b.command;
        EXPECT_FALSE(button->toolTip().isEmpty()) << b.command;
        enabled += button->isEnabled();
    }
    // The folder buttons choose what the thumbnail strip lists, which needs no camera.
    EXPECT_EQ(enabled, 6);
    EXPECT_TRUE(window->Button(command::kPictureFolder)->isEnabled());
    EXPECT_TRUE(window->Button(command::kVideoFolder)->isEnabled());
    EXPECT_TRUE(window->Button(command::kClose)->isEnabled());
    EXPECT_TRUE(window->Button(command::kLanguage)->isEnabled());
    EXPECT_FALSE(window->Button(command::kCamera)->isEnabled());
    EXPECT_FALSE(window->Button(command::kEllipse)->isVisible());
    EXPECT_EQ(window->Button(command::kUndo)->toolTip(), "Undo");
    EXPECT_EQ(window->Button(command::kRedo)->toolTip(), "Redo");
    EXPECT_EQ(window->Button(command::kSnapSwitch)->toolTip(), "Snapshot Disable");

    window->EnableCaptureControls();
    EXPECT_TRUE(window->Button(command::kCamera)->isEnabled());
    EXPECT_FALSE(window->Button(command::kEllipse)->isEnabled());
    EXPECT_TRUE(window->Preview()->StatusText().isEmpty());
}

TEST_F(MainWindowTest, LanguageMenuSwitchesEveryTextAtOnce) {
    // A German file in its code page: "Länge" has a byte that is not UTF-8.
    dir.Write("res/lang/German1252.ini",
              "[Quillaret]\r\nTipLine=L\xE4ngenmessung\r\nTipMeasure=Messen\r\n"
              "TipCalibration=Kalibrierung\r\nRate=Ma\xDF"
              "stab:\r\nTipRedo=R\xFC"
              "ckg\xE4ngig\r\n"
              "ConnectMsg=Bitte Mikroskop anschlie\xDF"
              "en\r\nGerman=Deutsch\r\n");
    Start();
    std::unique_ptr<QMenu> menu(window->BuildLanguageMenu());
    const QList<QAction*> actions = menu->actions();
    ASSERT_EQ(actions.size(), 12);
    EXPECT_EQ(actions[0]->text(), "English(English)");
    EXPECT_TRUE(actions[0]->isChecked());

    QAction* german = nullptr;
    for (QAction* a : actions) {
        if (a->data().toInt() == 1305) {
            german = a;
        }
    }
    ASSERT_NE(german, nullptr);
    german->trigger();

    EXPECT_EQ(window->Button(command::kLine)->toolTip(), QString::fromUtf8("Längenmessung"));
    EXPECT_EQ(window->Button(command::kUndo)->toolTip(), QString::fromUtf8("Rückgängig"));
    EXPECT_EQ(window->Button(command::kDotLine)->toolTip(), "Dot Line Measurement");
    EXPECT_EQ(window->GroupTitle(1203), "Messen");
    EXPECT_EQ(window->GroupTitle(1148), "Kalibrierung");
    EXPECT_EQ(window->GroupTitle(1248), "Auto Measure");
    EXPECT_EQ(window->GroupTitle(1350), QString::fromUtf8("Maßstab:"));
    EXPECT_EQ(window->Preview()->StatusText(), QString::fromUtf8("Bitte Mikroskop anschließen"));
    EXPECT_EQ(store->ReadNumber("LanguageID", "LanID"), 7u);

    std::unique_ptr<QMenu> again(window->BuildLanguageMenu());
    EXPECT_EQ(again->actions()[5]->text(), "Deutsch");
    EXPECT_TRUE(again->actions()[5]->isChecked());
    EXPECT_FALSE(again->actions()[0]->isChecked());
}

TEST_F(MainWindowTest, EscapeAndEnterNeverCloseTheWindow) {
    Start();
    for (int key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter}) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QCoreApplication::sendEvent(window.get(), &press);
    }
    EXPECT_TRUE(window->isVisible());
    window->OnCommand(command::kClose);
    EXPECT_FALSE(window->isVisible());
}

TEST_F(MainWindowTest, APictureFromOutsideWaitsForTheCalibratePromptThenComesToTheFront) {
    Start();
    const std::string picture = dir.Sub("outside.bmp");
    ASSERT_TRUE(test::WritePicture(picture, 64, 48, 10, 20, 30));
    window->OpenPictureInFront(picture);
    EXPECT_EQ(window->findChild<StillWindow*>(), nullptr);  // not under the prompt

    CalibratePromptDialog* prompt = WaitForPrompt();
    ASSERT_NE(prompt, nullptr);
    EXPECT_EQ(window->findChild<StillWindow*>(), nullptr);
    prompt->reject();
    StillWindow* still = window->findChild<StillWindow*>();
    ASSERT_NE(still, nullptr);
    EXPECT_TRUE(still->isVisible());
    WaitUntil([&] { return QApplication::activeWindow() == still; }, 1000);
    EXPECT_EQ(QApplication::activeWindow(), still);

    // With no prompt pending, a second picture opens at once.
    const std::string second = dir.Sub("second.bmp");
    ASSERT_TRUE(test::WritePicture(second, 64, 48, 10, 20, 30));
    window->OpenPictureInFront(second);
    EXPECT_EQ(window->findChildren<StillWindow*>().size(), 2);
}

}  // namespace
}  // namespace lensora

namespace lensora {
namespace {

TEST_F(MainWindowTest, MagnificationLooksUpItsStoredCalibration) {
    dir.Write("config/CalibrationIni.ini", "[60]\n60=55.5\n[200]\n200=190.2\n");
    Start();
    EXPECT_EQ(window->CalibratedRateBox()->text(), "55.5");
    window->MagnificationBox()->setText("200");
    EXPECT_EQ(window->CalibratedRateBox()->text(), "190.2");
    window->MagnificationBox()->setText("75");
    EXPECT_EQ(window->CalibratedRateBox()->text(), "");
    window->TakeCalibrationHandover("60", "57.1");
    EXPECT_EQ(window->MagnificationBox()->text(), "60");
    EXPECT_EQ(window->CalibratedRateBox()->text(), "57.1");
}

TEST_F(MainWindowTest, F10AndF12SwitchTheCaptureSizeAndRewriteCapConfig) {
    Start();
    CameraService::Options options;
    options.demo = true;
    options.capConfigPath = CapConfigPath(dir.Sub("config"));
    CameraService camera(options);
    window->AttachCamera(&camera);
    ASSERT_TRUE(camera.Connect());
    // The hotkey's action, as its shortcut triggers it.
    const auto press = [&](int key) {
        for (QAction* action : window->findChildren<QAction*>()) {
            if (action->shortcut() == QKeySequence(key)) {
                ASSERT_TRUE(action->isEnabled());
                action->trigger();
            }
        }
    };
    press(Qt::Key_F10);
    EXPECT_EQ(camera.Connection().CaptureWidth(), 640);
    // The live view measures with the new capture size.
    EXPECT_EQ(window->Session().Camera().captureWidth, 640);
    ASSERT_TRUE(ReadCapConfig(options.capConfigPath));
    EXPECT_EQ(ReadCapConfig(options.capConfigPath)->width, 640);
    press(Qt::Key_F12);
    EXPECT_EQ(camera.Connection().CaptureWidth(), 1600);
    EXPECT_EQ(ReadCapConfig(options.capConfigPath)->width, 1600);
    EXPECT_EQ(ReadCapConfig(options.capConfigPath)->height, 1200);
    window->AttachCamera(nullptr);
}

}  // namespace
}  // namespace lensora

namespace lensora {
namespace {

TEST_F(MainWindowTest, EveryCommandIsAnActionWithItsTooltipAndTheHotkeysComeFromOneTable) {
    Start();
    ASSERT_NE(window->Action(command::kCamera), nullptr);
    EXPECT_EQ(window->Action(command::kCamera)->shortcut(), QKeySequence(Qt::Key_F2));
    EXPECT_EQ(window->Action(command::kRecordStart)->shortcut(), QKeySequence(Qt::Key_F3));
    EXPECT_EQ(window->Action(command::kRecordStop)->shortcut(), QKeySequence(Qt::Key_F4));
    EXPECT_EQ(window->Action(command::kResolutionStep1)->shortcut(), QKeySequence(Qt::Key_F10));
    EXPECT_EQ(window->Action(command::kResolutionStep2)->shortcut(), QKeySequence(Qt::Key_F11));
    EXPECT_EQ(window->Action(command::kResolutionStep3)->shortcut(), QKeySequence(Qt::Key_F12));
    EXPECT_EQ(window->Action(command::kUndo)->toolTip(), window->Button(command::kUndo)->toolTip());
    // Without a camera the capture commands and their hotkeys are off, the window's own on.
    EXPECT_FALSE(window->Action(command::kCamera)->isEnabled());
    EXPECT_FALSE(window->Action(command::kRecordStart)->isEnabled());
    EXPECT_TRUE(window->Action(command::kAboutButton)->isEnabled());
    window->EnableCaptureControls();
    EXPECT_TRUE(window->Action(command::kResolutionStep3)->isEnabled());
    EXPECT_FALSE(window->Action(command::kEllipse)->isEnabled());
    // A tool button reaches the live session through its action.
    window->Button(command::kCircleLabel)->click();
    EXPECT_EQ(window->Session().Interaction()->CurrentTool(), LiveKind::kCircleLabel);
}

}  // namespace
}  // namespace lensora
