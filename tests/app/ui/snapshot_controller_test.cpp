// Snapshots with the virtual microscope: F2 in the main window writes the numbered files and
// selects each in the strip, the measurement lands at the capture scale in the file, the
// command is refused while the picture is paused, a folder that cannot be written is reported
// and lists nothing, the grab into memory fills the held picture, and the camera-button switch
// flips its setting and tooltip.
#include "app/ui/snapshot_controller.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <filesystem>

#include "app/app_state.h"
#include "app/main_buttons.h"
#include "app/ui/main_window.h"
#include "base/persisted_settings.h"
#include "base/sound_player.h"
#include "base/ui/skin_button.h"
#include "canvas/render_test_support.h"
#include "capture/virtual_microscope.h"
#include "imaging/cx_image.h"
#include "library/ui/thumbnail_strip.h"
#include "live/live_session.h"
#include "platform/camera_service.h"
#include "platform/qt_settings_store.h"
#include "support/event_loop.h"
#include "support/fake_prompts.h"
#include "support/started_app.h"
#include "support/temp_dir.h"

namespace lensora {
namespace {

namespace fs = std::filesystem;
using test::TempDir;
using test::WaitUntil;

class CountingSounds : public SoundPlayer {
  public:
    void Play(Sound sound) override { played.push_back(sound); }
    std::vector<Sound> played;
};

std::string SelectedName(ThumbnailStrip& strip) {
    const BrowserItem* item = strip.Browser().GetSelected();
    return item == nullptr ? std::string() : fs::path(item->path).filename().string();
}

std::vector<std::string> FilesIn(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(folder)) {
        names.push_back(e.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

class MainWindowSnapshotTest : public ::testing::Test {
  protected:
    void SetUp() override {
        test::StartApp(dir, store, app);
        window = std::make_unique<MainWindow>(*app);
        window->show();
        CameraService::Options options;
        options.demo = true;
        camera = std::make_unique<CameraService>(options);
        window->AttachCamera(camera.get());
        ASSERT_TRUE(camera->Connect());
    }
    void TearDown() override {
        window->AttachCamera(nullptr);
        window.reset();
        camera.reset();
    }
    // F2 as its shortcut triggers it; waits for the snapshot to be listed.
    bool PressF2() {
        const int before = window->Strip()->Browser().Pictures().Count();
        QAction* f2 = window->Action(command::kCamera);
        if (f2 == nullptr || !f2->isEnabled() || f2->shortcut() != QKeySequence(Qt::Key_F2)) {
            return false;
        }
        f2->trigger();
        return WaitUntil([&] { return window->Strip()->Browser().Pictures().Count() > before; },
                         5000);
    }

    TempDir dir;
    std::unique_ptr<QtSettingsStore> store;
    std::unique_ptr<AppState> app;
    std::unique_ptr<MainWindow> window;
    std::unique_ptr<CameraService> camera;
};

TEST_F(MainWindowSnapshotTest, F2WritesNumberedJpegsAndTheStripSelectsEachAsTheLastCell) {
    ASSERT_EQ(window->MagnificationBox()->text(), "60");
    ASSERT_TRUE(WaitUntil([&] { return camera->Pipeline().FramesStored() > 0; }, 5000));
    ASSERT_TRUE(PressF2());
    const std::string first = SelectedName(*window->Strip());
    EXPECT_TRUE(first.starts_with("Still_")) << first;
    EXPECT_TRUE(first.ends_with("_60X_N0001.jpg")) << first;
    ASSERT_TRUE(PressF2());
    const std::string second = SelectedName(*window->Strip());
    EXPECT_TRUE(second.ends_with("_60X_N0002.jpg")) << second;
    // The new picture is the selected last item of the list.
    MediaList& pictures = window->Strip()->Browser().Pictures();
    ASSERT_EQ(pictures.Count(), 2);
    EXPECT_EQ(pictures.selected, 1);
    EXPECT_EQ(fs::path(pictures.items[1].path).filename(), second);

    const std::vector<std::string> files = FilesIn(app->Folders().pictureFolder);
    ASSERT_EQ(files.size(), 2u);  // no temporary file left beside them
    const CxImage picture =
        CxImage::LoadFromFile(app->Folders().pictureFolder + "/" + second, kImageTypeJpeg);
    ASSERT_TRUE(picture.IsValid());
    EXPECT_EQ(picture.GetWidth(), camera->Connection().CaptureWidth());
    EXPECT_EQ(picture.GetHeight(), camera->Connection().CaptureHeight());
}

TEST_F(MainWindowSnapshotTest, TheMeasurementLandsAtTheCaptureScaleInTheFile) {
    ASSERT_TRUE(camera->Connection().SetResolution(1280, 1024));
    ASSERT_EQ(camera->Connection().CaptureHeight(), 1024);
    ASSERT_TRUE(
        WaitUntil([&] { return camera->Pipeline().Store().Header().height == 1024; }, 5000));
    // A green one-pixel line from (100, 100) to (200, 100) of the live view, saved as BMP so
    // that the pixels come back exactly.
    MeasureRecord line = test::Live(LiveKind::kAutoLineLength2, {{100, 100}, {200, 100}, {0, 0}});
    line.penColor = 0x00FF00;
    line.penStyle = 0;  // solid
    AppendRecord(window->Session().Records(), std::move(line));
    window->Snapshots().SetSnapshotFileType(1);
    ASSERT_TRUE(PressF2());
    const std::string name = SelectedName(*window->Strip());
    ASSERT_TRUE(name.ends_with("_60X_N0001.bmp")) << name;
    const CxImage picture =
        CxImage::LoadFromFile(app->Folders().pictureFolder + "/" + name, kImageTypeBmp);
    ASSERT_TRUE(picture.IsValid());
    ASSERT_EQ(picture.GetWidth(), 1280);
    ASSERT_EQ(picture.GetHeight(), 1024);
    const auto green = [&](int x, int y) {
        const std::uint8_t* p = picture.RowFromTop(y) + x * 3;
        return p[0] == 0 && p[1] == 255 && p[2] == 0;
    };
    for (int x = 200; x < 400; ++x) {
        ASSERT_TRUE(green(x, 200)) << x;
        if (x >= 210 && x < 390) {  // one pixel wide, away from any end marks
            ASSERT_FALSE(green(x, 198)) << x;
            ASSERT_FALSE(green(x, 202)) << x;
        }
    }
    // Where the line would lie unscaled there is none.
    EXPECT_FALSE(green(150, 100));
    EXPECT_FALSE(green(405, 200));
}

TEST_F(MainWindowSnapshotTest, CameraButtonSwitchFlipsTheSettingTheButtonAndItsTooltip) {
    QAction* toggle = window->Action(command::kSnapSwitch);
    ASSERT_NE(toggle, nullptr);
    EXPECT_EQ(app->Settings().isEnableSnap, 0u);
    EXPECT_EQ(toggle->toolTip(), "Snapshot Disable");
    window->Button(command::kSnapSwitch)->click();
    EXPECT_EQ(app->Settings().isEnableSnap, 1u);
    EXPECT_EQ(ReadSetting(app->Store(), setting::kIsEnableSnap, 7), 1u);
    EXPECT_TRUE(window->Button(command::kSnapSwitch)->isChecked());
    EXPECT_EQ(toggle->toolTip(), "Snapshot Enable");
    EXPECT_EQ(window->Button(command::kSnapSwitch)->toolTip(), "Snapshot Enable");
    // The camera's button now takes a snapshot.
    camera->Demo()->PressButton();
    // Generous: under a loaded parallel test run the next frame can be slow to come.
    ASSERT_TRUE(
        WaitUntil([&] { return window->Strip()->Browser().Pictures().Count() == 1; }, 15000));
    EXPECT_TRUE(SelectedName(*window->Strip()).ends_with("_N0001.jpg"));

    window->Button(command::kSnapSwitch)->click();
    EXPECT_EQ(app->Settings().isEnableSnap, 0u);
    EXPECT_EQ(ReadSetting(app->Store(), setting::kIsEnableSnap, 7), 0u);
    EXPECT_FALSE(window->Button(command::kSnapSwitch)->isChecked());
    EXPECT_EQ(toggle->toolTip(), "Snapshot Disable");
}

// The controller alone, with scripted prompts and counted sounds.
class SnapshotControllerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        test::StartApp(dir, store, app);
        session = std::make_unique<LiveSession>(app->Settings(), app->Calibration());
        strip.SetFolders(app->Folders().pictureFolder, app->Folders().videoFolder,
                         app->Folders().appFolder);
        box.setText(QStringLiteral("60"));
        controller = std::make_unique<SnapshotController>(*app, *session, prompts);
        controller->SetUp({&strip, &box, &cameraButton, [this] { return running; }});
        controller->SetSoundPlayer(&sounds);
        CameraService::Options options;
        options.demo = true;
        camera = std::make_unique<CameraService>(options);
        controller->Attach(camera.get());
        ASSERT_TRUE(camera->Connect());
        ASSERT_TRUE(WaitUntil([&] { return camera->Pipeline().FramesStored() > 0; }, 5000));
    }
    void TearDown() override {
        controller->Attach(nullptr);
        camera.reset();
    }

    TempDir dir;
    std::unique_ptr<QtSettingsStore> store;
    std::unique_ptr<AppState> app;
    std::unique_ptr<LiveSession> session;
    test::FakePrompts prompts;
    CountingSounds sounds;
    ThumbnailStrip strip;
    QLineEdit box;
    QPushButton cameraButton;
    bool running = true;
    std::unique_ptr<SnapshotController> controller;
    std::unique_ptr<CameraService> camera;
};

TEST_F(SnapshotControllerTest, WhilePausedTheCommandAsksToReturnToThePreview) {
    running = false;
    EXPECT_FALSE(controller->RequestUserSnapshot());
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0], "Please return to the preview state");
    EXPECT_EQ(prompts.icons[0], PromptIcon::Exclamation);
    EXPECT_FALSE(camera->Pipeline().Snapshot().Requested());
    // Back in the preview the shutter sounds after the snapshot.
    running = true;
    ASSERT_TRUE(controller->RequestUserSnapshot());
    ASSERT_TRUE(WaitUntil([&] { return strip.Browser().Pictures().Count() == 1; }, 5000));
    EXPECT_EQ(sounds.played, std::vector<Sound>{Sound::Shutter});
    // With the camera gone the command is refused as well, rather than left waiting.
    camera->Demo()->Unplug();
    ASSERT_TRUE(WaitUntil([&] { return !camera->Connection().Connected(); }, 5000));
    EXPECT_FALSE(controller->RequestUserSnapshot());
    EXPECT_EQ(prompts.shown.size(), 2u);
    EXPECT_FALSE(camera->Pipeline().Snapshot().Requested());
}

