// The zoom pad beside the live picture: shows the neighbourhood of the pointer magnified from
// the held picture (kept at capture size). A left click raises the zoom level by one up to 6,
// a right click lowers it down to 1. Without a held picture the pad keeps what it shows.
// The picture belongs to the live session and is only read while a position is shown.
// UI thread only.
#pragma once

#include <QImage>
#include <QWidget>

#include <optional>

#include "live/zoom_pad_window.h"

namespace lensora {

class CxImage;

class ZoomPad : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kSize = 120;

    explicit ZoomPad(QWidget* parent = nullptr);

    int Level() const { return level_; }
    void SetLevel(int level);

    // Shows the part of `held` around `pointer` (live picture pixels, 640 x 480); nothing
    // changes without a 24-bit held picture. Returns whether the pad was redrawn.
    bool ShowAround(const CxImage& held, PixelPoint pointer);
    // The picture window shown last, in held-picture pixels.
    const std::optional<ZoomWindow>& Shown() const { return shown_; }
    const QImage& Magnified() const { return magnified_; }

  signals:
    void levelChanged(int level);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

  private:
    int level_ = kMinZoomLevel;
    std::optional<ZoomWindow> shown_;
    QImage magnified_;  // the pad's memory surface
};

}  // namespace lensora
