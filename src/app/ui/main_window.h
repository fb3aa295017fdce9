// The main window: the fixed-size instrument panel with the live canvas, the thumbnail strip
// and the buttons of every command. Every command is a QAction (tooltip, enabled state,
// shortcut) made from one table; the buttons and hotkeys trigger the actions. It owns its
// widgets and the live session; the program-wide state (AppState) is owned by the entry point
// and outlives the window. UI thread only.
#pragma once

#include <QList>
#include <QMap>
#include <QPoint>
#include <QPointer>
#include <QRect>
#include <QStringList>
#include <QWidget>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "base/ui/window_drag.h"
#include "measure/record_lists.h"

class QAction;
class QLineEdit;
class QLabel;
class QMenu;
class QTimer;

namespace lensora {

class AppState;
class CameraService;
class GroupFrame;
class LiveCanvas;
class LiveSession;
class PictureMemory;
class QtSoundPlayer;
class QtUserPrompts;
class RecordingController;
class SkinButton;
class SnapshotController;
class ThumbnailStrip;
class UserPrompts;
class ZoomPad;
enum class ExportKind;
enum class LiveOverlay;
struct ExportScale;

class MainWindow : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kWidth = 868;
    static constexpr int kHeight = 650;
    static constexpr int kCalibratePromptTimer = 1006;
    static constexpr int kCalibratePromptDelayMs = 100;

