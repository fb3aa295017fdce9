#include "app/ui/main_window.h"

#include <utility>

#include <QAction>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLinearGradient>
#include <QMenu>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QTimer>
#include <QWindow>

#include "app/app_state.h"
#include "app/main_buttons.h"
#include "app/ui/about_dialog.h"
#include "app/ui/calibrate_prompt_dialog.h"
#include "app/ui/main_window_layout.h"
#include "app/ui/recording_controller.h"
#include "app/ui/snapshot_controller.h"
#include "base/text_keys.h"
#include "base/ui/group_frame.h"
#include "base/ui/skin.h"
#include "base/ui/skin_button.h"
#include "base/ui/ui_text.h"
#include "canvas/ui/still_canvas.h"
#include "canvas/ui/still_window.h"
#include "capture/picture_memory.h"
#include "capture/ui/timed_capture_dialog.h"
#include "capture/ui/video_settings_dialog.h"
#include "export/export_flow.h"
#include "library/ui/thumbnail_strip.h"
#include "live/live_session.h"
#include "live/ui/live_canvas.h"
#include "live/ui/zoom_pad.h"
#include "measure/calibration.h"
#include "platform/camera_service.h"
#include "platform/qt_sound_player.h"
#include "platform/qt_user_prompts.h"

namespace lensora {
namespace {

// Control numbers of the group frames and the scale label.
constexpr int kGroupMeasure = 1203;
constexpr int kGroupAutoMeasure = 1248;
constexpr int kGroupComparison = 1247;
constexpr int kGroupCalibration = 1148;

struct Slot {
    int command;
    int x;
    int y;
    int size;
};

// The panel: capture and file buttons in the left column, tools on the right.
constexpr int kLeftA = 9;
constexpr int kLeftB = 51;
constexpr int kBig = 36;
constexpr int kSmall = 24;
constexpr int kToolX0 = 748;
constexpr int kToolStep = 27;

constexpr Slot kSlots[] = {
    // Capture.
    {command::kPreview, kLeftA, 60, kBig},
    {command::kCamera, kLeftB, 60, kBig},
    {command::kVideo, kLeftA, 102, kBig},
    {command::kTimer, kLeftB, 102, kBig},
    {command::kVideoSetting, kLeftA, 144, kBig},
    {command::kSnapSwitch, kLeftB, 144, kBig},
    // Files and exports.
    {command::kPictureFolder, kLeftA, 212, kBig},
    {command::kVideoFolder, kLeftB, 212, kBig},
    {command::kExportWord, kLeftA, 254, kBig},
    {command::kExportExcel, kLeftB, 254, kBig},
    {command::kExportDxf, kLeftA, 296, kBig},
    // Window.
    {command::kLanguage, kLeftA, 604, kBig},
    {command::kAboutButton, kLeftB, 604, kBig},
    {command::kMinimise, 764, 6, 28},
    {command::kFullScreen, 798, 6, 28},
    {command::kClose, 830, 6, 28},
    // Measure: four to a row.
    {command::kLine, kToolX0 + 0 * kToolStep, 78, kSmall},
    {command::kDotLine, kToolX0 + 1 * kToolStep, 78, kSmall},
    {command::kParallelLine, kToolX0 + 2 * kToolStep, 78, kSmall},
    {command::kContinualLine, kToolX0 + 3 * kToolStep, 78, kSmall},
    {command::kRectangle, kToolX0 + 0 * kToolStep, 111, kSmall},
    {command::kPolygon, kToolX0 + 1 * kToolStep, 111, kSmall},
    {command::kRadiusCircle, kToolX0 + 2 * kToolStep, 111, kSmall},
    {command::kDiameterCircle, kToolX0 + 3 * kToolStep, 111, kSmall},
    {command::kThreePointCircle, kToolX0 + 0 * kToolStep, 144, kSmall},
    {command::kTwoCircles, kToolX0 + 1 * kToolStep, 144, kSmall},
    {command::kAngle, kToolX0 + 2 * kToolStep, 144, kSmall},
    {command::kFourPointAngle, kToolX0 + 3 * kToolStep, 144, kSmall},
    {command::kArc, kToolX0 + 0 * kToolStep, 177, kSmall},
    {command::kCircleLabel, kToolX0 + 1 * kToolStep, 177, kSmall},
    {command::kSquareLabel, kToolX0 + 2 * kToolStep, 177, kSmall},
    {command::kText, kToolX0 + 3 * kToolStep, 177, kSmall},
    {command::kUndo, kToolX0 + 0 * kToolStep, 215, kSmall},
    {command::kRedo, kToolX0 + 1 * kToolStep, 215, kSmall},
    {command::kDeleteAll, kToolX0 + 2 * kToolStep, 215, kSmall},
    {command::kMeasureSetting, kToolX0 + 3 * kToolStep, 215, kSmall},
    {command::kEllipse, kToolX0 + 3 * kToolStep, 215, kSmall},  // never shown
    // Auto measure.
    {command::kAutoCircleArc, kToolX0 + 0 * kToolStep, 274, kSmall},
    {command::kAutoCircleDetection, kToolX0 + 1 * kToolStep, 274, kSmall},
    {command::kAutoLineLength2, kToolX0 + 2 * kToolStep, 274, kSmall},
    {command::kAutoLineSpace, kToolX0 + 3 * kToolStep, 274, kSmall},
    {command::kAutoAngleDetection, kToolX0 + 0 * kToolStep, 307, kSmall},
    // Comparison.
    {command::kLengthLine, kToolX0 + 0 * kToolStep, 366, kSmall},
    {command::kAngleLine, kToolX0 + 1 * kToolStep, 366, kSmall},
    {command::kToleranceCircle, kToolX0 + 2 * kToolStep, 366, kSmall},
    // Calibration.
    {command::kLineCalibration, 812, 495, kSmall},
};

}  // namespace

using namespace main_layout;

MainWindow::MainWindow(AppState& app, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint),
      app_(app),
      prompts_(std::make_unique<QtUserPrompts>(this)),
      session_(std::make_unique<LiveSession>(app.Settings(), app.Calibration())) {
    setObjectName(QStringLiteral("mainWindow"));
    setFixedSize(kWidth, kHeight);
    setAttribute(Qt::WA_OpaquePaintEvent);
    skin::SetIconFolder(QString::fromStdString(app_.Environment().resourceFolder) + "/icons");
    setWindowIcon(skin::Icon(QStringLiteral("lensora.svg")));

    CreateControls();
    RebuildTooltips();
    DisableCaptureControls();
    connect(magnificationBox_, &QLineEdit::textChanged, this, &MainWindow::OnMagnificationChanged);
    magnificationBox_->setText(QStringLiteral("60"));

    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - rect().center());
    }

    calibratePromptTimer_ = new QTimer(this);
    calibratePromptTimer_->setObjectName(QStringLiteral("calibratePromptTimer"));
    calibratePromptTimer_->setSingleShot(true);
    connect(calibratePromptTimer_, &QTimer::timeout, this, &MainWindow::OnCalibratePromptTimer);
    calibratePromptTimer_->start(kCalibratePromptDelayMs);
    SetUpBrowser();
    SetUpPreviewMenu();
    SetUpSnapshots();
}

