#include "capture/camera_connection.h"

#include <algorithm>

#include "capture/capture_format.h"
#include "capture/picture_memory.h"
#include "capture/resolution_steps.h"

namespace lensora {

CameraConnection::CameraConnection(FrameSource& source, FramePipeline& pipeline,
                                   ReconnectTimer& timer, ConnectionOptions options)
    : source_(source), pipeline_(pipeline), timer_(timer), options_(std::move(options)) {}

CameraConnection::~CameraConnection() {
    Teardown();
}

bool CameraConnection::BuildGraph() {
    if (state_ != GraphState::None) {
        return true;
    }
    const CameraDevice* selected = devices_.Selected();
    if (selected == nullptr || !source_.Open(selected->info)) {
        ReleaseGraph();
        return false;
    }
    state_ = GraphState::Built;
    if (pictureMemory_ != nullptr) {
        pictureMemory_->Reapply(selected->info, source_);
    }
    return true;
}

bool CameraConnection::PrepareGraph() {
    if (state_ == GraphState::Prepared) {
        return true;
    }
    if (state_ != GraphState::Built) {
        return false;
    }
    const SensorProbe probe = source_.ProbeSensor();
    largeSensor_ = LargeSensorAfterProbe(largeSensor_, probe);

    deviceInterval100ns_ = probe.currentInterval100ns;
    std::optional<VideoFormatBlock> stored = sessionFormat_;
    if (!stored && !options_.capConfigPath.empty()) {
        stored = ReadCapConfig(options_.capConfigPath);
    }
    const VideoFormatBlock fallback = DefaultFormatBlock(largeSensor_, probe.currentInterval100ns);
    const VideoFormatBlock& wanted = stored ? *stored : fallback;

    // The device adjusts rather than refuses: what it applied becomes the capture size. A
    // refusal gets the default format once more.
    StreamFormat applied;
    if (!source_.SetFormat(ToStreamFormat(wanted), applied) &&
        !source_.SetFormat(ToStreamFormat(fallback), applied)) {
        return false;
    }
    captureWidth_ = applied.width;
    captureHeight_ = applied.height;
    recordingRate_ = RecordingFrameRate(largeSensor_, captureWidth_);
    pipeline_.SetExpectedSize(captureWidth_, captureHeight_);

    // Frames flow whether or not the camera has a button; the button only adds snapshots.
    hasButton_ = source_.HasButton();
    pipeline_.SetButtonEnabled(hasButton_ && options_.buttonEnabled);
    state_ = GraphState::Prepared;
    return true;
}

bool CameraConnection::StartPreview() {
    if (state_ == GraphState::Running) {
        return true;
    }
    if (state_ != GraphState::Prepared) {
        return false;
    }
    lostPending_.store(false);
    SourceCallbacks callbacks;
    callbacks.frame = [this](const FrameInfo& frame) { pipeline_.OnFrame(frame); };
    callbacks.button = [this] { pipeline_.OnCameraButton(); };
    callbacks.lost = [this] {
        lostPending_.store(true);
        if (hooks_.lostFromCaptureThread) {
            hooks_.lostFromCaptureThread();
        }
    };
    if (!source_.Start(std::move(callbacks))) {
        return false;
    }
    state_ = GraphState::Running;
    runningSinceMs_ = pipeline_.NowMs();
    return true;
}

void CameraConnection::StopPreview() {
    if (state_ == GraphState::Running) {
        source_.Stop();
        state_ = GraphState::Prepared;
    }
}

void CameraConnection::ReleaseGrabbers() {
    if (state_ == GraphState::Prepared) {
        state_ = GraphState::Built;
    }
}

void CameraConnection::ReleaseGraph() {
    if (state_ != GraphState::None) {
        source_.Close();
    }
    state_ = GraphState::None;
}

void CameraConnection::Teardown() {
    StopPreview();
    ReleaseGrabbers();
    ReleaseGraph();
}

bool CameraConnection::Restart() {
    StopPreview();
    ReleaseGrabbers();
    return PrepareGraph() && StartPreview();
}

void CameraConnection::MarkConnected(bool connected) {
    if (!connected) {
        Teardown();
    }
    connected_ = connected;
    if (hooks_.connectionChanged) {
        hooks_.connectionChanged(connected);
    }
}

bool CameraConnection::ConnectSelected() {
    return BuildGraph() && PrepareGraph() && StartPreview();
}

bool CameraConnection::ConnectCamera() {
    std::lock_guard lock(connectionLock_);
    ++attempts_;
    bool ok = false;
    if (EnumerateCameras(devices_, source_.ListDevices(), options_.forcedPath) && BuildGraph()) {
        if (!PrepareGraph()) {
            timer_.Start(kRetryAfterPrepareMs);
        } else {
            ok = StartPreview();
        }
    }
    MarkConnected(ok);
    return ok;
}

bool CameraConnection::ReconnectCamera() {
    std::lock_guard lock(connectionLock_);
    ++attempts_;
    if (state_ == GraphState::Running && IsSelectedCameraPresent(devices_, source_)) {
        EnumerateCameras(devices_, source_.ListDevices(), options_.forcedPath);
        if (hooks_.deviceSetChanged) {
            hooks_.deviceSetChanged();
        }
        return true;
    }
    if (hooks_.deviceSetChanged) {
        hooks_.deviceSetChanged();
    }
    Teardown();
    const bool ok =
        EnumerateCameras(devices_, source_.ListDevices(), options_.forcedPath) && ConnectSelected();
    MarkConnected(ok);
    return ok;
}

void CameraConnection::OnDeviceNodesChanged() {
    timer_.Start(kDebounceMs);
}

void CameraConnection::OnReconnectTimer() {
    timer_.Stop();
    ReconnectCamera();
}

void CameraConnection::OnResume() {
    Teardown();
    ReconnectCamera();
}

void CameraConnection::OnDeviceLost() {
    lostPending_.store(false);
    {
        std::lock_guard lock(connectionLock_);
        if (state_ == GraphState::None && !connected_) {
            return;  // already handled
        }
        MarkConnected(false);
    }
    // The node may come back (replug); the timer also absorbs the udev events of the removal.
    timer_.Start(kDebounceMs);
}

void CameraConnection::Poll() {
    if (lostPending_.load()) {
        OnDeviceLost();
        return;
    }
    if (state_ != GraphState::Running) {
        return;
    }
    const std::int64_t now = pipeline_.NowMs();
    const std::int64_t lastFrame = pipeline_.LastFrameMs();
    if (lastFrame > runningSinceMs_) {
        stallRestarted_ = false;  // frames flow again
    }
    if (now - std::max(lastFrame, runningSinceMs_) < kStallMs) {
        return;
    }
    if (!stallRestarted_) {
        stallRestarted_ = true;
        if (Restart()) {
            return;
        }
    }
    stallRestarted_ = false;
    OnDeviceLost();
}

bool CameraConnection::SelectCamera(int index) {
    std::lock_guard lock(connectionLock_);
    if (index < 0 || static_cast<std::size_t>(index) >= devices_.entries.size() ||
        index == devices_.selectedIndex) {
        return false;
    }
    Teardown();
    SelectListEntry(devices_, index);
    const bool ok = ConnectSelected();
    MarkConnected(ok);
    return ok;
}

const CameraDeviceInfo* CameraConnection::SelectedDevice() const {
    const CameraDevice* selected = devices_.Selected();
    return selected != nullptr ? &selected->info : nullptr;
}

bool CameraConnection::SetResolution(int width, int height) {
    std::lock_guard lock(connectionLock_);
    captureWidth_ = width;
    captureHeight_ = height;
    if (state_ == GraphState::None) {
        return false;
    }
    const bool wasRunning = state_ == GraphState::Running;
    StopPreview();
    ReleaseGrabbers();

    StreamFormat applied;
    const bool ok = source_.SetFormat({width, height, deviceInterval100ns_}, applied);
    if (ok) {
        const VideoFormatBlock block = FormatBlockFor(applied, deviceInterval100ns_);
        const bool saved =
            !options_.capConfigPath.empty() && WriteCapConfig(options_.capConfigPath, block);
        sessionFormat_ = saved ? std::nullopt : std::optional<VideoFormatBlock>(block);
    } else {
        sessionFormat_ = DefaultFormatBlock(largeSensor_, deviceInterval100ns_);
    }

    if (!PrepareGraph() || (wasRunning && !StartPreview())) {
        // The device went away or refuses every format: a later attempt reconnects.
        MarkConnected(false);
        timer_.Start(kRetryAfterPrepareMs);
        return false;
    }
    return ok;
}

bool CameraConnection::ApplyResolutionStep(int step) {
    const CaptureSize size = ResolutionStepSize(largeSensor_, step);
    if (size.width == 0) {
        return false;
    }
    return SetResolution(size.width, size.height);
}

void CameraConnection::SetCameraButton(bool enabled) {
    options_.buttonEnabled = enabled;
    const bool wasRunning = state_ == GraphState::Running;
    StopPreview();
    ReleaseGrabbers();
    if (PrepareGraph() && wasRunning) {
        StartPreview();
    }
}

}  // namespace lensora