TEST_F(SnapshotControllerTest, AFolderThatCannotBeWrittenIsReportedAndNothingIsListed) {
    const std::string folder = app->Folders().pictureFolder;
    FileSeam refusing = SystemFileSeam();
    if (::geteuid() != 0) {
        ::chmod(folder.c_str(), 0555);
    } else {
        // root writes anywhere: the file system refuses instead, as a read-only mount would.
        refusing.write = [](int, const void*, std::size_t) -> long {
            errno = EROFS;
            return -1;
        };
    }
    controller->SetFileSeam(refusing);
    ASSERT_TRUE(controller->RequestUserSnapshot());
    ASSERT_TRUE(WaitUntil([&] { return !prompts.shown.empty(); }, 5000));
    ::chmod(folder.c_str(), 0755);
    EXPECT_NE(prompts.shown[0].find("the folder cannot be written"), std::string::npos)
        << prompts.shown[0];
    EXPECT_NE(prompts.shown[0].find("_60X_N0001.jpg"), std::string::npos);
    EXPECT_EQ(strip.Browser().Pictures().Count(), 0);
    EXPECT_TRUE(FilesIn(folder).empty());
    EXPECT_TRUE(sounds.played.empty());  // no shutter for a picture that was not kept
    EXPECT_FALSE(controller->LastOutcome().written);
}

