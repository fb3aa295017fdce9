#include "live/ui/zoom_pad.h"

#include <QMouseEvent>
#include <QPainter>

#include "canvas/view_factors.h"
#include "imaging/cx_image.h"

namespace lensora {

ZoomPad::ZoomPad(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("zoomPad"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFixedSize(kSize, kSize);
}

void ZoomPad::SetLevel(int level) {
    const int clamped = level < kMinZoomLevel   ? kMinZoomLevel
                        : level > kMaxZoomLevel ? kMaxZoomLevel
                                                : level;
    if (clamped != level_) {
        level_ = clamped;
        emit levelChanged(level_);
    }
}

bool ZoomPad::ShowAround(const CxImage& held, PixelPoint pointer) {
    if (!held.IsValid() || held.GetBpp() != 24) {
        return false;
    }
    const std::optional<ZoomWindow> window = ZoomPadWindow(
        width(), height(), level_, pointer, SnapshotRecordScale(held.GetWidth(), held.GetHeight()),
        held.GetWidth(), held.GetHeight());
    if (!window) {
        return false;
    }
    // Copy the window out of the bottom-up BGR rows, then stretch it onto the whole pad.
    QImage part(window->width, window->height, QImage::Format_RGB888);
    for (int y = 0; y < window->height; ++y) {
        const std::uint8_t* src = held.RowFromTop(window->top + y) + std::size_t(window->left) * 3;
        uchar* dst = part.scanLine(y);
        for (int x = 0; x < window->width; ++x) {
            dst[3 * x] = src[3 * x + 2];
            dst[3 * x + 1] = src[3 * x + 1];
            dst[3 * x + 2] = src[3 * x];
        }
    }
    magnified_ = part.scaled(size(), Qt::IgnoreAspectRatio, Qt::FastTransformation);
    shown_ = window;
    update();
    return true;
}

void ZoomPad::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (magnified_.isNull()) {
        p.fillRect(rect(), Qt::black);
        return;
    }
    p.drawImage(rect(), magnified_);
}

void ZoomPad::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        SetLevel(RaiseZoomLevel(level_));
    } else if (event->button() == Qt::RightButton) {
        SetLevel(LowerZoomLevel(level_));
    }
    event->accept();
}

}  // namespace lensora
