// The main window's language menu and About box, and the thumbnail strip with its two folder
// buttons.
#include <QAbstractButton>
#include <QAction>
#include <QMenu>
#include <QScreen>

#include "app/app_state.h"
#include "app/main_buttons.h"
#include "app/ui/about_dialog.h"
#include "app/ui/main_window.h"
#include "base/ui/skin.h"
#include "base/ui/skin_button.h"
#include "base/ui/ui_text.h"
#include "library/ui/thumbnail_strip.h"

namespace lensora {

QMenu* MainWindow::BuildLanguageMenu() {
    auto* menu = new QMenu(this);
    menu->setObjectName(QStringLiteral("languageMenu"));
    const LanguageChoice current = app_.Language().current;
    for (const LanguageMenuEntry& entry : kLanguageMenu) {
        const bool isCurrent = IsCurrentLanguageEntry(entry, current);
        QAction* action = menu->addAction(skin::Icon(isCurrent ? QStringLiteral("menu-check.svg")
                                                               : QStringLiteral("menu-dot.svg")),
                                          Qs(GetText(entry.textKey, entry.defaultText, 128)));
        action->setData(entry.command);
        action->setCheckable(true);
        action->setChecked(isCurrent);
        connect(action, &QAction::triggered, this, [this, choice = entry.choice] {
            app_.ChooseLanguage(choice);
            RebuildTooltips();
        });
    }
    return menu;
}

void MainWindow::ShowLanguageMenu() {
    QMenu* menu = BuildLanguageMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    const SkinButton* button = buttons_[command::kLanguage];
    // Opens with its top-left corner at the button's left edge, 4 pixels above its bottom.
    QPoint at = button->mapToGlobal(QPoint(0, button->height() - 4));
    // Near the bottom of the screen the menu opens upwards instead of off-screen.
    if (QScreen* screen = button->screen()) {
        const int menuHeight = menu->sizeHint().height();
        if (at.y() + menuHeight > screen->availableGeometry().bottom()) {
            at.setY(button->mapToGlobal(QPoint(0, 0)).y() - menuHeight);
        }
    }
    menu->popup(at);
}

void MainWindow::ShowAbout() {
    auto* about = new AboutDialog(this);
    about->setAttribute(Qt::WA_DeleteOnClose);
    about->open();
}

// ---- Thumbnail browser ----
// The strip lists the folders of the data root; the two folder buttons choose which one. The
// strip works without a camera: it is how the pictures already taken are opened.

void MainWindow::SetUpBrowser() {
    const DataFolders& folders = app_.Folders();
    strip_->SetFolders(folders.pictureFolder, folders.videoFolder, folders.appFolder);
    connect(strip_, &ThumbnailStrip::OpenPictureRequested, this,
            [this](const std::filesystem::path& path) { OpenPicture(path); });
    connect(buttons_[command::kPictureFolder], &QAbstractButton::clicked, this,
            [this] { ShowBrowserFolder(false); });
    connect(buttons_[command::kVideoFolder], &QAbstractButton::clicked, this,
            [this] { ShowBrowserFolder(true); });
    ShowBrowserFolder(false);
}

void MainWindow::ShowBrowserFolder(bool videos) {
    buttons_[command::kPictureFolder]->setChecked(!videos);
    buttons_[command::kVideoFolder]->setChecked(videos);
    strip_->SetMode(videos ? BrowserMode::Videos : BrowserMode::Pictures);
}

}  // namespace lensora