TEST_F(SnapshotControllerTest, GrabIntoMemoryFillsTheHeldPictureSilentlyAndWritesNoFile) {
    int changes = 0;
    QObject::connect(controller.get(), &SnapshotController::heldPictureChanged, [&] { ++changes; });
    controller->RequestGrabIntoMemory();
    ASSERT_TRUE(WaitUntil([&] { return changes == 1; }, 5000));
    const CxImage& held = session->HeldPicture();
    ASSERT_TRUE(held.IsValid());
    EXPECT_EQ(held.GetWidth(), camera->Connection().CaptureWidth());
    EXPECT_EQ(held.GetHeight(), camera->Connection().CaptureHeight());
    EXPECT_TRUE(FilesIn(app->Folders().pictureFolder).empty());
    EXPECT_TRUE(sounds.played.empty());
    // The next grab replaces it.
    controller->RequestGrabIntoMemory();
    ASSERT_TRUE(WaitUntil([&] { return changes == 2; }, 5000));
    EXPECT_TRUE(session->HeldPicture().IsValid());
}

TEST_F(SnapshotControllerTest, MagnificationBoxRefusesSlashAndNul) {
    box.setText(QString());
    box.insert(QStringLiteral("6/0"));
    EXPECT_EQ(box.text(), QString());
    box.insert(QStringLiteral("60"));
    box.insert(QStringLiteral("/"));
    box.insert(QString(QChar(0)));
    EXPECT_EQ(box.text(), QStringLiteral("60"));
    // A text set around the box's check is made harmless when the name is formed.
    box.setText(QStringLiteral("../x"));
    ASSERT_TRUE(controller->RequestUserSnapshot());
    ASSERT_TRUE(WaitUntil([&] { return strip.Browser().Pictures().Count() == 1; }, 5000));
    EXPECT_EQ(fs::path(controller->LastOutcome().path).parent_path(),
              fs::path(app->Folders().pictureFolder));
    EXPECT_TRUE(SelectedName(strip).ends_with("_.._xX_N0001.jpg")) << SelectedName(strip);
}

TEST_F(SnapshotControllerTest, ReportPictureIsTheComposedSnapshotKeptAs10000Bmp) {
    const std::optional<ExportPicture> picture = controller->ReportPicture();
    ASSERT_TRUE(picture.has_value());
    EXPECT_EQ(picture->width, camera->Connection().CaptureWidth());
    EXPECT_EQ(picture->bytes.substr(0, 2), "\xFF\xD8");
    const std::string temporary = app->Folders().appFolder + "/10000.bmp";
    EXPECT_EQ(CxImage::LoadFromFile(temporary, kImageTypeBmp).GetWidth(), picture->width);
    EXPECT_TRUE(FilesIn(app->Folders().pictureFolder).empty());
    EXPECT_EQ(strip.Browser().Pictures().Count(), 0);
}

}  // namespace
}  // namespace lensora
