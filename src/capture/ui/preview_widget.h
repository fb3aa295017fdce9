// The live preview area of the main window: the camera picture with its overlays, or, while
// no camera is connected, black with the green connection message centred. With a camera
// attached it composes every frame the camera service hands over (UI thread) into its own
// surface and paints that.
#pragma once

#include <QImage>
#include <QWidget>

#include "capture/frame_store.h"

namespace lensora {

class CameraService;

class PreviewWidget : public QWidget {
    Q_OBJECT
  public:
    explicit PreviewWidget(QWidget* parent = nullptr);

    // The status text shown while there is no picture (the connection message).
    void SetStatusText(const QString& text);
    QString StatusText() const { return statusText_; }

    // Shows the frames of `camera` (not owned; it outlives the widget or is detached first).
    void AttachCamera(CameraService* camera);
    // Composes the newest frame, if there is one, into the surface and schedules a repaint.
    void ShowLatestFrame();
    const QImage& Surface() const { return surface_; }
    std::uint64_t FramesShown() const { return framesShown_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QString statusText_;
    CameraService* camera_ = nullptr;
    FrameCopy frame_;
    QImage surface_;
    std::uint64_t framesShown_ = 0;
};

}  // namespace lensora
