// Moving a frameless window by a band of its own: the window manager moves it where it can;
// without one the window follows the pointer by hand. One per window; UI thread only.
#pragma once

#include <QPoint>

class QMouseEvent;
class QWidget;

namespace lensora {

class WindowDrag {
  public:
    // A left press in the window's drag band.
    void Start(QWidget& window, const QMouseEvent& event);
    // Moves the window while a hand drag runs; false when none runs.
    bool Follow(QWidget& window, const QMouseEvent& event);
    void Stop() { dragging_ = false; }

  private:
    bool dragging_ = false;
    QPoint offset_;
};

}  // namespace lensora
