#include "app/ui/recording_controller.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QPushButton>
#include <QTimer>
#include <memory>

#include "app/app_state.h"
#include "app/main_buttons.h"
#include "app/ui/main_window.h"
#include "base/ui/skin_button.h"
#include "capture/capture_format.h"
#include "capture/ui/recorder_dialog.h"
#include "capture/virtual_microscope.h"
#include "imaging/cx_image.h"
#include "library/thumbnail.h"
#include "library/ui/thumbnail_strip.h"
#include "platform/camera_service.h"
#include "platform/qt_settings_store.h"
#include "support/event_loop.h"
#include "support/started_app.h"
#include "support/temp_dir.h"

namespace lensora {
namespace {
using test::WaitUntil;

class RecordingControllerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        test::StartApp(dir, store, app);
        window = std::make_unique<MainWindow>(*app);
        window->show();
        CameraService::Options options;
        options.demo = true;
        options.capConfigPath = CapConfigPath(dir.Sub("config"));
        camera = std::make_unique<CameraService>(options);
        window->AttachCamera(camera.get());
        ASSERT_TRUE(camera->Connect());
        recording = window->Recording();
        ASSERT_NE(recording, nullptr);
        recording->playSound = [this](int sound) { sounds.push_back(sound); };
        recording->showError = [this](const QString&, const QString& text) {
            errors.push_back(text);
        };
    }
    void TearDown() override { window->AttachCamera(nullptr); }

    void Trigger(int command) {
        QAction* action = window->Action(command);
        ASSERT_NE(action, nullptr);
        ASSERT_TRUE(action->isEnabled());
        action->trigger();
    }
    // Records until the writer has written a few frames, then stops with F4.
    void RecordAFewFrames() {
        Trigger(command::kRecordStart);
        ASSERT_TRUE(recording->Recording());
        ASSERT_TRUE(WaitUntil([&] { return camera->Recorder().Counts().written >= 3; }, 5000));
        Trigger(command::kRecordStop);
    }
    std::vector<std::string> VideoList() {
        std::vector<std::string> names;
        for (const BrowserItem& item : window->Strip()->Browser().Videos().items) {
            names.push_back(std::filesystem::path(item.path).filename().string());
        }
        return names;
    }

    test::TempDir dir;
    std::unique_ptr<QtSettingsStore> store;
    std::unique_ptr<AppState> app;
    std::unique_ptr<MainWindow> window;
    std::unique_ptr<CameraService> camera;
    RecordingController* recording = nullptr;
    std::vector<int> sounds;
    std::vector<QString> errors;
};

TEST_F(RecordingControllerTest, F3StartsOnceF4StopsAndEachFileIsNumberedAndListed) {
    int asked = 0;
    recording->askSettings = [&]() -> std::optional<int> {
        ++asked;
        camera->Connection().ApplyResolutionStep(0);
        return 100;
    };
    Trigger(command::kRecordStart);
    Trigger(command::kRecordStart);  // a second F3 while recording does nothing
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(window->Button(command::kVideo)->isChecked());
    EXPECT_FALSE(window->Button(command::kPreview)->isChecked());
    EXPECT_TRUE(recording->ClockTimer()->isActive());
    ASSERT_TRUE(WaitUntil([&] { return camera->Recorder().Counts().written >= 3; }, 5000));
    Trigger(command::kRecordStop);
    EXPECT_FALSE(recording->Recording());
    EXPECT_FALSE(window->Button(command::kVideo)->isChecked());
    EXPECT_TRUE(window->Button(command::kPreview)->isChecked());
    Trigger(command::kRecordStop);  // F4 without a recording does nothing
    EXPECT_EQ(sounds, (std::vector<int>{180, 180}));
    // Back at the largest size after the recording.
    EXPECT_EQ(camera->Connection().CaptureWidth(), 1600);

    RecordAFewFrames();
    EXPECT_TRUE(errors.empty());
    const std::vector<std::string> listed = VideoList();
    ASSERT_EQ(listed.size(), 2u);
    EXPECT_TRUE(listed[0].starts_with("Video_") && listed[0].ends_with("_N0001.avi")) << listed[0];
    EXPECT_TRUE(listed[1].ends_with("_N0002.avi")) << listed[1];
    EXPECT_NE(recording->LastSummary().indexOf("frames written"), -1);
}

