#include "platform/linux/v4l2_source.h"

#include <fcntl.h>
#include <linux/videodev2.h>
#include <sys/eventfd.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "capture/capture_format.h"
#include "platform/linux/evdev_button.h"
#include "platform/linux/udev_devices.h"

namespace lensora {
namespace {

bool OffersSize(const V4l2Io& io, int fd, std::uint32_t pixelFormat, std::uint32_t width,
                std::uint32_t height) {
    for (std::uint32_t i = 0;; ++i) {
        v4l2_frmsizeenum size{};
        size.index = i;
        size.pixel_format = pixelFormat;
        if (XIoctl(io, fd, VIDIOC_ENUM_FRAMESIZES, &size) != 0) {
            return false;
        }
        if (size.type == V4L2_FRMSIZE_TYPE_DISCRETE) {
            if (size.discrete.width == width && size.discrete.height == height) {
                return true;
            }
            continue;
        }
        // Stepwise or continuous: one entry gives the whole range.
        const auto& s = size.stepwise;
        const auto inRange = [](std::uint32_t v, std::uint32_t lo, std::uint32_t hi,
                                std::uint32_t step) {
            return v >= lo && v <= hi && (step <= 1 || (v - lo) % step == 0);
        };
        return inRange(width, s.min_width, s.max_width, s.step_width) &&
               inRange(height, s.min_height, s.max_height, s.step_height);
    }
}

std::uint32_t PictureControlId(PictureControl c) {
    switch (c) {
        case PictureControl::Brightness:
            return V4L2_CID_BRIGHTNESS;
        case PictureControl::Contrast:
            return V4L2_CID_CONTRAST;
        case PictureControl::Saturation:
            return V4L2_CID_SATURATION;
        case PictureControl::Sharpness:
            return V4L2_CID_SHARPNESS;
        case PictureControl::Gamma:
            return V4L2_CID_GAMMA;
        case PictureControl::Hue:
            return V4L2_CID_HUE;
        case PictureControl::AutoBrightness:
            return V4L2_CID_AUTOBRIGHTNESS;
        case PictureControl::AutoHue:
            return V4L2_CID_HUE_AUTO;
    }
    return 0;
}

}  // namespace

V4l2Source::V4l2Source(const V4l2Io& io, DeviceLister lister)
    : io_(io), lister_(std::move(lister)) {
    if (!lister_) {
        lister_ = [&io] { return EnumerateVideoDevices(io); };
    }
}

V4l2Source::~V4l2Source() {
    Close();
}

std::vector<CameraDeviceInfo> V4l2Source::ListDevices() {
    return lister_();
}

bool V4l2Source::IsPresent(const std::string& identity) {
    const auto devices = lister_();
    return std::any_of(devices.begin(), devices.end(),
                       [&](const CameraDeviceInfo& d) { return d.identity == identity; });
}

bool V4l2Source::Open(const CameraDeviceInfo& device) {
    Close();
    fd_ = io_.open(device.path.c_str(), O_RDWR | O_NONBLOCK);
    if (fd_ < 0) {
        return false;  // vanished since the enumeration, or EBUSY/EACCES
    }
    v4l2_capability cap{};
    if (XIoctl(io_, fd_, VIDIOC_QUERYCAP, &cap) != 0 ||
        (((cap.capabilities & V4L2_CAP_DEVICE_CAPS) ? cap.device_caps : cap.capabilities) &
         (V4L2_CAP_VIDEO_CAPTURE | V4L2_CAP_STREAMING)) !=
            (V4L2_CAP_VIDEO_CAPTURE | V4L2_CAP_STREAMING)) {
        Close();
        return false;
    }
    button_ = std::make_unique<EvdevButton>(device.parentSysPath);
    return true;
}

SensorProbe V4l2Source::ProbeSensor() {
    SensorProbe probe;
    for (std::uint32_t i = 0; fd_ >= 0; ++i) {
        v4l2_fmtdesc desc{};
        desc.index = i;
        desc.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
        if (XIoctl(io_, fd_, VIDIOC_ENUM_FMT, &desc) != 0) {
            break;
        }
        if (desc.pixelformat != V4L2_PIX_FMT_YUYV && desc.pixelformat != V4L2_PIX_FMT_UYVY) {
            continue;
        }
        probe.anyYuvFormat = true;
        if (OffersSize(io_, fd_, desc.pixelformat, 1600, 1200)) {
            probe.yuv1600x1200 = true;
            break;
        }
    }
    v4l2_streamparm parm{};
    parm.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
    if (fd_ >= 0 && XIoctl(io_, fd_, VIDIOC_G_PARM, &parm) == 0 &&
        parm.parm.capture.timeperframe.denominator != 0) {
        probe.currentInterval100ns = 10'000'000LL * parm.parm.capture.timeperframe.numerator /
                                     parm.parm.capture.timeperframe.denominator;
    }
    return probe;
}

bool V4l2Source::HasButton() {
    return button_ != nullptr && button_->Available();
}

bool V4l2Source::SetFormat(const StreamFormat& asked, StreamFormat& applied) {
    if (fd_ < 0 || streaming_) {
        return false;
    }
    v4l2_format fmt{};
    fmt.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
    fmt.fmt.pix.width = static_cast<std::uint32_t>(asked.width);
    fmt.fmt.pix.height = static_cast<std::uint32_t>(asked.height);
    fmt.fmt.pix.pixelformat = V4L2_PIX_FMT_BGR24;
    fmt.fmt.pix.field = V4L2_FIELD_NONE;
    // The driver adjusts the size rather than refusing it; only an error or a pixel format
    // other than BGR24 counts as a refusal.
    if (XIoctl(io_, fd_, VIDIOC_S_FMT, &fmt) != 0 ||
        fmt.fmt.pix.pixelformat != V4L2_PIX_FMT_BGR24 || fmt.fmt.pix.width == 0 ||
        fmt.fmt.pix.height == 0) {
        return false;
    }
    width_ = static_cast<int>(fmt.fmt.pix.width);
    height_ = static_cast<int>(fmt.fmt.pix.height);
    bytesPerLine_ =
        std::max<std::size_t>(fmt.fmt.pix.bytesperline, static_cast<std::size_t>(width_) * 3);
    const auto [nativeFourCc, nativeBits] = NativeFormat();
    applied = {width_, height_, asked.frameInterval100ns, nativeFourCc, nativeBits};
    if (asked.frameInterval100ns > 0) {
        v4l2_streamparm parm{};
        parm.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
        parm.parm.capture.timeperframe.numerator =
            static_cast<std::uint32_t>(asked.frameInterval100ns);
        parm.parm.capture.timeperframe.denominator = 10'000'000;
        // A device without frame-rate control keeps its own rate.
        if (XIoctl(io_, fd_, VIDIOC_S_PARM, &parm) == 0 &&
            parm.parm.capture.timeperframe.denominator != 0) {
            applied.frameInterval100ns = 10'000'000LL * parm.parm.capture.timeperframe.numerator /
                                         parm.parm.capture.timeperframe.denominator;
        }
    }
    return true;
}

bool V4l2Source::Start(SourceCallbacks callbacks) {
    if (fd_ < 0 || streaming_ || width_ == 0) {
        return false;
    }
    v4l2_requestbuffers req{};
    req.count = kBufferCount;
    req.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
    req.memory = V4L2_MEMORY_MMAP;
    if (XIoctl(io_, fd_, VIDIOC_REQBUFS, &req) != 0 || req.count == 0) {
        return false;
    }
    for (std::uint32_t i = 0; i < req.count; ++i) {
        v4l2_buffer buf{};
        buf.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
        buf.memory = V4L2_MEMORY_MMAP;
        buf.index = i;
        if (XIoctl(io_, fd_, VIDIOC_QUERYBUF, &buf) != 0) {
            ReleaseBuffers();
            return false;
        }
        void* start =
            io_.mmap(nullptr, buf.length, PROT_READ | PROT_WRITE, MAP_SHARED, fd_, buf.m.offset);
        if (start == MAP_FAILED) {
            ReleaseBuffers();
            return false;
        }
        buffers_.push_back({start, buf.length});
        if (XIoctl(io_, fd_, VIDIOC_QBUF, &buf) != 0) {
            ReleaseBuffers();
            return false;
        }
    }
    v4l2_buf_type type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
    if (XIoctl(io_, fd_, VIDIOC_STREAMON, &type) != 0) {
        ReleaseBuffers();
        return false;
    }
    streaming_ = true;
    callbacks_ = std::move(callbacks);
    stop_.store(false);
    wakeFd_ = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    thread_ = std::thread([this] { Run(); });
    return true;
}

void V4l2Source::Run() {
    const int buttonFd = HasButton() ? button_->Fd() : -1;
    bool lost = false;
    while (!stop_.load() && !lost) {
        pollfd fds[3] = {{fd_, POLLIN, 0}, {wakeFd_, POLLIN, 0}, {buttonFd, POLLIN, 0}};
        const int ready = io_.poll(fds, buttonFd >= 0 ? 3 : 2, kPollTimeoutMs);
        if (ready < 0) {
            if (errno == EINTR) {
                continue;
            }
            lost = true;
            break;
        }
        if (ready == 0 || stop_.load()) {
            continue;  // no frame in time: the owner's stall check decides
        }
        if (buttonFd >= 0 && (fds[2].revents & POLLIN) != 0) {
            for (int n = button_->ReadPresses(); n > 0; --n) {
                if (callbacks_.button) {
                    callbacks_.button();
                }
            }
        }
        if ((fds[0].revents & (POLLERR | POLLHUP | POLLNVAL)) != 0) {
            lost = true;
            break;
        }
        if ((fds[0].revents & POLLIN) == 0) {
            continue;
        }
        v4l2_buffer buf{};
        buf.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
        buf.memory = V4L2_MEMORY_MMAP;
        if (XIoctl(io_, fd_, VIDIOC_DQBUF, &buf) != 0) {
            if (errno == ENODEV) {
                lost = true;
            } else if (errno != EAGAIN) {
                dropped_.fetch_add(1);  // EIO: libv4l2 could not convert this one frame
            }
            continue;
        }
        const bool bad = (buf.flags & V4L2_BUF_FLAG_ERROR) != 0 || buf.bytesused == 0 ||
                         buf.index >= buffers_.size();
        if (bad) {
            dropped_.fetch_add(1);
        } else if (callbacks_.frame) {
            FrameInfo f;
            f.bytes = static_cast<const std::uint8_t*>(buffers_[buf.index].start);
            f.length = std::min<std::size_t>(buf.bytesused, buffers_[buf.index].length);
            f.width = width_;
            f.height = height_;
            f.stride = bytesPerLine_;
            f.topDown = true;
            f.sampleTime = static_cast<std::int64_t>(buf.timestamp.tv_sec) * 10'000'000 +
                           static_cast<std::int64_t>(buf.timestamp.tv_usec) * 10;
            callbacks_.frame(f);
        }
        if (buf.index < buffers_.size() && XIoctl(io_, fd_, VIDIOC_QBUF, &buf) != 0 &&
            errno == ENODEV) {
            lost = true;
        }
    }
    if (lost && callbacks_.lost) {
        callbacks_.lost();
    }
}

void V4l2Source::Stop() {
    if (thread_.joinable()) {
        stop_.store(true);
        const std::uint64_t one = 1;
        [[maybe_unused]] const auto written = ::write(wakeFd_, &one, sizeof one);
        thread_.join();
    }
    if (wakeFd_ >= 0) {
        ::close(wakeFd_);
        wakeFd_ = -1;
    }
    if (streaming_) {
        v4l2_buf_type type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
        XIoctl(io_, fd_, VIDIOC_STREAMOFF, &type);  // fails harmlessly on a vanished device
        streaming_ = false;
    }
    ReleaseBuffers();
}

void V4l2Source::ReleaseBuffers() {
    for (const Buffer& b : buffers_) {
        io_.munmap(b.start, b.length);
    }
    if (!buffers_.empty() && fd_ >= 0) {
        v4l2_requestbuffers req{};
        req.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
        req.memory = V4L2_MEMORY_MMAP;
        XIoctl(io_, fd_, VIDIOC_REQBUFS, &req);
    }
    buffers_.clear();
}

void V4l2Source::Close() {
    Stop();
    button_.reset();
    if (fd_ >= 0) {
        io_.close(fd_);
        fd_ = -1;
    }
    width_ = height_ = 0;
}

bool V4l2Source::SelectInput(int index) {
    return fd_ >= 0 && XIoctl(io_, fd_, VIDIOC_S_INPUT, &index) == 0;
}

std::optional<int> V4l2Source::Control(std::uint32_t id) {
    v4l2_control c{};
    c.id = id;
    if (fd_ < 0 || XIoctl(io_, fd_, VIDIOC_G_CTRL, &c) != 0) {
        return std::nullopt;
    }
    return c.value;
}

std::optional<ControlRange> V4l2Source::QueryPictureControl(PictureControl c) {
    v4l2_queryctrl q{};
    q.id = PictureControlId(c);
    if (fd_ < 0 || XIoctl(io_, fd_, VIDIOC_QUERYCTRL, &q) != 0 ||
        (q.flags & V4L2_CTRL_FLAG_DISABLED) != 0 || q.maximum < q.minimum) {
        return std::nullopt;
    }
    return ControlRange{q.minimum, q.maximum, std::max(1, q.step), q.default_value, q.flags};
}

std::optional<int> V4l2Source::PictureControlValue(PictureControl c) {
    return Control(PictureControlId(c));
}

bool V4l2Source::SetPictureControl(PictureControl c, int value) {
    return SetControl(PictureControlId(c), value);
}

std::pair<std::uint32_t, int> V4l2Source::NativeFormat() {
    // libv4l2 lists its converted formats with the EMULATED flag; the first real one is what
    // the camera sends. YUYV goes by its capture-framework name YUY2.
    std::pair<std::uint32_t, int> found{0, 0};
    for (std::uint32_t i = 0;; ++i) {
        v4l2_fmtdesc desc{};
        desc.index = i;
        desc.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
        if (XIoctl(io_, fd_, VIDIOC_ENUM_FMT, &desc) != 0) {
            break;
        }
        if ((desc.flags & V4L2_FMT_FLAG_EMULATED) != 0) {
            continue;
        }
        std::pair<std::uint32_t, int> native{desc.pixelformat, 16};
        switch (desc.pixelformat) {
            case V4L2_PIX_FMT_YUYV:
                native = {FourCc::Of('Y', 'U', 'Y', '2'), 16};
                break;
            case V4L2_PIX_FMT_UYVY:
                native = {FourCc::Of('U', 'Y', 'V', 'Y'), 16};
                break;
            case V4L2_PIX_FMT_MJPEG:
            case V4L2_PIX_FMT_BGR24:
            case V4L2_PIX_FMT_RGB24:
                native = {desc.pixelformat, 24};
                break;
            default:
                break;
        }
        // Uncompressed YUV is preferred: it is what the stored format has always described.
        if (native.second == 16 &&
            (desc.pixelformat == V4L2_PIX_FMT_YUYV || desc.pixelformat == V4L2_PIX_FMT_UYVY)) {
            return native;
        }
        if (found.first == 0) {
            found = native;
        }
    }
    return found;
}

bool V4l2Source::SetControl(std::uint32_t id, int value) {
    v4l2_control c{};
    c.id = id;
    c.value = value;
    return fd_ >= 0 && XIoctl(io_, fd_, VIDIOC_S_CTRL, &c) == 0;
}

}  // namespace lensora
