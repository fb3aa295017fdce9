// The strip of six thumbnails below the preview: the pictures of the picture folder or the
// recordings of the video folder, with selection, scrolling, the context menu of file commands,
// drops of pictures from other programs, and lists that follow the folders on disk.
// Thumbnails are decoded on a small pool of worker threads and cached; a cell shows a neutral
// placeholder until its thumbnail arrives. UI thread only (the workers touch only the cache).
#pragma once

#include <QList>
#include <QThreadPool>
#include <QUrl>
#include <QWidget>
#include <filesystem>
#include <memory>
#include <set>
#include <string>

#include "library/browser_commands.h"
#include "library/media_browser.h"
#include "library/thumbnail_cache.h"

class QFileSystemWatcher;
class QMenu;
class QScrollBar;
class QTimer;

namespace lensora {

class ThumbnailStrip : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kScrollBarHeight = 12;

    explicit ThumbnailStrip(QWidget* parent = nullptr);
    ~ThumbnailStrip() override;

    // The text shown while the current folder holds nothing to list.
    void SetEmptyText(const QString& text);

    // Lists both folders and follows them from now on. `appFolder` receives the JPEG copy of
    // an e-mailed BMP.
    void SetFolders(const std::string& pictureFolder, const std::string& videoFolder,
                    const std::string& appFolder);
    void SetMode(BrowserMode mode);
    BrowserMode Mode() const { return browser_.Mode(); }

    // A new snapshot or finished recording: listed, selected and shown.
    void AddPicture(const QString& path);
    void AddVideo(const QString& path);
    // The recording being written, left out of the list until AddVideo hands it over.
    void SetRecordingPath(const QString& path);

    MediaBrowser& Browser() { return browser_; }
    // The cell rectangle in widget coordinates.
    QRect CellRect(int cell) const;
    // The menu that a right click on a thumbnail opens; the caller owns it.
    QMenu* BuildContextMenu();
    void RunCommand(BrowserCommand command);
    // Files dropped onto the strip: pictures are copied into the picture folder, recordings into
    // the video folder (under a free name), and listed. Returns how many were copied.
    int AddDroppedFiles(const QList<QUrl>& urls);

    // Replace the message boxes, file choosers and mail hand-over (tests).
    void SetPrompts(UserPrompts* prompts) { prompts_ = prompts; }
    void SetDialogs(BrowserDialogs* dialogs) { dialogs_ = dialogs; }
    void SetLauncher(ProcessLauncher* launcher) { launcher_ = launcher; }

    // Thumbnails of the visible cells still being decoded.
    int PendingThumbnails() const { return static_cast<int>(pending_.size()); }
    // Waits until no decode runs (tests and benchmarks).
    void WaitForWorkers() { pool_.waitForDone(); }

  signals:
    // A picture chosen with Open or a double-click, for the still window.
    void OpenPictureRequested(const std::filesystem::path& path);
    // A video chosen with Open or a double-click; opened with the desktop's player unless a
    // receiver is connected.
    void OpenVideoRequested(const QString& path);
    void ThumbnailReady();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    void Refresh();
    void UpdateScrollBar();
    void RequestThumbnails(const std::vector<VisibleCell>& cells);
    void OnThumbnailDecoded(const QString& keyText);
    void OnFoldersChanged();
    void OpenSelected(const OpenRequest& request);
    void ShowContextMenu(const QPoint& globalPos);
    void DrawCell(QPainter& p, const QRect& r, const VisibleCell& cell);

    MediaBrowser browser_;
    std::shared_ptr<ThumbnailCache> cache_ = std::make_shared<ThumbnailCache>();
    std::set<QString> pending_;  // keys being decoded
    QThreadPool pool_;
    QScrollBar* scrollBar_ = nullptr;
    QFileSystemWatcher* watcher_ = nullptr;
    QTimer* syncTimer_ = nullptr;
    QString emptyText_;
    std::string appFolder_;
    bool updatingScrollBar_ = false;

    SystemFileOps files_;
    std::unique_ptr<UserPrompts> ownPrompts_;
    std::unique_ptr<BrowserDialogs> ownDialogs_;
    std::unique_ptr<ProcessLauncher> ownLauncher_;
    UserPrompts* prompts_ = nullptr;
    BrowserDialogs* dialogs_ = nullptr;
    ProcessLauncher* launcher_ = nullptr;
};

}  // namespace lensora
