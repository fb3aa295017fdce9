// Mouse interaction of the live view: the live canvas forwards its mouse events (its own
// client positions) and the live tool commands here. A client position becomes a stored
// video-area pixel through the view's transform (stored = ToPicture(client); identity at the
// normal display scale, the display factors in full screen). Clicks count inside the video
// area (stored x 1..640, y 1..480). Every tool builds its measurement in the working lists;
// a record enters LiveRecords only at the click that places its label (at once for the
// circle and square labels). Also: the comparison shapes (length line by two clicks and a
// length dialog, angle line and tolerance circle from their dialogs' numbers, dragging
// them in the shape-editing mode), Cancel, Delete All, Undo and Redo.
// Ownership: records, shapes, view, settings, counters and handler belong to the main
// window and outlive this object. User-interface thread only.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "base/view_transform.h"
#include "measure/auto_tool.h"
#include "measure/comparison_shapes.h"
#include "measure/interaction_core.h"
#include "measure/live_history.h"

namespace lensora {

// The part of the 640 x 480 video area that takes clicks, in stored pixels.
inline constexpr PixelBox kLiveClickArea{1, 1, 641, 481};

enum class LiveRightClick {
    ToolFinished,     // an automatic tool took the right click and finished
    ShowContextMenu,  // the window opens the preview context menu
};

class LiveInteraction final : public InteractionCore {
  public:
    LiveInteraction(InteractionView& view, LiveRecords& records, ReferenceShapes& shapes,
                    const AppSettings& settings, LabelCounters& counters = SharedLabelCounters(),
                    AutoToolHandler* autoTools = nullptr);
    ~LiveInteraction() override;

    // How client positions map to stored video-area pixels (picture side); rounds to the
    // nearest pixel. The default is the identity.
    void SetViewTransform(const ViewTransform& clientToStored) { transform_ = clientToStored; }
    const ViewTransform& Transform() const { return transform_; }

    void MouseDown(PixelPoint client);
    void MouseMove(PixelPoint client);
    void MouseUp(PixelPoint client);
    void DoubleClick(PixelPoint client);
    LiveRightClick RightClick(PixelPoint client);

    // A live toolbar command; false when it selects no tool here (the angle line and the
    // tolerance circle are made by CreateAngleLine and CreateToleranceCircle) or the rate
    // check refused it.
    bool ChooseCommand(int command);
    // Ends the measurement in progress, applies the label counter rule, checks the rate for
    // measuring tools and selects the tool. A second press on the active tool's button
    // (secondPressToggles) switches to no tool for the tools that toggle. Choosing the length
    // line turns the shape-editing mode off. On a refused rate the previous tool stays.
    bool ChooseTool(LiveKind kind, bool secondPressToggles = true, bool prepareRate = true);
    LiveKind CurrentTool() const { return kind_; }

    // The context menu's Cancel: discards the measurement in progress and selects no tool;
    // finished records stay.
    void Cancel();
    // Each ends the measurement in progress and restarts both label counters first.
    void DeleteAll();
    bool Undo();
    bool Redo();

    // The angle line dialog's numbers. Refused (message shown, false) when either is zero.
    bool CreateAngleLine(std::int32_t x, std::int32_t y);
    // The tolerance circle dialog's numbers (in the unit). Runs the rate check; refused
    // (message shown, false) when any number is zero.
    bool CreateToleranceCircle(double radius, double tolerancePlus, double toleranceMinus);
    // The tolerance circle's command before its dialog opens: ends the measurement in progress
    // and runs the rate check, as choosing a measuring tool does (false: refused, the message
    // was shown).
    bool PrepareToleranceCircle();
    bool ShapeEditing() const { return shapeEditing_; }
    bool Dragging() const { return drag_.has_value(); }

    // A line calibration waits for its line: the next record of `kind` enters LiveRecords with
    // empty labels (its length shows once the new rate is known) and `onLine` gets it there.
    // Cleared by choosing a tool, Cancel, Delete All, Undo, Redo and once the line is stored.
    void ExpectCalibrationLine(LiveKind kind, std::function<void(MeasureRecord&)> onLine);
    bool ExpectingCalibrationLine() const { return calibrationLine_.has_value(); }

    // As in the still view, for the live text tool.
    bool ConfirmText(const std::string& text, const LogFont& font, std::uint32_t colour);

    // Also ends a shape drag and a length line's first click.
    void FocusLost() override;

    // The record whose label is being placed (not yet in LiveRecords), for drawing.
    const MeasureRecord* PendingRecord() const { return pending_ ? &*pending_ : nullptr; }
    std::size_t RedoDepth() const { return history_.RedoDepth(); }

  private:
    bool InArea(PixelPoint client) const override;
    PixelPoint ClientToStored(PixelPoint client) const override;
    PixelPoint StoredToClient(PixelPoint stored) const override;
    PixelBox ConfineArea() const override;
    void StoreRecord(MeasureRecord record, bool placementFollows) override;
    MeasureRecord* PlacementRecord() override { return pending_ ? &*pending_ : nullptr; }
    void CommitPlacement() override;
    void DropPlacement() override {
        pending_.reset();
        calibrationStored_.reset();
    }
    void LeaveToolAfterPlacement() override;

    void Press(PixelPoint client, bool doubleClick);
    void LengthLineClick(PixelPoint p);
    void EndDrag();
    void EndAll();
    std::unique_ptr<ClickTool> MakeTool(LiveKind kind);
    void AddShape(ReferenceShape shape, LiveKind kind);

    struct CalibrationLineHook {
        int kind = 0;
        std::function<void(MeasureRecord&)> onLine;
    };
    void AddRecord(MeasureRecord record);

    ViewTransform transform_;
    LiveRecords& records_;
    LiveHistory history_;
    ReferenceShapes& shapes_;
    AutoToolHandler* autoTools_;
    LiveKind kind_ = LiveKind::kNone;
    bool shapeEditing_ = false;
    std::optional<MeasureRecord> pending_;
    std::optional<ShapeGrab> drag_;
    std::optional<PixelPoint> lengthStart_;
    std::optional<CalibrationLineHook> calibrationLine_;    // waiting for the line
    std::optional<CalibrationLineHook> calibrationStored_;  // the line's label is being placed
};

}  // namespace lensora
