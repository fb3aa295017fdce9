#include "platform/linux/evdev_button.h"

#include <fcntl.h>
#include <libevdev/libevdev.h>
#include <libudev.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace lensora {

EvdevButton::EvdevButton(const std::string& usbSysPath) {
    if (usbSysPath.empty()) {
        return;
    }
    struct udev* u = udev_new();
    if (u == nullptr) {
        return;
    }
    udev_enumerate* e = udev_enumerate_new(u);
    udev_enumerate_add_match_subsystem(e, "input");
    udev_enumerate_scan_devices(e);
    udev_list_entry* entry = nullptr;
    udev_list_entry_foreach(entry, udev_enumerate_get_list_entry(e)) {
        if (device_ != nullptr) {
            break;
        }
        const char* syspath = udev_list_entry_get_name(entry);
        // Only event nodes below the camera's USB device.
        if (std::strncmp(syspath, usbSysPath.c_str(), usbSysPath.size()) != 0) {
            continue;
        }
        udev_device* dev = udev_device_new_from_syspath(u, syspath);
        const char* node = dev != nullptr ? udev_device_get_devnode(dev) : nullptr;
        if (node != nullptr && std::strstr(node, "/event") != nullptr) {
            const int fd = ::open(node, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
            libevdev* device = nullptr;
            if (fd >= 0 && libevdev_new_from_fd(fd, &device) == 0 &&
                libevdev_has_event_code(device, EV_KEY, KEY_CAMERA)) {
                fd_ = fd;
                device_ = device;
            } else {
                if (device != nullptr) {
                    libevdev_free(device);
                }
                if (fd >= 0) {
                    ::close(fd);
                }
            }
        }
        if (dev != nullptr) {
            udev_device_unref(dev);
        }
    }
    udev_enumerate_unref(e);
    udev_unref(u);
}

EvdevButton::~EvdevButton() {
    if (device_ != nullptr) {
        libevdev_free(device_);
    }
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

int EvdevButton::ReadPresses() {
    if (device_ == nullptr) {
        return 0;
    }
    int presses = 0;
    input_event ev{};
    int rc;
    while ((rc = libevdev_next_event(device_, LIBEVDEV_READ_FLAG_NORMAL, &ev)) >= 0) {
        if (rc == LIBEVDEV_READ_STATUS_SYNC) {
            // Events were dropped; catch up and carry on.
            while (libevdev_next_event(device_, LIBEVDEV_READ_FLAG_SYNC, &ev) ==
                   LIBEVDEV_READ_STATUS_SYNC) {
            }
            continue;
        }
        if (ev.type == EV_KEY && ev.code == KEY_CAMERA && ev.value == 1) {
            ++presses;
        }
    }
    return presses;
}

}  // namespace lensora
