#include "canvas/ui/still_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QScreen>
#include <QTemporaryDir>
#include <QWindow>

#include <fstream>

#include "base/ui/skin.h"
#include "base/ui/skin_button.h"
#include "base/ui/ui_text.h"
#include "canvas/canvas_services.h"
#include "canvas/picture_name.h"
#include "canvas/still_window_commands.h"
#include "canvas/ui/magnifier_dialog.h"
#include "canvas/ui/pen_setting_dialog.h"
#include "canvas/ui/still_canvas.h"
#include "canvas/ui/text_input_dialog.h"
#include "canvas/view_factors.h"
#include "export/export_flow.h"
#include "imaging/image_messages.h"
#include "measure/calibration.h"
#include "measure/tool_catalog.h"
#include "platform/qt_user_prompts.h"

namespace lensora {
namespace {

constexpr int kButtonSize = 27;
constexpr int kToolbarTop = 30;
constexpr int kBoxHeight = 23;
const QRect kCaptionStrip(0, 0, 540, 25);
// The "Scale:" label's colour, 0x00BBGGRR 0xFF7D00.
const QColor kScaleLabelColour(0x00, 0x7D, 0xFF);

// Why a picture could not be opened, in words a user can act on.
std::string FailureReason(const std::string& lastError) {
    if (lastError == image_message::kMaxMemory || lastError == image_message::kCreateNoMemory) {
        return "The picture is larger than 256 MiB.";
    }
    if (lastError == image_message::kUnknownDecode) {
        return "It is not a BMP or JPEG picture.";
    }
    if (lastError.empty()) {
        return "The picture could not be decoded.";
    }
    return lastError;
}

}  // namespace

StillWindow* StillWindow::Open(CanvasServices& app, const std::filesystem::path& path,
                               QWidget* owner, UserPrompts& prompts, UserPrompts* windowPrompts) {
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec) ||
        !std::ifstream(path, std::ios::binary).is_open()) {
        prompts.Show("the picture not open,please check the file exist!", PromptIcon::Exclamation);
        return nullptr;
    }
    auto* window = new StillWindow(app, path, owner, windowPrompts);
    if (window->canvas_ == nullptr) {
        // No empty window with live tools: say which file failed and why, over the owner.
        const QString failure = window->loadFailure_;
        delete window;
        prompts.Show(failure.toStdString(), PromptIcon::Exclamation);
        return nullptr;
    }
    window->show();
    return window;
}

StillWindow::StillWindow(CanvasServices& app, const std::filesystem::path& path, QWidget* owner,
                         UserPrompts* prompts)
    : QWidget(owner, Qt::Window | Qt::FramelessWindowHint),
      app_(app),
      ownPrompts_(prompts == nullptr ? std::make_unique<QtUserPrompts>(this) : nullptr),
      prompts_(prompts == nullptr ? ownPrompts_.get() : prompts),
      path_(path) {
    setObjectName(QStringLiteral("stillWindow"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(UiText("PhotoMeasure", "Image Process", 60));

    CreateToolbar();
    CreateCanvas(StillCanvas::kFitMode);
    if (canvas_ != nullptr) {
        pictureWidth_ = canvas_->Picture().GetWidth();
        pictureHeight_ = canvas_->Picture().GetHeight();
    }
    const bool tall = pictureWidth_ == 1280 && pictureHeight_ == 1024;
    resize(tall ? QSize(647, 578) : QSize(646, 546));
    PlaceControls();
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - rect().center());
    }

    const std::string magnification = MagnificationFromPictureName(path.native());
    if (!magnification.empty()) {
        magnificationBox_->setText(Qs(magnification));
        scaleBox_->setText(Qs(LookUpCalibration(app_.CalibrationFile(), magnification)));
    }
    // A magnification typed by the user brings its stored scale, or empties the box.
    connect(magnificationBox_, &QLineEdit::textEdited, this, [this](const QString& text) {
        scaleBox_->setText(Qs(LookUpCalibration(app_.CalibrationFile(), text.toStdString())));
    });
}

StillWindow::~StillWindow() = default;

