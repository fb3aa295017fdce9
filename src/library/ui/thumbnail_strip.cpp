#include "library/ui/thumbnail_strip.h"

#include <QPainter>
#include <QPainterPath>

#include "base/ui/skin.h"

namespace lensora {

ThumbnailStrip::ThumbnailStrip(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("thumbnailStrip"));
}

void ThumbnailStrip::SetEmptyText(const QString& text) {
    emptyText_ = text;
    update();
}

void ThumbnailStrip::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(rect(), skin::kBackground);
    QPainterPath path;
    path.addRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);
    p.fillPath(path, QColor(0x10, 0x16, 0x1B));
    p.setPen(QPen(skin::kPanelBorder, 1));
    p.drawPath(path);

    // Empty slots hint at where the thumbnails will appear.
    const int slotW = 120;
    const int slotH = 90;
    const int gap = 8;
    const int top = (height() - slotH) / 2;
    p.setPen(QPen(QColor(0x26, 0x31, 0x3B), 1, Qt::DashLine));
    for (int x = gap; x + slotW <= width() - gap; x += slotW + gap) {
        p.drawRoundedRect(QRectF(x + 0.5, top + 0.5, slotW - 1, slotH - 1), 3, 3);
    }
    if (!emptyText_.isEmpty()) {
        p.setPen(skin::kTextDim);
        p.setFont(skin::UiFont(12));
        p.drawText(rect(), Qt::AlignCenter, emptyText_);
    }
}

}  // namespace lensora
