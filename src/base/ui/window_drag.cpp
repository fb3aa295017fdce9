#include "base/ui/window_drag.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>
#include <QWindow>

namespace lensora {

void WindowDrag::Start(QWidget& window, const QMouseEvent& event) {
    QWindow* handle = window.windowHandle();
    if (handle != nullptr && handle->startSystemMove()) {
        return;
    }
    dragging_ = true;
    offset_ = event.globalPosition().toPoint() - window.frameGeometry().topLeft();
}

bool WindowDrag::Follow(QWidget& window, const QMouseEvent& event) {
    if (!dragging_) {
        return false;
    }
    window.move(event.globalPosition().toPoint() - offset_);
    return true;
}

bool SwallowCloseKey(QKeyEvent& event) {
    switch (event.key()) {
        case Qt::Key_Escape:
        case Qt::Key_Return:
        case Qt::Key_Enter:
            event.accept();
            return true;
        default:
            return false;
    }
}

}  // namespace lensora
