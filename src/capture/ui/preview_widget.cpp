#include "capture/ui/preview_widget.h"

#include <QDateTime>
#include <QPainter>

#include "app/ui/skin.h"
#include "canvas/live_renderer.h"
#include "capture/preview_layout.h"
#include "platform/camera_service.h"
#include "platform/qt_drawing_surface.h"

namespace lensora {

PreviewWidget::PreviewWidget(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("preview"));
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PreviewWidget::SetStatusText(const QString& text) {
    statusText_ = text;
    update();
}

void PreviewWidget::AttachCamera(CameraService* camera) {
    if (camera_ != nullptr) {
        disconnect(camera_, nullptr, this, nullptr);
    }
    camera_ = camera;
    if (camera_ != nullptr) {
        connect(camera_, &CameraService::frameReady, this, &PreviewWidget::ShowLatestFrame);
    }
}

void PreviewWidget::ShowLatestFrame() {
    if (camera_ == nullptr || !camera_->TakeFrame(frame_)) {
        return;
    }
    if (surface_.size() != size()) {
        surface_ = QImage(size(), QImage::Format_RGB32);
        surface_.fill(Qt::black);
    }
    const BitmapInfoHeader& h = frame_.header;
    const DibView dib{h.width, h.height, 24, static_cast<std::size_t>(h.width) * 3,
                      frame_.bytes.data()};
    const LiveOverlayState& o = camera_->Overlays();
    LiveFrameInput in;
    in.frame = &dib;
    in.frameDestination = PreviewFrameBox(h.width, h.height, width(), height());
    in.records = &o.records;
    in.shapes = o.shapes;
    // Records are kept in 640x480 video-area pixels.
    in.display = {width() / 640.0, height() / 480.0};
    in.labels = o.labels;
    in.switches = o.switches;
    in.ruler = o.ruler;
    in.reference = o.reference;
    if (o.switches.dateTime) {
        const QDateTime now = QDateTime::currentDateTime();
        in.now = {now.date().year(), now.date().month(),  now.date().day(),
                  now.time().hour(), now.time().minute(), now.time().second()};
    }
    {
        QtDrawingSurface surface(surface_);
        ComposeLiveFrame(surface, in);
    }
    ++framesShown_;
    update();
}

void PreviewWidget::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (!statusText_.isEmpty() || surface_.isNull()) {
        p.fillRect(rect(), Qt::black);
    } else {
        p.drawImage(0, 0, surface_);
    }
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
