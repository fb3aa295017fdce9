// Mouse interaction of the still-image canvas: the canvas forwards its mouse events (client
// positions, with their fractions) and tool commands here. Stored points are picture pixels:
// the client position through the canvas's view -> picture transform (the scroll position as
// origin, the display factor), rounded once to the nearest picture pixel. Clicks count inside
// the picture area (a 320x240 picture counts as 640x480). Runs the
// tool click sequences (measuring and draw-only variants), places labels, cancels with the
// right button, and edits StillRecords: select (with the four-point angle pick mode), delete
// and move. Automatic tools are routed to an AutoToolHandler.
// Ownership: the records, view, settings, counters and handler belong to the canvas and
// outlive this object. User-interface thread only.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "base/view_transform.h"
#include "measure/auto_tool.h"
#include "measure/interaction_core.h"
#include "measure/record_lists.h"
#include "measure/tool_catalog.h"

namespace lensora {

class StillInteraction final : public InteractionCore {
  public:
    StillInteraction(InteractionView& view, StillRecords& records, const AppSettings& settings,
                     LabelCounters& counters = SharedLabelCounters(),
                     AutoToolHandler* autoTools = nullptr);
    ~StillInteraction() override;

    // The picture's size in pixels; clicks count for stored x < width and y < height.
    void SetPictureSize(int width, int height);
    // The canvas's view -> picture transform (origin: the scroll position in picture pixels;
    // factors: picture pixels per view pixel). Identity until set.
    void SetMapping(const ViewTransform& mapping);
    const ViewTransform& Mapping() const { return mapping_; }
    // Only the scroll position (the transform's origin).
    void SetScrollOffset(PixelPoint offset) { mapping_.origin = offset; }
    PixelPoint ScrollOffset() const { return mapping_.origin; }

    // The pointer at an exact client position (the canvas's events keep their fractions).
    void MouseDownAt(PointD client);
    void MouseMoveAt(PointD client);
    void MouseUpAt(PointD client);
    // The second press of a double-click (the first came as MouseDown).
    void DoubleClickAt(PointD client);
    void RightClickAt(PointD client);
    // The same at whole client pixels.
    void MouseDown(PixelPoint client) { MouseDownAt(ToPointD(client)); }
    void MouseMove(PixelPoint client) { MouseMoveAt(ToPointD(client)); }
    void MouseUp(PixelPoint client) { MouseUpAt(ToPointD(client)); }
    void DoubleClick(PixelPoint client) { DoubleClickAt(ToPointD(client)); }
    void RightClick(PixelPoint client) { RightClickAt(ToPointD(client)); }

    // A draw-menu, measure-menu or toolbar command of the window (the draw menu selects the
    // draw-only variant). False for commands that select no tool, or when the rate check
    // refused the tool.
    bool ChooseCommand(int command);
    // Ends the measurement in progress, clears the selection, restarts the label counters,
    // checks the rate for measuring tools (prepareRate false: the caller has just done so,
    // as a calibration does) and selects the tool. On a refused rate the previous tool stays.
    bool ChooseTool(StillMode mode, bool measuring, bool prepareRate = true);
    StillMode Mode() const { return mode_; }
    bool Measuring() const { return measuring_; }
    bool FourPointPickMode() const { return fourPointPick_; }

    // The text of the canvas's text box was confirmed: a Text record is stored at the pointer
    // and follows it until a click fixes it and leaves the tool. An empty text shows
    // "Please input text!" and stores nothing. False when nothing was stored.
    bool ConfirmText(const std::string& text, const LogFont& font, std::uint32_t colour);

    // Asks "Are you sure to delete?" for every selected record, newest first, and removes
    // those answered Yes; with none selected shows "Please select a metafile".
    void DeleteSelected();
    // Picks the first selected record for moving and puts the pointer on its grab point; the
    // next click drops it there, shifted by the pointer's travel. False (with "Please select
    // a metafile") when nothing is selected.
    bool MoveSelected();
    bool Moving() const { return moving_.has_value(); }
    // Leaves moving without changing the record.
    void LeaveMoving();

    // Ends whatever is in progress (clicks of an unfinished record, a label being placed keeps
    // its place, moving, a check-edge section); the tool stays chosen.
    void EndInProgress() { EndAll(); }

    // Also ends a check-edge section being marked; moving goes on and its next click drops.
    void FocusLost() override;

    const StillRecords& Records() const { return records_; }

    // A line calibration waits for its line: the next record of still code `kind` is stored
    // with empty labels and handed to `onLine` right after it entered the list (its label is
    // then placed as usual). Cleared by ClearCalibrationLine, by choosing a tool, and once the
    // line has been handed over.
    void ExpectCalibrationLine(int kind, std::function<void(MeasureRecord&)> onLine);
    void ClearCalibrationLine() { calibrationLine_.reset(); }
    bool ExpectingCalibrationLine() const { return calibrationLine_.has_value(); }

  private:
    bool InArea(PixelPoint client) const override;
    bool InStoredArea(PixelPoint stored) const;
    PixelPoint Stored(PointD client) const;
    PixelPoint ClientToStored(PixelPoint client) const override;
    PixelPoint StoredToClient(PixelPoint stored) const override;
    PixelBox ConfineArea() const override;
    void StoreRecord(MeasureRecord record, bool placementFollows) override;
    MeasureRecord* PlacementRecord() override;
    void CommitPlacement() override { placed_ = nullptr; }
    void DropPlacement() override;
    void LeaveToolAfterPlacement() override;

    void EndAll();
    void SelectAt(PixelPoint p);
    std::optional<std::size_t> HitAt(PixelPoint p) const;
    void Drop(PixelPoint p);
    void FinishSection(PixelPoint p);
    std::unique_ptr<ClickTool> MakeTool(StillMode mode, bool measuring);

    StillRecords& records_;
    AutoToolHandler* autoTools_;
    ViewTransform mapping_;
    int areaWidth_ = 0;
    int areaHeight_ = 0;
    StillMode mode_ = StillMode::kSelect;
    bool measuring_ = false;
    bool fourPointPick_ = false;
    MeasureRecord* placed_ = nullptr;  // stored record whose label is being placed
    struct MoveState {
        std::size_t index;
        PixelPoint grab;
    };
    std::optional<MoveState> moving_;
    std::optional<PixelPoint> sectionStart_;  // check edge: where the press was
    struct CalibrationLineHook {
        int kind;
        std::function<void(MeasureRecord&)> onLine;
    };
    std::optional<CalibrationLineHook> calibrationLine_;
};

}  // namespace lensora
