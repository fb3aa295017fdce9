// The video settings dialog over the virtual microscope: rows and ranges, up/down clamping,
// live apply while dragging, refused values, the resolution combo of both sensor classes with
// CapConfig.dat rewritten, Default, and refilling when the camera goes and comes back.
#include "capture/ui/video_settings_dialog.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QToolButton>

#include "base/settings_store.h"
#include "capture/camera_connection.h"
#include "capture/capture_format.h"
#include "capture/fake_frame_source.h"
#include "capture/picture_memory.h"
#include "capture/virtual_microscope.h"
#include "support/event_loop.h"
#include "support/temp_dir.h"

namespace lensora {
namespace {

struct Rig {
    explicit Rig(bool largeSensor = true, std::string capConfig = {})
        : microscope(largeSensor),
          connection(microscope, pipeline, timer, ConnectionOptions{capConfig, {}, false}) {
        connection.SetPictureMemory(&memory);
        EXPECT_TRUE(connection.ConnectCamera());
    }
    ~Rig() { connection.Teardown(); }
    VirtualMicroscope microscope;
    test::FakeTimer timer;
    FramePipeline pipeline{[this] { return timer.now; }};
    MemorySettingsStore store;
    PictureMemory memory{store};
    CameraConnection connection;
};

// Lets the event loop run for `ms` milliseconds (the throttle's pauses end in it).
void Pause(int ms) {
    QElapsedTimer clock;
    clock.start();
    test::WaitUntil([&] { return clock.elapsed() >= ms; }, ms + 1000);
}

QStringList Items(const QComboBox* combo) {
    QStringList items;
    for (int i = 0; i < combo->count(); ++i) {
        items << combo->itemText(i);
    }
    return items;
}

TEST(VideoSettingsDialog, RowsRangesAndClampedUpDownButtons) {
    Rig rig;
    VideoSettingsDialog dialog(rig.connection, &rig.memory, nullptr);
    dialog.show();
    for (int row = 0; row < 5; ++row) {
        EXPECT_TRUE(dialog.Slider(row)->isVisible()) << row;
    }
    EXPECT_FALSE(dialog.Slider(5)->isVisible());  // hue stays hidden
    EXPECT_EQ(dialog.Slider(0)->minimum(), -64);
    EXPECT_EQ(dialog.Slider(0)->maximum(), 64);
    EXPECT_EQ(dialog.ValueLabel(0)->text(), QStringLiteral("  0"));
    EXPECT_FALSE(dialog.Slider(3)->isEnabled());  // no sharpness on this camera
    EXPECT_FALSE(dialog.UpButton(3)->isEnabled());
    EXPECT_EQ(dialog.ValueLabel(3)->text(), QStringLiteral("N/A"));
    EXPECT_EQ(Items(dialog.DeviceCombo()), QStringList{"Lensora Virtual Microscope"});
    EXPECT_EQ(Items(dialog.NormCombo()), QStringList{"N/A"});
    EXPECT_FALSE(dialog.NormCombo()->isEnabled());

    // Gamma moves by its step of 10 and stops at the ends.
    dialog.Slider(4)->setValue(290);
    Pause(VideoSettingsDialog::kLiveApplyIntervalMs + 20);
    dialog.UpButton(4)->click();
    dialog.UpButton(4)->click();
    EXPECT_EQ(dialog.Slider(4)->value(), 300);
    EXPECT_EQ(dialog.ValueLabel(4)->text(), QStringLiteral("300"));
    EXPECT_EQ(rig.microscope.PictureControlValue(PictureControl::Gamma), 300);
    dialog.DownButton(4)->click();
    EXPECT_EQ(rig.microscope.PictureControlValue(PictureControl::Gamma), 290);
    // The change is remembered for this camera.
    EXPECT_EQ(rig.memory.Stored(*rig.connection.SelectedDevice()).at(4), 290);
}

TEST(VideoSettingsDialog, DraggingAppliesLiveButThrottledAndRefusalsSnapBack) {
    Rig rig;
    VideoSettingsDialog dialog(rig.connection, &rig.memory, nullptr);
    for (int v = 1; v <= 40; ++v) {
        dialog.Slider(0)->setValue(v);
    }
    // The first value went out at once, the rest wait for the pause to end.
    EXPECT_EQ(dialog.LiveApplications(), 1);
    EXPECT_EQ(rig.microscope.PictureControlValue(PictureControl::Brightness), 1);
    Pause(3 * VideoSettingsDialog::kLiveApplyIntervalMs);
    EXPECT_EQ(dialog.LiveApplications(), 2);
    EXPECT_EQ(rig.microscope.PictureControlValue(PictureControl::Brightness), 40);

    rig.microscope.SetControlRefused(PictureControl::Contrast, true);
    dialog.Slider(1)->setValue(10);
    Pause(2 * VideoSettingsDialog::kLiveApplyIntervalMs);
    EXPECT_EQ(dialog.Slider(1)->value(), 32);
    EXPECT_EQ(dialog.ValueLabel(1)->text(), QStringLiteral(" 32"));
}

TEST(VideoSettingsDialog, ResolutionComboOfBothSensorClassesRewritesCapConfig) {
    test::TempDir dir;
    const std::string path = CapConfigPath(dir.Str());
    VideoFormatBlock stored = DefaultFormatBlock(true, 333333);
    stored.width = 1280;
    stored.height = 960;
    ASSERT_TRUE(WriteCapConfig(path, stored));
    {
        Rig rig(true, path);
        VideoSettingsDialog dialog(rig.connection, &rig.memory, nullptr);
        EXPECT_EQ(Items(dialog.ResolutionCombo()),
                  (QStringList{"640*480", "1280*960", "1600*1200"}));
        EXPECT_EQ(dialog.ResolutionCombo()->currentText(), QStringLiteral("1280*960"));
        EXPECT_EQ(dialog.HotkeyHint()->text(),
                  QString::fromUtf8("F10\uFF1A640x480  F11: 1280x960   F12: 1600x1200"));
        emit dialog.ResolutionCombo()->activated(2);
        EXPECT_EQ(dialog.ResolutionCombo()->currentText(), QStringLiteral("1600*1200"));
        EXPECT_EQ(rig.microscope.Format().width, 1600);
        ASSERT_TRUE(ReadCapConfig(path));
        EXPECT_EQ(ReadCapConfig(path)->width, 1600);
        EXPECT_EQ(ReadCapConfig(path)->height, 1200);
    }
    {
        Rig rig(false, path);  // a stored 1600 the small sensor lacks snaps to 1280x1024
        VideoSettingsDialog dialog(rig.connection, &rig.memory, nullptr);
        EXPECT_EQ(Items(dialog.ResolutionCombo()),
                  (QStringList{"320*240", "640*480", "1280*1024"}));
        EXPECT_EQ(dialog.ResolutionCombo()->currentText(), QStringLiteral("1280*1024"));
        EXPECT_EQ(dialog.HotkeyHint()->text(),
                  QString::fromUtf8(" F10\uFF1A320x240  F11: 640x480   F12: 1280x1024"));
        emit dialog.ResolutionCombo()->activated(0);
        EXPECT_EQ(ReadCapConfig(path)->width, 320);
        EXPECT_EQ(ReadCapConfig(path)->sizeImage, 320u * 240 * 2);
    }
}

TEST(VideoSettingsDialog, DefaultResetsPropertiesForgetsThemAndTakesTheLargestSize) {
    test::TempDir dir;
    Rig rig(true, CapConfigPath(dir.Str()));
    ASSERT_TRUE(rig.connection.ApplyResolutionStep(0));
    VideoSettingsDialog dialog(rig.connection, &rig.memory, nullptr);
    dialog.UpButton(1)->click();
    dialog.UpButton(2)->click();
    ASSERT_FALSE(rig.memory.Stored(*rig.connection.SelectedDevice()).empty());

    dialog.DefaultButton()->click();
    EXPECT_EQ(rig.microscope.PictureControlValue(PictureControl::AutoBrightness), 1);
    EXPECT_EQ(rig.microscope.PictureControlValue(PictureControl::Contrast), 32);
    EXPECT_EQ(rig.microscope.PictureControlValue(PictureControl::Saturation), 64);
    EXPECT_EQ(dialog.ValueLabel(1)->text(), QStringLiteral(" 32"));
    EXPECT_TRUE(rig.memory.Stored(*rig.connection.SelectedDevice()).empty());
    EXPECT_EQ(dialog.ResolutionCombo()->currentIndex(), 2);
    EXPECT_EQ(ReadCapConfig(CapConfigPath(dir.Str()))->width, 1600);
}

TEST(VideoSettingsDialog, UnplugEmptiesItAndReconnectRestoresTheProperties) {
    Rig rig;
    VideoSettingsDialog dialog(rig.connection, &rig.memory, nullptr);
    dialog.Slider(2)->setValue(100);
    Pause(2 * VideoSettingsDialog::kLiveApplyIntervalMs);

    rig.microscope.Unplug();
    rig.connection.OnDeviceLost();
    dialog.Refill();  // the owner's reaction to the connection change
    EXPECT_EQ(dialog.DeviceCombo()->count(), 0);
    EXPECT_EQ(dialog.ResolutionCombo()->count(), 0);
    EXPECT_TRUE(dialog.HotkeyHint()->text().isEmpty());
    for (int row = 0; row < 5; ++row) {
        EXPECT_FALSE(dialog.Slider(row)->isEnabled()) << row;
        EXPECT_EQ(dialog.ValueLabel(row)->text(), QStringLiteral("N/A")) << row;
    }
    EXPECT_FALSE(dialog.DefaultButton()->isEnabled());

    // The camera comes back having forgotten its settings; the memory sets them again.
    rig.microscope.ResetControls();
    rig.microscope.Replug();
    ASSERT_TRUE(rig.connection.ReconnectCamera());
    dialog.Refill();
    EXPECT_EQ(dialog.DeviceCombo()->count(), 1);
    EXPECT_EQ(dialog.Slider(2)->value(), 100);
    EXPECT_EQ(dialog.ValueLabel(2)->text(), QStringLiteral("100"));
}

}  // namespace
}  // namespace lensora
