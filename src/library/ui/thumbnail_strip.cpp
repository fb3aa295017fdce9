#include "library/ui/thumbnail_strip.h"

#include <QDesktopServices>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QMenu>
#include <QMetaMethod>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScrollBar>
#include <QTimer>
#include <QUrl>
#include <QWheelEvent>

#include "base/ui/skin.h"
#include "library/browser_texts.h"
#include "library/ui/browser_dialogs.h"
#include "platform/qt_process_launcher.h"
#include "platform/qt_user_prompts.h"

namespace lensora {

namespace {

// The strip's pens: the focus frame and, inverted, the corner mark of unsaved files.
const QColor kFocusColour(12, 191, 0);
const QColor kCornerMarkColour(243, 63, 255);
const QColor kPlaceholder(0x1D, 0x25, 0x2C);
const QColor kPlaceholderLine(0x2C, 0x37, 0x41);
const QColor kBrokenFill(0x2A, 0x1C, 0x1E);
const QColor kBrokenLine(0xB0, 0x5A, 0x5A);
// Folder changes come in bursts (a copy writes, renames, touches); one look after the burst.
constexpr int kSyncDelayMs = 300;

QString Qs(const std::string& s) {
    return QString::fromStdString(s);
}

std::string Lower(std::string s) {
    for (char& c : s) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return s;
}

// A name in `folder` that no file has yet: "name.jpg", then "name (2).jpg", ...
QString FreeName(const QString& folder, const QFileInfo& source) {
    const QDir dir(folder);
    QString name = source.fileName();
    for (int n = 2; QFileInfo::exists(dir.filePath(name)); ++n) {
        name =
            QStringLiteral("%1 (%2).%3").arg(source.completeBaseName()).arg(n).arg(source.suffix());
    }
    return dir.filePath(name);
}

}  // namespace

ThumbnailStrip::ThumbnailStrip(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("thumbnailStrip"));
    setAcceptDrops(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    pool_.setMaxThreadCount(2);

    scrollBar_ = new QScrollBar(Qt::Horizontal, this);
    scrollBar_->setObjectName(QStringLiteral("stripScrollBar"));
    scrollBar_->setPageStep(kCellCount);
    connect(scrollBar_, &QScrollBar::valueChanged, this, [this](int value) {
        if (!updatingScrollBar_) {
            browser_.Scroll(ScrollRequest::Thumb, value);
            Refresh();
        }
    });

    watcher_ = new QFileSystemWatcher(this);
    syncTimer_ = new QTimer(this);
    syncTimer_->setSingleShot(true);
    syncTimer_->setInterval(kSyncDelayMs);
    connect(watcher_, &QFileSystemWatcher::directoryChanged, syncTimer_,
            qOverload<>(&QTimer::start));
    connect(syncTimer_, &QTimer::timeout, this, &ThumbnailStrip::OnFoldersChanged);

    ownPrompts_ = std::make_unique<QtUserPrompts>(this);
    ownDialogs_ = std::make_unique<QtBrowserDialogs>(this);
    ownLauncher_ = std::make_unique<QtProcessLauncher>();
    prompts_ = ownPrompts_.get();
    dialogs_ = ownDialogs_.get();
    launcher_ = ownLauncher_.get();
    UpdateScrollBar();
}

ThumbnailStrip::~ThumbnailStrip() {
    // No worker may outlive the strip: the queued ones are dropped, running ones finish.
    pool_.clear();
    pool_.waitForDone();
}

void ThumbnailStrip::SetEmptyText(const QString& text) {
    emptyText_ = text;
    update();
}

void ThumbnailStrip::SetFolders(const std::string& pictureFolder, const std::string& videoFolder,
                                const std::string& appFolder) {
    appFolder_ = appFolder;
    browser_.FillLists(pictureFolder, videoFolder);
    if (!watcher_->directories().isEmpty()) {
        watcher_->removePaths(watcher_->directories());
    }
    for (const std::string& folder : {pictureFolder, videoFolder}) {
        if (QFileInfo(Qs(folder)).isDir()) {
            watcher_->addPath(Qs(folder));
        }
    }
    Refresh();
}

void ThumbnailStrip::SetMode(BrowserMode mode) {
    browser_.SetMode(mode);
    Refresh();
}

void ThumbnailStrip::AddPicture(const QString& path) {
    browser_.AddPicture(path.toStdString());
    Refresh();
}

void ThumbnailStrip::AddVideo(const QString& path) {
    browser_.AddVideo(path.toStdString());
    Refresh();
}

void ThumbnailStrip::SetRecordingPath(const QString& path) {
    browser_.SetRecordingPath(path.toStdString());
}

QRect ThumbnailStrip::CellRect(int cell) const {
    const lensora::CellRect& c = browser_.Cells()[cell];
    return QRect(c.left, c.top, c.Width(), c.Height());
}

void ThumbnailStrip::Refresh() {
    // Thumbnails queued for cells that are no longer shown are not needed any more.
    pool_.clear();
    pending_.clear();
    UpdateScrollBar();
    update();
}

void ThumbnailStrip::UpdateScrollBar() {
    const ScrollRange range = browser_.Range();
    updatingScrollBar_ = true;
    scrollBar_->setRange(range.minimum, range.maximum);
    scrollBar_->setPageStep(range.page);
    scrollBar_->setValue(range.position);
    scrollBar_->setEnabled(range.arrowsEnabled);
    updatingScrollBar_ = false;
}

void ThumbnailStrip::resizeEvent(QResizeEvent*) {
    scrollBar_->setGeometry(1, height() - kScrollBarHeight - 1, width() - 2, kScrollBarHeight);
    browser_.SetClientSize(width(), height() - kScrollBarHeight);
}

void ThumbnailStrip::OnFoldersChanged() {
    if (browser_.SyncWithFolders()) {
        Refresh();
    }
}

void ThumbnailStrip::RequestThumbnails(const std::vector<VisibleCell>& cells) {
    const lensora::CellRect& size = browser_.Cells()[0];
    const bool video = browser_.Mode() == BrowserMode::Videos;
    for (const VisibleCell& cell : cells) {
        const std::optional<ThumbnailKey> key =
            KeyOfFile(cell.item->path, size.Width(), size.Height());
        if (!key || cache_->Find(*key) != nullptr) {
            continue;
        }
        const QString keyText = Qs(key->Text());
        if (!pending_.insert(keyText).second) {
            continue;
        }
        pool_.start([this, cache = cache_, key = *key, video, keyText] {
            auto thumbnail = std::make_shared<Thumbnail>(
                video ? MakeVideoThumbnail(key.path, key.width, key.height)
                      : MakePictureThumbnail(key.path, key.width, key.height));
            cache->Insert(key, std::move(thumbnail));
            // The strip waits for every worker before it goes, so it is still here.
            QMetaObject::invokeMethod(
                this, [this, keyText] { OnThumbnailDecoded(keyText); }, Qt::QueuedConnection);
        });
    }
}

void ThumbnailStrip::OnThumbnailDecoded(const QString& keyText) {
    pending_.erase(keyText);
    update();
    emit ThumbnailReady();
}

void ThumbnailStrip::DrawCell(QPainter& p, const QRect& r, const VisibleCell& cell) {
    const std::optional<ThumbnailKey> key = KeyOfFile(cell.item->path, r.width(), r.height());
    const std::shared_ptr<const Thumbnail> thumb = key ? cache_->Find(*key) : nullptr;
    if (thumb != nullptr && !thumb->broken) {
        // Wraps the cached pixels without a copy; the thumbnail stays alive through the paint.
        const QImage image(thumb->bgr.data(), thumb->width, thumb->height, thumb->width * 3,
                           QImage::Format_BGR888);
        p.drawImage(r, image);
        if (browser_.Mode() == BrowserMode::Videos) {
            // A small play mark tells recordings from pictures.
            const QPointF o(r.left() + 6, r.bottom() - 16);
            QPainterPath play;
            play.moveTo(o);
            play.lineTo(o + QPointF(0, 11));
            play.lineTo(o + QPointF(9, 5.5));
            play.closeSubpath();
            p.setRenderHint(QPainter::Antialiasing, true);
            p.fillPath(play, QColor(255, 255, 255, 210));
            p.setRenderHint(QPainter::Antialiasing, false);
        }
    } else if (thumb != nullptr) {
        // The file did not decode: a torn picture, never another file's pixels.
        p.fillRect(r, kBrokenFill);
        const QRect icon(r.center().x() - 16, r.center().y() - 12, 32, 24);
        p.setPen(QPen(kBrokenLine, 1.5));
        p.setBrush(Qt::NoBrush);
        p.setRenderHint(QPainter::Antialiasing, true);
        p.drawRect(icon);
        const QPointF crack[] = {{icon.left() + 14.0, double(icon.top())},
                                 {icon.left() + 10.0, icon.top() + 9.0},
                                 {icon.left() + 18.0, icon.top() + 14.0},
                                 {icon.left() + 13.0, double(icon.bottom())}};
        p.drawPolyline(crack, 4);
        p.setRenderHint(QPainter::Antialiasing, false);
    } else {
        p.fillRect(r, kPlaceholder);
        p.setPen(QPen(kPlaceholderLine, 1));
        p.drawRect(r.adjusted(0, 0, -1, -1));
    }
    if (cell.item->flags & kItemUnsaved) {
        // Corner mark: down the right edge from three quarters of the height, and along the
        // bottom from three quarters of the width, on the cell grown by two pixels.
        const QRect m = r.adjusted(-2, -2, 2, 2);
        p.setPen(QPen(kCornerMarkColour, 2, Qt::SolidLine, Qt::FlatCap));
        p.drawLine(QPoint(m.right(), m.top() + m.height() * 3 / 4), m.bottomRight());
        p.drawLine(QPoint(m.left() + m.width() * 3 / 4, m.bottom()),
                   QPoint(m.right() - 2, m.bottom()));
    }
}

void ThumbnailStrip::paintEvent(QPaintEvent*) {
    const int countBefore = browser_.Current().Count();
    const std::vector<VisibleCell> cells = browser_.VisibleCells();
    if (browser_.Current().Count() != countBefore) {
        UpdateScrollBar();
    }

    QPainter p(this);
    p.fillRect(rect(), skin::kBackground);
    QPainterPath frame;
    frame.addRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.fillPath(frame, QColor(0x10, 0x16, 0x1B));
    p.setPen(QPen(skin::kPanelBorder, 1));
    p.drawPath(frame);
    p.setRenderHint(QPainter::Antialiasing, false);

    for (const VisibleCell& cell : cells) {
        DrawCell(p, CellRect(cell.cell), cell);
    }
    const MediaList& list = browser_.Current();
    const int selectedCell = list.selected - list.firstVisible;
    if (list.selected >= 0 && selectedCell >= 0 && selectedCell < kCellCount &&
        selectedCell < static_cast<int>(cells.size())) {
        p.setPen(QPen(kFocusColour, 2, Qt::DotLine));
        p.setBrush(Qt::NoBrush);
        p.drawRect(CellRect(selectedCell).adjusted(-2, -2, 2, 2));
    }
    if (cells.empty() && !emptyText_.isEmpty()) {
        p.setPen(skin::kTextDim);
        p.setFont(skin::UiFont(12));
        p.drawText(rect().adjusted(0, 0, 0, -kScrollBarHeight), Qt::AlignCenter, emptyText_);
    }
    RequestThumbnails(cells);
}

void ThumbnailStrip::mousePressEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    if (event->button() == Qt::LeftButton) {
        browser_.SelectAt(pos.x(), pos.y());
        update();
    } else if (event->button() == Qt::RightButton) {
        const bool hit = browser_.SelectAt(pos.x(), pos.y());
        update();
        if (hit) {
            ShowContextMenu(event->globalPosition().toPoint());
        }
    }
    event->accept();
}

