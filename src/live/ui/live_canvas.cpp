#include "live/ui/live_canvas.h"

#include <QDateTime>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

#include "base/ui/skin.h"
#include "base/ui/ui_text.h"
#include "canvas/live_renderer.h"
#include "canvas/rubber_band_renderer.h"
#include "capture/preview_layout.h"
#include "detect/detection_tools.h"
#include "live/live_session.h"
#include "live/ui/length_line_dialog.h"
#include "measure/relabel.h"
#include "platform/camera_service.h"
#include "platform/qt_drawing_surface.h"

namespace lensora {

LiveCanvas::LiveCanvas(LiveSession& session, const AppSettings& settings, UserPrompts& prompts,
                       QWidget* parent)
    : QWidget(parent),
      session_(session),
      settings_(settings),
      prompts_(prompts),
      drawing_(InitialDrawingSettings(settings, DefaultLogFont())) {
    setObjectName(QStringLiteral("preview"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    // The automatic tools work on the held picture (kept at capture size); stored points are
    // video-area pixels of the 640 x 480 live picture.
    DetectionHooks hooks;
    hooks.picture = [this]() -> CxImage* {
        CxImage& held = session_.HeldPicture();
        return held.IsValid() ? &held : nullptr;
    };
    hooks.mapping = [this] {
        const CxImage& held = session_.HeldPicture();
        if (!held.IsValid()) {
            return ViewTransform{};
        }
        return ViewTransform{{0, 0}, held.GetWidth() / 640.0, held.GetHeight() / 480.0};
    };
    hooks.busy = [this](bool busy) {
        if (busy) {
            setCursor(Qt::WaitCursor);
        } else {
            unsetCursor();
        }
    };
    hooks.notify = [this](std::string_view text) { prompts_.Show(text, PromptIcon::Exclamation); };
    autoTools_ = std::make_unique<DetectionTools>(std::move(hooks));
    session_.AttachView(*this, autoTools_.get());
    UpdateTransform();
}

LiveCanvas::~LiveCanvas() {
    session_.DetachView();
}

void LiveCanvas::SetStatusText(const QString& text) {
    statusText_ = text;
    update();
}

void LiveCanvas::AttachCamera(CameraService* camera) {
    if (camera_ != nullptr) {
        disconnect(camera_, nullptr, this, nullptr);
    }
    camera_ = camera;
    if (camera_ != nullptr) {
        connect(camera_, &CameraService::frameReady, this, &LiveCanvas::ShowLatestFrame);
    }
}

void LiveCanvas::ShowLatestFrame() {
    if (camera_ == nullptr) {
        return;
    }
    if (frozen_) {
        // Taken, so that the camera posts the next one, but not shown.
        FrameCopy dropped;
        camera_->TakeFrame(dropped);
        return;
    }
    if (!camera_->TakeFrame(frame_)) {
        return;
    }
    Compose();
    ++framesShown_;
    update();
}

void LiveCanvas::SetFrozen(bool on) {
    frozen_ = on;
}

void LiveCanvas::Repaint() {
    if (frozen_) {
        Compose();
    }
    update();
}

void LiveCanvas::Compose() {
    if (camera_ == nullptr || frame_.bytes.empty()) {
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
    const ViewTransform toClient =
        LiveSession::DisplayTransform(width(), height(), fullScreen_, videoHeight_);
    LiveFrameInput in;
    in.frame = &dib;
    in.frameDestination = PreviewFrameBox(h.width, h.height, width(), height());
    in.records = &session_.Records();
    in.shapes = session_.Shapes();
    // Records are kept in video-area pixels; the display scale is the inverse of the click
    // mapping.
    in.display = ScaledDrawing(1.0 / toClient.fx, 1.0 / toClient.fy);
    in.labels = o.labels;
    in.switches = session_.Switches();
    in.ruler = o.ruler;
    // The ruler's spacing is in live picture pixels; full screen stretches it with the picture.
    in.ruler.pixelsPerUnit = o.ruler.pixelsPerUnit / toClient.fx;
    in.reference = o.reference;
    if (in.switches.dateTime) {
        const QDateTime now = QDateTime::currentDateTime();
        in.now = {now.date().year(), now.date().month(),  now.date().day(),
                  now.time().hour(), now.time().minute(), now.time().second()};
    }
    QtDrawingSurface surface(surface_);
    ComposeLiveFrame(surface, in);
}

void LiveCanvas::SetFullScreen(bool on, int videoHeight) {
    fullScreen_ = on;
    videoHeight_ = videoHeight;
    hint_ = UiText(text::kEscRestore);
    UpdateTransform();
    // A paused picture is recomposed at the new size.
    if (frozen_) {
        Compose();
    }
    update();
}

void LiveCanvas::UpdateTransform() {
    if (LiveInteraction* live = session_.Interaction()) {
        live->SetViewTransform(
            LiveSession::DisplayTransform(width(), height(), fullScreen_, videoHeight_));
    }
}

void LiveCanvas::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    UpdateTransform();
}

bool LiveCanvas::PrepareRate() {
    const bool prepared = rateCheck ? rateCheck() : false;
    if (prepared) {
        RelabelForCurrentScale();
    }
    return prepared;
}

void LiveCanvas::RelabelForCurrentScale(const MeasureRecord* keep) {
    const ScaleContext now = CurrentScale();
    if (!(now.s > 0.0)) {
        return;
    }
    if (labelScale_ && !SameLabelScale(*labelScale_, now)) {
        int changed = 0;
        for (auto& record : session_.Records().records) {
            if (record && record.get() != keep && RelabelRecord(*record, true, *labelScale_, now)) {
                ++changed;
            }
        }
        if (changed > 0) {
            Repaint();
        }
    }
    labelScale_ = now;
}

ScaleContext LiveCanvas::CurrentScale() const {
    return MakeScaleContext(settings_, session_.Camera(), session_.Calibration().EffectiveRate());
}

void LiveCanvas::InvalidateRect(const PixelBox& rect) {
    update(QRect(rect.left, rect.top, rect.Width(), rect.Height()));
}

void LiveCanvas::ShowRubberBand(const RubberBand& band) {
    band_ = band;
    update();
}

void LiveCanvas::EraseRubberBand() {
    band_.reset();
    update();
}

void LiveCanvas::CaptureMouse() {
    grabMouse();
}

void LiveCanvas::ReleaseMouse() {
    releaseMouse();
}

PixelPoint LiveCanvas::ClientOf(const QMouseEvent* event) const {
    QPoint p = event->position().toPoint();
    if (confine_) {
        // The pointer stays inside the area while a tool collects its clicks.
        p.setX(std::clamp(p.x(), confine_->left, std::max(confine_->left, confine_->right - 1)));
        p.setY(std::clamp(p.y(), confine_->top, std::max(confine_->top, confine_->bottom - 1)));
    }
    return {p.x(), p.y()};
}

void LiveCanvas::mousePressEvent(QMouseEvent* event) {
    LiveInteraction* live = session_.Interaction();
    if (live == nullptr) {
        return;
    }
    if (event->button() == Qt::LeftButton) {
        live->MouseDown(ClientOf(event));
    } else if (event->button() == Qt::RightButton) {
        if (live->RightClick(ClientOf(event)) == LiveRightClick::ShowContextMenu) {
            emit contextMenuWanted(event->globalPosition().toPoint());
        }
    }
}

void LiveCanvas::mouseMoveEvent(QMouseEvent* event) {
    if (LiveInteraction* live = session_.Interaction()) {
        live->MouseMove(ClientOf(event));
    }
    emit pointerMoved(event->position().toPoint());
}

void LiveCanvas::mouseReleaseEvent(QMouseEvent* event) {
    LiveInteraction* live = session_.Interaction();
    if (live != nullptr && event->button() == Qt::LeftButton) {
        live->MouseUp(ClientOf(event));
    }
}

void LiveCanvas::mouseDoubleClickEvent(QMouseEvent* event) {
    LiveInteraction* live = session_.Interaction();
    if (live != nullptr && event->button() == Qt::LeftButton) {
        live->DoubleClick(ClientOf(event));
    }
}

void LiveCanvas::focusOutEvent(QFocusEvent* event) {
    if (LiveInteraction* live = session_.Interaction()) {
        live->FocusLost();
    }
    QWidget::focusOutEvent(event);
}

void LiveCanvas::paintEvent(QPaintEvent*) {
    // The last composed frame (black until the camera delivers one, or while the connection
    // message shows), with the kept rubber band drawn over a copy of it.
    QImage frame;
    if (statusText_.isEmpty() && surface_.size() == size()) {
        frame = band_ ? surface_.copy() : surface_;
    } else {
        frame = QImage(size(), QImage::Format_RGB32);
        frame.fill(Qt::black);
    }
    if (band_) {
        QtDrawingSurface surface(frame);
        // A moved record's stored points reach the screen at the display scale.
        const ViewTransform display =
            LiveSession::DisplayTransform(width(), height(), fullScreen_, videoHeight_);
        DrawRubberBand(surface, *band_,
                       {RecordScheme::Live, ScaledDrawing(1.0 / display.fx, 1.0 / display.fy)});
    }
    QPainter p(this);
    p.drawImage(0, 0, frame);
    p.setFont(skin::UiFont(22, true));
    if (fullScreen_ && !hint_.isEmpty()) {
        // Red, right-aligned 4 pixels from the right edge, 2 pixels from the top.
        p.setPen(QColor(0xFF, 0x00, 0x00));
        p.drawText(QRect(0, 2, width() - 4, p.fontMetrics().height()),
                   Qt::AlignRight | Qt::AlignTop, hint_);
    }
    if (statusText_.isEmpty()) {
        return;
    }
    p.setPen(QColor(0x00, 0xFF, 0x00));
    const QFontMetrics fm = p.fontMetrics();
    const int textWidth = fm.horizontalAdvance(statusText_);
    // Centred; a text wider than the view starts at its left edge.
    const int x = textWidth > width() ? 0 : (width() - textWidth) / 2;
    const int y = (height() - fm.height()) / 2 + fm.ascent();
    p.drawText(x, y, statusText_);
}

void LiveCanvas::SetMoveCursor(bool on) {
    if (on) {
        setCursor(Qt::SizeAllCursor);
    } else {
        unsetCursor();
    }
}

std::optional<double> LiveCanvas::AskReferenceLength(std::string_view unitName) {
    return LengthLineDialog::Ask(Qs(unitName), prompts_, window());
}

}  // namespace lensora
