#include "capture/ui/preview_widget.h"

#include <QPainter>

#include "base/ui/skin.h"

namespace lensora {

PreviewWidget::PreviewWidget(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("preview"));
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PreviewWidget::SetStatusText(const QString& text) {
    statusText_ = text;
    update();
}

void PreviewWidget::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), Qt::black);
    if (statusText_.isEmpty()) {
        return;
    }
    p.setFont(skin::UiFont(22, true));
    p.setPen(QColor(0x00, 0xFF, 0x00));
    const QFontMetrics fm = p.fontMetrics();
    const int textWidth = fm.horizontalAdvance(statusText_);
    // Centred; a text wider than the preview starts at its left edge.
    const int x = textWidth > width() ? 0 : (width() - textWidth) / 2;
    const int y = (height() - fm.height()) / 2 + fm.ascent();
    p.drawText(x, y, statusText_);
}

}  // namespace lensora
