// The main window's commands: the dispatch of the panel, hotkeys and menus, the capture
// controls that follow the camera connection, preview pause and resume, the live line
// calibration and the measurement settings.
#include <QAction>
#include <QLineEdit>
#include <QTimer>

#include <algorithm>
#include <cmath>

#include "app/app_state.h"
#include "app/main_buttons.h"
#include "app/ui/main_window.h"
#include "app/ui/main_window_layout.h"
#include "app/ui/recording_controller.h"
#include "app/ui/snapshot_controller.h"
#include "base/text_keys.h"
#include "base/ui/skin_button.h"
#include "base/ui/ui_text.h"
#include "canvas/ui/actual_distance_dialog.h"
#include "canvas/ui/pen_setting_dialog.h"
#include "export/export_flow.h"
#include "live/live_session.h"
#include "live/ui/angle_line_dialog.h"
#include "live/ui/live_canvas.h"
#include "live/ui/tolerance_circle_dialog.h"
#include "measure/calibration.h"
#include "platform/camera_service.h"
#include "platform/qt_user_prompts.h"

namespace lensora {

using namespace main_layout;

namespace {

// The automatic tools of the live view work on the held picture, grabbed when one is chosen.
bool IsAutomaticLiveTool(int command) {
    return command == command::kAutoCircleArc || command == command::kAutoCircleDetection ||
           command == command::kAutoLineLength2 || command == command::kAutoLineSpace ||
           command == command::kAutoAngleDetection;
}

}  // namespace

UserPrompts& MainWindow::Prompts() {
    return promptsOverride_ != nullptr ? *promptsOverride_ : *prompts_;
}

void MainWindow::EnableCaptureControls() {
    cameraConnected_ = true;
    for (auto it = actions_.cbegin(); it != actions_.cend(); ++it) {
        SetCommandEnabled(it.key(), it.key() != command::kEllipse);
    }
    // A new connection runs its picture.
    previewRunning_ = true;
    liveCanvas_->SetFrozen(false);
    buttons_[command::kPreview]->setChecked(true);
    actions_[command::kPreview]->setChecked(true);
    liveCanvas_->SetStatusText(QString());
    RefreshScaleOverlays();
}

void MainWindow::DisableCaptureControls() {
    cameraConnected_ = false;
    for (auto it = actions_.cbegin(); it != actions_.cend(); ++it) {
        SetCommandEnabled(it.key(), WorksWithoutCamera(it.key()));
    }
    liveCanvas_->SetStatusText(Qs(GetText(text::kConnectMsg)));
}

void MainWindow::OnCommand(int command) {
    switch (command) {
        case command::kClose:
            close();
            break;
        case command::kMinimise:
            minimised_ = true;
            showMinimized();
            break;
        case command::kFullScreen:
            EnterFullScreen();
            break;
        case command::kLanguage:
            ShowLanguageMenu();
            break;
        case command::kAbout:
        case command::kAboutButton:
            ShowAbout();
            break;
        case command::kPreview:
            TogglePreview();
            break;
        case command::kTimer:
            OpenTimer();
            break;
        case command::kVideo:
        case command::kRecordStart:
        case command::kRecordStop:
            if (recording_) {
                command == command::kVideo         ? recording_->ToggleRecording()
                : command == command::kRecordStart ? recording_->StartFromHotkey()
                                                   : recording_->StopFromHotkey();
                ShowRecordingState(recording_->Recording());
            }
            break;
        case command::kExportExcel:
            ExportLive(ExportKind::Spreadsheet);
            break;
        case command::kExportWord:
            ExportLive(ExportKind::Report);
            break;
        case command::kExportDxf:
            ExportLive(ExportKind::Drawing);
            break;
        case command::kUndo:
            session_->Undo();
            break;
        case command::kRedo:
            session_->Redo();
            break;
        case command::kDeleteAll:
            session_->DeleteAll();
            break;
        case command::kLineCalibration:
            StartLineCalibration();
            break;
        case command::kMeasureSetting:
            OpenMeasureSetting();
            break;
        case command::kVideoSetting:
            OpenVideoSettings();
            break;
        case command::kCamera:
            snapshots_->RequestUserSnapshot();
            break;
        case command::kSnapSwitch:
            snapshots_->ToggleCameraButton();
            break;
        case command::kAngleLine:
            OpenAngleLineDialog(*session_, *prompts_, this);
            break;
        case command::kToleranceCircle:
            OpenToleranceCircleDialog(*session_, *prompts_, Qs(MeasureUnit(app_.Settings())), this);
            break;
        case command::kResolutionStep1:
        case command::kResolutionStep2:
        case command::kResolutionStep3:
            // F10, F11, F12: the three capture sizes of the camera's sensor class.
            if (camera_ != nullptr) {
                CameraConnection& c = camera_->Connection();
                c.ApplyResolutionStep(command == command::kResolutionStep1   ? 0
                                      : command == command::kResolutionStep2 ? 1
                                                                             : 2);
                // The live view measures with the new capture size from now on.
                session_->CameraSeen({c.LargeSensor(), c.CaptureWidth(), c.CaptureHeight()});
                RefreshScaleOverlays();
            }
            break;
        case preview_command::kCancel:
            session_->Calibration().CancelCalibration();
            session_->Cancel();
            break;
        case preview_command::kCross:
            ToggleOverlay(LiveOverlay::WhiteCross);
            break;
        case preview_command::kScale:
            ToggleOverlay(LiveOverlay::CrossRuler);
            break;
        case preview_command::kCircle:
            ToggleOverlay(LiveOverlay::Rings);
            break;
        case preview_command::kTime:
            ToggleOverlay(LiveOverlay::DateTime);
            break;
        case preview_command::kBmp:
            SetSnapshotFileType(1);
            break;
        case preview_command::kJpg:
            SetSnapshotFileType(2);
            break;
        default:
            // The live measurement and automatic tools.
            ChooseLiveTool(command);
            break;
    }
}

void MainWindow::ChooseLiveTool(int command) {
    const bool chosen = session_->ChooseCommand(command);
    // Choosing a tool ends a calibration that waits for its line; other commands leave it.
    if (LiveInteraction* live = session_->Interaction();
        live != nullptr && !live->ExpectingCalibrationLine()) {
        session_->Calibration().CancelCalibration();
    }
    if (!chosen) {
        return;
    }
    if (IsAutomaticLiveTool(command) && camera_ != nullptr && previewRunning_) {
        // The snapshot handler fills the held picture with the next frame.
        camera_->Pipeline().Snapshot().RequestGrab();
    }
}

void MainWindow::TogglePreview() {
    // Pausing keeps the last frame on screen; resuming shows the live picture again. While a
    // recording runs the preview button is off, and pressing it ends the recording first.
    if (recording_ && recording_->Recording()) {
        recording_->StopFromHotkey();
        ShowRecordingState(recording_->Recording());
        previewRunning_ = false;
    }
    previewRunning_ = !previewRunning_;
    liveCanvas_->SetFrozen(!previewRunning_);
    buttons_[command::kPreview]->setChecked(previewRunning_);
    actions_[command::kPreview]->setChecked(previewRunning_);
    RebuildTooltips();
}

void MainWindow::OpenTimer() {
    // The timed capture needs the live picture.
    const bool recording = recording_ && recording_->Recording();
    if (!cameraConnected_ || (!previewRunning_ && !recording)) {
        Prompts().Show(GetText(text::kBrowseToCamera), PromptIcon::Exclamation);
        return;
    }
    OpenTimedCapture();
}

void MainWindow::OpenMeasureSetting() {
    auto* dialog = new PenSettingDialog(app_, liveCanvas_->Drawing(), this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QDialog::accepted, liveCanvas_, [this] { liveCanvas_->Refresh(); });
    // Units and decimals are stored even on Cancel: relabel whatever the dialog's end.
    connect(dialog, &QDialog::finished, liveCanvas_,
            [this] { liveCanvas_->RelabelForCurrentScale(); });
    dialog->open();
}

// ---- Calibration ----------------------------------------------------------------------------

double MainWindow::LiveRate() const {
    // The calibrated rate, or else the magnification.
    const double rate = ParseRateText(calibratedRateBox_->text().toStdString());
    return rate > 0.0 ? rate : ParseRateText(magnificationBox_->text().toStdString());
}

void MainWindow::OnMagnificationChanged(const QString& text) {
    calibratedRateBox_->setText(Qs(LookUpCalibration(app_.CalibrationFile(), text.toStdString())));
    RefreshScaleOverlays();
}

void MainWindow::TakeCalibrationHandover(const QString& magnification,
                                         const QString& calibratedRate) {
    // The magnification first: its look-up may fill the rate box, which the hand-over then
    // overwrites with the rate just calibrated.
    magnificationBox_->setText(magnification);
    calibratedRateBox_->setText(calibratedRate);
    session_->TakeCalibration({magnification.toStdString(), calibratedRate.toStdString()});
    RefreshScaleOverlays();
}

void MainWindow::RefreshScaleOverlays() {
    if (camera_ == nullptr) {
        return;
    }
    RulerSettings& ruler = camera_->Overlays().ruler;
    const ScaleContext scale = MakeScaleContext(app_.Settings(), session_->Camera(), LiveRate());
    // The ruler's and rings' spacing: live picture pixels per unit.
    ruler.pixelsPerUnit = scale.s > 0.0 && std::isfinite(scale.s) ? 1.0 / scale.s : 0.0;
    ruler.magnification = ParseRateText(magnificationBox_->text().toStdString());
    ruler.unit = scale.unit;
    liveCanvas_->Refresh();
}

bool MainWindow::StartLineCalibration() {
    LiveInteraction* live = session_->Interaction();
    if (live == nullptr) {
        return false;
    }
    const std::string magnification = magnificationBox_->text().toStdString();
    const std::string rate = calibratedRateBox_->text().toStdString();
    if (!session_->Calibration().StartCalibration({magnification, rate}, CalibrationTool::Line,
                                                  Prompts())) {
        return false;
    }
    // The rate was just chosen by the calibration start.
    live->ChooseTool(LiveKind::kParallelLine, false, false);
    live->ExpectCalibrationLine(LiveKind::kParallelLine,
                                [this](MeasureRecord& line) { LineStored(line); });
    return true;
}

void MainWindow::LineStored(MeasureRecord& line) {
    if (line.points.size() < 2) {
        return;
    }
    const double dx = double(line.points[1].x) - line.points[0].x;
    const double dy = double(line.points[1].y) - line.points[0].y;
    // The dialog opens once the click that stored the line has been handled.
    QTimer::singleShot(0, this, [this, record = &line, length = std::hypot(dx, dy)] {
        FinishLineCalibration(record, length);
    });
}

void MainWindow::FinishLineCalibration(MeasureRecord* line, double pixelLength) {
    ViewCalibration& calibration = session_->Calibration();
    const auto& records = session_->Records().records;
    const bool stillThere = std::any_of(records.begin(), records.end(),
                                        [line](const auto& r) { return r.get() == line; });
    const std::string_view unit = MeasureUnit(app_.Settings());
    const CameraFacts camera = session_->Camera();
    const CalibrationLine measured{pixelLength, UnitsPerPixel(unit, camera)};
    const QString unitName = Qs(unit);

    std::optional<double> actual;
    liveCanvas_->setEnabled(false);
    if (askActualDistance) {
        actual = askActualDistance(unitName, pixelLength);
    } else {
        ActualDistanceDialog dialog(unitName, this);
        dialog.accept = [&calibration, measured](const QString& text) {
            return calibration.AcceptActualDistance(text.toStdString(), measured);
        };
        dialog.prompts = &Prompts();
        if (dialog.exec() == QDialog::Accepted) {
            actual = dialog.Distance();
        }
    }
    liveCanvas_->setEnabled(true);

    const std::string magnification = magnificationBox_->text().toStdString();
    CalibrationContext context;
    context.camera = camera;
    context.unit = unit;
    context.decimals = MeasureDecimals(app_.Settings());
    const CalibrationResult result =
        calibration.FinishCalibration(measured, actual, magnification, context);
    if (stillThere && !line->labels.empty()) {
        line->labels[0] = result.lineLabel;
    }
    if (result.applied) {
        const CalibrationDone done =
            LiveCalibrationDone(calibration, magnification, app_.CalibrationFile(), Prompts());
        if (done.applied) {
            calibratedRateBox_->setText(Qs(done.calibratedRateText));
        }
        liveCanvas_->RelabelForCurrentScale(stillThere ? line : nullptr);
        RefreshScaleOverlays();
    }
    liveCanvas_->Refresh();
}

}  // namespace lensora
