// The live view's canvas in the main window: shows the composed live picture (black with the
// connection message while no camera is connected; each camera frame is composed with the
// live records and overlays on the UI thread) and is the InteractionView of the live
// session's interaction. Mouse positions are its own client pixels, mapped to stored
// video-area pixels by the display transform (identity at 640 x 480, the screen's factors in
// full screen). The rubber band is kept and drawn into the next composed picture, since a
// live frame would overwrite a NOT-XOR figure. Composition runs on the UI thread.
// The session and the prompts belong to the main window and outlive the canvas.
#pragma once

#include <QImage>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include "base/drawing_settings.h"
#include "capture/frame_store.h"
#include "measure/interaction_view.h"

namespace lensora {

class CameraService;
class DetectionTools;
class LiveSession;

class LiveCanvas : public QWidget, private InteractionView {
    Q_OBJECT
  public:
    LiveCanvas(LiveSession& session, const AppSettings& settings, UserPrompts& prompts,
               QWidget* parent = nullptr);
    ~LiveCanvas() override;

    // The status text shown while there is no picture (the connection message).
    void SetStatusText(const QString& text);
    QString StatusText() const { return statusText_; }

    // Shows the frames of `camera` (not owned; it outlives the canvas or is detached first).
    void AttachCamera(CameraService* camera);
    // Composes the newest frame, if there is one, with the session's records and overlays into
    // the canvas's picture and schedules a repaint. Called on the UI thread when the camera
    // signals a frame.
    void ShowLatestFrame();
    const QImage& Surface() const { return surface_; }
    std::uint64_t FramesShown() const { return framesShown_; }

    // Full screen maps the whole canvas onto the 640 x 480 (or 640 x 512) video area and shows
    // the "ESC Restore" hint.
    void SetFullScreen(bool on, int videoHeight = 480);
    bool FullScreen() const { return fullScreen_; }
    QString FullScreenHint() const { return fullScreen_ ? hint_ : QString(); }

    // A paused preview keeps its last frame: new frames are taken and dropped, and changes of
    // the records are composed over the kept frame.
    void SetFrozen(bool on);
    bool Frozen() const { return frozen_; }

    // The pen, label and detection settings the live tools draw with (the pen dialog's).
    DrawingSettings& Drawing() { return drawing_; }
    // Shows a change of the records or overlays now, also over a paused picture.
    void Refresh() { Repaint(); }
    // Recomputes every live record's labels when the unit, decimals, area rule or rate differ
    // from those the labels were made with; `keep` keeps its labels.
    void RelabelForCurrentScale(const MeasureRecord* keep = nullptr);

    // The rate check of a measuring tool (the main window reads its rate boxes). Without one
    // every tool is refused.
    std::function<bool()> rateCheck;

    // The rubber band to draw into the next picture, client pixels.
    const std::optional<RubberBand>& KeptBand() const { return band_; }

  signals:
    // The pointer moved over the canvas (client pixels), for the zoom pad.
    void pointerMoved(QPoint client);
    // A right click that no automatic tool took: the preview context menu opens here.
    void contextMenuWanted(QPoint globalPos);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

  private:
    // InteractionView
    RubberBandDrawing BandDrawing() const override { return RubberBandDrawing::NextFrame; }
    void Repaint() override;
    void InvalidateRect(const PixelBox& rect) override;
    void ShowRubberBand(const RubberBand& band) override;
    void EraseRubberBand() override;
    void CaptureMouse() override;
    void ReleaseMouse() override;
    void ConfinePointer(const PixelBox& area) override { confine_ = area; }
    void FreePointer() override { confine_.reset(); }
    DrawingSettings CurrentDrawingSettings() const override { return drawing_; }
    ScaleContext CurrentScale() const override;
    bool PrepareRate() override;
    UserPrompts& Prompts() override { return prompts_; }
    std::optional<double> AskReferenceLength(std::string_view unitName) override;
    void SetMoveCursor(bool on) override;

    void UpdateTransform();
    // Composes the kept frame with the records and overlays into the surface.
    void Compose();
    PixelPoint ClientOf(const QMouseEvent* event) const;

    LiveSession& session_;
    const AppSettings& settings_;
    std::optional<ScaleContext> labelScale_;  // the scale the records' labels were made with
    UserPrompts& prompts_;
    DrawingSettings drawing_;
    QString statusText_;
    bool fullScreen_ = false;
    bool frozen_ = false;
    QString hint_;
    std::unique_ptr<DetectionTools> autoTools_;
    int videoHeight_ = 480;
    std::optional<RubberBand> band_;
    std::optional<PixelBox> confine_;
    CameraService* camera_ = nullptr;
    FrameCopy frame_;
    QImage surface_;  // the last composed live picture
    std::uint64_t framesShown_ = 0;
};

}  // namespace lensora
