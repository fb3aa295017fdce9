#include "measure/interaction_core.h"

#include <algorithm>
#include <limits>

#include "measure/record_move.h"

namespace lensora {

namespace {

const WorkingLists& EmptyWorking() {
    static const WorkingLists empty;
    return empty;
}

// The part of the view a record being placed may cover: its label block and, when the whole
// record moves (a text), the box around its points.
PixelBox PlacementArea(const MeasureRecord& record, std::size_t anchor, bool wholeRecord) {
    PixelBox area = LabelArea(record.points[anchor], record.labels, record.lineGap);
    if (wholeRecord) {
        for (std::size_t i = 1; i < record.points.size(); ++i) {
            area = UnionRect(area, SpanRect(record.points[i - 1], record.points[i]));
        }
    }
    return area;
}

}  // namespace

PixelBox LabelArea(PixelPoint anchor, const std::vector<std::string>& lines, int lineGap) {
    std::size_t longest = 0;
    for (const std::string& line : lines) {
        longest = std::max(longest, line.size());
    }
    constexpr std::int64_t kMargin = 8;
    const std::int64_t gap = std::clamp(lineGap, 1, 1000);
    const std::int64_t width =
        120 + 16 * static_cast<std::int64_t>(std::min<std::size_t>(longest, 4096));
    const std::int64_t rows = static_cast<std::int64_t>(std::max<std::size_t>(lines.size(), 1));
    const std::int64_t height = gap * rows + 2 * std::max<std::int64_t>(gap, 16);
    return SaturatedBox(std::int64_t{anchor.x} - kMargin, std::int64_t{anchor.y} - kMargin,
                        std::int64_t{anchor.x} + width, std::int64_t{anchor.y} + height);
}

PixelBox UnionRect(const PixelBox& a, const PixelBox& b) {
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
            std::max(a.bottom, b.bottom)};
}

PixelBox SpanRect(PixelPoint a, PixelPoint b) {
    return SaturatedBox(std::int64_t{std::min(a.x, b.x)} - 1, std::int64_t{std::min(a.y, b.y)} - 1,
                        std::int64_t{std::max(a.x, b.x)} + 2, std::int64_t{std::max(a.y, b.y)} + 2);
}

InteractionCore::InteractionCore(InteractionView& view, const AppSettings& settings,
                                 LabelCounters& counters)
    : view_(view), settings_(settings), counters_(counters) {}

InteractionCore::~InteractionCore() {
    Release();
}

void InteractionCore::FocusLost() {
    EraseBand();
    Release();
}

bool InteractionCore::MeasurementInProgress() const {
    return placement_.has_value() || (tool_ && tool_->InProgress());
}

const WorkingLists& InteractionCore::Working() const {
    return tool_ && !placement_ ? tool_->Working() : EmptyWorking();
}

MeasureRecord InteractionCore::MakeRecord(int kind) const {
    const DrawingSettings drawing = view_.CurrentDrawingSettings();
    return NewRecord(kind, settings_,
                     ViewDrawingStyle{drawing.penColour, drawing.labelColour, drawing.labelFont});
}

void InteractionCore::SetTool(std::unique_ptr<ClickTool> tool) {
    EndMeasurement();
    tool_ = std::move(tool);
}

void InteractionCore::ToolClick(PixelPoint p, bool doubleClick) {
    lastPointer_ = p;
    if (placement_) {
        // The first press of a double-click placed the label or a tool's double-click has
        // just stored the record; the second press places nothing.
        if (!doubleClick) {
            FinishPlacement(p);
        }
        return;
    }
    if (!tool_) {
        return;
    }
    HandleStep(doubleClick ? tool_->DoubleClick(p) : tool_->Click(p), p);
}

bool InteractionCore::ToolRightClick(PixelPoint p) {
    if (!tool_ || placement_) {
        return false;
    }
    ToolStep step = tool_->RightClick(p);
    if (!step.consumed) {
        return false;
    }
    HandleStep(std::move(step), p);
    return true;
}

void InteractionCore::HandleStep(ToolStep step, PixelPoint p) {
    if (!step.consumed) {
        return;
    }
    if (step.started || tool_->InProgress()) {
        Capture();  // also takes the capture back after the window lost the focus
    }
    const bool stored = step.record.has_value();
    if (stored) {
        MeasureRecord& record = *step.record;
        const bool follows = step.anchorIndex >= 0 &&
                             static_cast<std::size_t>(step.anchorIndex) < record.points.size();
        StoreRecord(std::move(record), follows);
        if (follows) {
            StartPlacement(step.anchorIndex, false, false);
            Capture();
        }
    }
    if (!placement_ && !tool_->InProgress()) {
        Release();
    }
    if (step.changed || stored) {
        Repaint();
    }
    ShowBand(placement_ ? std::nullopt : tool_->Band(p));
}

