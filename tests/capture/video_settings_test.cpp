// Video settings in the core: resolution steps and CapConfig.dat written by SetResolution, the
// picture-property table over the virtual microscope's controls, and the per-camera memory.
#include <gtest/gtest.h>

#include <filesystem>

#include "base/settings_store.h"
#include "capture/camera_connection.h"
#include "capture/capture_format.h"
#include "capture/fake_frame_source.h"
#include "capture/picture_memory.h"
#include "capture/proc_amp_table.h"
#include "capture/resolution_steps.h"
#include "capture/virtual_microscope.h"
#include "support/temp_dir.h"

namespace lensora {
namespace {

struct Rig {
    test::FakeFrameSource source;
    test::FakeTimer timer;
    FramePipeline pipeline{[this] { return timer.now; }};
    std::unique_ptr<CameraConnection> connection;

    explicit Rig(ConnectionOptions options, bool largeSensor = true) {
        source.probe = {true, largeSensor, 666666};
        source.devices = {test::UsbCamera("/dev/video0", "Vid_7a5e&Pid_0101", "usb-1-1")};
        connection = std::make_unique<CameraConnection>(source, pipeline, timer, options);
    }
};

TEST(ResolutionSteps, TablesAndHintsOfBothSensorClasses) {
    EXPECT_EQ(ResolutionComboTexts(true),
              (std::array<std::string, 3>{"640*480", "1280*960", "1600*1200"}));
    EXPECT_EQ(ResolutionComboTexts(false),
              (std::array<std::string, 3>{"320*240", "640*480", "1280*1024"}));
    EXPECT_EQ(ResolutionHotkeyHint(true), "F10\uFF1A640x480  F11: 1280x960   F12: 1600x1200");
    EXPECT_EQ(ResolutionHotkeyHint(false), " F10\uFF1A320x240  F11: 640x480   F12: 1280x1024");
    EXPECT_EQ(ResolutionStepOfWidth(true, 1280), 1);
    EXPECT_EQ(ResolutionStepOfWidth(false, 1280), 2);
    EXPECT_EQ(ResolutionStepOfWidth(false, 1600), -1);
    EXPECT_EQ(ResolutionStepSize(false, 3).width, 0);
    EXPECT_EQ(ResolutionStepSize(true, -1).width, 0);
}

TEST(ResolutionSteps, FormatBlockOfTheAppliedFormat) {
    // 16-bit 640x480 at 15 frames per second.
    const VideoFormatBlock b = FormatBlockFor({640, 480, 666666, kFourCcYuy2, 16}, 333333);
    EXPECT_EQ(b.sizeImage, 614400u);
    EXPECT_EQ(b.bitRate, 73728000u);
    EXPECT_EQ(b.source, (std::array<std::int32_t, 4>{0, 0, 640, 480}));
    EXPECT_EQ(b.target, b.source);
    EXPECT_EQ(b.headerSize, 40u);
    EXPECT_EQ(b.planes, 1);

    // MJPEG at 24 bits; an interval the device did not report takes the fallback.
    const VideoFormatBlock m =
        FormatBlockFor({1280, 1024, 0, FourCc::Of('M', 'J', 'P', 'G'), 24}, 333333);
    EXPECT_EQ(m.avgTimePerFrame, 333333);
    EXPECT_EQ(m.sizeImage, 1280u * 1024 * 3);
    EXPECT_EQ(m.compression, FourCc::Of('M', 'J', 'P', 'G'));
    EXPECT_EQ(m.bitRate, 30u * 1280 * 1024 * 3 * 8);
    // Another depth counts one byte per pixel.
    EXPECT_EQ(FormatBlockFor({320, 240, 333333, FourCc::Of('G', 'R', 'E', 'Y'), 8}, 0).sizeImage,
              320u * 240);
}

TEST(ResolutionSteps, F12RewritesCapConfigAndADeletedFileGivesTheDefault) {
    test::TempDir dir;
    ConnectionOptions options;
    options.capConfigPath = CapConfigPath(dir.Str());
    VideoFormatBlock stored = DefaultFormatBlock(true, 666666);
    stored.width = 1280;
    stored.height = 960;
    ASSERT_TRUE(WriteCapConfig(options.capConfigPath, stored));
    Rig rig(options);
    ASSERT_TRUE(rig.connection->ConnectCamera());
    EXPECT_EQ(rig.connection->CaptureWidth(), 1280);

    ASSERT_TRUE(rig.connection->ApplyResolutionStep(2));
    EXPECT_EQ(rig.connection->State(), GraphState::Running);
    EXPECT_EQ(rig.connection->CaptureWidth(), 1600);
    EXPECT_EQ(rig.connection->CaptureHeight(), 1200);
    const auto written = ReadCapConfig(options.capConfigPath);
    ASSERT_TRUE(written);
    EXPECT_EQ(written->width, 1600);
    EXPECT_EQ(written->height, 1200);
    EXPECT_EQ(written->sizeImage, 1600u * 1200 * 2);
    EXPECT_EQ(written->bitRate, FormatBitRate(666666, 1600u * 1200 * 2));
    EXPECT_EQ(std::filesystem::file_size(options.capConfigPath), kVideoFormatBlockSize);

    // F10 on a small sensor is 320x240.
    Rig small(options, false);
    ASSERT_TRUE(small.connection->ConnectCamera());
    ASSERT_TRUE(small.connection->ApplyResolutionStep(0));
    EXPECT_EQ(ReadCapConfig(options.capConfigPath)->width, 320);
    EXPECT_FALSE(small.connection->ApplyResolutionStep(3));

    // Without the file the next start takes the largest size of the sensor class.
    std::filesystem::remove(options.capConfigPath);
    for (bool large : {true, false}) {
        Rig fresh(options, large);
        ASSERT_TRUE(fresh.connection->ConnectCamera());
        EXPECT_EQ(fresh.connection->CaptureWidth(), large ? 1600 : 1280);
        EXPECT_EQ(fresh.connection->CaptureHeight(), large ? 1200 : 1024);
    }
}

TEST(ResolutionSteps, UnwritableFileAndRefusedSizeAndNoCamera) {
    test::TempDir dir;
    ConnectionOptions options;
    options.capConfigPath = dir.Str() + "/missing-folder/CapConfig.dat";
    Rig rig(options);
    EXPECT_FALSE(rig.connection->SetResolution(640, 480));  // nothing opened yet
    ASSERT_TRUE(rig.connection->ConnectCamera());

    // The file cannot be written: the size still holds for this run, across restarts.
    ASSERT_TRUE(rig.connection->SetResolution(640, 480));
    EXPECT_EQ(rig.connection->CaptureWidth(), 640);
    ASSERT_TRUE(rig.connection->Restart());
    EXPECT_EQ(rig.connection->CaptureWidth(), 640);
    EXPECT_FALSE(std::filesystem::exists(options.capConfigPath));

    // A refused size: false, and the default format of the sensor class for this run.
    rig.source.refuseFormats = 1;
    EXPECT_FALSE(rig.connection->SetResolution(1280, 960));
    EXPECT_TRUE(rig.connection->Connected());
    EXPECT_EQ(rig.connection->CaptureWidth(), 1600);
    EXPECT_EQ(rig.connection->State(), GraphState::Running);

    // A device that refuses every format afterwards: not connected, a retry is armed.
    rig.source.refuseFormats = 5;
    EXPECT_FALSE(rig.connection->SetResolution(640, 480));
    EXPECT_FALSE(rig.connection->Connected());
    EXPECT_EQ(rig.timer.lastInterval, CameraConnection::kRetryAfterPrepareMs);
}

class ProcAmpTableTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(microscope.Open(microscope.ListDevices().at(0)));
        table.Load();
    }
    VirtualMicroscope microscope;
    ProcAmpTable table{microscope};
};

