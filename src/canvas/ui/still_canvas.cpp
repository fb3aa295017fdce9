#include "canvas/ui/still_canvas.h"

#include <QApplication>
#include <QCursor>
#include <QFile>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTimer>

#include <cmath>

#include "base/text_catalog.h"
#include "base/ui/skin.h"
#include "base/ui/ui_text.h"
#include "canvas/canvas_paint.h"
#include "canvas/canvas_services.h"
#include "canvas/image_view.h"
#include "canvas/picture_name.h"
#include "canvas/rubber_band_renderer.h"
#include "canvas/still_window_commands.h"
#include "canvas/ui/magnifier_lens.h"
#include "detect/auto_tool_preview.h"
#include "detect/detection_tools.h"
#include "imaging/depth_conversion.h"
#include "measure/auto_tool.h"
#include "measure/relabel.h"
#include "measure/tool_catalog.h"
#include "platform/qt_drawing_surface.h"

namespace lensora {
namespace {

QCursor CrosshairCursor() {
    const QPixmap pixmap = skin::IconPixmap(QStringLiteral("cursor-crosshair.svg"), 32);
    return pixmap.isNull() ? QCursor(Qt::CrossCursor) : QCursor(pixmap, 16, 16);
}

}  // namespace

QSize FitViewSize(int pictureWidth, int pictureHeight) {
    return pictureWidth == 1280 && pictureHeight == 1024 ? QSize(640, 512) : QSize(640, 480);
}

StillCanvas::StillCanvas(CanvasServices& app, int displayMode, UserPrompts& prompts,
                         QWidget* parent)
    : QAbstractScrollArea(parent),
      app_(app),
      prompts_(prompts),
      displayMode_(displayMode),
      calibrationFlow_(app, prompts, *this) {
    setObjectName(QStringLiteral("stillCanvas"));
    setFrameShape(QFrame::NoFrame);
    setFocusPolicy(Qt::ClickFocus);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setCursor(CrosshairCursor());
    viewport()->setMouseTracking(true);
    const Qt::ScrollBarPolicy policy =
        displayMode_ == kActualSizeMode ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff;
    setHorizontalScrollBarPolicy(policy);
    setVerticalScrollBarPolicy(policy);
    drawing_ = InitialDrawingSettings(app_.Settings(), app_.LabelFont());
    DetectionHooks hooks;
    hooks.picture = [this]() -> CxImage* { return picture_.IsValid() ? &picture_ : nullptr; };
    // Records hold picture pixels, so detection works on them as they are.
    hooks.mapping = [] { return ViewTransform{}; };
    hooks.busy = [](bool busy) {
        if (busy) {
            QApplication::setOverrideCursor(Qt::WaitCursor);
        } else {
            QApplication::restoreOverrideCursor();
        }
    };
    hooks.pictureChanged = [this] { Repaint(); };
    hooks.notify = [this](std::string_view text) { prompts_.Show(text, PromptIcon::Information); };
    autoTools_ = std::make_unique<DetectionTools>(std::move(hooks));
    InteractionView& view = *this;
    interaction_ = std::make_unique<StillInteraction>(view, records_, app_.Settings(),
                                                      SharedLabelCounters(), autoTools_.get());
    interaction_->ChooseTool(StillMode::kSelect, false, false);
}

StillCanvas::~StillCanvas() {
    // The interaction releases capture and erases its band through this view.
    interaction_.reset();
}

bool StillCanvas::Load(const std::filesystem::path& path) {
    path_ = path;
    // File names are bytes; the caption decodes them for display only.
    caption_ = QFile::decodeName(QByteArray::fromStdString(PictureCaption(path.native())));
    // Decoding by the name's type first keeps that decoder's reason when the picture is
    // refused (too large, damaged); the other types are still tried after it.
    const std::string type = PictureFileType(path.native());
    picture_ = CxImage::LoadFromFile(path.native(), type == "jpg"   ? kImageTypeJpeg
                                                    : type == "bmp" ? kImageTypeBmp
                                                                    : kImageTypeUnknown);
    if (!picture_.IsValid()) {
        return false;
    }
    if (!ConvertTo24Bits(picture_)) {
        picture_.Destroy();
        return false;
    }
    interaction_->SetPictureSize(picture_.GetWidth(), picture_.GetHeight());
    UpdateScrollRanges();
    interaction_->SetMapping(Mapping());
    Repaint();
    return true;
}

void StillCanvas::SetDisplayMode(int displayMode) {
    if (displayMode != kFitMode && displayMode != kActualSizeMode) {
        return;
    }
    // A tool's clicks in progress belong to the old view; the records are picture pixels and
    // stay as they are.
    interaction_->EndInProgress();
    if (lens_ != nullptr) {
        delete lens_;
        lens_ = nullptr;
        viewport()->setCursor(CrosshairCursor());
    }
    displayMode_ = displayMode;
    const Qt::ScrollBarPolicy policy =
        displayMode_ == kActualSizeMode ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff;
    setHorizontalScrollBarPolicy(policy);
    setVerticalScrollBarPolicy(policy);
    horizontalScrollBar()->setValue(0);
    verticalScrollBar()->setValue(0);
    UpdateScrollRanges();
    interaction_->SetMapping(Mapping());
    Repaint();
}

void StillCanvas::SetRateBoxes(QLineEdit* magnification, QLineEdit* calibratedRate) {
    calibrationFlow_.SetRateBoxes(magnification, calibratedRate);
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
    Repaint();
}

void StillCanvas::scrollContentsBy(int, int) {
    interaction_->SetMapping(Mapping());
    Repaint();
}

// ---- tools ----

bool StillCanvas::ChooseCommand(int command) {
    calibrationFlow_.Cancel();
    return interaction_->ChooseCommand(command);
}

void StillCanvas::ChooseNoTool() {
    calibrationFlow_.Cancel();
    interaction_->ChooseTool(StillMode::kNone, false, false);
}

bool StillCanvas::StartCalibration(CalibrationTool tool) {
    if (!calibrationFlow_.Start(tool)) {
        return false;
    }
    const StillMode mode =
        tool == CalibrationTool::Line ? StillMode::kParallelLine : StillMode::kAutoLineSpacing;
    // The rate was just chosen by the calibration start.
    interaction_->ChooseTool(mode, true, false);
    interaction_->ExpectCalibrationLine(
        static_cast<int>(*StillModeToKind(mode)),
        [this](MeasureRecord& line) { calibrationFlow_.LineStored(line); });
    const TextKey& status = CalibrationStatusText(tool);
    ShowToolName(GetText(status.key, status.defaultText));
    return true;
}

bool StillCanvas::EnterText(const QString& text, const LogFont& font, std::uint32_t colour) {
    if (!ChooseCommand(still_command::kText)) {
        return false;
    }
    return interaction_->ConfirmText(text.toStdString(), font, colour);
}

void StillCanvas::ChooseMagnifier(int zoomTenths, int lensSize) {
    magnifierZoom_ = zoomTenths;
    magnifierSize_ = lensSize;
    calibrationFlow_.Cancel();
    interaction_->ChooseTool(StillMode::kMagnifier, false, false);
}

bool StillCanvas::PaintEdgesGlobal() {
    return autoTools_->PaintWholePicture();
}

ViewTransform StillCanvas::Mapping() const {
    const QPoint scroll = ScrollPosition();
    ViewTransform mapping = ViewToImageFactors(
        displayMode_ == kFitMode ? lensora::DisplayMode::Fit : lensora::DisplayMode::ActualSize,
        picture_.GetWidth(), picture_.GetHeight());
    mapping.origin = {scroll.x(), scroll.y()};
    return mapping;
}

double StillCanvas::DisplayFactor() const {
    return Mapping().fx;
}

ViewTransform StillCanvas::ToViewDrawing() const {
    const QPoint scroll = ScrollPosition();
    return PictureToViewDrawing(
        displayMode_ == kFitMode ? lensora::DisplayMode::Fit : lensora::DisplayMode::ActualSize,
        picture_.GetWidth(), picture_.GetHeight(), {scroll.x(), scroll.y()});
}

bool StillCanvas::ApplyImageOperation(int command) {
    if (!lensora::ApplyImageOperation(picture_, command)) {
        return false;
    }
    Repaint();
    return true;
}

// ---- InteractionView ----

bool StillCanvas::PrepareRate() {
    const bool prepared = calibrationFlow_.PrepareRate();
    if (prepared) {
        RelabelForCurrentScale();
    }
    return prepared;
}

void StillCanvas::RelabelForCurrentScale(const MeasureRecord* keep) {
    const ScaleContext now = CurrentScale();
    if (!(now.s > 0.0)) {
        return;  // no rate yet: nothing was measured with one either
    }
    if (labelScale_ && !SameLabelScale(*labelScale_, now)) {
        int changed = 0;
        for (auto& record : records_.records) {
            if (record && record.get() != keep &&
                RelabelRecord(*record, false, *labelScale_, now)) {
                ++changed;
            }
        }
        if (changed > 0) {
            Repaint();
        }
    }
    labelScale_ = now;
}

ScaleContext StillCanvas::CurrentScale() const {
    // The rate counts pixels of a 640-wide view; records count picture pixels.
    ScaleContext scale = MakeScaleContext(app_.Settings(), PictureCamera(),
                                          calibrationFlow_.State().EffectiveRate());
    scale.s *= MeasuringPixelsPerPicturePixel(picture_.GetWidth());
    return scale;
}

void StillCanvas::Repaint() {
    sceneDirty_ = true;
    viewport()->update();
}

void StillCanvas::InvalidateRect(const PixelBox&) {
    // Records and labels come from the memory surface, which is rebuilt as a whole: a part
    // of it cannot be redrawn on its own without the band drawn over it going stale.
    Repaint();
}

void StillCanvas::ShowRubberBand(const RubberBand& band) {
    if (band_) {
        DrawBand(*band_);
    }
    band_ = band;
    DrawBand(band);
    viewport()->update();
}

void StillCanvas::EraseRubberBand() {
    if (band_) {
        DrawBand(*band_);
        band_.reset();
        viewport()->update();
    }
}

void StillCanvas::DrawBand(const RubberBand& band) {
    if (sceneDirty_ || back_.isNull()) {
        return;  // the next paint renders the scene and draws the band once over it
    }
    QtDrawingSurface surface(back_);
    // A moved record's shift is already in client pixels, scroll included.
    MovedRecordView view;
    view.transform = ToViewDrawing();
    view.transform.origin = {0, 0};
    view.tickScale = DisplayFactor();
    DrawRubberBand(surface, band, view);
}

void StillCanvas::CaptureMouse() {
    grabbing_ = true;
    if (isVisible()) {
        viewport()->grabMouse();
    }
}

void StillCanvas::ReleaseMouse() {
    if (grabbing_) {
        grabbing_ = false;
        viewport()->releaseMouse();
    }
}

void StillCanvas::ConfinePointer(const PixelBox& area) {
    const QSize view = viewport()->size();
    confine_ = PixelBox{std::max(0, area.left), std::max(0, area.top),
                        std::min(view.width(), area.right), std::min(view.height(), area.bottom)};
}

void StillCanvas::FreePointer() {
    confine_.reset();
}

void StillCanvas::ShowToolName(std::string_view caption) {
    emit ToolNameChanged(QString::fromUtf8(caption.data(), qsizetype(caption.size())));
}

void StillCanvas::SetPointerPosition(PixelPoint client) {
    QCursor::setPos(viewport()->mapToGlobal(QPoint(client.x, client.y)));
}

// ---- mouse ----

PointD StillCanvas::ClientOf(const QMouseEvent* event) const {
    const QPointF p = event->position();
    return {p.x(), p.y()};
}

void StillCanvas::mousePressEvent(QMouseEvent* event) {
    const PointD p = ClientOf(event);
    if (interaction_->Mode() == StillMode::kMagnifier && event->button() == Qt::LeftButton) {
        QWidget* area = parentWidget() != nullptr ? parentWidget() : this;
        delete lens_;
        lens_ = new MagnifierLens(area->grab(), magnifierZoom_, magnifierSize_, area);
        lens_->FollowPointer(area->mapFromGlobal(event->globalPosition().toPoint()));
        lens_->show();
        viewport()->setCursor(Qt::BlankCursor);
        return;
    }
    if (event->button() == Qt::LeftButton) {
        interaction_->MouseDownAt(p);
    } else if (event->button() == Qt::RightButton) {
        interaction_->RightClickAt(p);
    }
}

void StillCanvas::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && lens_ == nullptr) {
        interaction_->DoubleClickAt(ClientOf(event));
    }
}

