#include "base/ui/skin_button.h"

#include <QPainter>
#include <QPainterPath>

#include "base/ui/skin.h"

namespace lensora {

SkinButton::SkinButton(int command, const QString& iconName, QWidget* parent)
    : QAbstractButton(parent), command_(command), iconName_(iconName) {
    setObjectName(QStringLiteral("button%1").arg(command));
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::NoFocus);
}

void SkinButton::SetIconName(const QString& iconName) {
    iconName_ = iconName;
    update();
}

void SkinButton::enterEvent(QEnterEvent* event) {
    hovered_ = true;
    update();
    QAbstractButton::enterEvent(event);
}

void SkinButton::leaveEvent(QEvent* event) {
    hovered_ = false;
    update();
    QAbstractButton::leaveEvent(event);
}

void SkinButton::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const bool enabled = isEnabled();
    const QRectF r = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);

    QColor fill = flat_ ? Qt::transparent : skin::kButton;
    if (enabled && (isDown() || isChecked())) {
        fill = skin::kButtonPressed;
    } else if (enabled && hovered_) {
        fill = danger_ ? skin::kDanger.darker(140) : skin::kButtonHover;
    }
    QPainterPath path;
    path.addRoundedRect(r, 5, 5);
    if (fill.alpha() > 0) {
        p.fillPath(path, enabled ? fill : fill.darker(115));
    }
    if (!flat_) {
        p.setPen(QPen(enabled && isChecked() ? skin::kAccent : skin::kPanelBorder, 1));
        p.drawPath(path);
    }

    const int iconSize = std::min(width(), height()) * 3 / 4;
    const QPixmap icon = skin::IconPixmap(iconName_, iconSize, !enabled, devicePixelRatioF());
    if (!icon.isNull()) {
        const QPoint topLeft((width() - iconSize) / 2,
                             (height() - iconSize) / 2 + (isDown() ? 1 : 0));
        p.drawPixmap(topLeft, icon);
    } else {
        p.setPen(enabled ? skin::kText : skin::kTextDim);
        p.setFont(skin::UiFont(10, true));
        p.drawText(rect(), Qt::AlignCenter, text());
    }
}

}  // namespace lensora
