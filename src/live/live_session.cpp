#include "live/live_session.h"

namespace lensora {

LiveSession::LiveSession(const AppSettings& settings, CalibrationState& shared,
                         LabelCounters& counters)
    : settings_(settings), counters_(counters), calibration_(CalibrationView::Live, shared) {}

LiveSession::~LiveSession() = default;

void LiveSession::AttachView(InteractionView& view, AutoToolHandler* autoTools) {
    interaction_ =
        std::make_unique<LiveInteraction>(view, records_, shapes_, settings_, counters_, autoTools);
}

void LiveSession::DetachView() {
    interaction_.reset();
}

bool LiveSession::ChooseCommand(int command) {
    return interaction_ != nullptr && interaction_->ChooseCommand(command);
}

bool LiveSession::Undo() {
    return interaction_ != nullptr && interaction_->Undo();
}

bool LiveSession::Redo() {
    return interaction_ != nullptr && interaction_->Redo();
}

bool LiveSession::DeleteAll() {
    if (interaction_ == nullptr) {
        return false;
    }
    interaction_->DeleteAll();
    return true;
}

void LiveSession::Cancel() {
    if (interaction_ != nullptr) {
        interaction_->Cancel();
    }
}

bool LiveSession::PrepareToleranceCircle() {
    return interaction_ != nullptr && interaction_->PrepareToleranceCircle();
}

bool LiveSession::CreateToleranceCircle(double radius, double tolerancePlus,
                                        double toleranceMinus) {
    return interaction_ != nullptr &&
           interaction_->CreateToleranceCircle(radius, tolerancePlus, toleranceMinus);
}

bool LiveSession::CreateAngleLine(std::int32_t x, std::int32_t y) {
    return interaction_ != nullptr && interaction_->CreateAngleLine(x, y);
}

namespace {

template <class Switches, class Flag>
Flag* SwitchOf(Switches& s, Flag& zoomLevel, LiveOverlay overlay) {
    switch (overlay) {
        case LiveOverlay::DateTime:
            return &s.dateTime;
        case LiveOverlay::WhiteCross:
            return &s.whiteCross;
        case LiveOverlay::CrossRuler:
            return &s.crossRuler;
        case LiveOverlay::Rings:
            return &s.rings;
        case LiveOverlay::ReferenceShapes:
            return &s.referenceShapes;
        case LiveOverlay::ZoomLevel:
            return &zoomLevel;
    }
    return &zoomLevel;
}

}  // namespace

bool LiveSession::Toggle(LiveOverlay overlay) {
    bool* on = SwitchOf(switches_, zoomLevel_, overlay);
    *on = !*on;
    return *on;
}

bool LiveSession::IsOn(LiveOverlay overlay) const {
    return *SwitchOf(switches_, zoomLevel_, overlay);
}

ViewTransform LiveSession::DisplayTransform(int clientWidth, int clientHeight, bool fullScreen,
                                            int videoHeight) {
    if (!fullScreen || clientWidth <= 0 || clientHeight <= 0) {
        return {};
    }
    // Full screen stretches the video area over the whole screen.
    return {{0, 0}, 640.0 / clientWidth, double(videoHeight) / clientHeight};
}

}  // namespace lensora
