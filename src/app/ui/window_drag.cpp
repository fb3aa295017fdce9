#include "app/ui/window_drag.h"

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

}  // namespace lensora