void StillWindow::CreateToolbar() {
    int x = 2;
    for (const StillToolbarButton& b : kStillToolbar) {
        auto* button = new SkinButton(b.command, Qs(b.icon), this);
        button->setToolTip(UiText(b.tooltip));
        button->setGeometry(x, kToolbarTop, kButtonSize, kButtonSize);
        x += kButtonSize + 2;
        if (b.popup != StillPopup::None) {
            connect(button, &QAbstractButton::clicked, this,
                    [this, button, popup = b.popup] { ShowPopup(button, popup); });
        } else {
            connect(button, &QAbstractButton::clicked, this,
                    [this, c = b.command] { OnCommand(c); });
        }
        buttons_.insert(b.command, button);
    }
    minimiseButton_ = new SkinButton(0, QStringLiteral("btn-minimize.svg"), this);
    maximiseButton_ = new SkinButton(0, QStringLiteral("btn-maximize.svg"), this);
    closeButton_ = new SkinButton(0, QStringLiteral("btn-close.svg"), this);
    for (SkinButton* b : {minimiseButton_, maximiseButton_, closeButton_}) {
        b->SetFlat(true);
    }
    closeButton_->SetDanger(true);
    connect(minimiseButton_, &QAbstractButton::clicked, this, &QWidget::showMinimized);
    connect(maximiseButton_, &QAbstractButton::clicked, this, &StillWindow::ToggleMaximised);
    connect(closeButton_, &QAbstractButton::clicked, this, &QWidget::close);

    toolNameBox_ = new QLineEdit(this);
    toolNameBox_->setObjectName(QStringLiteral("toolNameBox"));
    toolNameBox_->setReadOnly(true);
    scaleBox_ = new QLineEdit(this);
    scaleBox_->setObjectName(QStringLiteral("scaleBox"));
    magnificationBox_ = new QLineEdit(this);
    magnificationBox_->setObjectName(QStringLiteral("magnificationBox"));
    for (QLineEdit* box : {toolNameBox_, scaleBox_, magnificationBox_}) {
        box->setFont(skin::UiFont(11));
        box->setMaxLength(47);
    }
}

void StillWindow::PlaceControls() {
    const int w = width();
    const bool maximised = isMaximized();
    toolNameBox_->setGeometry(maximised ? w - 246 : 422, kToolbarTop, 70, kBoxHeight);
    scaleBox_->setGeometry(maximised ? w - 155 : 495, kToolbarTop, 50, kBoxHeight);
    magnificationBox_->setGeometry(maximised ? w - 51 : 595, kToolbarTop, 40, kBoxHeight);
    minimiseButton_->setGeometry(maximised ? w - 96 : 544, 2, 26, 24);
    maximiseButton_->setGeometry(maximised ? w - 66 : 574, 2, 26, 24);
    closeButton_->setGeometry(maximised ? w - 36 : 606, 2, 26, 24);
    maximiseButton_->SetIconName(maximised ? QStringLiteral("btn-restore.svg")
                                           : QStringLiteral("btn-maximize.svg"));
    if (canvas_ != nullptr) {
        if (canvas_->DisplayMode() == StillCanvas::kFitMode) {
            canvas_->setGeometry(
                QRect(QPoint(0, kCanvasTop), FitViewSize(pictureWidth_, pictureHeight_)));
        } else {
            canvas_->setGeometry(0, kCanvasTop, w, height() - kCanvasTop);
        }
    }
}

bool StillWindow::CreateCanvas(int displayMode) {
    // The new canvas is loaded before the old one goes, so a failed reload keeps the work.
    auto* canvas = new StillCanvas(app_, displayMode, *prompts_, this);
    if (!canvas->Load(path_)) {
        loadFailure_ = Qs(GetText("OpenFileFail", "Can not Open file")) + QStringLiteral(":\n") +
                       QFile::decodeName(QByteArray::fromStdString(path_.native())) +
                       QLatin1Char('\n') + Qs(FailureReason(canvas->Picture().LastError()));
        delete canvas;
        return false;
    }
    delete canvas_;
    canvas_ = canvas;
    canvas_->SetRateBoxes(magnificationBox_, scaleBox_);
    connect(canvas_, &StillCanvas::ToolNameChanged, this, &StillWindow::ShowToolName);
    connect(canvas_, &StillCanvas::CalibrationFinished, this, &StillWindow::CalibrationHandover);
    saved_ = false;
    filtered_ = false;
    recordsAtSave_ = 0;
    canvas_->show();
    PlaceControls();
    return true;
}

bool StillWindow::HasUnsavedWork() const {
    return canvas_ != nullptr && (filtered_ || canvas_->Records().size() != recordsAtSave_);
}

void StillWindow::ShowToolName(const QString& name) {
    toolNameBox_->setText(name);
}

QMenu* StillWindow::BuildPopup(StillPopup popup) {
    auto* menu = new QMenu(this);
    for (const StillMenuItem& item : StillMenuItems(popup)) {
        if (item.command == 0) {
            menu->addSeparator();
            continue;
        }
        QAction* action = menu->addAction(skin::Icon(Qs(item.icon)), UiText(item.caption, 128));
        action->setData(item.command);
        connect(action, &QAction::triggered, this, [this, c = item.command] { OnCommand(c); });
    }
    return menu;
}

void StillWindow::ShowPopup(SkinButton* button, StillPopup popup) {
    QMenu* menu = BuildPopup(popup);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(button->mapToGlobal(QPoint(0, button->height() - 2)));
}

