// The magnifier's lens: a square child window centred on the pointer that shows the area
// around the pointer of a picture captured when the button went down, enlarged by the zoom
// (20, 30 or 40 tenths), framed by two squares. UI thread only.
#pragma once

#include <QPixmap>
#include <QWidget>

namespace lensora {

class MagnifierLens : public QWidget {
    Q_OBJECT
  public:
    // `captured` is the parent's client area as it looked when the magnifier started.
    MagnifierLens(QPixmap captured, int zoomTenths, int size, QWidget* parent);

    // Centres the lens on `pointer` (parent coordinates) and shows what lies around it.
    void FollowPointer(QPoint pointer);

    // The captured area shown for the pointer: a square of (size / zoom) * 10 pixels centred
    // on it.
    QRect SourceRect() const;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QPixmap captured_;
    int zoomTenths_;
    int size_;
    QPoint pointer_;
};

}  // namespace lensora
