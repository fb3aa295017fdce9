// The main window: the fixed-size instrument panel with the live canvas, the thumbnail strip
// and the buttons of every command. Every command is a QAction (tooltip, enabled state,
// shortcut) made from one table; the buttons and hotkeys trigger the actions. It owns its
// widgets and the live session; the program-wide state (AppState) is owned by the entry point
// and outlives the window. UI thread only.
//
// Still to be wired in: the camera's frame feed goes to the live canvas (LiveCanvas, fed
// from the frame store on the UI thread) and the thumbnail strip's open command to
// OpenPicture; see CreateControls.
#pragma once

#include <QMap>
#include <QPoint>
#include <QWidget>

#include <memory>

#include "base/ui/window_drag.h"

class QAction;
class QLineEdit;
class QLabel;
class QMenu;
class QTimer;

namespace lensora {

class AppState;
class GroupFrame;
class LiveCanvas;
class LiveSession;
class QtUserPrompts;
class SkinButton;
class ThumbnailStrip;

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
    QWidget* OpenPicture(const QString& path);

    // A calibration finished in the still window: take over its magnification, then its rate.
    void TakeCalibrationHandover(const QString& magnification, const QString& calibratedRate);

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
    void OnMagnificationChanged(const QString& text);
    bool InDragBand(const QPoint& pos) const;

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
    bool cameraConnected_ = false;
    WindowDrag drag_;
};

}  // namespace lensora
