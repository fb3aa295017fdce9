#include "measure/live_interaction.h"

#include <utility>

#include "measure/measure_tools.h"
#include "measure/record_move.h"

namespace lensora {

namespace {

bool IsAutomatic(LiveKind kind) {
    const int code = static_cast<int>(kind);
    return code >= static_cast<int>(LiveKind::kAutoCircle) &&
           code <= static_cast<int>(LiveKind::kAutoAngle);
}

// Every live tool checks the rate except the labels, the text and the angle line, which
// print no length.
bool NeedsRate(LiveKind kind) {
    switch (kind) {
        case LiveKind::kNone:
        case LiveKind::kCircleLabel:
        case LiveKind::kSquareLabel:
        case LiveKind::kText:
        case LiveKind::kAngleLine:
            return false;
        default:
            return true;
    }
}

}  // namespace

LiveInteraction::LiveInteraction(InteractionView& view, LiveRecords& records,
                                 ReferenceShapes& shapes, const AppSettings& settings,
                                 LabelCounters& counters, AutoToolHandler* autoTools)
    : InteractionCore(view, settings, counters),
      records_(records),
      history_(records, shapes),
      shapes_(shapes),
      autoTools_(autoTools) {}

LiveInteraction::~LiveInteraction() = default;

bool LiveInteraction::InArea(PixelPoint client) const {
    return kLiveClickArea.Contains(ClientToStored(client));
}

PixelPoint LiveInteraction::ClientToStored(PixelPoint client) const {
    return transform_.ToPicture(client);
}

PixelPoint LiveInteraction::StoredToClient(PixelPoint stored) const {
    return transform_.ToView(stored);
}

PixelBox LiveInteraction::ConfineArea() const {
    const PixelPoint topLeft = StoredToClient({kLiveClickArea.left, kLiveClickArea.top});
    const PixelPoint bottomRight = StoredToClient({kLiveClickArea.right, kLiveClickArea.bottom});
    return {topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
}

void LiveInteraction::StoreRecord(MeasureRecord record, bool placementFollows) {
    if (calibrationLine_ && calibrationLine_->kind == record.kind) {
        calibrationStored_ = std::move(calibrationLine_);
        calibrationLine_.reset();
        for (std::string& label : record.labels) {
            label.clear();
        }
    }
    if (placementFollows) {
        pending_ = std::move(record);
    } else {
        AddRecord(std::move(record));
    }
}

void LiveInteraction::CommitPlacement() {
    if (pending_) {
        AddRecord(std::move(*pending_));
        pending_.reset();
    }
}

void LiveInteraction::AddRecord(MeasureRecord record) {
    history_.AddRecord(std::move(record));
    if (std::optional<CalibrationLineHook> hook = std::exchange(calibrationStored_, std::nullopt);
        hook && hook->onLine && !records_.empty()) {
        hook->onLine(records_[records_.size() - 1]);
    }
}

void LiveInteraction::ExpectCalibrationLine(LiveKind kind,
                                            std::function<void(MeasureRecord&)> onLine) {
    calibrationLine_ = CalibrationLineHook{static_cast<int>(kind), std::move(onLine)};
    calibrationStored_.reset();
}

void LiveInteraction::LeaveToolAfterPlacement() {
    kind_ = LiveKind::kNone;
    SetTool(nullptr);
}

std::unique_ptr<ClickTool> LiveInteraction::MakeTool(LiveKind kind) {
    if (IsAutomatic(kind)) {
        return autoTools_ != nullptr ? autoTools_->MakeLiveTool(kind, *this) : nullptr;
    }
    return MakeLiveTool(kind, *this);
}

void LiveInteraction::EndDrag() {
    if (drag_) {
        drag_.reset();
        View().SetMoveCursor(false);
    }
}

void LiveInteraction::FocusLost() {
    EndDrag();
    lengthStart_.reset();
    InteractionCore::FocusLost();
}

void LiveInteraction::EndAll() {
    calibrationLine_.reset();
    EndDrag();
    lengthStart_.reset();
    EndMeasurement();  // also erases the band and releases the mouse
}

bool LiveInteraction::ChooseCommand(int command) {
    const ToolInfo* tool = FindToolByCommand(command);
    if (tool == nullptr || tool->liveCommand != command || !tool->liveKind) {
        return false;
    }
    return ChooseTool(*tool->liveKind);
}

bool LiveInteraction::ChooseTool(LiveKind kind, bool secondPressToggles, bool prepareRate) {
    if (kind == LiveKind::kAngleLine || kind == LiveKind::kToleranceCircle) {
        return false;
    }
    if (secondPressToggles && kind == kind_ && LiveToolToggles(kind)) {
        kind = LiveKind::kNone;
    }
    EndAll();
    Counters().OnLiveToolChosen(kind);
    if (prepareRate && NeedsRate(kind) && !View().PrepareRate()) {
        return false;
    }
    if (kind == LiveKind::kLengthLine) {
        shapeEditing_ = false;
    }
    kind_ = kind;
    SetTool(MakeTool(kind));
    Repaint();
    return true;
}

void LiveInteraction::MouseDown(PixelPoint client) {
    Press(client, false);
}

void LiveInteraction::DoubleClick(PixelPoint client) {
    Press(client, true);
}

void LiveInteraction::Press(PixelPoint client, bool doubleClick) {
    if (!InArea(client)) {
        return;
    }
    const PixelPoint p = ClientToStored(client);
    if (shapeEditing_ && !PlacingLabel()) {
        // A click that grabs a shape drags it and is not a click of the current tool.
        if (const std::optional<ShapeGrab> grab = HitShape(shapes_, p)) {
            EraseBand();
            drag_ = grab;
            Capture();
            View().SetMoveCursor(true);
            return;
        }
    }
    if (kind_ == LiveKind::kLengthLine) {
        LengthLineClick(p);
        return;
    }
    ToolClick(p, doubleClick);
}

void LiveInteraction::LengthLineClick(PixelPoint p) {
    if (!lengthStart_) {
        lengthStart_ = p;
        Capture();
        ShowBand(BandOf(RubberBandKind::Line, p, p));
        return;
    }
    const PixelPoint start = *lengthStart_;
    lengthStart_.reset();
    EraseBand();
    Release();
    const ScaleContext scale = Scale();
    // The dialog stays open until a usable length or Cancel.
    while (const std::optional<double> length = View().AskReferenceLength(scale.unit)) {
        ShapeResult<ReferenceShape> shape = MakeLengthLine(start, p, *length, scale.s);
        if (auto* made = std::get_if<ReferenceShape>(&shape)) {
            history_.AddShape(std::move(*made));
            Repaint();
            return;
        }
        Prompts().Show(GetText(std::get<ShapeInputError>(shape).message), PromptIcon::Exclamation);
    }
}

void LiveInteraction::MouseMove(PixelPoint client) {
    const PixelPoint p = ClientToStored(client);
    if (drag_) {
        if (drag_->index < shapes_.size()) {
            DragShape(shapes_[drag_->index], drag_->area, p);
            Repaint();
        }
        return;
    }
    if (lengthStart_) {
        ShowBand(BandOf(RubberBandKind::Line, *lengthStart_, p));
        return;
    }
    if (!InArea(client) && !MouseCaptured() && !PlacingLabel()) {
        EraseBand();
        return;
    }
    PointerMoved(p);
}

void LiveInteraction::MouseUp(PixelPoint client) {
    (void)client;
    if (!drag_) {
        return;
    }
    EndDrag();
    if (!MeasurementInProgress()) {
        Release();
    }
}

LiveRightClick LiveInteraction::RightClick(PixelPoint client) {
    if (InArea(client) && ToolRightClick(ClientToStored(client))) {
        return LiveRightClick::ToolFinished;
    }
    return LiveRightClick::ShowContextMenu;
}

void LiveInteraction::Cancel() {
    calibrationLine_.reset();
    calibrationStored_.reset();
    EndDrag();
    lengthStart_.reset();
    CancelMeasurement();
    kind_ = LiveKind::kNone;
    SetTool(nullptr);
    Repaint();
}

void LiveInteraction::DeleteAll() {
    EndAll();
    Counters().ResetBoth();
    history_.DeleteAll();
    Repaint();
}

bool LiveInteraction::Undo() {
    EndAll();
    Counters().ResetBoth();
    const bool undone = history_.Undo();
    Repaint();
    return undone;
}

bool LiveInteraction::Redo() {
    EndAll();
    Counters().ResetBoth();
    const bool redone = history_.Redo();
    Repaint();
    return redone;
}

void LiveInteraction::AddShape(ReferenceShape shape, LiveKind kind) {
    EndAll();
    Counters().OnLiveToolChosen(kind);
    history_.AddShape(std::move(shape));
    shapeEditing_ = true;
    kind_ = kind;
    SetTool(nullptr);
    Repaint();
}

bool LiveInteraction::CreateAngleLine(std::int32_t x, std::int32_t y) {
    ShapeResult<ReferenceShape> shape = MakeAngleLine(x, y);
    if (auto* error = std::get_if<ShapeInputError>(&shape)) {
        Prompts().Show(GetText(error->message), PromptIcon::Exclamation);
        return false;
    }
    AddShape(std::move(std::get<ReferenceShape>(shape)), LiveKind::kAngleLine);
    return true;
}

bool LiveInteraction::PrepareToleranceCircle() {
    EndAll();  // no message box while the mouse is captured
    return View().PrepareRate();
}

bool LiveInteraction::CreateToleranceCircle(double radius, double tolerancePlus,
                                            double toleranceMinus) {
    EndAll();  // no message box while the mouse is captured
    if (!View().PrepareRate()) {
        return false;
    }
    ShapeResult<ReferenceShape> shape =
        MakeToleranceCircle(radius, tolerancePlus, toleranceMinus, Scale().s);
    if (auto* error = std::get_if<ShapeInputError>(&shape)) {
        Prompts().Show(GetText(error->message), PromptIcon::Exclamation);
        return false;
    }
    AddShape(std::move(std::get<ReferenceShape>(shape)), LiveKind::kToleranceCircle);
    return true;
}

bool LiveInteraction::ConfirmText(const std::string& text, const LogFont& font,
                                  std::uint32_t colour) {
    if (kind_ != LiveKind::kText) {
        return false;
    }
    return PlaceText(static_cast<int>(LiveKind::kText), text, font, colour);
}

}  // namespace lensora