TEST_F(ProcAmpTableTest, RowsRangesAndMissingControls) {
    EXPECT_EQ(table.Row(0).captionKey, "Brightness");
    EXPECT_TRUE(table.Row(0).available);
    EXPECT_EQ(table.Row(0).range.minimum, -64);
    EXPECT_EQ(table.Row(0).range.maximum, 64);
    EXPECT_EQ(table.ValueText(0), "  0");
    EXPECT_EQ(table.ValueText(1), " 32");
    EXPECT_FALSE(table.Row(3).available);  // no sharpness
    EXPECT_EQ(table.ValueText(3), "N/A");
    EXPECT_EQ(table.Set(3, 10), 0);
    EXPECT_EQ(table.Row(4).range.step, 10);
    EXPECT_FALSE(table.Row(5).shown);
    EXPECT_TRUE(table.AnyAvailable());

    // A closed device has no rows.
    microscope.Close();
    table.Load();
    EXPECT_FALSE(table.AnyAvailable());
}

TEST_F(ProcAmpTableTest, SetAndStepClampAndSwitchTheAutomaticCompanionOff) {
    EXPECT_EQ(table.Set(0, 500), 64);
    EXPECT_EQ(microscope.PictureControlValue(PictureControl::Brightness), 64);
    EXPECT_EQ(table.Step(0, +1), 64);
    EXPECT_EQ(table.Step(0, -1), 63);
    EXPECT_EQ(table.Set(0, -500), -64);
    EXPECT_EQ(table.ValueText(0), "-64");

    EXPECT_EQ(table.Set(4, 295), 295);  // gamma moves by its step of 10, up to the maximum
    EXPECT_EQ(table.Step(4, +1), 300);
    EXPECT_EQ(table.Step(4, -1), 290);

    ASSERT_TRUE(microscope.SetPictureControl(PictureControl::AutoBrightness, 1));
    EXPECT_EQ(table.Set(0, 12), 12);
    EXPECT_EQ(microscope.PictureControlValue(PictureControl::AutoBrightness), 0);
}

