// The main window: the fixed-size instrument panel with the live preview, the thumbnail strip
// and the buttons of every command. It owns its widgets; the program-wide state (AppState)
// is owned by the entry point and outlives the window. UI thread only.
#pragma once

#include <QMap>
#include <QPoint>
#include <QWidget>
#include <memory>

#include "app/ui/window_drag.h"

class QLineEdit;
class QLabel;
class QMenu;
class QTimer;

namespace lensora {

class AppState;
class CameraService;
class GroupFrame;
class PictureMemory;
class PreviewWidget;
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
    PreviewWidget* Preview() const { return preview_; }
    QString GroupTitle(int controlId) const;

    // Opens a picture in a still-image window (from the thumbnail strip or the command line).
    QWidget* OpenPicture(const QString& path);

    // A calibration finished in the still window: take over its magnification, then its rate.
    void TakeCalibrationHandover(const QString& magnification, const QString& calibratedRate);

    // The camera: its frames go to the preview, its connection state switches the capture
    // controls and the connection message. Not owned; call before the first attempt.
    void AttachCamera(CameraService* camera);
    // The video settings dialog (modal), refilled while open when the camera comes or goes.
    void OpenVideoSettings();

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
    void PlaceButtons();
    void ShowLanguageMenu();
    void ShowAbout();
    void OnCalibratePromptTimer();
    void OnMagnificationChanged(const QString& text);
    bool InDragBand(const QPoint& pos) const;

    AppState& app_;
    QMap<int, SkinButton*> buttons_;
    QMap<int, GroupFrame*> groups_;
    PreviewWidget* preview_ = nullptr;
    ThumbnailStrip* strip_ = nullptr;
    QWidget* zoomPad_ = nullptr;
    QLabel* scaleLabel_ = nullptr;
    QLineEdit* magnificationBox_ = nullptr;
    QLineEdit* calibratedRateBox_ = nullptr;
    QTimer* calibratePromptTimer_ = nullptr;
    bool cameraConnected_ = false;
    WindowDrag drag_;
    void AttachVideoSettings(CameraService* camera);
    // Video settings: the attached camera and its per-camera picture memory.
    CameraService* camera_ = nullptr;
    std::unique_ptr<PictureMemory> pictureMemory_;
};

}  // namespace lensora