MainWindow::~MainWindow() {
    // The canvas detaches from the session, which goes after it.
    delete liveCanvas_;
}

void MainWindow::CreateControls() {
    const auto addGroup = [this](int id, QRect r) {
        auto* g = new GroupFrame(id, this);
        g->setGeometry(r);
        groups_.insert(id, g);
    };
    addGroup(kGroupMeasure, QRect(744, 56, 111, 195));
    addGroup(kGroupAutoMeasure, QRect(744, 252, 111, 90));
    addGroup(kGroupComparison, QRect(743, 343, 112, 56));
    addGroup(kGroupCalibration, QRect(743, 442, 112, 88));

    // The live canvas; the camera's frame feed will draw into it.
    liveCanvas_ = new LiveCanvas(*session_, app_.Settings(), *prompts_, this);
    liveCanvas_->setGeometry(kPreviewRect);
    liveCanvas_->rateCheck = [this] {
        const std::string magnification = magnificationBox_->text().toStdString();
        const std::string rate = calibratedRateBox_->text().toStdString();
        return session_->Calibration().PrepareRate({magnification, rate}, Prompts());
    };
    // The thumbnail strip; its open command will call OpenPicture.
    strip_ = new ThumbnailStrip(this);
    strip_->setGeometry(kStripRect);
    zoomPad_ = new ZoomPad(this);
    zoomPad_->setGeometry(kZoomPadRect);
    connect(liveCanvas_, &LiveCanvas::pointerMoved, this, &MainWindow::ShowZoom);

    scaleLabel_ = new QLabel(this);
    scaleLabel_->setObjectName(QStringLiteral("rateLabel"));
    scaleLabel_->setGeometry(747, 465, 52, 20);
    scaleLabel_->setFont(skin::UiFont(12));
    magnificationBox_ = new QLineEdit(this);
    magnificationBox_->setObjectName(QStringLiteral("MagnificationBox"));
    magnificationBox_->setGeometry(800, 462, 52, 24);
    calibratedRateBox_ = new QLineEdit(this);
    calibratedRateBox_->setObjectName(QStringLiteral("CalibratedRateBox"));
    calibratedRateBox_->setGeometry(750, 495, 52, 24);
    for (QLineEdit* box : {magnificationBox_, calibratedRateBox_}) {
        box->setMaxLength(47);
        box->setAlignment(Qt::AlignCenter);
        box->setFont(skin::UiFont(12));
    }

    for (const MainButton& b : kMainButtons) {
        auto* button =
            new SkinButton(b.command, QString::fromUtf8(b.icon.data(), b.icon.size()), this);
        button->setCheckable(b.toggle);
        buttons_.insert(b.command, button);
    }
    CreateActions();
    PlaceButtons();
}

