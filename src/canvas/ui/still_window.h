// The still-image measurement window: a modeless window over the main window with a toolbar
// of tools and popup menus, the tool-name, scale and magnification boxes, its own caption
// buttons, and the canvas with the picture below them. Deletes itself when closed.
// UI thread only.
#pragma once

#include <QMap>
#include <QPointer>
#include <QWidget>

#include "base/ui/window_drag.h"

#include <filesystem>
#include <memory>

class QLineEdit;
class QMenu;

namespace lensora {

class CanvasServices;
class UserPrompts;
class SkinButton;
class StillCanvas;
enum class StillPopup;
enum class ExportKind;
struct ExportScale;

class StillWindow : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kCanvasTop = 60;

    // Opens the window for `path` over `owner`; when the file cannot be opened for reading it
    // shows "the picture not open,please check the file exist!" through `prompts` and returns
    // null, and when it cannot be decoded it names the file and the reason and returns null.
    // The window asks its own questions through `windowPrompts`, or through dialogs of its own
    // when that is null.
    static StillWindow* Open(CanvasServices& app, const std::filesystem::path& path, QWidget* owner,
                             UserPrompts& prompts, UserPrompts* windowPrompts = nullptr);

    StillWindow(CanvasServices& app, const std::filesystem::path& path, QWidget* owner,
                UserPrompts* prompts = nullptr);
    ~StillWindow() override;

    void OnCommand(int command);

    StillCanvas* Canvas() const { return canvas_; }
    QLineEdit* ToolNameBox() const { return toolNameBox_; }
    QLineEdit* ScaleBox() const { return scaleBox_; }
    QLineEdit* MagnificationBox() const { return magnificationBox_; }
    SkinButton* Button(int command) const { return buttons_.value(command); }
    bool Saved() const { return saved_; }
    // Measurements or image operations that no Save As has written yet.
    bool HasUnsavedWork() const;
    UserPrompts& Prompts() { return *prompts_; }
    // The popup menu of a toolbar button as it would open now; the caller owns it.
    QMenu* BuildPopup(StillPopup popup);

    // Save As with a given target (the dialog's answer); shows the outcome.
    bool SaveAnnotatedTo(const std::filesystem::path& path);
    // Rebuilds the canvas from the file: image operations and measurements are dropped, after
    // asking when any of them is unsaved.
    void Revert();
    // Maximise (the picture at its own size) or restore (the fit view); the measurements and
    // image operations stay.
    void ToggleMaximised();
    // The export commands: spreadsheet, report with the annotated picture, or drawing.
    void Export(ExportKind kind);
    // The scale the exports convert the canvas's records with.
    ExportScale CurrentExportScale() const;

  signals:
    // A calibration finished here: the main window takes over the magnification and rate.
    void CalibrationHandover(const QString& magnification, const QString& calibratedRate);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void CreateToolbar();
    void PlaceControls();
    // False when the picture cannot be decoded; loadFailure_ then says why.
    bool CreateCanvas(int displayMode);
    void ShowPopup(SkinButton* button, StillPopup popup);
    void ShowToolName(const QString& name);
    // True when the picture was written.
    bool SaveAs();

    CanvasServices& app_;
    std::unique_ptr<UserPrompts> ownPrompts_;
    UserPrompts* prompts_ = nullptr;
    std::filesystem::path path_;
    int pictureWidth_ = 0;
    int pictureHeight_ = 0;
    bool saved_ = false;
    // Image operations applied since the picture was loaded or last saved.
    bool filtered_ = false;
    // The record count at the last save, so that new measurements count as unsaved again.
    std::size_t recordsAtSave_ = 0;
    QString loadFailure_;
    StillCanvas* canvas_ = nullptr;
    QMap<int, SkinButton*> buttons_;
    SkinButton* minimiseButton_ = nullptr;
    SkinButton* maximiseButton_ = nullptr;
    SkinButton* closeButton_ = nullptr;
    QLineEdit* toolNameBox_ = nullptr;
    QLineEdit* scaleBox_ = nullptr;
    QLineEdit* magnificationBox_ = nullptr;
    WindowDrag drag_;
};

}  // namespace lensora