void StillWindow::OnCommand(int command) {
    if (command == still_command::kSaveAs) {
        SaveAs();
        return;
    }
    if (command == still_command::kRevert) {
        Revert();
        return;
    }
    if (canvas_ == nullptr) {
        return;
    }
    if (IsImageOperation(command)) {
        if (canvas_->ApplyImageOperation(command)) {
            filtered_ = true;
        }
        return;
    }
    if (command == still_command::kExportExcel || command == still_command::kExportWord ||
        command == still_command::kExportCad) {
        Export(command == still_command::kExportExcel  ? ExportKind::Spreadsheet
               : command == still_command::kExportWord ? ExportKind::Report
                                                       : ExportKind::Drawing);
        return;
    }
    switch (command) {
        case still_command::kPenSetting: {
            PenSettingDialog dialog(app_, canvas_->Drawing(), this);
            dialog.exec();
            // Units and decimals are stored even on Cancel.
            canvas_->RelabelForCurrentScale();
            return;
        }
        case still_command::kText: {
            TextInputDialog dialog(app_, this);
            if (dialog.exec() == QDialog::Accepted) {
                canvas_->EnterText(dialog.EnteredText(), dialog.NoteFont(), dialog.NoteColour());
            }
            return;
        }
        case still_command::kDelete:
            canvas_->Interaction().DeleteSelected();
            return;
        case still_command::kMove:
            canvas_->Interaction().MoveSelected();
            return;
        case still_command::kMagnifier: {
            MagnifierDialog dialog(this);
            if (dialog.exec() == QDialog::Accepted) {
                canvas_->ChooseMagnifier(dialog.ZoomTenths(), dialog.LensSize());
                ShowToolName(UiText("TipMagnifier", "Magnifier"));
            }
            return;
        }
        case kStillCheckEdgeGlobalCommand:
            canvas_->ChooseNoTool();
            ShowToolName(UiText("EdgeGlobal", "Check Edge(Global)"));
            canvas_->PaintEdgesGlobal();
            return;
        case kStillLineCalibrationCommand:
            canvas_->StartCalibration(CalibrationTool::Line);
            return;
        case kStillAutoLineCalibrationCommand:
            canvas_->StartCalibration(CalibrationTool::AutoLine);
            return;
        default:
            canvas_->ChooseCommand(command);
            return;
    }
}

bool StillWindow::SaveAnnotatedTo(const std::filesystem::path& path) {
    const bool ok = canvas_ != nullptr && canvas_->SaveAnnotated(path);
    if (ok) {
        saved_ = true;
        filtered_ = false;
        recordsAtSave_ = canvas_->Records().size();
    }
    prompts_->Show(
        ok ? GetText("SaveSuccessfull", "Save successfully!") : GetText("SaveFail", "Save fail"),
        ok ? PromptIcon::Information : PromptIcon::Exclamation);
    return ok;
}

bool StillWindow::SaveAs() {
    if (canvas_ == nullptr) {
        return false;
    }
    canvas_->ChooseNoTool();
    ShowToolName(QString());
    static const FileFilter kPictureTypes[] = {{"bmp Files", "*.bmp"}, {"jpg Files", "*.jpg"}};
    // The chooser opens beside the picture, under the picture's own name.
    const std::filesystem::path folder = path_.parent_path();
    const std::optional<std::filesystem::path> path = ChooseSavePath(
        *prompts_, {},
        folder / QFile::encodeName(canvas_->Caption() + QStringLiteral(".bmp")).toStdString(),
        kPictureTypes,
        [](const std::filesystem::path& p) { return !PictureFileType(p.string()).empty(); });
    if (!path) {
        return false;
    }
    return SaveAnnotatedTo(*path);
}

ExportScale StillWindow::CurrentExportScale() const {
    ExportScale scale;
    if (canvas_ == nullptr) {
        return scale;
    }
    const AppSettings& settings = app_.Settings();
    // The rate the canvas measures with; before any tool was chosen, the one it would choose.
    double rate = canvas_->RateState().EffectiveRate();
    if (rate <= 0.0) {
        rate = ParseRateText(scaleBox_->text().toStdString());
    }
    if (rate <= 0.0) {
        rate = ParseRateText(magnificationBox_->text().toStdString());
    }
    const ScaleContext view = MakeScaleContext(settings, canvas_->PictureCamera(), rate);
    // Records hold picture pixels; the rate counts pixels of a 640-wide view.
    scale.unitsPerPixel = view.s * MeasuringPixelsPerPicturePixel(pictureWidth_);
    scale.unit = view.unit;
    scale.decimals = view.decimals;
    scale.pictureHeight = pictureHeight_;
    return scale;
}