void MainWindow::CreateActions() {
    for (const MainButton& b : kMainButtons) {
        auto* action = new QAction(this);
        action->setData(b.command);
        action->setCheckable(b.toggle);
        actions_.insert(b.command, action);
        SkinButton* button = buttons_.value(b.command);
        connect(button, &QAbstractButton::clicked, action, [action, button] {
            // The button keeps its own checked state; the action follows it.
            action->setChecked(button->isChecked());
            action->trigger();
        });
        connect(action, &QAction::triggered, this, [this, c = b.command] { OnCommand(c); });
    }
    for (const Hotkey& h : kHotkeys) {
        QAction* action = actions_.value(h.command);
        if (action == nullptr) {
            action = new QAction(this);
            action->setData(h.command);
            actions_.insert(h.command, action);
            connect(action, &QAction::triggered, this, [this, c = h.command] { OnCommand(c); });
        }
        action->setShortcut(QKeySequence(QString::fromUtf8(h.key.data(), h.key.size())));
        action->setShortcutContext(Qt::WindowShortcut);
        addAction(action);
    }
}

void MainWindow::SetCommandEnabled(int command, bool on) {
    if (QAction* action = actions_.value(command)) {
        action->setEnabled(on);
    }
    if (SkinButton* button = buttons_.value(command)) {
        button->setEnabled(on);
    }
}

void MainWindow::PlaceButtons() {
    for (const Slot& s : kSlots) {
        if (SkinButton* b = buttons_.value(s.command)) {
            b->setGeometry(s.x, s.y, s.size, s.size);
        }
    }
    for (int c : {command::kMinimise, command::kFullScreen, command::kClose}) {
        buttons_[c]->SetFlat(true);
    }
    buttons_[command::kClose]->SetDanger(true);
    buttons_[command::kEllipse]->hide();  // carries a tooltip but is never offered
}

QString MainWindow::GroupTitle(int controlId) const {
    if (controlId == 1350) {
        return scaleLabel_->text();
    }
    const GroupFrame* g = groups_.value(controlId);
    return g ? g->Title() : QString();
}