void StillCanvas::mouseMoveEvent(QMouseEvent* event) {
    if (lens_ != nullptr) {
        QWidget* area = lens_->parentWidget();
        lens_->FollowPointer(area->mapFromGlobal(event->globalPosition().toPoint()));
        return;
    }
    PointD p = ClientOf(event);
    if (confine_ &&
        !confine_->Contains({TruncateToPixel(std::floor(p.x)), TruncateToPixel(std::floor(p.y))})) {
        // Keeps the pointer inside the picture while a tool holds it.
        p.x = std::clamp(p.x, double(confine_->left), double(confine_->right - 1));
        p.y = std::clamp(p.y, double(confine_->top), double(confine_->bottom - 1));
        QCursor::setPos(viewport()->mapToGlobal(QPointF(p.x, p.y).toPoint()));
    }
    interaction_->MouseMoveAt(p);
}

void StillCanvas::mouseReleaseEvent(QMouseEvent* event) {
    if (lens_ != nullptr && event->button() == Qt::LeftButton) {
        delete lens_;
        lens_ = nullptr;
        viewport()->setCursor(CrosshairCursor());
        return;
    }
    if (event->button() == Qt::LeftButton) {
        interaction_->MouseUpAt(ClientOf(event));
    }
}

void StillCanvas::focusOutEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusOutEvent(event);
    // A popup menu of the window or a dialog takes the focus: no stray capture remains.
    if (event->reason() == Qt::ActiveWindowFocusReason) {
        interaction_->FocusLost();
    }
}