    explicit MainWindow(AppState& app, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Runs one command of the panel, menus or hotkeys.
    void OnCommand(int command);
    // The action of a command (a button's, or one of the hotkeys F3, F4, F10, F11, F12).
    QAction* Action(int command) const { return actions_.value(command); }
    LiveSession& Session() { return *session_; }

    // Rereads every visible text in the current language: caption, tooltips, group labels.
    void RebuildTooltips();

    // Enables the panel when a camera connects; disables it when none is connected, so that
    // only the window's own buttons, the language menu and the About box respond.
    void EnableCaptureControls();
    void DisableCaptureControls();

    // The language menu as it would open now; the caller owns it.
    QMenu* BuildLanguageMenu();
    // The preview's context menu as it would open now (Cancel, the four overlay switches and
    // the snapshot format); the caller owns it.
    QMenu* BuildPreviewMenu();
    // The switches of the preview menu. The scale overlays (cross ruler, rings) turn on only
    // with a rate in CalibratedRateBox or MagnificationBox; all four act only while a camera
    // is connected. Returns whether the overlay is on afterwards.
    bool ToggleOverlay(LiveOverlay overlay);
    // The snapshot file type: 1 BMP, 2 JPEG; written to the settings at once.
    void SetSnapshotFileType(int type);

    // Preview pause and resume (1014): a paused preview keeps its last frame on screen.
    bool PreviewRunning() const { return previewRunning_; }

    // Full screen (1176): the live picture covers the screen, Escape restores the panel.
    void EnterFullScreen();
    void LeaveFullScreen();
    bool IsFullScreen() const { return fullScreen_; }

    // Line calibration on the live picture (1197): the parallel line tool measures the
    // calibration line, whose actual distance is then asked.
    bool StartLineCalibration();
    // Asks the calibration line's actual distance; the ActualDistanceDialog when empty.
    std::function<std::optional<double>(const QString& unitName, double pixelLength)>
        askActualDistance;

    // Message boxes of the window; tests put their own in place (null: the window's own).
    void OverridePrompts(UserPrompts* prompts) { promptsOverride_ = prompts; }
    UserPrompts& Prompts();

    SkinButton* Button(int command) const { return buttons_.value(command); }
    QLineEdit* MagnificationBox() const { return magnificationBox_; }
    QLineEdit* CalibratedRateBox() const { return calibratedRateBox_; }
    LiveCanvas* Preview() const { return liveCanvas_; }
    ZoomPad* Zoom() const { return zoomPad_; }
    QString GroupTitle(int controlId) const;

    // Opens a picture in a still-image window (from the thumbnail strip or the command line).
    QWidget* OpenPicture(const std::filesystem::path& path);
    // Opens a picture from outside (the command line, or a second start handing it over) and
    // brings its window to the front. While the start-up calibration prompt is pending or open
    // the picture waits for it, so neither hides the other.
    void OpenPictureInFront(const std::filesystem::path& path);

    // A calibration finished in the still window: take over its magnification, then its rate.
    void TakeCalibrationHandover(const QString& magnification, const QString& calibratedRate);

    // The camera: its frames go to the preview, its connection state switches the capture
    // controls and the connection message. Not owned; call before the first attempt.
    void AttachCamera(CameraService* camera);
    // The video settings dialog (modal), refilled while open when the camera comes or goes.
    void OpenVideoSettings();
    // The recording commands; null until a camera is attached.
    RecordingController* Recording() const { return recording_.get(); }

    // ---- Thumbnail browser: the strip and the folder buttons 1201 / 1202 ----
    ThumbnailStrip* Strip() const { return strip_; }
    // Browser mode: the strip lists the video folder (true) or the picture folder (false).
    void ShowBrowserFolder(bool videos);
    // The live view's measurements, which the exports write.
    LiveRecords& LiveRecordList();
    // The export commands over the live records: spreadsheet, report, drawing.
    void ExportLive(ExportKind kind);
    // The scale the live records are exported with (640 x 480 frame pixels, y down).
    ExportScale LiveExportScale() const;
    // Snapshots, the grab into memory and the camera-button switch.
    SnapshotController& Snapshots() { return *snapshots_; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void CreateControls();
    void CreateActions();
    void SetCommandEnabled(int command, bool on);
    void PlaceButtons();
    void ShowLanguageMenu();
    void ShowAbout();
    void OnCalibratePromptTimer();
    void OpenPendingPictures();
    void OnMagnificationChanged(const QString& text);
    bool InDragBand(const QPoint& pos) const;
    void SetUpBrowser();
    void SetUpPreviewMenu();
    void ShowPreviewMenu(const QPoint& globalPos);
    void TogglePreview();
    void OpenMeasureSetting();
    void OpenTimer();
    void ChooseLiveTool(int command);
    void LineStored(MeasureRecord& line);
    void FinishLineCalibration(MeasureRecord* line, double pixelLength);
    // The ruler's and rings' pixels per unit from the rate the live view measures with.
    void RefreshScaleOverlays();
    double LiveRate() const;
    void ShowZoom(QPoint client);

    AppState& app_;
    std::unique_ptr<QtUserPrompts> prompts_;
    std::unique_ptr<LiveSession> session_;
    QMap<int, QAction*> actions_;
    QMap<int, SkinButton*> buttons_;
    QMap<int, GroupFrame*> groups_;
    LiveCanvas* liveCanvas_ = nullptr;
    ThumbnailStrip* strip_ = nullptr;
    ZoomPad* zoomPad_ = nullptr;
    UserPrompts* promptsOverride_ = nullptr;
    bool previewRunning_ = true;
    bool fullScreen_ = false;
    bool minimised_ = false;
    QRect normalGeometry_;
    QList<QPointer<QWidget>> hiddenForFullScreen_;
    QLabel* scaleLabel_ = nullptr;
    QLineEdit* magnificationBox_ = nullptr;
    QLineEdit* calibratedRateBox_ = nullptr;
    QTimer* calibratePromptTimer_ = nullptr;
    bool calibratePromptOpen_ = false;
    std::vector<std::filesystem::path> pendingPictures_;
    bool cameraConnected_ = false;
    WindowDrag drag_;
    void AttachVideoSettings(CameraService* camera);
    // Video settings: the attached camera and its per-camera picture memory.
    CameraService* camera_ = nullptr;
    std::unique_ptr<PictureMemory> pictureMemory_;
    // Recording (record button, F3/F4, clock): made when the camera is attached.
    std::unique_ptr<RecordingController> recording_;
    void ShowRecordingState(bool on);
    // The timed capture dialog (1007), while a camera is connected.
    void OpenTimedCapture();
    std::unique_ptr<SnapshotController> snapshots_;
    // The program's sounds (snapshot shutter, recording start/stop and time limit).
    QtSoundPlayer* sounds_ = nullptr;
    void SetUpSnapshots();
};

}  // namespace lensora
