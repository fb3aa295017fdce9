#include "canvas/ui/still_canvas.h"

#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>

#include "app/app_state.h"
#include "app/ui/skin.h"
#include "canvas/image_view.h"
#include "canvas/picture_name.h"
#include "canvas/still_window_commands.h"
#include "imaging/depth_conversion.h"
#include "platform/qt_drawing_surface.h"

namespace lensora {
namespace {

// The font of the caption at the canvas's lower left corner.
LogFont CaptionFont() {
    LogFont f = DefaultLogFont();
    f.charSet = 1;
    return f;
}

QCursor CrosshairCursor() {
    const QPixmap pixmap = skin::IconPixmap(QStringLiteral("cursor-crosshair.svg"), 32);
    return pixmap.isNull() ? QCursor(Qt::CrossCursor) : QCursor(pixmap, 16, 16);
}

}  // namespace

QSize FitViewSize(int pictureWidth, int pictureHeight) {
    return pictureWidth == 1280 && pictureHeight == 1024 ? QSize(640, 512) : QSize(640, 480);
}

StillCanvas::StillCanvas(AppState& app, int displayMode, QWidget* parent)
    : QAbstractScrollArea(parent), app_(app), displayMode_(displayMode) {
    setObjectName(QStringLiteral("stillCanvas"));
    setFrameShape(QFrame::NoFrame);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setCursor(CrosshairCursor());
    viewport()->setMouseTracking(true);
    const Qt::ScrollBarPolicy policy =
        displayMode_ == kActualSizeMode ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff;
    setHorizontalScrollBarPolicy(policy);
    setVerticalScrollBarPolicy(policy);
    drawing_ = InitialDrawingSettings(app_.Settings(), app_.LabelFont());
}

StillCanvas::~StillCanvas() = default;

bool StillCanvas::Load(const QString& path) {
    path_ = path;
    caption_ = QString::fromStdString(PictureCaption(path.toStdString()));
    picture_ = CxImage::LoadFromFile(path.toStdString(), kImageTypeUnknown);
    if (!picture_.IsValid()) {
        return false;
    }
    if (!ConvertTo24Bits(picture_)) {
        picture_.Destroy();
        return false;
    }
    UpdateScrollRanges();
    viewport()->update();
    return true;
}

QPoint StillCanvas::ScrollPosition() const {
    return displayMode_ == kActualSizeMode
               ? QPoint(horizontalScrollBar()->value(), verticalScrollBar()->value())
               : QPoint(0, 0);
}

QSize StillCanvas::ViewSize() const {
    if (displayMode_ == kFitMode) {
        return FitViewSize(picture_.GetWidth(), picture_.GetHeight());
    }
    return viewport()->size();
}

void StillCanvas::UpdateScrollRanges() {
    if (displayMode_ != kActualSizeMode) {
        return;
    }
    const QSize view = viewport()->size();
    // No range on an axis where the picture fits; otherwise the picture size with a page of
    // the view.
    const auto setUp = [](QScrollBar* bar, int picture, int page, int arrow) {
        bar->setRange(0, std::max(0, picture - page));
        bar->setPageStep(page);
        bar->setSingleStep(arrow);
    };
    setUp(horizontalScrollBar(), picture_.GetWidth(), view.width(),
          verticalScrollBar()->sizeHint().width());
    setUp(verticalScrollBar(), picture_.GetHeight(), view.height(),
          horizontalScrollBar()->sizeHint().height());
}

void StillCanvas::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollRanges();
}

void StillCanvas::scrollContentsBy(int, int) { viewport()->update(); }

bool StillCanvas::ApplyImageOperation(int command) {
    if (!lensora::ApplyImageOperation(picture_, command)) {
        return false;
    }
    viewport()->update();
    return true;
}

QImage StillCanvas::RenderView() {
    const QSize size = ViewSize();
    if (back_.size() != size) {
        back_ = QImage(size, QImage::Format_RGB32);
    }
    back_.fill(palette().color(QPalette::Window));
    if (!picture_.IsValid()) {
        return back_;
    }
    QtDrawingSurface surface(back_);
    const DibView dib = DibViewOf(picture_);
    const PixelBox whole{0, 0, picture_.GetWidth(), picture_.GetHeight()};
    if (displayMode_ == kFitMode) {
        surface.DrawStretched(dib, {0, 0, size.width(), size.height()}, whole);
    } else {
        const QPoint scroll = ScrollPosition();
        surface.DrawStretched(dib,
                              {-scroll.x(), -scroll.y(), picture_.GetWidth() - scroll.x(),
                               picture_.GetHeight() - scroll.y()},
                              whole);
    }
    surface.SetFont(CaptionFont());
    surface.SetTextColour(0xFFFFFF);
    surface.TextOut({2, size.height() - 14}, caption_.toStdString());
    return back_;
}

bool StillCanvas::SaveAnnotated(const QString& path) {
    const std::string target = path.toStdString();
    const std::string type = PictureFileType(target);
    if (!picture_.IsValid() || type.empty()) {
        return false;
    }
    const int w = picture_.GetWidth();
    const int h = picture_.GetHeight();
    QtDrawingSurface surface(w, h);
    surface.DrawStretched(DibViewOf(picture_), {0, 0, w, h}, {0, 0, w, h});
    const auto pixels = surface.Pixels();
    CxImage annotated;
    if (!pixels || !annotated.CreateFromDrawnBitmap(pixels->data, pixels->width, pixels->height,
                                                    static_cast<std::ptrdiff_t>(pixels->stride),
                                                    32)) {
        return false;
    }
    return annotated.SaveToFile(target, type == "bmp" ? kImageTypeBmp : kImageTypeJpeg);
}

void StillCanvas::paintEvent(QPaintEvent*) {
    QPainter p(viewport());
    p.drawImage(0, 0, RenderView());
}

}  // namespace lensora