void ThumbnailStrip::mouseDoubleClickEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    if (event->button() == Qt::LeftButton && browser_.SelectAt(pos.x(), pos.y())) {
        update();
        const BrowserItem* item = browser_.GetSelected();
        OpenSelected(OpenRequest{KindOfFile(item->path), item->path});
    }
    event->accept();
}

void ThumbnailStrip::wheelEvent(QWheelEvent* event) {
    const QPoint delta = event->angleDelta();
    const int steps = delta.y() != 0 ? delta.y() : delta.x();
    if (steps != 0) {
        browser_.Scroll(steps > 0 ? ScrollRequest::LineLeft : ScrollRequest::LineRight);
        Refresh();
    }
    event->accept();
}

QMenu* ThumbnailStrip::BuildContextMenu() {
    auto* menu = new QMenu(this);
    menu->setObjectName(QStringLiteral("stripMenu"));
    const std::pair<TextKey, BrowserCommand> entries[] = {
        {text::kMenuOpen, BrowserCommand::Open},
        {text::kMenuSave, BrowserCommand::SaveAs},
        {text::kMenuSaveAll, BrowserCommand::SaveAll},
        {text::kMenuDelete, BrowserCommand::Delete},
        {text::kMenuDeleteAll, BrowserCommand::DeleteAll},
        {text::kMenuEmail, BrowserCommand::Email},
    };
    for (const auto& [key, command] : entries) {
        QAction* action = menu->addAction(Qs(GetText(key, 128)));
        connect(action, &QAction::triggered, this, [this, c = command] { RunCommand(c); });
    }
    return menu;
}