void MainWindow::RebuildTooltips() {
    setWindowTitle(Qs(GetText(text::kMsgTitle)));
    const bool snapOn = app_.Settings().isEnableSnap == 1;
    for (const MainButton& b : kMainButtons) {
        const QString tip = Qs(ButtonTooltip(b, snapOn));
        actions_[b.command]->setToolTip(tip);
        actions_[b.command]->setText(tip);
        buttons_[b.command]->setToolTip(tip);
    }
    groups_[kGroupMeasure]->SetTitle(Qs(GetText(text::kTipMeasure, 128)));
    groups_[kGroupAutoMeasure]->SetTitle(Qs(GetText(text::kTipAutoMeasure, 128)));
    groups_[kGroupComparison]->SetTitle(Qs(GetText(text::kTipComparison, 128)));
    groups_[kGroupCalibration]->SetTitle(Qs(GetText(text::kTipCalibration, 128)));
    scaleLabel_->setText(Qs(GetText(text::kRate, 128)));
    liveCanvas_->SetStatusText(cameraConnected_ ? QString() : Qs(GetText(text::kConnectMsg)));
    update();
}

void MainWindow::OnCalibratePromptTimer() {
    calibratePromptTimer_->stop();
    if (!ShouldShowCalibratePrompt(app_.Store())) {
        OpenPendingPictures();
        return;
    }
    auto* dialog = new CalibratePromptDialog(this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QDialog::accepted, this,
            [this, dialog] { ConfirmCalibratePrompt(app_.Store(), dialog->ShowNextTime()); });
    connect(dialog, &QDialog::finished, this, [this] {
        calibratePromptOpen_ = false;
        OpenPendingPictures();
    });
    calibratePromptOpen_ = true;
    dialog->open();
}

void MainWindow::OpenPictureInFront(const std::filesystem::path& path) {
    pendingPictures_.push_back(path);
    if (!calibratePromptTimer_->isActive() && !calibratePromptOpen_) {
        OpenPendingPictures();
    }
}

void MainWindow::OpenPendingPictures() {
    const std::vector<std::filesystem::path> paths = std::exchange(pendingPictures_, {});
    for (const std::filesystem::path& path : paths) {
        // The main window comes forward first, so that a failure message is seen over it.
        if (isMinimized()) {
            showNormal();
        }
        raise();
        activateWindow();
        if (QWidget* picture = OpenPicture(path)) {
            picture->raise();
            picture->activateWindow();
        }
    }
}

QWidget* MainWindow::OpenPicture(const std::filesystem::path& path) {
    StillWindow* window = StillWindow::Open(app_, path, this, *prompts_);
    if (window != nullptr) {
        window->Canvas()->SetLastCamera(session_->Camera());
        connect(window, &StillWindow::CalibrationHandover, this,
                &MainWindow::TakeCalibrationHandover);
    }
    return window;
}

ExportScale MainWindow::LiveExportScale() const {
    // The live view measures with its calibrated rate, or else the magnification.
    double rate = ParseRateText(calibratedRateBox_->text().toStdString());
    if (rate <= 0.0) {
        rate = ParseRateText(magnificationBox_->text().toStdString());
    }
    const ScaleContext view = MakeScaleContext(app_.Settings(), session_->Camera(), rate);
    ExportScale scale;
    scale.unitsPerPixel = view.s;
    scale.unit = view.unit;
    scale.decimals = view.decimals;
    scale.pictureHeight = kPreviewRect.height();  // live records hold 640 x 480 frame pixels
    return scale;
}

void MainWindow::ExportLive(ExportKind kind) {
    ExportSource source;
    source.records = &session_->Records();
    source.scheme = RecordScheme::Live;
    source.scale = LiveExportScale();
    source.defaultName = JoinPath(app_.Folders().pictureFolder, "Measurement");
    // The report's picture is the snapshot of the live picture with its measurements (also
    // kept as 10000.bmp); without a camera frame the report goes without one.
    source.picture = [this] { return snapshots_->ReportPicture(); };
    ExportFlow(*prompts_).Run(kind, source);
}

