// What the interactions of the still and the live view have in common: running the chosen
// tool's click sequence, placing the label of a stored record (its anchor follows the
// pointer until the placing click), showing and erasing the rubber band, and holding the
// mouse capture and pointer confinement from a tool's first click until it finishes or is
// cancelled. Capture is always released when a measurement ends, the window loses focus or
// the interaction is destroyed. The views differ in where clicks count, how client
// positions map to stored points and when a record enters the view's list (the hooks).
// User-interface thread only.
#pragma once

#include <memory>
#include <optional>

#include "base/persisted_settings.h"
#include "base/text_keys.h"
#include "measure/click_tool.h"
#include "measure/interaction_view.h"

namespace lensora {

inline constexpr TextKey kSureDeleteText{"SureDelete", "Are you sure to delete?"};
inline constexpr TextKey kSelectImageText{"SelectImage", "Please select a metafile"};
inline constexpr TextKey kSelectSectionText{"SelectSection", "Please select section first"};
inline constexpr TextKey kInputTextText{"InputText", "Please input text!"};

// A text record's second point lies this far right of and below its first.
inline constexpr PixelPoint kTextBoxSpan{60, 60};

class InteractionCore : protected ToolEnv {
  public:
    ~InteractionCore() override;
    InteractionCore(const InteractionCore&) = delete;
    InteractionCore& operator=(const InteractionCore&) = delete;

    // The window lost the focus: capture and confinement are released; the measurement in
    // progress stays and its next click captures again.
    virtual void FocusLost();

    bool MouseCaptured() const { return captured_; }
    // A tool has clicks in progress or a stored record's label is being placed.
    bool MeasurementInProgress() const;
    bool PlacingLabel() const { return placement_.has_value(); }
    // Points fixed so far by the tool in progress and their labels (stored coordinates), for
    // the canvas's preview; empty when nothing is in progress.
    const WorkingLists& Working() const;

  protected:
    InteractionCore(InteractionView& view, const AppSettings& settings, LabelCounters& counters);

    // ToolEnv
    ScaleContext Scale() const override { return view_.CurrentScale(); }
    MeasureRecord MakeRecord(int kind) const override;
    LabelCounters& Counters() override { return counters_; }
    DrawingSettings Drawing() const override { return view_.CurrentDrawingSettings(); }

    // Mapping between client positions and stored points.
    virtual bool InArea(PixelPoint client) const = 0;
    virtual PixelPoint ClientToStored(PixelPoint client) const = 0;
    virtual PixelPoint StoredToClient(PixelPoint stored) const = 0;
    virtual PixelBox ConfineArea() const = 0;

    // A tool finished a record. With placementFollows the next click places its label.
    virtual void StoreRecord(MeasureRecord record, bool placementFollows) = 0;
    // The record whose label is being placed, or nullptr when it is gone.
    virtual MeasureRecord* PlacementRecord() = 0;
    // The label was placed (or the measurement ended with the label where it is).
    virtual void CommitPlacement() = 0;
    // The measurement was cancelled during label placement: the record goes.
    virtual void DropPlacement() = 0;
    // The placed record asked to leave its tool afterwards (the text tool).
    virtual void LeaveToolAfterPlacement() {}

    void SetTool(std::unique_ptr<ClickTool> tool);
    ClickTool* Tool() const { return tool_.get(); }

    // Routing of the tool's input, in stored coordinates.
    void ToolClick(PixelPoint p, bool doubleClick);
    // True when the tool used the right click.
    bool ToolRightClick(PixelPoint p);
    void PointerMoved(PixelPoint p);
    PixelPoint LastPointer() const { return lastPointer_; }

    // Places the label of a record just stored: point anchorIndex (or, with wholeRecord,
    // every point, shifted alike) follows the pointer until the next click.
    void StartPlacement(int anchorIndex, bool wholeRecord, bool leaveTool);

    // Stores a text record of code `kind` at the pointer that then follows the pointer until a
    // click fixes it and leaves the tool; an empty text shows "Please input text!" instead.
    bool PlaceText(int kind, const std::string& text, const LogFont& font, std::uint32_t colour);

    // Ends the measurement in progress: a record whose label is being placed keeps the
    // label where it is; clicks of an unfinished record are dropped.
    void EndMeasurement();
    // Cancels it: a record whose label is being placed is removed as well.
    void CancelMeasurement();

    void Capture();
    void Release();
    // Shows the band (stored coordinates; the pen is taken from the drawing settings),
    // erasing the previous one; nullopt only erases.
    void ShowBand(std::optional<RubberBand> band);
    void EraseBand();
    void Repaint();
    void Invalidate(const PixelBox& stored);

    InteractionView& View() const { return view_; }
    UserPrompts& Prompts() const { return view_.Prompts(); }

  private:
    struct Placement {
        int anchorIndex = -1;
        bool wholeRecord = false;
        bool leaveTool = false;
    };

    void HandleStep(ToolStep step, PixelPoint p);
    void StopMeasurement(bool keepPlacedRecord);
    void PlaceAt(PixelPoint p);
    void FinishPlacement(PixelPoint p);

    InteractionView& view_;
    const AppSettings& settings_;
    LabelCounters& counters_;
    std::unique_ptr<ClickTool> tool_;
    std::optional<Placement> placement_;
    std::optional<RubberBand> band_;  // as shown, client coordinates
    bool captured_ = false;
    PixelPoint lastPointer_;
};

}  // namespace lensora
