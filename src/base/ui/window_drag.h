// Moving a frameless window by a band of its own: the window manager moves it where it can;
// without one the window follows the pointer by hand. One per window; UI thread only. Also the
// keys such windows ignore.
#pragma once

#include <QPoint>

class QKeyEvent;
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

// Enter and Escape never close the program's windows: true when `event` is one of them and
// has been taken.
bool SwallowCloseKey(QKeyEvent& event);

}  // namespace lensora