void InteractionCore::StartPlacement(int anchorIndex, bool wholeRecord, bool leaveTool) {
    placement_ = Placement{anchorIndex, wholeRecord, leaveTool};
    EraseBand();
}

void InteractionCore::PlaceAt(PixelPoint p) {
    MeasureRecord* record = PlacementRecord();
    const auto anchor = static_cast<std::size_t>(placement_->anchorIndex);
    if (record == nullptr || anchor >= record->points.size()) {
        placement_.reset();
        Release();
        return;
    }
    const PixelPoint from = record->points[anchor];
    if (from == p) {
        return;
    }
    const PixelBox before = PlacementArea(*record, anchor, placement_->wholeRecord);
    if (placement_->wholeRecord) {
        ShiftRecord(*record, std::int64_t{p.x} - from.x, std::int64_t{p.y} - from.y);
    } else {
        record->points[anchor] = p;
    }
    Invalidate(UnionRect(before, PlacementArea(*record, anchor, placement_->wholeRecord)));
}

void InteractionCore::FinishPlacement(PixelPoint p) {
    PlaceAt(p);
    if (!placement_) {
        return;  // the record is gone
    }
    const bool leave = placement_->leaveTool;
    CommitPlacement();
    placement_.reset();
    Release();
    Repaint();
    if (leave) {
        LeaveToolAfterPlacement();
    } else if (tool_) {
        ShowBand(tool_->Band(p));
    }
}

void InteractionCore::PointerMoved(PixelPoint p) {
    lastPointer_ = p;
    if (placement_) {
        PlaceAt(p);
        return;
    }
    if (!tool_) {
        EraseBand();
        return;
    }
    if (const std::optional<PixelBox> changed = tool_->Move(p)) {
        EraseBand();
        Invalidate(*changed);
    }
    ShowBand(tool_->Band(p));
}

void InteractionCore::EndMeasurement() {
    StopMeasurement(true);
}

void InteractionCore::CancelMeasurement() {
    StopMeasurement(false);
}

void InteractionCore::StopMeasurement(bool keepPlacedRecord) {
    const bool inProgress = MeasurementInProgress();
    if (placement_) {
        if (keepPlacedRecord) {
            CommitPlacement();
        } else {
            DropPlacement();
        }
        placement_.reset();
    }
    if (tool_) {
        tool_->Reset();
    }
    EraseBand();
    Release();
    if (inProgress) {
        Repaint();
    }
}

void InteractionCore::Capture() {
    if (!captured_) {
        view_.CaptureMouse();
        view_.ConfinePointer(ConfineArea());
        captured_ = true;
    }
}

void InteractionCore::Release() {
    if (captured_) {
        view_.ReleaseMouse();
        view_.FreePointer();
        captured_ = false;
    }
}

void InteractionCore::ShowBand(std::optional<RubberBand> band) {
    if (band) {
        band->from = StoredToClient(band->from);
        band->to = StoredToClient(band->to);
        if (band->kind == RubberBandKind::MovedRecord) {
            // The record's stored points plus this shift give the figure in client pixels.
            band->shift = StoredToClient(band->shift);
        } else {
            const DrawingSettings drawing = view_.CurrentDrawingSettings();
            band->penStyle = drawing.penStyle;
            band->penWidth = drawing.penWidth;
            band->penColour = drawing.penColour;
        }
        if (band_ == band) {
            return;
        }
        if (view_.BandDrawing() == RubberBandDrawing::NextFrame) {
            // The kept figure is simply replaced; the next frame shows the new one.
            view_.ShowRubberBand(*band);
            band_ = band;
            return;
        }
    }
    EraseBand();
    if (band) {
        view_.ShowRubberBand(*band);
        band_ = band;
    }
}

void InteractionCore::EraseBand() {
    if (band_) {
        view_.EraseRubberBand();
        band_.reset();
    }
}

void InteractionCore::Repaint() {
    EraseBand();
    view_.Repaint();
}

void InteractionCore::Invalidate(const PixelBox& stored) {
    const PixelPoint topLeft = StoredToClient({stored.left, stored.top});
    const PixelPoint bottomRight = StoredToClient({stored.right, stored.bottom});
    view_.InvalidateRect({topLeft.x, topLeft.y, bottomRight.x, bottomRight.y});
}

bool InteractionCore::PlaceText(int kind, const std::string& text, const LogFont& font,
                                std::uint32_t colour) {
    EndMeasurement();
    if (text.empty()) {
        Prompts().Show(GetText(kInputTextText), PromptIcon::Exclamation);
        return false;
    }
    MeasureRecord record = MakeRecord(kind);
    const PixelPoint at = LastPointer();
    record.points = {at, OffsetPoint(at, kTextBoxSpan.x, kTextBoxSpan.y)};
    record.labels = {text};
    record.textFont = font;
    record.textColor = colour;
    StoreRecord(std::move(record), true);
    StartPlacement(0, true, true);
    Repaint();
    return true;
}

}  // namespace lensora