// ---- painting ----

void StillCanvas::RenderScene() {
    const QSize size = ViewSize();
    if (back_.size() != size) {
        back_ = QImage(size, QImage::Format_RGB32);
    }
    // What the picture leaves of the view stays dark.
    back_.fill(QColor(24, 24, 24));
    sceneDirty_ = false;
    if (!picture_.IsValid()) {
        return;
    }
    QtDrawingSurface surface(back_);
    const DibView dib = DibViewOf(picture_);
    const QPoint scroll = ScrollPosition();
    CanvasPaintInput input;
    input.picture = &dib;
    input.mode =
        displayMode_ == kFitMode ? lensora::DisplayMode::Fit : lensora::DisplayMode::ActualSize;
    input.scroll = {scroll.x(), scroll.y()};
    input.records = &records_;
    const StillMode mode = interaction_->Mode();
    if (interaction_->MeasurementInProgress()) {
        if (mode == StillMode::kContinuousLine && interaction_->Measuring()) {
            input.preview = PreviewTool::ContinuousLine;
        } else if (mode == StillMode::kTwoCircles) {
            input.preview = PreviewTool::TwoCircles;
        }
    }
    input.working = &interaction_->Working();
    input.settings = &drawing_;
    input.caption = caption_.toStdString();
    input.totalDecimals = MeasureDecimals(app_.Settings());
    input.totalUnit = std::string(MeasureUnit(app_.Settings()));
    PaintCanvas(surface, input);
    if (const AutoPreview preview = StillAutoPreview(mode); preview != AutoPreview::None) {
        // The preview draws client points: the stored ones go through the view's transform.
        WorkingLists shown = interaction_->Working();
        const ViewTransform toView = ToViewDrawing();
        for (PixelPoint& p : shown.points) {
            p = toView.ToPicture(p);
        }
        DrawAutoPreview(surface, preview, shown, drawing_, {0, 0});
    }
}

