// Everything the live view holds for the run: its records and reference shapes, the mouse
// interaction over the live canvas, the live view's rate, the overlay switches, the held
// picture and the facts of the last camera seen. The main window owns one session and turns
// its commands into the operations below; the live canvas is the interaction's view.
// Plain C++; user-interface thread only (the frame composition reads the records on that
// thread too).
#pragma once

#include <memory>
#include <optional>

#include "base/units.h"
#include "base/view_transform.h"
#include "canvas/live_renderer.h"
#include "imaging/cx_image.h"
#include "measure/calibration.h"
#include "measure/live_interaction.h"
#include "measure/record_lists.h"
#include "measure/reference_shape.h"

namespace lensora {

// The live overlays the toolbar and the preview menu switch on and off.
enum class LiveOverlay { DateTime, WhiteCross, CrossRuler, Rings, ReferenceShapes, ZoomLevel };

class LiveSession {
  public:
    // `settings`, `shared` and `counters` are program-wide and outlive the session.
    LiveSession(const AppSettings& settings, CalibrationState& shared,
                LabelCounters& counters = SharedLabelCounters());
    ~LiveSession();
    LiveSession(const LiveSession&) = delete;
    LiveSession& operator=(const LiveSession&) = delete;

    // The live canvas attaches itself once it exists; the interaction lives from then on and
    // refers to `view`, which must outlive the session or detach first.
    void AttachView(InteractionView& view, AutoToolHandler* autoTools = nullptr);
    void DetachView();
    LiveInteraction* Interaction() { return interaction_.get(); }

    LiveRecords& Records() { return records_; }
    const LiveRecords& Records() const { return records_; }
    ReferenceShapes& Shapes() { return shapes_; }
    ViewCalibration& Calibration() { return calibration_; }

    // Toolbar commands of the live view. Each is refused (false) before a view is attached.
    bool ChooseCommand(int command);
    bool Undo();
    bool Redo();
    bool DeleteAll();
    void Cancel();

    // The comparison shapes' commands (the main window's dialogs pass the typed numbers); each
    // is refused (false) before a view is attached, and as LiveInteraction refuses it.
    bool PrepareToleranceCircle();
    bool CreateToleranceCircle(double radius, double tolerancePlus, double toleranceMinus);
    bool CreateAngleLine(std::int32_t x, std::int32_t y);

    // Overlay switches; Toggle returns the new state.
    bool Toggle(LiveOverlay overlay);
    bool IsOn(LiveOverlay overlay) const;
    const LiveOverlaySwitches& Switches() const { return switches_; }

    // A calibration finished in the still window: the magnification and the calibrated rate
    // the main window's boxes take over.
    struct CalibrationHandover {
        std::string magnification;
        std::string calibratedRate;
    };
    void TakeCalibration(CalibrationHandover handover) { handover_ = std::move(handover); }
    const std::optional<CalibrationHandover>& LastHandover() const { return handover_; }

    // The picture held for the snapshot and the export of the live view.
    CxImage& HeldPicture() { return heldPicture_; }

    // The facts of the last camera seen; the documented default (large sensor, 1600 x 1200)
    // until a camera reports its own.
    const CameraFacts& Camera() const { return camera_; }
    void CameraSeen(const CameraFacts& facts) { camera_ = facts; }

    // Client pixels of the live canvas -> stored video-area pixels: the identity at the
    // normal 640 x 480 display; in full screen 640 and `videoHeight` (480, or 512 for a 5:4
    // capture) over the screen's size. Its inverse factors are the display scale.
    static ViewTransform DisplayTransform(int clientWidth, int clientHeight, bool fullScreen,
                                          int videoHeight = 480);

  private:
    const AppSettings& settings_;
    LabelCounters& counters_;
    LiveRecords records_;
    ReferenceShapes shapes_;
    ViewCalibration calibration_;
    std::unique_ptr<LiveInteraction> interaction_;
    LiveOverlaySwitches switches_;
    bool zoomLevel_ = false;
    std::optional<CalibrationHandover> handover_;
    CxImage heldPicture_;
    CameraFacts camera_;
};

}  // namespace lensora