TEST_F(ProcAmpTableTest, RefusedValueReturnsToTheActualOne) {
    table.Set(1, 40);
    microscope.SetControlRefused(PictureControl::Contrast, true);
    EXPECT_EQ(table.Set(1, 10), 40);
    EXPECT_EQ(table.Step(1, +1), 40);
    EXPECT_EQ(table.Row(1).value, 40);
}

TEST_F(ProcAmpTableTest, DefaultTurnsAutomaticOnOrRestoresTheDefaultValue) {
    table.Set(0, 20);
    table.Set(1, 5);
    table.Set(4, 250);
    table.Set(5, 90);
    table.Default();
    EXPECT_EQ(microscope.PictureControlValue(PictureControl::AutoBrightness), 1);
    EXPECT_EQ(microscope.PictureControlValue(PictureControl::Contrast), 32);
    EXPECT_EQ(microscope.PictureControlValue(PictureControl::Gamma), 100);
    EXPECT_EQ(table.Row(1).value, 32);
    EXPECT_EQ(table.Row(4).value, 100);
    // Hue has no automatic switch on this camera: back to its default value.
    EXPECT_EQ(microscope.PictureControlValue(PictureControl::Hue), 0);
}

TEST(PictureMemory, RememberedPerCameraAndReappliedOnConnect) {
    MemorySettingsStore store;
    PictureMemory memory(store);
    VirtualMicroscope microscope;
    test::FakeTimer timer;
    FramePipeline pipeline{[&] { return timer.now; }};
    CameraConnection connection(microscope, pipeline, timer, {});
    connection.SetPictureMemory(&memory);
    ASSERT_TRUE(connection.ConnectCamera());
    const CameraDeviceInfo camera = *connection.SelectedDevice();

    ProcAmpTable table(microscope);
    table.Load();
    table.Set(0, -20);
    table.Set(2, 100);
    memory.Remember(camera, table);
    EXPECT_EQ(memory.Stored(camera),
              (std::map<int, int>{{0, -20}, {1, 32}, {2, 100}, {4, 100}, {5, 0}}));

    // The camera loses its settings while unplugged; reconnecting sets them again.
    microscope.Unplug();
    connection.OnDeviceLost();
    microscope.ResetControls();
    microscope.Replug();
    ASSERT_TRUE(connection.ReconnectCamera());
    EXPECT_EQ(microscope.PictureControlValue(PictureControl::Brightness), -20);
    EXPECT_EQ(microscope.PictureControlValue(PictureControl::Saturation), 100);

    // Another camera has its own entry; Forget clears only this one.
    CameraDeviceInfo other = camera;
    other.identity = "usb-3-2";
    EXPECT_NE(PictureMemory::CameraKey(other), PictureMemory::CameraKey(camera));
    EXPECT_TRUE(memory.Stored(other).empty());
    memory.Forget(camera);
    EXPECT_TRUE(memory.Stored(camera).empty());
    EXPECT_EQ(memory.Reapply(camera, microscope), 0);
}

TEST(PictureMemory, DamagedEntriesAreSkipped) {
    MemorySettingsStore store;
    PictureMemory memory(store);
    const CameraDeviceInfo camera = test::UsbCamera("/dev/video0", "Vid_1&Pid_2", "/sys/usb 1");
    EXPECT_EQ(PictureMemory::CameraKey(camera), "Vid_1_Pid_2__sys_usb_1");
    store.WriteText(PictureMemory::kGroup, PictureMemory::CameraKey(camera),
                    "0=5;x=3;1=;2=7q;9=1;=4;3=-8;;4=99999999999999");
    EXPECT_EQ(memory.Stored(camera), (std::map<int, int>{{0, 5}, {3, -8}}));
}

}  // namespace
}  // namespace lensora