void StillWindow::Export(ExportKind kind) {
    if (canvas_ == nullptr) {
        return;
    }
    ExportSource source;
    source.records = &canvas_->Records();
    source.scheme = RecordScheme::Still;
    source.scale = CurrentExportScale();
    source.defaultName = (path_.parent_path() / path_.stem()).native();
    // The picture is rendered with its measurements at its own resolution, as Save As does.
    source.picture = [this]() -> std::optional<ExportPicture> {
        QTemporaryDir temp;
        const QString file = temp.filePath(QStringLiteral("report.jpg"));
        if (!temp.isValid() || !canvas_->SaveAnnotated(QFile::encodeName(file).toStdString())) {
            return std::nullopt;
        }
        auto bytes = ReadWholeFile(QFile::encodeName(file).toStdString());
        if (!bytes) {
            return std::nullopt;
        }
        return ExportPicture{std::move(*bytes), ExportPicture::Format::Jpeg, pictureWidth_,
                             pictureHeight_};
    };
    ExportFlow(*prompts_).Run(kind, source);
}

void StillWindow::Revert() {
    if (HasUnsavedWork() &&
        prompts_->Ask(
            GetText("SureRevert", "Discard all measurements and image changes of this picture?"),
            PromptButtons::YesNo, PromptIcon::Question) != PromptAnswer::Yes) {
        return;
    }
    if (canvas_ != nullptr) {
        canvas_->ChooseNoTool();
    }
    ShowToolName(QString());
    const int mode = canvas_ != nullptr ? canvas_->DisplayMode() : StillCanvas::kFitMode;
    if (!CreateCanvas(mode)) {
        prompts_->Show(loadFailure_.toStdString(), PromptIcon::Exclamation);
    }
}

void StillWindow::ToggleMaximised() {
    const bool restoring = isMaximized();
    if (restoring) {
        showNormal();
    } else {
        showMaximized();
    }
    // The same canvas changes its view: measurements, image operations and the rate stay, so
    // nothing needs saving first.
    if (canvas_ != nullptr) {
        canvas_->SetDisplayMode(restoring ? StillCanvas::kFitMode : StillCanvas::kActualSizeMode);
    }
    PlaceControls();
}

void StillWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    PlaceControls();
}

void StillWindow::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), skin::kBackground);
    p.fillRect(QRect(0, 0, width(), kCanvasTop - 2), skin::kPanel);
    p.setPen(QPen(skin::kPanelBorder, 1));
    p.drawLine(0, kCanvasTop - 2, width(), kCanvasTop - 2);
    p.setFont(skin::UiFont(16, true));
    p.setPen(skin::kText);
    p.drawText(QRect(0, 2, width(), 24), Qt::AlignHCenter | Qt::AlignTop, windowTitle());
    p.setFont(skin::UiFont(12));
    p.setPen(kScaleLabelColour.lighter(150));
    const int labelX = isMaximized() ? width() - 102 : 545;
    p.drawText(QRect(labelX + 1, kToolbarTop + 2, 50, 20), Qt::AlignLeft | Qt::AlignVCenter,
               UiText("Rate", "Scale:"));
}

void StillWindow::keyPressEvent(QKeyEvent* event) {
    if (!SwallowCloseKey(*event)) {
        QWidget::keyPressEvent(event);
    }
}

void StillWindow::mousePressEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    if (event->button() == Qt::LeftButton && kCaptionStrip.contains(pos) &&
        childAt(pos) == nullptr) {
        if (QRect(0, 0, 30, 25).contains(pos) && isMaximized()) {
            ToggleMaximised();
            return;
        }
        drag_.Start(*this, *event);
        return;
    }
    QWidget::mousePressEvent(event);
}

void StillWindow::mouseMoveEvent(QMouseEvent* event) {
    if (drag_.Follow(*this, *event)) {
        return;
    }
    QWidget::mouseMoveEvent(event);
}

void StillWindow::mouseReleaseEvent(QMouseEvent* event) {
    drag_.Stop();
    QWidget::mouseReleaseEvent(event);
}

void StillWindow::closeEvent(QCloseEvent* event) {
    if (HasUnsavedWork()) {
        // Yes saves first and closes only when the picture was written.
        const PromptAnswer answer =
            prompts_->Ask(GetText("SureOpen", "Save changes to..."), PromptButtons::YesNoCancel,
                          PromptIcon::Exclamation);
        if (answer == PromptAnswer::Cancel || (answer == PromptAnswer::Yes && !SaveAs())) {
            event->ignore();
            return;
        }
    } else {
        const PromptAnswer answer = prompts_->Ask(GetText("SureClose", "Are you sure to close?"),
                                                  PromptButtons::YesNo, PromptIcon::Question);
        if (answer != PromptAnswer::Yes) {
            event->ignore();
            return;
        }
    }
    event->accept();
}

}  // namespace lensora
