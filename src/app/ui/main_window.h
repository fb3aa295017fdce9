// The main window: the fixed-size instrument panel with the live canvas, the thumbnail strip
// and the buttons of every command. Every command is a QAction (tooltip, enabled state,
// shortcut) made from one table; the buttons and hotkeys trigger the actions. It owns its
// widgets and the live session; the program-wide state (AppState) is owned by the entry point
// and outlives the window. UI thread only.
#pragma once

#include <QMap>
#include <QPoint>
#include <QStringList>
#include <QWidget>
#include <filesystem>
#include <memory>
#include <vector>

#include <filesystem>
#include <memory>

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
class QtUserPrompts;
class SkinButton;
class SnapshotController;
class ThumbnailStrip;
enum class ExportKind;
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

    SkinButton* Button(int command) const { return buttons_.value(command); }
    QLineEdit* MagnificationBox() const { return magnificationBox_; }
    QLineEdit* CalibratedRateBox() const { return calibratedRateBox_; }
    LiveCanvas* Preview() const { return liveCanvas_; }
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

    AppState& app_;
    std::unique_ptr<QtUserPrompts> prompts_;
    std::unique_ptr<LiveSession> session_;
    QMap<int, QAction*> actions_;
    QMap<int, SkinButton*> buttons_;
    QMap<int, GroupFrame*> groups_;
    LiveCanvas* liveCanvas_ = nullptr;
    ThumbnailStrip* strip_ = nullptr;
    QWidget* zoomPad_ = nullptr;
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
    std::unique_ptr<SnapshotController> snapshots_;
    void SetUpSnapshots();
};

}  // namespace lensora