void ThumbnailStrip::ShowContextMenu(const QPoint& globalPos) {
    QMenu* menu = BuildContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(globalPos);
}

void ThumbnailStrip::RunCommand(BrowserCommand command) {
    BrowserCommands commands(browser_, {*prompts_, *dialogs_, files_, *launcher_, appFolder_});
    const OpenRequest request = commands.Run(command);
    Refresh();
    if (command == BrowserCommand::Open) {
        OpenSelected(request);
    }
}

void ThumbnailStrip::OpenSelected(const OpenRequest& request) {
    if (request.kind == FileKind::Picture) {
        emit OpenPictureRequested(std::filesystem::path(request.path));
    } else if (request.kind == FileKind::Video) {
        if (isSignalConnected(QMetaMethod::fromSignal(&ThumbnailStrip::OpenVideoRequested))) {
            emit OpenVideoRequested(Qs(request.path));
        } else {
            QDesktopServices::openUrl(QUrl::fromLocalFile(Qs(request.path)));
        }
    }
}

void ThumbnailStrip::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) {
        for (const QUrl& url : event->mimeData()->urls()) {
            if (url.isLocalFile()) {
                event->acceptProposedAction();
                return;
            }
        }
    }
}

void ThumbnailStrip::dropEvent(QDropEvent* event) {
    AddDroppedFiles(event->mimeData()->urls());
    event->acceptProposedAction();
}

int ThumbnailStrip::AddDroppedFiles(const QList<QUrl>& urls) {
    int added = 0;
    for (const QUrl& url : urls) {
        const QFileInfo source(url.toLocalFile());
        if (!url.isLocalFile() || !source.isFile()) {
            continue;
        }
        const std::string ext = Lower(source.suffix().toStdString());
        const bool picture = ext == "jpg" || ext == "bmp";
        const bool video = ext == "avi";
        if (!picture && !video) {
            continue;  // only what the strip can show
        }
        const QString folder = Qs(picture ? browser_.PictureFolder() : browser_.VideoFolder());
        if (source.absoluteDir() == QDir(folder)) {
            continue;  // already there
        }
        const QString target = FreeName(folder, source);
        std::string error;
        if (!files_.Copy(source.absoluteFilePath().toStdString(), target.toStdString(), error)) {
            prompts_->Show(source.fileName().toStdString() + "\n" + error, PromptIcon::Error);
            break;
        }
        if (picture) {
            browser_.AddPicture(target.toStdString());
        } else {
            browser_.AddVideo(target.toStdString());
        }
        ++added;
    }
    Refresh();
    return added;
}

}  // namespace lensora
