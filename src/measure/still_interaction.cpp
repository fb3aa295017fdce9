#include "measure/still_interaction.h"

#include "base/text_keys.h"
#include "measure/hit_testing.h"
#include "measure/measure_tools.h"
#include "measure/record_move.h"

namespace lensora {

namespace {

bool IsAutomatic(StillMode mode) {
    switch (mode) {
        case StillMode::kAutoLineSpacing:
        case StillMode::kAutoCircle:
        case StillMode::kAutoAngle:
        case StillMode::kAutoLineLength1:
        case StillMode::kAutoLineLength2:
        case StillMode::kAutoArc:
            return true;
        default:
            return false;
    }
}

// Measuring tools check the rate when chosen; the angles print no length, and the labels,
// the text and the tools that store no record need none.
bool NeedsRate(StillMode mode, bool measuring) {
    switch (mode) {
        case StillMode::kAngle:
        case StillMode::kFourPointAngle:
        case StillMode::kAutoAngle:
        case StillMode::kCircleLabel:
        case StillMode::kSquareLabel:
        case StillMode::kText:
            return false;
        default:
            return measuring && StillModeToKind(mode).has_value();
    }
}

std::string Caption(StillMode mode, bool measuring) {
    const ToolInfo* tool = FindStillTool(mode);
    if (tool == nullptr || mode == StillMode::kSelect) {
        return {};
    }
    if (!measuring && !tool->drawCaption.empty()) {
        const std::string_view key =
            tool->drawCaptionKey.empty() ? tool->captionKey : tool->drawCaptionKey;
        return GetText(key, tool->drawCaption);
    }
    return GetText(tool->captionKey, tool->defaultCaption);
}

}  // namespace

StillInteraction::StillInteraction(InteractionView& view, StillRecords& records,
                                   const AppSettings& settings, LabelCounters& counters,
                                   AutoToolHandler* autoTools)
    : InteractionCore(view, settings, counters), records_(records), autoTools_(autoTools) {}

StillInteraction::~StillInteraction() = default;

void StillInteraction::SetPictureSize(int width, int height) {
    // A 320x240 picture is shown at 640x480.
    if (width == 320 && height == 240) {
        width = 640;
        height = 480;
    }
    areaWidth_ = std::max(width, 0);
    areaHeight_ = std::max(height, 0);
}

void StillInteraction::SetMapping(const ViewTransform& mapping) {
    mapping_ = mapping;
    mapping_.rounding = PixelRounding::Nearest;
}

bool StillInteraction::InStoredArea(PixelPoint p) const {
    return p.x >= 0 && p.y >= 0 && p.x < areaWidth_ && p.y < areaHeight_;
}

bool StillInteraction::InArea(PixelPoint client) const {
    return InStoredArea(ClientToStored(client));
}

PixelPoint StillInteraction::Stored(PointD client) const {
    // One rounding, from the exact position: on a picture finer than the screen a click can
    // land on any picture pixel, not only on those under whole view pixels.
    return RoundToPixel(mapping_.ToPictureD(client));
}

PixelPoint StillInteraction::ClientToStored(PixelPoint client) const {
    return Stored(ToPointD(client));
}

PixelPoint StillInteraction::StoredToClient(PixelPoint stored) const {
    return RoundToPixel(mapping_.ToViewD(ToPointD(stored)));
}

PixelBox StillInteraction::ConfineArea() const {
    const PixelPoint topLeft = StoredToClient({0, 0});
    const PixelPoint bottomRight = StoredToClient({areaWidth_, areaHeight_});
    return {topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
}

void StillInteraction::StoreRecord(MeasureRecord record, bool placementFollows) {
    std::optional<CalibrationLineHook> hook;
    if (calibrationLine_ && calibrationLine_->kind == record.kind) {
        hook = std::move(calibrationLine_);
        calibrationLine_.reset();
        // The calibration line shows its length only once the new rate is known.
        for (std::string& label : record.labels) {
            label.clear();
        }
    }
    MeasureRecord* stored = AppendRecord(records_, std::move(record));
    placed_ = placementFollows ? stored : nullptr;
    if (hook && hook->onLine) {
        hook->onLine(*stored);
    }
}

void StillInteraction::ExpectCalibrationLine(int kind, std::function<void(MeasureRecord&)> onLine) {
    calibrationLine_ = CalibrationLineHook{kind, std::move(onLine)};
}

MeasureRecord* StillInteraction::PlacementRecord() {
    // The label goes to the newest record only while that is still the one just stored.
    if (placed_ == nullptr || records_.empty() || records_.records.back().get() != placed_) {
        return nullptr;
    }
    return placed_;
}

void StillInteraction::DropPlacement() {
    if (PlacementRecord() != nullptr) {
        RemoveRecord(records_, records_.size() - 1);
    }
    placed_ = nullptr;
}

void StillInteraction::LeaveToolAfterPlacement() {
    mode_ = StillMode::kNone;
    measuring_ = false;
    SetTool(nullptr);
    View().ShowToolName({});
}

std::unique_ptr<ClickTool> StillInteraction::MakeTool(StillMode mode, bool measuring) {
    if (IsAutomatic(mode)) {
        return autoTools_ != nullptr ? autoTools_->MakeStillTool(mode, *this) : nullptr;
    }
    return MakeStillTool(mode, measuring, *this);
}

void StillInteraction::FocusLost() {
    sectionStart_.reset();
    InteractionCore::FocusLost();
}

void StillInteraction::EndAll() {
    LeaveMoving();
    if (sectionStart_) {
        sectionStart_.reset();
        EraseBand();
        Release();
    }
    EndMeasurement();
}

bool StillInteraction::ChooseCommand(int command) {
    const ToolInfo* tool = FindToolByCommand(command);
    if (tool == nullptr || !tool->stillMode) {
        return false;
    }
    if (tool->stillDrawCommand == command) {
        return ChooseTool(*tool->stillMode, false);
    }
    if (tool->stillMeasureCommand == command) {
        return ChooseTool(*tool->stillMode, *tool->stillMode != StillMode::kSelect);
    }
    return false;
}

bool StillInteraction::ChooseTool(StillMode mode, bool measuring, bool prepareRate) {
    EndAll();
    calibrationLine_.reset();
    ClearSelection(records_);
    Counters().ResetBoth();
    if (prepareRate && NeedsRate(mode, measuring) && !View().PrepareRate()) {
        Repaint();
        return false;
    }
    if (mode == StillMode::kFourPointAngle) {
        fourPointPick_ = true;
    } else if (mode != StillMode::kSelect) {
        fourPointPick_ = false;
    }
    mode_ = mode;
    measuring_ = measuring;
    SetTool(MakeTool(mode, measuring));
    View().ShowToolName(Caption(mode, measuring));
    Repaint();
    return true;
}

void StillInteraction::MouseDownAt(PointD client) {
    const PixelPoint p = Stored(client);
    if (!InStoredArea(p)) {
        return;
    }
    if (moving_) {
        Drop(p);
        return;
    }
    switch (mode_) {
        case StillMode::kSelect:
            SelectAt(p);
            return;
        case StillMode::kCheckEdgePortion:
            sectionStart_ = p;
            Capture();
            return;
        default:
            ToolClick(p, false);
    }
}

void StillInteraction::DoubleClickAt(PointD client) {
    const PixelPoint p = Stored(client);
    if (!InStoredArea(p)) {
        return;
    }
    if (moving_) {
        Drop(p);
        return;
    }
    if (mode_ == StillMode::kSelect) {
        SelectAt(p);
    } else if (mode_ != StillMode::kCheckEdgePortion) {
        ToolClick(p, true);
    }
}

void StillInteraction::MouseMoveAt(PointD client) {
    const PixelPoint p = Stored(client);
    if (moving_) {
        if (moving_->index < records_.size()) {
            ShowBand(MovedBand(
                records_[moving_->index],
                OffsetPoint(p, -std::int64_t{moving_->grab.x}, -std::int64_t{moving_->grab.y})));
        }
        return;
    }
    if (sectionStart_) {
        ShowBand(BandOf(RubberBandKind::Rectangle, *sectionStart_, p));
        return;
    }
    if (!InStoredArea(p) && !MouseCaptured() && !PlacingLabel()) {
        EraseBand();  // e.g. the label box leaves the picture with the pointer
        return;
    }
    PointerMoved(p);
}

void StillInteraction::MouseUpAt(PointD client) {
    if (sectionStart_) {
        FinishSection(Stored(client));
    }
}

void StillInteraction::FinishSection(PixelPoint p) {
    const PixelPoint start = *sectionStart_;
    sectionStart_.reset();
    EraseBand();
    Release();
    if (start.x == p.x || start.y == p.y) {
        Prompts().Show(GetText(kSelectSectionText), PromptIcon::Exclamation);
        return;
    }
    if (autoTools_ != nullptr) {
        autoTools_->ProcessSection(start, p);
    }
    Repaint();
}

void StillInteraction::RightClickAt(PointD client) {
    const PixelPoint p = Stored(client);
    if (ToolRightClick(p)) {
        return;  // an automatic tool finished
    }
    if (moving_) {
        LeaveMoving();
        return;
    }
    if (sectionStart_) {
        sectionStart_.reset();
        EraseBand();
        Release();
        return;
    }
    CancelMeasurement();
}

bool StillInteraction::ConfirmText(const std::string& text, const LogFont& font,
                                   std::uint32_t colour) {
    if (mode_ != StillMode::kText) {
        return false;
    }
    if (!PlaceText(static_cast<int>(StillKind::kText), text, font, colour)) {
        return false;
    }
    // The text's pick box spans the same part of the screen on any picture.
    if (MeasureRecord* placed = PlacementRecord();
        placed != nullptr && placed->points.size() >= 2) {
        placed->points[1] =
            OffsetPoint(placed->points[0], RoundToPixel(kTextBoxSpan.x * mapping_.fx),
                        RoundToPixel(kTextBoxSpan.y * mapping_.fy));
    }
    return true;
}

std::optional<std::size_t> StillInteraction::HitAt(PixelPoint p) const {
    if (mapping_.fx == 1.0 && mapping_.fy == 1.0) {
        return FindHitRecord(records_, p, fourPointPick_);
    }
    // The hit bands are a few pixels wide on the screen: records are tested as the view shows
    // them, so that a line on a large picture is as easy to pick as on a small one.
    const PixelPoint click = StoredToClient(p);
    const double toView = mapping_.fx > 0.0 ? 1.0 / mapping_.fx : 1.0;
    for (std::size_t i = 0; i < records_.size(); ++i) {
        MeasureRecord shown = records_[i];
        for (PixelPoint& q : shown.points) {
            q = StoredToClient(q);
        }
        shown.fitRadius *= toView;
        shown.refined.reset();
        if (HitsRecord(shown, click, fourPointPick_)) {
            return i;
        }
    }
    return std::nullopt;
}

void StillInteraction::SelectAt(PixelPoint p) {
    if (const std::optional<std::size_t> hit = HitAt(p)) {
        SelectOnly(records_, *hit);
        Repaint();
    }
}

void StillInteraction::DeleteSelected() {
    EndAll();
    bool anySelected = false;
    for (std::size_t i = records_.size(); i-- > 0;) {
        if (!records_[i].selected) {
            continue;
        }
        anySelected = true;
        const PromptAnswer answer =
            Prompts().Ask(GetText(kSureDeleteText), PromptButtons::YesNo, PromptIcon::Question);
        if (answer == PromptAnswer::Yes) {
            RemoveRecord(records_, i);
        }
    }
    if (!anySelected) {
        Prompts().Show(GetText(kSelectImageText), PromptIcon::Exclamation);
    }
    Repaint();
}

bool StillInteraction::MoveSelected() {
    EndAll();
    for (std::size_t i = 0; i < records_.size(); ++i) {
        if (!records_[i].selected) {
            continue;
        }
        const PixelPoint grab = GrabPoint(records_[i]);
        moving_ = MoveState{i, grab};
        View().SetPointerPosition(StoredToClient(grab));
        Capture();
        ShowBand(MovedBand(records_[i], {}));
        return true;
    }
    Prompts().Show(GetText(kSelectImageText), PromptIcon::Exclamation);
    return false;
}

void StillInteraction::Drop(PixelPoint p) {
    const MoveState move = *moving_;
    LeaveMoving();
    if (move.index < records_.size()) {
        ShiftRecord(records_[move.index], std::int64_t{p.x} - move.grab.x,
                    std::int64_t{p.y} - move.grab.y);
    }
    Repaint();
}

void StillInteraction::LeaveMoving() {
    if (moving_) {
        moving_.reset();
        EraseBand();
        Release();
    }
}

}  // namespace lensora
