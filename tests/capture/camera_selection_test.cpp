#include "capture/camera_selection.h"

#include <gtest/gtest.h>

#include "capture/fake_frame_source.h"

namespace lensora {
namespace {

using test::UsbCamera;

TEST(CameraSelection, RanksByTableRowWithoutRegardToCase) {
    EXPECT_EQ(SupportedCameraRank("VID_7A5E&PID_0101"), 0);
    EXPECT_EQ(SupportedCameraRank("usb\\vid_7a5e&pid_0103&rev_0100"), 1);
    EXPECT_EQ(SupportedCameraRank("Vid_046d&Pid_0825"), -1);
    EXPECT_EQ(SupportedCameraRank(""), -1);
}

TEST(CameraSelection, PrefersLowerRankAndKeepsTheDeviceInUse) {
    CameraDeviceList list;
    std::vector<CameraDeviceInfo> found = {
        UsbCamera("/dev/video0", "Vid_046d&Pid_0825", "webcam"),
        UsbCamera("/dev/video2", "Vid_7a5e&Pid_0103", "scope-b"),
        UsbCamera("/dev/video4", "Vid_7a5e&Pid_0101", "scope-a"),
    };
    ASSERT_TRUE(EnumerateCameras(list, found));
    EXPECT_EQ(list.Selected()->info.identity, "scope-a");
    EXPECT_EQ(list.identifier, "Vid_7a5e&Pid_0101");
    EXPECT_EQ(list.entries[0].rank, -1);

    // Only the lesser camera: it is used. Then the better one arrives on a lower node number
    // and the replugged lesser one on a new number: the device in use stays selected.
    found = {UsbCamera("/dev/video2", "Vid_7a5e&Pid_0103", "scope-b")};
    list = {};
    ASSERT_TRUE(EnumerateCameras(list, found));
    found = {UsbCamera("/dev/video0", "Vid_7a5e&Pid_0101", "scope-a"),
             UsbCamera("/dev/video6", "Vid_7a5e&Pid_0103", "scope-b")};
    ASSERT_TRUE(EnumerateCameras(list, found));
    EXPECT_EQ(list.Selected()->info.path, "/dev/video6");
    EXPECT_EQ(list.selectedIndex, 1);
    EXPECT_FALSE(list.entries[0].selected);
}

TEST(CameraSelection, FirstEnumeratedWinsAmongEqualRanks) {
    CameraDeviceList list;
    ASSERT_TRUE(EnumerateCameras(list, {UsbCamera("/dev/video3", "Vid_7a5e&Pid_0101", "x"),
                                        UsbCamera("/dev/video1", "Vid_7a5e&Pid_0101", "y")}));
    EXPECT_EQ(list.Selected()->info.identity, "x");
}

TEST(CameraSelection, UnsupportedCamerasAreListedButNeverUsed) {
    CameraDeviceList list;
    EXPECT_FALSE(EnumerateCameras(list, {UsbCamera("/dev/video0", "Vid_046d&Pid_0825", "w"),
                                         UsbCamera("/dev/video1", "", "vivid")}));
    EXPECT_EQ(list.entries.size(), 2u);
    EXPECT_EQ(list.Selected(), nullptr);
    EXPECT_TRUE(list.identifier.empty());
}

TEST(CameraSelection, ForcedPathUsesThatDeviceOnly) {
    CameraDeviceList list;
    ASSERT_TRUE(EnumerateCameras(list,
                                 {UsbCamera("/dev/video0", "Vid_7a5e&Pid_0101", "scope"),
                                  UsbCamera("/dev/video2", "Vid_046d&Pid_0825", "generic")},
                                 "/dev/video2"));
    EXPECT_EQ(list.Selected()->info.identity, "generic");
    EXPECT_EQ(list.identifier, "/dev/video2");
    EXPECT_EQ(list.entries[0].rank, -1);
}

TEST(CameraSelection, ListHoldsAtMost25Devices) {
    std::vector<CameraDeviceInfo> found;
    for (int i = 0; i < 30; ++i) {
        found.push_back(UsbCamera("/dev/video" + std::to_string(i), "", std::to_string(i)));
    }
    found.push_back(UsbCamera("/dev/video99", "Vid_7a5e&Pid_0101", "late"));
    CameraDeviceList list;
    EXPECT_FALSE(EnumerateCameras(list, found));
    EXPECT_EQ(list.entries.size(), kMaxCameraDevices);
}

TEST(CameraSelection, PresenceFollowsTheUsbIdentityAndClearsTheIdentifier) {
    test::FakeFrameSource source;
    source.devices = {UsbCamera("/dev/video0", "Vid_7a5e&Pid_0101", "usb-1-2")};
    CameraDeviceList list;
    EXPECT_FALSE(IsSelectedCameraPresent(list, source));
    ASSERT_TRUE(EnumerateCameras(list, source.devices));
    EXPECT_TRUE(IsSelectedCameraPresent(list, source));
    // Replugged on another node: still the same device.
    source.devices = {UsbCamera("/dev/video2", "Vid_7a5e&Pid_0101", "usb-1-2")};
    EXPECT_TRUE(IsSelectedCameraPresent(list, source));
    source.devices.clear();
    EXPECT_FALSE(IsSelectedCameraPresent(list, source));
    EXPECT_TRUE(list.identifier.empty());
    EXPECT_FALSE(IsSelectedCameraPresent(list, source));
}

}  // namespace
}  // namespace lensora