TEST_F(RecordingControllerTest, TheLimitStopsTheRecordingAndSound182Follows) {
    recording->askSettings = [] { return std::optional<int>(1); };
    Trigger(command::kVideo);
    ASSERT_TRUE(recording->Recording());
    ASSERT_TRUE(WaitUntil([&] { return !recording->Recording(); }, 3000));
    EXPECT_EQ(VideoList().size(), 1u);
    EXPECT_EQ(sounds, (std::vector<int>{180}));
    ASSERT_TRUE(WaitUntil([&] { return sounds.size() == 2; }, 2000));
    EXPECT_EQ(sounds.back(), 182);
    EXPECT_FALSE(recording->ClockTimer()->isActive());
    EXPECT_EQ(camera->Connection().CaptureWidth(), 1600);
}

TEST_F(RecordingControllerTest, CancellingTheDialogLeaves640x480AndNoRecording) {
    ASSERT_EQ(camera->Connection().CaptureWidth(), 1600);
    bool seen = false;
    QTimer::singleShot(0, [&] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (auto* dialog = qobject_cast<RecorderDialog*>(w); dialog && dialog->isVisible()) {
                seen = true;
                dialog->reject();
            }
        }
    });
    Trigger(command::kVideo);
    EXPECT_TRUE(seen);
    EXPECT_FALSE(recording->Recording());
    EXPECT_FALSE(window->Button(command::kVideo)->isChecked());
    EXPECT_EQ(camera->Connection().CaptureWidth(), 640);
    EXPECT_EQ(camera->Connection().CaptureHeight(), 480);
    EXPECT_TRUE(VideoList().empty());
}

TEST_F(RecordingControllerTest, ShutdownAndAFolderNamedLikeARecordingAreHandled) {
    std::filesystem::create_directories(std::filesystem::path(app->Folders().videoFolder) /
                                        "Video_N0007.avi");
    recording->askSettings = [] { return std::optional<int>(100); };
    Trigger(command::kRecordStart);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0], "AVI Error");
    ASSERT_TRUE(recording->Recording());
    ASSERT_TRUE(WaitUntil([&] { return camera->Recorder().Counts().written >= 2; }, 5000));
    window->close();
    EXPECT_FALSE(camera->Recorder().IsOpen());
    const std::vector<std::string> listed = VideoList();
    ASSERT_EQ(listed.size(), 1u);
    // The folder is reported, not counted.
    EXPECT_TRUE(listed[0].ends_with("_N0001.avi")) << listed[0];
}

TEST_F(RecordingControllerTest, UnpluggingTheCameraClosesTheFileProperly) {
    recording->askSettings = [this] {
        camera->Connection().ApplyResolutionStep(0);
        return std::optional<int>(100);
    };
    Trigger(command::kRecordStart);
    ASSERT_TRUE(WaitUntil([&] { return camera->Recorder().Counts().written >= 3; }, 5000));
    camera->Demo()->Unplug();
    ASSERT_TRUE(WaitUntil([&] { return !recording->Recording(); }, 6000));
    EXPECT_FALSE(camera->Recorder().IsOpen());
    EXPECT_FALSE(window->Button(command::kVideo)->isChecked());
    const std::vector<std::string> listed = VideoList();
    ASSERT_EQ(listed.size(), 1u);
    CxImage first;
    std::string error;
    EXPECT_TRUE(DecodeFirstVideoFrame(
        (std::filesystem::path(app->Folders().videoFolder) / listed[0]).string(), first, error))
        << error;
    EXPECT_EQ(first.GetWidth(), 640);
}

}  // namespace
}  // namespace lensora
