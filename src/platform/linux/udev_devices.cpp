#include "platform/linux/udev_devices.h"

#include <fcntl.h>
#include <libudev.h>
#include <linux/videodev2.h>

#include <cstdio>
#include <cstring>
#include <memory>

namespace lensora {
namespace {

struct UdevDeleter {
    void operator()(struct udev* u) const { udev_unref(u); }
    void operator()(udev_enumerate* e) const { udev_enumerate_unref(e); }
    void operator()(udev_device* d) const { udev_device_unref(d); }
};

std::string Text(const char* s) {
    return s != nullptr ? std::string(s) : std::string();
}

bool ParseHex16(const std::string& text, unsigned& value) {
    if (text.empty() || text.size() > 4) {
        return false;
    }
    char* end = nullptr;
    value = static_cast<unsigned>(std::strtoul(text.c_str(), &end, 16));
    return end != nullptr && *end == '\0';
}

}  // namespace

std::string HardwareIdFrom(const std::string& idVendor, const std::string& idProduct) {
    unsigned vid = 0, pid = 0;
    if (!ParseHex16(idVendor, vid) || !ParseHex16(idProduct, pid)) {
        return {};
    }
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "Vid_%04x&Pid_%04x", vid, pid);
    return buffer;
}

std::vector<CameraDeviceInfo> EnumerateVideoDevices(const V4l2Io& io) {
    std::vector<CameraDeviceInfo> devices;
    std::unique_ptr<struct udev, UdevDeleter> u(udev_new());
    if (!u) {
        return devices;
    }
    std::unique_ptr<udev_enumerate, UdevDeleter> e(udev_enumerate_new(u.get()));
    udev_enumerate_add_match_subsystem(e.get(), "video4linux");
    udev_enumerate_scan_devices(e.get());
    udev_list_entry* entry = nullptr;
    udev_list_entry_foreach(entry, udev_enumerate_get_list_entry(e.get())) {
        std::unique_ptr<udev_device, UdevDeleter> dev(
            udev_device_new_from_syspath(u.get(), udev_list_entry_get_name(entry)));
        if (!dev) {
            continue;
        }
        const std::string node = Text(udev_device_get_devnode(dev.get()));
        if (node.empty()) {
            continue;
        }
        // Only capture nodes: a UVC camera also has a metadata node.
        const int fd = io.open(node.c_str(), O_RDWR | O_NONBLOCK);
        if (fd < 0) {
            continue;  // gone already, or not ours to open
        }
        v4l2_capability cap{};
        const bool queried = XIoctl(io, fd, VIDIOC_QUERYCAP, &cap) == 0;
        io.close(fd);
        if (!queried) {
            continue;
        }
        const std::uint32_t caps =
            (cap.capabilities & V4L2_CAP_DEVICE_CAPS) != 0 ? cap.device_caps : cap.capabilities;
        if ((caps & V4L2_CAP_VIDEO_CAPTURE) == 0) {
            continue;
        }
        CameraDeviceInfo info;
        info.path = node;
        info.friendlyName = reinterpret_cast<const char*>(cap.card);
        if (info.friendlyName.empty()) {
            info.friendlyName = Text(udev_device_get_property_value(dev.get(), "ID_V4L_PRODUCT"));
        }
        // The parent is owned by the child; no unref.
        udev_device* usb =
            udev_device_get_parent_with_subsystem_devtype(dev.get(), "usb", "usb_device");
        if (usb != nullptr) {
            info.hardwareId = HardwareIdFrom(Text(udev_device_get_sysattr_value(usb, "idVendor")),
                                             Text(udev_device_get_sysattr_value(usb, "idProduct")));
            info.parentSysPath = Text(udev_device_get_syspath(usb));
            const std::string serial = Text(udev_device_get_sysattr_value(usb, "serial"));
            info.identity = serial.empty() ? info.parentSysPath : info.hardwareId + "/" + serial;
        } else {
            udev_device* parent = udev_device_get_parent(dev.get());
            info.identity = Text(parent != nullptr ? udev_device_get_syspath(parent)
                                                   : udev_device_get_syspath(dev.get()));
        }
        devices.push_back(std::move(info));
    }
    return devices;
}

UdevMonitor::UdevMonitor(const std::string& source) {
    udev_ = udev_new();
    if (udev_ == nullptr) {
        return;
    }
    monitor_ = udev_monitor_new_from_netlink(udev_, source.c_str());
    if (monitor_ == nullptr) {
        return;
    }
    udev_monitor_filter_add_match_subsystem_devtype(monitor_, "video4linux", nullptr);
    udev_monitor_filter_add_match_subsystem_devtype(monitor_, "usb", "usb_device");
    if (udev_monitor_enable_receiving(monitor_) < 0) {
        udev_monitor_unref(monitor_);
        monitor_ = nullptr;
        return;
    }
    // Non-blocking reads: Drain stops when nothing more waits.
    const int fd = udev_monitor_get_fd(monitor_);
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
}

UdevMonitor::~UdevMonitor() {
    if (monitor_ != nullptr) {
        udev_monitor_unref(monitor_);
    }
    if (udev_ != nullptr) {
        udev_unref(udev_);
    }
}

int UdevMonitor::Fd() const {
    return monitor_ != nullptr ? udev_monitor_get_fd(monitor_) : -1;
}

bool UdevMonitor::DrainDeviceChanges() {
    bool changed = false;
    if (monitor_ == nullptr) {
        return false;
    }
    while (udev_device* dev = udev_monitor_receive_device(monitor_)) {
        const std::string action = Text(udev_device_get_action(dev));
        changed = changed || action == "add" || action == "remove";
        udev_device_unref(dev);
    }
    return changed;
}

}  // namespace lensora
