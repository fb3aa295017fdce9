#include "base/ui/skin.h"

#include <QApplication>
#include <QFileInfo>
#include <QHash>
#include <QPainter>
#include <QPainterPath>
#include <QPalette>
#include <QStyleFactory>
#include <QSvgRenderer>

namespace lensora::skin {
namespace {
QString& Folder() {
    static QString folder;
    return folder;
}
}  // namespace

void SetIconFolder(const QString& folder) {
    Folder() = folder;
}
QString IconFolder() {
    return Folder();
}

QPixmap IconPixmap(const QString& name, int size, bool disabled, qreal dpr) {
    static QHash<QString, QPixmap> cache;
    const QString key = QStringLiteral("%1|%2|%3|%4").arg(name).arg(size).arg(disabled).arg(dpr);
    if (auto it = cache.constFind(key); it != cache.constEnd()) {
        return *it;
    }
    QPixmap pixmap;
    const QString path = Folder() + '/' + name;
    if (QFileInfo::exists(path)) {
        QSvgRenderer renderer(path);
        if (renderer.isValid()) {
            QImage image(QSize(size, size) * dpr, QImage::Format_ARGB32_Premultiplied);
            image.fill(Qt::transparent);
            {
                QPainter p(&image);
                p.setRenderHint(QPainter::Antialiasing);
                renderer.render(&p);
                if (disabled) {
                    // Dim to a flat grey so that disabled tools read as unavailable.
                    p.setCompositionMode(QPainter::CompositionMode_SourceIn);
                    p.fillRect(image.rect(), QColor(0x5A, 0x66, 0x70));
                }
            }
            image.setDevicePixelRatio(dpr);
            pixmap = QPixmap::fromImage(image);
        }
    }
    cache.insert(key, pixmap);
    return pixmap;
}

QIcon Icon(const QString& name) {
    QIcon icon;
    for (int size : {16, 24, 32, 48}) {
        QPixmap pm = IconPixmap(name, size);
        if (!pm.isNull()) {
            icon.addPixmap(pm);
        }
    }
    return icon;
}

QFont UiFont(int pixelSize, bool bold) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

void PaintGroupFrame(QPainter& p, const QRect& rect, const QString& title) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r = QRectF(rect).adjusted(0.5, 0.5, -0.5, -0.5);
    QPainterPath path;
    path.addRoundedRect(r, 6, 6);
    p.fillPath(path, kPanel);
    p.setPen(QPen(kPanelBorder, 1));
    p.drawPath(path);
    p.setFont(UiFont(12, true));
    p.setPen(kTextDim);
    p.drawText(QRect(rect.left() + 8, rect.top() + 2, rect.width() - 16, 16),
               Qt::AlignLeft | Qt::AlignVCenter,
               p.fontMetrics().elidedText(title, Qt::ElideRight, rect.width() - 16));
    p.restore();
}

void ApplyTheme() {
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QPalette pal;
    pal.setColor(QPalette::Window, kPanel);
    pal.setColor(QPalette::WindowText, kText);
    pal.setColor(QPalette::Base, QColor(0x10, 0x16, 0x1B));
    pal.setColor(QPalette::AlternateBase, kBackgroundLight);
    pal.setColor(QPalette::Text, kText);
    pal.setColor(QPalette::Button, kButton);
    pal.setColor(QPalette::ButtonText, kText);
    pal.setColor(QPalette::Highlight, kButtonPressed);
    pal.setColor(QPalette::HighlightedText, kText);
    pal.setColor(QPalette::ToolTipBase, QColor(0x0F, 0x14, 0x18));
    pal.setColor(QPalette::ToolTipText, kText);
    pal.setColor(QPalette::PlaceholderText, kTextDim);
    pal.setColor(QPalette::Link, kAccent);
    pal.setColor(QPalette::Disabled, QPalette::Text, kTextDim);
    pal.setColor(QPalette::Disabled, QPalette::WindowText, kTextDim);
    pal.setColor(QPalette::Disabled, QPalette::ButtonText, kTextDim);
    QApplication::setPalette(pal);
    qApp->setStyleSheet(QStringLiteral(
        "QLineEdit { background: #10161B; color: #E8EEF3; border: 1px solid #33414D;"
        " border-radius: 4px; padding: 1px 4px; selection-background-color: #1A5E5B; }"
        "QLineEdit:focus { border-color: #3FD0C9; }"
        "QLineEdit:disabled { color: #5A6670; }"
        "QMenu { background: #1E2730; color: #E8EEF3; border: 1px solid #33414D; padding: 4px; }"
        "QMenu::item { padding: 5px 24px 5px 8px; border-radius: 3px; }"
        "QMenu::item:selected { background: #1A5E5B; }"
        "QMenu::separator { height: 1px; background: #33414D; margin: 4px 6px; }"
        "QToolTip { background: #0F1418; color: #E8EEF3; border: 1px solid #3FD0C9;"
        " padding: 3px 6px; }"));
}

}  // namespace lensora::skin
