// The microscope's own snapshot button: the KEY_CAMERA input device that the UVC driver creates
// below the camera's USB device, read with libevdev. Plain C++; owned and read by the capture
// thread of the V4L2 camera, which polls its descriptor together with the video node.
#pragma once

#include <string>

struct libevdev;

namespace lensora {

class EvdevButton {
  public:
    // Looks for a KEY_CAMERA input device below `usbSysPath`. Unavailable when there is none or
    // it cannot be opened (EACCES without the udev rule).
    explicit EvdevButton(const std::string& usbSysPath);
    ~EvdevButton();
    EvdevButton(const EvdevButton&) = delete;
    EvdevButton& operator=(const EvdevButton&) = delete;

    bool Available() const { return device_ != nullptr; }
    int Fd() const { return fd_; }
    // Reads the waiting events; the number of presses among them.
    int ReadPresses();

  private:
    int fd_ = -1;
    libevdev* device_ = nullptr;
};

}  // namespace lensora
