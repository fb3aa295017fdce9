// Video capture devices through libudev: the list of capture nodes with their USB identifiers,
// and a monitor of device additions and removals. The monitor's source is "udev" on a normal
// system (events after udev's rules ran) and "kernel" where no udev daemon runs (the vivid
// test machine). Plain C++, no Qt; one thread at a time.
#pragma once

#include <string>
#include <vector>

#include "capture/frame_source.h"
#include "platform/linux/v4l2_io.h"

struct udev;
struct udev_monitor;

namespace lensora {

// Every video4linux node that can capture video (metadata nodes are skipped), in the order
// udev lists them. The friendly name is the driver's card name.
std::vector<CameraDeviceInfo> EnumerateVideoDevices(const V4l2Io& io = LibV4l2Io());

// "Vid_%04x&Pid_%04x" from the sysfs attribute texts ("7a5e", "0101"); empty when either is
// missing or not hexadecimal.
std::string HardwareIdFrom(const std::string& idVendor, const std::string& idProduct);

class UdevMonitor {
  public:
    explicit UdevMonitor(const std::string& source = "udev");
    ~UdevMonitor();
    UdevMonitor(const UdevMonitor&) = delete;
    UdevMonitor& operator=(const UdevMonitor&) = delete;

    bool Valid() const { return monitor_ != nullptr; }
    // Readable when events wait; -1 when the monitor could not be created.
    int Fd() const;
    // Reads every waiting event; true when one of them added or removed a video node or a USB
    // device.
    bool DrainDeviceChanges();

  private:
    struct udev* udev_ = nullptr;
    struct udev_monitor* monitor_ = nullptr;
};

}  // namespace lensora
