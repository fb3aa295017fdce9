#include "base/ui/group_frame.h"

#include <QPainter>

#include "base/ui/skin.h"

namespace lensora {

GroupFrame::GroupFrame(int controlId, QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("group%1").arg(controlId));
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void GroupFrame::SetTitle(const QString& title) {
    title_ = title;
    update();
}

void GroupFrame::paintEvent(QPaintEvent*) {
    QPainter p(this);
    skin::PaintGroupFrame(p, rect(), title_);
}

}  // namespace lensora