QImage StillCanvas::RenderView() {
    if (sceneDirty_ || back_.size() != ViewSize()) {
        RenderScene();
        if (band_) {
            DrawBand(*band_);
        }
    }
    return back_;
}

bool StillCanvas::SaveAnnotated(const std::filesystem::path& path) {
    const std::string& target = path.native();
    const std::string type = PictureFileType(target);
    if (!picture_.IsValid() || type.empty()) {
        return false;
    }
    const int w = picture_.GetWidth();
    const int h = picture_.GetHeight();
    QtDrawingSurface surface(w, h);
    const DibView dib = DibViewOf(picture_);
    AnnotatedImageInput input;
    input.picture = &dib;
    input.records = &records_;
    // Records are picture pixels already. Pens, fonts and label boxes grow as the fit view
    // shrinks the picture, so that the saved picture looks as the normal window shows it.
    const double fit = ViewToImageFactors(lensora::DisplayMode::Fit, w, h).fx;
    input.sizeScale = std::max(1.0, fit);
    input.tickScale = fit;
    input.totalDecimals = MeasureDecimals(app_.Settings());
    input.totalUnit = std::string(MeasureUnit(app_.Settings()));
    if (!RenderAnnotatedImage(surface, input)) {
        return false;
    }
    const auto pixels = surface.Pixels();
    CxImage annotated;
    if (!pixels ||
        !annotated.CreateFromDrawnBitmap(pixels->data, pixels->width, pixels->height,
                                         static_cast<std::ptrdiff_t>(pixels->stride), 32)) {
        return false;
    }
    annotated.SetXDpi(picture_.GetXDpi());
    annotated.SetYDpi(picture_.GetYDpi());
    return annotated.SaveToFile(target, type == "bmp" ? kImageTypeBmp : kImageTypeJpeg);
}

void StillCanvas::paintEvent(QPaintEvent*) {
    QPainter p(viewport());
    p.drawImage(0, 0, RenderView());
}

}  // namespace lensora