LiveRecords& MainWindow::LiveRecordList() {
    return session_->Records();
}

// ---- Camera ---------------------------------------------------------------------------------

void MainWindow::AttachCamera(CameraService* camera) {
    liveCanvas_->AttachCamera(camera);
    snapshots_->Attach(camera);
    if (camera == nullptr) {
        recording_.reset();
        if (camera_ != nullptr) {
            camera_->Connection().SetPictureMemory(nullptr);
            camera_ = nullptr;
        }
        return;
    }
    connect(camera, &CameraService::connectionChanged, this, [this, camera](bool connected) {
        if (connected) {
            // The live view and the still windows measure with what this camera offers.
            const CameraConnection& c = camera->Connection();
            session_->CameraSeen({c.LargeSensor(), c.CaptureWidth(), c.CaptureHeight()});
            EnableCaptureControls();
        } else {
            DisableCaptureControls();
        }
    });
    AttachVideoSettings(camera);
    recording_ = std::make_unique<RecordingController>(*camera, strip_, app_.Folders().videoFolder,
                                                       this, liveCanvas_);
    connect(recording_.get(), &RecordingController::recordingChanged, this,
            [this](bool on) { ShowRecordingState(on); });
    recording_->playSound = [this](int sound) { sounds_->Play(static_cast<Sound>(sound)); };
}

void MainWindow::OpenTimedCapture() {
    if (camera_ == nullptr || !camera_->Connection().Connected()) {
        return;
    }
    const CameraConnection& c = camera_->Connection();
    const std::unique_ptr<TimedCaptureClock> clock = SystemTimedCaptureClock();
    TimedCaptureDialog dialog(
        *clock, {c.CaptureWidth(), c.CaptureHeight(), c.LargeSensor()},
        [camera = camera_] { camera->Pipeline().Snapshot().Request(kSnapshotByProgram); }, this);
    dialog.exec();
}

void MainWindow::ShowRecordingState(bool on) {
    // While recording the record button is on and the preview button off.
    for (const int c : {command::kVideo, command::kPreview}) {
        const bool checked = c == command::kVideo ? on : !on;
        buttons_[c]->setChecked(checked);
        actions_[c]->setChecked(checked);
    }
    RebuildTooltips();
}

// ---- Video settings -------------------------------------------------------------------------

void MainWindow::AttachVideoSettings(CameraService* camera) {
    camera_ = camera;
    pictureMemory_ = std::make_unique<PictureMemory>(app_.Store());
    camera->Connection().SetPictureMemory(pictureMemory_.get());
}

void MainWindow::OpenVideoSettings() {
    if (camera_ == nullptr) {
        return;
    }
    VideoSettingsDialog dialog(camera_->Connection(), pictureMemory_.get(), &app_.Folders(), this);
    connect(camera_, &CameraService::connectionChanged, &dialog, [&dialog] { dialog.Refill(); });
    connect(camera_, &CameraService::deviceSetChanged, &dialog, [&dialog] { dialog.Refill(); });
    dialog.exec();
}

// ---- Snapshots ----

void MainWindow::SetUpSnapshots() {
    snapshots_ = std::make_unique<SnapshotController>(app_, *session_, *prompts_);
    snapshots_->SetUp({strip_, magnificationBox_, buttons_[command::kSnapSwitch], [this] {
                           // A snapshot needs a running picture: the preview or a recording.
                           return buttons_[command::kPreview]->isChecked() ||
                                  buttons_[command::kVideo]->isChecked();
                       }});
    sounds_ = new QtSoundPlayer(QString::fromStdString(app_.Environment().resourceFolder), this);
    snapshots_->SetSoundPlayer(sounds_);
    connect(snapshots_.get(), &SnapshotController::cameraButtonChanged, this,
            &MainWindow::RebuildTooltips);
}

}  // namespace lensora
