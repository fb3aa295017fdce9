#include "capture/virtual_microscope.h"

#include "capture/capture_format.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>
#include <numbers>
#include <tuple>

namespace lensora {
namespace {

struct Size {
    int width;
    int height;
};
constexpr Size kSizes[] = {{320, 240}, {640, 480}, {1280, 960}, {1280, 1024}, {1600, 1200}};

double Coverage(double signedDistanceInside) {
    return std::clamp(signedDistanceInside + 0.5, 0.0, 1.0);
}

// A small, fast generator: the noise only has to look like noise.
std::uint32_t NextRandom(std::uint32_t& state) {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return state;
}

}  // namespace

SpecimenLayout SpecimenLayoutFor(int width, int height) {
    SpecimenLayout l;
    l.width = width;
    l.height = height;
    l.largeDiscX = width * 0.30;
    l.largeDiscY = height * 0.35;
    l.largeDiscRadius = height / 8.0;
    l.smallDiscX = width * 0.72;
    l.smallDiscY = height * 0.28;
    l.smallDiscRadius = height / 20.0;
    l.apexX = width * 0.52;
    l.apexY = height * 0.78;
    l.edgeLength = height / 3.0;
    l.barLeft = width / 12;
    l.barRight = l.barLeft + width / 4;
    l.barTop = height * 7 / 8;
    l.barBottom = l.barTop + std::max(3, height / 80);
    return l;
}

VirtualMicroscope::VirtualMicroscope(bool largeSensor) : largeSensor_(largeSensor) {}

VirtualMicroscope::~VirtualMicroscope() {
    Stop();
}

std::vector<CameraDeviceInfo> VirtualMicroscope::ListDevices() {
    if (!present_.load()) {
        return {};
    }
    return {{kPath, "Lensora Virtual Microscope", "Vid_7a5e&Pid_0101", kIdentity}};
}

bool VirtualMicroscope::IsPresent(const std::string& identity) {
    return present_.load() && identity == kIdentity;
}

bool VirtualMicroscope::Open(const CameraDeviceInfo& device) {
    if (!present_.load() || device.identity != kIdentity) {
        return false;
    }
    opened_ = true;
    return true;
}

namespace {

// The virtual camera's picture controls: no sharpness, so a missing control shows too.
struct VirtualControl {
    PictureControl control;
    ControlRange range;
};
constexpr VirtualControl kControls[] = {
    {PictureControl::Brightness, {-64, 64, 1, 0, 0}},
    {PictureControl::AutoBrightness, {0, 1, 1, 0, 0}},
    {PictureControl::Contrast, {0, 64, 1, 32, 0}},
    {PictureControl::Saturation, {0, 128, 1, 64, 0}},
    {PictureControl::Gamma, {100, 300, 10, 100, 0}},
    {PictureControl::Hue, {-180, 180, 1, 0, 0}},
};

const VirtualControl* FindControl(PictureControl c) {
    for (const VirtualControl& v : kControls) {
        if (v.control == c) {
            return &v;
        }
    }
    return nullptr;
}

}  // namespace

std::optional<ControlRange> VirtualMicroscope::QueryPictureControl(PictureControl c) {
    const VirtualControl* v = FindControl(c);
    if (!opened_ || !present_.load() || v == nullptr) {
        return std::nullopt;
    }
    return v->range;
}

std::optional<int> VirtualMicroscope::PictureControlValue(PictureControl c) {
    if (!QueryPictureControl(c)) {
        return std::nullopt;
    }
    std::lock_guard lock(controlMutex_);
    const auto it = controls_.find(c);
    return it != controls_.end() ? it->second : FindControl(c)->range.defaultValue;
}

bool VirtualMicroscope::SetPictureControl(PictureControl c, int value) {
    const std::optional<ControlRange> range = QueryPictureControl(c);
    std::lock_guard lock(controlMutex_);
    // Like a driver: out-of-range values and refused controls fail with the value unchanged.
    if (!range || value < range->minimum || value > range->maximum || refused_.count(c) != 0) {
        return false;
    }
    controls_[c] = value;
    return true;
}

void VirtualMicroscope::SetControlRefused(PictureControl c, bool refused) {
    std::lock_guard lock(controlMutex_);
    if (refused) {
        refused_.insert(c);
    } else {
        refused_.erase(c);
    }
}

SensorProbe VirtualMicroscope::ProbeSensor() {
    return {true, largeSensor_, 333333};
}

bool VirtualMicroscope::SetFormat(const StreamFormat& asked, StreamFormat& applied) {
    if (!opened_ || !present_.load()) {
        return false;
    }
    // Like a driver, snap to the nearest offered size instead of refusing.
    const Size* best = nullptr;
    long long bestScore = 0;
    for (const Size& s : kSizes) {
        if (!largeSensor_ && s.width == 1600) {
            continue;
        }
        const long long score = std::llabs(static_cast<long long>(s.width) - asked.width) +
                                std::llabs(static_cast<long long>(s.height) - asked.height);
        if (best == nullptr || score < bestScore) {
            best = &s;
            bestScore = score;
        }
    }
    const std::int64_t interval =
        asked.frameInterval100ns > 0 && asked.frameInterval100ns > 500000 ? 666666 : 333333;
    const bool sizeChanged = best->width != format_.width || best->height != format_.height;
    format_ = {best->width, best->height, interval, FourCc::Of('Y', 'U', 'Y', '2'), 16};
    if (sizeChanged || specimen_.empty()) {
        BuildSpecimen();
    }
    applied = format_;
    return true;
}

void VirtualMicroscope::BuildSpecimen() {
    const int w = format_.width;
    const int h = format_.height;
    margin_ = std::max(8, w / 16);
    specimenWidth_ = w + 2 * margin_;
    specimenHeight_ = h + 2 * margin_;
    specimen_.assign(static_cast<std::size_t>(specimenWidth_) * specimenHeight_ * 3, 0);
    frame_.assign(static_cast<std::size_t>(w) * h * 3, 0);

    const SpecimenLayout l = SpecimenLayoutFor(w, h);
    const double m = margin_;
    const double rad1 = l.edgeAngle1Deg * std::numbers::pi / 180.0;
    const double rad2 = l.edgeAngle2Deg * std::numbers::pi / 180.0;
    // Triangle apex and far corners in specimen pixels (y down, so the angles flip sign).
    const double ax = l.apexX + m, ay = l.apexY + m;
    const double bx = ax + l.edgeLength * std::cos(rad1), by = ay - l.edgeLength * std::sin(rad1);
    const double cx = ax + l.edgeLength * std::cos(rad2), cy = ay - l.edgeLength * std::sin(rad2);
    // Signed distance to a directed edge: positive on the triangle's side.
    const auto edgeDistance = [&](double px, double py, double x0, double y0, double x1, double y1,
                                  double ix, double iy) {
        const double ex = x1 - x0, ey = y1 - y0;
        const double len = std::hypot(ex, ey);
        const double d = ((px - x0) * ey - (py - y0) * ex) / len;
        const double inside = ((ix - x0) * ey - (iy - y0) * ex) / len;
        return inside >= 0 ? d : -d;
    };
    const double gx = (ax + bx + cx) / 3, gy = (ay + by + cy) / 3;

    std::vector<double> waveX(static_cast<std::size_t>(specimenWidth_));
    std::vector<double> waveY(static_cast<std::size_t>(specimenHeight_));
    for (int x = 0; x < specimenWidth_; ++x)
        waveX[x] = std::sin(x * 0.21) + 0.5 * std::sin(x * 0.047);
    for (int y = 0; y < specimenHeight_; ++y)
        waveY[y] = std::sin(y * 0.17) + 0.5 * std::cos(y * 0.031);

    // The ground everywhere, then the dark features within their bounding boxes only (drawing
    // the specimen once per size must stay quick at 1600x1200 in a debug build).
    std::vector<float> grey(static_cast<std::size_t>(specimenWidth_) * specimenHeight_);
    std::uint32_t seed = 0x9E3779B9u;
    for (int y = 0; y < specimenHeight_; ++y) {
        float* row = grey.data() + static_cast<std::size_t>(y) * specimenWidth_;
        for (int x = 0; x < specimenWidth_; ++x) {
            const double grain = static_cast<double>(NextRandom(seed) % 13) - 6.0;
            row[x] = static_cast<float>(l.groundLevel + 12.0 * waveX[x] * waveY[y] + grain);
        }
    }
    const auto paint = [&](double left, double top, double right, double bottom, double level,
                           auto coverage) {
        const int x0 = std::max(0, static_cast<int>(left) - 2);
        const int y0 = std::max(0, static_cast<int>(top) - 2);
        const int x1 = std::min(specimenWidth_, static_cast<int>(right) + 3);
        const int y1 = std::min(specimenHeight_, static_cast<int>(bottom) + 3);
        for (int y = y0; y < y1; ++y) {
            float* row = grey.data() + static_cast<std::size_t>(y) * specimenWidth_;
            for (int x = x0; x < x1; ++x) {
                const double c = coverage(x + 0.5, y + 0.5);
                row[x] = static_cast<float>(row[x] * (1 - c) + level * c);
            }
        }
    };
    paint(std::min({ax, bx, cx}), std::min({ay, by, cy}), std::max({ax, bx, cx}),
          std::max({ay, by, cy}), 90.0, [&](double px, double py) {
              return Coverage(std::min({edgeDistance(px, py, ax, ay, bx, by, gx, gy),
                                        edgeDistance(px, py, bx, by, cx, cy, gx, gy),
                                        edgeDistance(px, py, cx, cy, ax, ay, gx, gy)}));
          });
    for (const auto& [x, y, r] :
         {std::tuple{l.largeDiscX + m, l.largeDiscY + m, l.largeDiscRadius},
          std::tuple{l.smallDiscX + m, l.smallDiscY + m, l.smallDiscRadius}}) {
        paint(x - r, y - r, x + r, y + r, l.darkLevel,
              [&](double px, double py) { return Coverage(r - std::hypot(px - x, py - y)); });
    }
    paint(l.barLeft + m, l.barTop + m, l.barRight + m - 3, l.barBottom + m - 3, 15.0,
          [&](double px, double py) {
              return px - m >= l.barLeft && px - m < l.barRight && py - m >= l.barTop &&
                             py - m < l.barBottom
                         ? 1.0
                         : 0.0;
          });
    for (std::size_t i = 0; i < grey.size(); ++i) {
        const float g = std::clamp(grey[i], 0.0f, 240.0f);
        // A warm tint: red above green above blue.
        specimen_[i * 3 + 0] = static_cast<std::uint8_t>(g * 0.82f);
        specimen_[i * 3 + 1] = static_cast<std::uint8_t>(g);
        specimen_[i * 3 + 2] = static_cast<std::uint8_t>(std::min(240.0f, g * 1.08f + 4));
    }
    noise_.resize(static_cast<std::size_t>(w) * 3 + 4096);
    for (std::uint8_t& n : noise_) {
        n = static_cast<std::uint8_t>(NextRandom(seed) & 7u);
    }
}

void VirtualMicroscope::OffsetAt(std::uint64_t index, int& dx, int& dy) const {
    const double fps = 1e7 / static_cast<double>(format_.frameInterval100ns);
    const double t = static_cast<double>(index) / fps;
    const double reach = margin_ * 0.9;
    dx = static_cast<int>(std::lround(reach * std::sin(2 * std::numbers::pi * t / 9.0)));
    dy = static_cast<int>(std::lround(reach * std::sin(2 * std::numbers::pi * t / 13.0)));
}

void VirtualMicroscope::RenderFrame(std::uint8_t* out, std::uint64_t index) const {
    const int w = format_.width;
    const int h = format_.height;
    int dx = 0, dy = 0;
    OffsetAt(index, dx, dy);
    const std::size_t rowBytes = static_cast<std::size_t>(w) * 3;
    std::uint32_t seed = static_cast<std::uint32_t>(index * 2654435761u) | 1u;
    for (int y = 0; y < h; ++y) {
        // Frame row y from the top sits at stored row h-1-y (bottom-up).
        const int sy = y + margin_ - dy;
        const std::uint8_t* src =
            specimen_.data() + (static_cast<std::size_t>(sy) * specimenWidth_ + margin_ - dx) * 3;
        std::uint8_t* dst = out + static_cast<std::size_t>(h - 1 - y) * rowBytes;
        const std::uint8_t* noise = noise_.data() + (NextRandom(seed) & 4095u);
        // Values stay <= 248 + 7, so the sum never wraps.
        for (std::size_t i = 0; i < rowBytes; ++i) {
            dst[i] = static_cast<std::uint8_t>(src[i] + noise[i]);
        }
    }
}

bool VirtualMicroscope::Start(SourceCallbacks callbacks) {
    if (!opened_ || !present_.load() || thread_.joinable()) {
        return false;
    }
    callbacks_ = std::move(callbacks);
    {
        std::lock_guard lock(runMutex_);
        stopRequested_ = false;
    }
    thread_ = std::thread([this] { Run(); });
    return true;
}

void VirtualMicroscope::Run() {
    using Clock = std::chrono::steady_clock;
    const auto period = std::chrono::microseconds(format_.frameInterval100ns / 10);
    auto next = Clock::now();
    std::uint64_t index = 0;
    const auto start = Clock::now();
    while (true) {
        {
            std::unique_lock lock(runMutex_);
            if (wake_.wait_until(lock, next, [this] { return stopRequested_; })) {
                return;
            }
        }
        next += period;
        if (!present_.load()) {
            if (callbacks_.lost) {
                callbacks_.lost();
            }
            return;
        }
        if (buttonPending_.exchange(false) && callbacks_.button) {
            callbacks_.button();
        }
        if (stalled_.load()) {
            continue;
        }
        RenderFrame(frame_.data(), index);
        FrameInfo f;
        f.bytes = frame_.data();
        f.length = frame_.size();
        f.width = format_.width;
        f.height = format_.height;
        f.sampleTime =
            std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start).count() *
            10;
        ++index;
        if (callbacks_.frame) {
            callbacks_.frame(f);
        }
    }
}

void VirtualMicroscope::Stop() {
    if (!thread_.joinable()) {
        return;
    }
    {
        std::lock_guard lock(runMutex_);
        stopRequested_ = true;
    }
    wake_.notify_all();
    thread_.join();
}

void VirtualMicroscope::Close() {
    Stop();
    opened_ = false;
}

void VirtualMicroscope::SetHotplugHandler(std::function<void()> handler) {
    std::lock_guard lock(hotplugMutex_);
    hotplug_ = std::move(handler);
}

void VirtualMicroscope::Unplug() {
    present_.store(false);
    std::lock_guard lock(hotplugMutex_);
    if (hotplug_) {
        hotplug_();
    }
}

void VirtualMicroscope::Replug() {
    present_.store(true);
    std::lock_guard lock(hotplugMutex_);
    if (hotplug_) {
        hotplug_();
    }
}

}  // namespace lensora
