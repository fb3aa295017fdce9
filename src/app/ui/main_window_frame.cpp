// The main window's frame: the drag band, the keys that must not close it, minimise and full
// screen, and the painting of the panel.
#include <QAction>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLinearGradient>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QTimer>

#include "app/main_buttons.h"
#include "app/ui/main_window.h"
#include "app/ui/main_window_layout.h"
#include "app/ui/recording_controller.h"
#include "base/text_keys.h"
#include "base/ui/skin.h"
#include "base/ui/skin_button.h"
#include "base/ui/ui_text.h"
#include "base/ui/window_drag.h"
#include "library/ui/thumbnail_strip.h"
#include "live/live_session.h"
#include "live/ui/live_canvas.h"

namespace lensora {

using namespace main_layout;

bool MainWindow::InDragBand(const QPoint& pos) const {
    return kDragBand.contains(pos) && childAt(pos) == nullptr;
}

void MainWindow::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && InDragBand(event->position().toPoint())) {
        drag_.Start(*this, *event);
        event->accept();
        return;
    }
    QWidget::mousePressEvent(event);
}

void MainWindow::mouseMoveEvent(QMouseEvent* event) {
    if (drag_.Follow(*this, *event)) {
        event->accept();
        return;
    }
    QWidget::mouseMoveEvent(event);
}

void MainWindow::mouseReleaseEvent(QMouseEvent* event) {
    drag_.Stop();
    QWidget::mouseReleaseEvent(event);
}

void MainWindow::contextMenuEvent(QContextMenuEvent* event) {
    // The title band offers what a window menu would: the About box.
    if (!InDragBand(event->pos())) {
        return;
    }
    QMenu menu(this);
    QAction* about = menu.addAction(Qs(GetText(text::kAboutMenuItem, 128)));
    if (menu.exec(event->globalPos()) == about) {
        OnCommand(command::kAbout);
    }
}

void MainWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && fullScreen_) {
        LeaveFullScreen();
        event->accept();
        return;
    }
    if (!SwallowCloseKey(*event)) {
        QWidget::keyPressEvent(event);
    }
}

void MainWindow::closeEvent(QCloseEvent* event) {
    calibratePromptTimer_->stop();
    if (recording_) {
        recording_->CloseForShutdown();
    }
    event->accept();
}

void MainWindow::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (fullScreen_) {
        p.fillRect(rect(), Qt::black);
        return;
    }
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient bg(0, 0, 0, height());
    bg.setColorAt(0, skin::kBackgroundLight);
    bg.setColorAt(1, skin::kBackground);
    p.fillRect(rect(), bg);

    // Title band with the application mark.
    QLinearGradient band(0, 0, 0, 46);
    band.setColorAt(0, QColor(0x22, 0x2C, 0x35));
    band.setColorAt(1, QColor(0x19, 0x21, 0x28));
    p.fillRect(QRect(0, 0, width(), 46), band);
    p.setPen(QPen(skin::kPanelBorder, 1));
    p.drawLine(0, 46, width(), 46);
    const QPixmap logo =
        skin::IconPixmap(QStringLiteral("lensora.svg"), 28, false, devicePixelRatioF());
    if (!logo.isNull()) {
        p.drawPixmap(12, 9, logo);
    }
    p.setFont(skin::UiFont(17, true));
    p.setPen(skin::kText);
    p.drawText(QRect(48, 0, 400, 46), Qt::AlignVCenter | Qt::AlignLeft, windowTitle());
    p.setPen(skin::kAccent);
    p.drawLine(48, 36, 48 + 28, 36);

    // Frames around the preview, the strip and the zoom pad.
    p.setPen(QPen(skin::kPanelBorder, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(kPreviewRect).adjusted(-1.5, -1.5, 1.5, 1.5), 3, 3);
    p.drawRoundedRect(QRectF(kZoomPadRect).adjusted(-1.5, -1.5, 1.5, 1.5), 3, 3);

    // Separators of the left column.
    p.setPen(QPen(skin::kPanelBorder, 1));
    p.drawLine(12, 196, 84, 196);
    p.drawLine(12, 592, 84, 592);

    // Outer border of the window.
    p.setPen(QPen(QColor(0x0B, 0x0F, 0x12), 1));
    p.drawRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5));
}

// ---- Full screen ----------------------------------------------------------------------------

void MainWindow::EnterFullScreen() {
    if (fullScreen_) {
        return;
    }
    // A measurement being drawn is discarded; finished ones stay and are drawn scaled.
    session_->Calibration().CancelCalibration();
    session_->Cancel();
    normalGeometry_ = geometry();
    hiddenForFullScreen_.clear();
    for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (child != liveCanvas_ && !child->isWindow() && !child->isHidden()) {
            hiddenForFullScreen_.push_back(child);
            child->hide();
        }
    }
    fullScreen_ = true;
    setMinimumSize(0, 0);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    setWindowFlag(Qt::WindowStaysOnTopHint, true);
    QScreen* screen = this->screen() != nullptr ? this->screen() : QGuiApplication::primaryScreen();
    const QRect area = screen != nullptr ? screen->geometry() : QRect(0, 0, kWidth, kHeight);
    setGeometry(area);
    showFullScreen();
    liveCanvas_->setGeometry(QRect(QPoint(0, 0), area.size()));
    // A 5:4 capture fills 640 x 512 of the live picture's coordinates.
    const CameraFacts& camera = session_->Camera();
    const bool fiveByFour = camera.captureWidth == 1280 && camera.captureHeight == 1024;
    liveCanvas_->SetFullScreen(true, fiveByFour ? 512 : 480);
    liveCanvas_->setFocus();
    update();
}

void MainWindow::LeaveFullScreen() {
    if (!fullScreen_) {
        return;
    }
    fullScreen_ = false;
    setWindowFlag(Qt::WindowStaysOnTopHint, false);
    showNormal();
    setFixedSize(kWidth, kHeight);
    if (normalGeometry_.isValid()) {
        move(normalGeometry_.topLeft());
    }
    liveCanvas_->setGeometry(kPreviewRect);
    liveCanvas_->SetFullScreen(false);
    for (const QPointer<QWidget>& child : hiddenForFullScreen_) {
        if (child) {
            child->show();
        }
    }
    hiddenForFullScreen_.clear();
    ShowBrowserFolder(buttons_[command::kVideoFolder]->isChecked());
    RebuildTooltips();
    update();
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (fullScreen_) {
        liveCanvas_->setGeometry(rect());
    }
}

void MainWindow::changeEvent(QEvent* event) {
    if (event->type() == QEvent::WindowStateChange && !isMinimized()) {
        // Restored from the task bar: the layout stays as it was before minimising.
        minimised_ = false;
    }
    QWidget::changeEvent(event);
}

}  // namespace lensora
