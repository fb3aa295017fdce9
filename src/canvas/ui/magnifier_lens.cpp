#include "canvas/ui/magnifier_lens.h"

#include <QPainter>

namespace lensora {

MagnifierLens::MagnifierLens(QPixmap captured, int zoomTenths, int size, QWidget* parent)
    : QWidget(parent),
      captured_(std::move(captured)),
      zoomTenths_(zoomTenths > 0 ? zoomTenths : 20),
      size_(size > 0 ? size : 100) {
    setObjectName(QStringLiteral("magnifierLens"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(size_, size_);
}

QRect MagnifierLens::SourceRect() const {
    const int side = (size_ / zoomTenths_) * 10;
    return QRect(pointer_.x() - side / 2, pointer_.y() - side / 2, side, side);
}

void MagnifierLens::FollowPointer(QPoint pointer) {
    pointer_ = pointer;
    move(pointer.x() - size_ / 2, pointer.y() - size_ / 2);
    raise();
    update();
}

void MagnifierLens::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), Qt::black);
    // The captured pixmap may carry a device pixel ratio; the source is in logical pixels.
    const qreal ratio = captured_.devicePixelRatio();
    const QRect source = SourceRect();
    const QRectF physical(source.x() * ratio, source.y() * ratio, source.width() * ratio,
                          source.height() * ratio);
    p.drawPixmap(QRectF(rect()), captured_, physical);
    p.setPen(QPen(Qt::black, 1));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
    p.setPen(QPen(Qt::white, 1));
    p.drawRect(rect().adjusted(2, 2, -3, -3));
}

}  // namespace lensora
