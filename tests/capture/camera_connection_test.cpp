#include "capture/camera_connection.h"

#include <gtest/gtest.h>

#include "capture/capture_format.h"
#include "capture/fake_frame_source.h"
#include "support/temp_dir.h"

namespace lensora {
namespace {

using test::UsbCamera;

struct Rig {
    test::FakeFrameSource source;
    test::FakeTimer timer;
    FramePipeline pipeline{[this] { return timer.now; }};
    ConnectionOptions options;
    std::unique_ptr<CameraConnection> connection;
    std::vector<bool> changes;
    int deviceSetChanges = 0;

    explicit Rig(ConnectionOptions o = {}) : options(std::move(o)) {
        source.devices = {UsbCamera("/dev/video0", "Vid_7a5e&Pid_0101", "usb-1-1")};
        connection = std::make_unique<CameraConnection>(source, pipeline, timer, options);
        connection->SetHooks(
            {[this](bool c) { changes.push_back(c); }, [this] { ++deviceSetChanges; }, {}});
    }
    // Runs the clock forward, firing timer 1001 like the event loop would.
    void Advance(std::int64_t ms) {
        if (timer.Advance(ms)) {
            connection->OnReconnectTimer();
        }
    }
};

TEST(CameraConnection, FirstAttemptNegotiatesTheDefaultFormatAndRuns) {
    Rig rig;
    ASSERT_TRUE(rig.connection->ConnectCamera());
    EXPECT_EQ(rig.connection->State(), GraphState::Running);
    EXPECT_EQ(rig.changes, std::vector<bool>{true});
    ASSERT_EQ(rig.source.formatsAsked.size(), 1u);
    EXPECT_EQ(rig.source.formatsAsked[0].width, 1600);
    EXPECT_EQ(rig.source.formatsAsked[0].frameInterval100ns, 333333);
    EXPECT_EQ(rig.connection->RecordingRate(), 5);

    rig.source.PushFrame(1600, 1200);
    EXPECT_EQ(rig.pipeline.FramesStored(), 1u);
}

TEST(CameraConnection, StoredFormatIsReadAtEveryPreparation) {
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
    EXPECT_EQ(rig.connection->RecordingRate(), 14);

    stored.width = 640;
    stored.height = 480;
    ASSERT_TRUE(WriteCapConfig(options.capConfigPath, stored));
    ASSERT_TRUE(rig.connection->Restart());
    EXPECT_EQ(rig.connection->CaptureWidth(), 640);
    EXPECT_EQ(rig.connection->RecordingRate(), 15);
}

TEST(CameraConnection, RefusedFormatFallsBackOnceThenFails) {
    Rig rig;
    rig.source.probe = {true, false, 333333};  // small sensor
    rig.source.refuseFormats = 1;
    ASSERT_TRUE(rig.connection->ConnectCamera());
    EXPECT_EQ(rig.connection->CaptureWidth(), 1280);
    EXPECT_EQ(rig.connection->CaptureHeight(), 1024);
    EXPECT_FALSE(rig.connection->LargeSensor());

    Rig refusing;
    refusing.source.refuseFormats = 2;
    EXPECT_FALSE(refusing.connection->ConnectCamera());
    EXPECT_EQ(refusing.connection->State(), GraphState::None);
    EXPECT_EQ(refusing.changes, std::vector<bool>{false});
    // A failed preparation retries after 100 ms.
    EXPECT_EQ(refusing.timer.lastInterval, 100);
    refusing.Advance(100);
    EXPECT_TRUE(refusing.connection->Connected());
}

TEST(CameraConnection, BusyOrVanishedDeviceLeavesItNotConnected) {
    Rig rig;
    rig.source.openFails = true;
    EXPECT_FALSE(rig.connection->ConnectCamera());
    EXPECT_FALSE(rig.connection->Connected());
    rig.source.openFails = false;
    rig.connection->OnDeviceNodesChanged();
    rig.Advance(1000);
    EXPECT_TRUE(rig.connection->Connected());

    Rig none;
    none.source.devices = {UsbCamera("/dev/video0", "Vid_046d&Pid_0825", "webcam")};
    EXPECT_FALSE(none.connection->ConnectCamera());
    EXPECT_EQ(none.source.opens, 0);
}

TEST(CameraConnection, BurstOfNotificationsGivesOneAttemptAfterTheLast) {
    Rig rig;
    rig.source.devices.clear();
    EXPECT_FALSE(rig.connection->ConnectCamera());
    const int before = rig.connection->ReconnectAttempts();
    rig.source.devices = {UsbCamera("/dev/video0", "Vid_7a5e&Pid_0101", "usb-1-1")};
    for (int i = 0; i < 5; ++i) {
        rig.connection->OnDeviceNodesChanged();
        rig.Advance(300);
    }
    EXPECT_EQ(rig.connection->ReconnectAttempts(), before);
    rig.Advance(699);
    EXPECT_EQ(rig.connection->ReconnectAttempts(), before);
    rig.Advance(1);
    EXPECT_EQ(rig.connection->ReconnectAttempts(), before + 1);
    EXPECT_TRUE(rig.connection->Connected());
    rig.Advance(5000);  // single shot
    EXPECT_EQ(rig.connection->ReconnectAttempts(), before + 1);
}

TEST(CameraConnection, UnplugAndReplugRestoreTheSameCamera) {
    Rig rig;
    rig.source.devices.push_back(UsbCamera("/dev/video2", "Vid_7a5e&Pid_0103", "usb-1-4"));
    ASSERT_TRUE(rig.connection->ConnectCamera());
    rig.source.Unplug("usb-1-1");
    // Without an owner's hook the loss is noticed at the next poll.
    rig.connection->Poll();
    EXPECT_FALSE(rig.connection->Connected());
    EXPECT_EQ(rig.changes.back(), false);
    EXPECT_EQ(rig.timer.lastInterval, 1000);
    // The second camera takes over when the timer fires.
    rig.Advance(1000);
    EXPECT_EQ(rig.source.openedIdentity, "usb-1-4");

    // While streaming, a notification for another device keeps the camera in use.
    rig.source.devices.push_back(UsbCamera("/dev/video6", "Vid_7a5e&Pid_0101", "usb-1-1"));
    const int opens = rig.source.opens;
    rig.connection->OnDeviceNodesChanged();
    rig.Advance(1000);
    EXPECT_EQ(rig.source.opens, opens);
    EXPECT_EQ(rig.source.openedIdentity, "usb-1-4");
    EXPECT_GE(rig.deviceSetChanges, 1);
}

TEST(CameraConnection, ResumeTearsDownAndReconnects) {
    Rig rig;
    ASSERT_TRUE(rig.connection->ConnectCamera());
    const int starts = rig.source.starts;
    rig.connection->OnResume();
    EXPECT_TRUE(rig.connection->Connected());
    EXPECT_EQ(rig.source.starts, starts + 1);
    EXPECT_EQ(rig.source.closes, 1);
}

TEST(CameraConnection, StalledStreamRestartsOnceThenCountsAsGone) {
    Rig rig;
    ASSERT_TRUE(rig.connection->ConnectCamera());
    rig.timer.now += 1000;
    rig.source.PushFrame(1600, 1200);
    rig.timer.now += 2999;
    rig.connection->Poll();
    EXPECT_EQ(rig.source.starts, 1);
    rig.timer.now += 1;
    rig.connection->Poll();
    EXPECT_EQ(rig.source.starts, 2);  // restarted
    EXPECT_TRUE(rig.connection->Connected());
    rig.timer.now += 3000;
    rig.connection->Poll();
    EXPECT_FALSE(rig.connection->Connected());
    EXPECT_EQ(rig.timer.lastInterval, 1000);
}

TEST(CameraConnection, SelectCameraSwitchesDevices) {
    Rig rig;
    rig.source.devices.push_back(UsbCamera("/dev/video2", "Vid_7a5e&Pid_0103", "usb-1-4"));
    ASSERT_TRUE(rig.connection->ConnectCamera());
    EXPECT_FALSE(rig.connection->SelectCamera(0));  // already in use
    EXPECT_FALSE(rig.connection->SelectCamera(7));
    EXPECT_TRUE(rig.connection->SelectCamera(1));
    EXPECT_EQ(rig.source.openedIdentity, "usb-1-4");
    EXPECT_EQ(rig.connection->Devices().identifier, "Vid_7a5e&Pid_0103");
}

TEST(CameraConnection, ButtonRequestsASnapshotOnlyWhenEnabled) {
    Rig rig;
    rig.source.hasButton = true;
    std::vector<int> snapshots;
    rig.pipeline.SetHooks({[&](int source) { snapshots.push_back(source); }, {}, {}});
    ASSERT_TRUE(rig.connection->ConnectCamera());
    rig.source.callbacks.button();
    rig.source.PushFrame(1600, 1200);
    EXPECT_TRUE(snapshots.empty());

    rig.connection->SetCameraButton(true);
    EXPECT_EQ(rig.connection->State(), GraphState::Running);
    rig.source.callbacks.button();
    rig.source.PushFrame(1600, 1200);  // becomes the snapshot, not stored
    rig.source.PushFrame(1600, 1200);
    EXPECT_EQ(snapshots, std::vector<int>{kSnapshotByButton});
    EXPECT_EQ(rig.pipeline.FramesStored(), 2u);
}

}  // namespace
}  // namespace lensora
