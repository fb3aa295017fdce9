#include "library/ui/thumbnail_strip.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QUrl>
#include <filesystem>
#include <memory>

#include "app/app_state.h"
#include "app/main_buttons.h"
#include "app/ui/main_window.h"
#include "base/ui/skin_button.h"
#include "canvas/ui/still_window.h"
#include "platform/qt_settings_store.h"
#include "support/event_loop.h"
#include "support/fake_prompts.h"
#include "support/started_app.h"
#include "support/temp_dir.h"
#include "support/test_media.h"

namespace lensora {
namespace {

using test::TempDir;
using test::WaitUntil;

void Click(QWidget* w, QPoint at, QEvent::Type type, Qt::MouseButton button = Qt::LeftButton) {
    QMouseEvent event(type, QPointF(at), QPointF(w->mapToGlobal(at)), button, button,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(w, &event);
}

class ThumbnailStripTest : public ::testing::Test {
  protected:
    void Start() {
        test::StartApp(dir, store, app);
        window = std::make_unique<MainWindow>(*app);
        window->show();
        strip = window->Strip();
    }
    std::string PictureFolder() const { return app->Folders().pictureFolder; }
    // The colour inside a cell (at its middle, or `inset` pixels from its top-left corner)
    // once its thumbnail is painted.
    QColor CellColour(int cell, int inset = -1) {
        // A paint asks for the thumbnails it lacks; a paint that asked for none shows them all.
        QImage shot;
        EXPECT_TRUE(WaitUntil([&] {
            strip->WaitForWorkers();
            QCoreApplication::processEvents();
            shot = strip->grab().toImage();
            return strip->PendingThumbnails() == 0;
        }));
        const QRect r = strip->CellRect(cell);
        return shot.pixelColor(inset < 0 ? r.center() : r.topLeft() + QPoint(inset, inset));
    }

    TempDir dir;
    std::unique_ptr<QtSettingsStore> store;
    std::unique_ptr<AppState> app;
    std::unique_ptr<MainWindow> window;
    ThumbnailStrip* strip = nullptr;
};

TEST_F(ThumbnailStripTest, NewPictureIsTheSelectedLastCellAndDoubleClickOpensIt) {
    // The data folders are made on the first start; fill them and start again.
    Start();
    window.reset();
    for (int i = 1; i <= 7; ++i) {
        ASSERT_TRUE(test::WritePicture(PictureFolder() + "/Still_N000" + std::to_string(i) + ".jpg",
                                       320, 240, 20, 20, 200));
    }
    Start();
    ASSERT_EQ(strip->Browser().Current().Count(), 7);
    EXPECT_TRUE(window->Button(command::kPictureFolder)->isEnabled());
    EXPECT_TRUE(window->Button(command::kPictureFolder)->isChecked());

    const std::string snap = PictureFolder() + "/Still_N0008.jpg";
    ASSERT_TRUE(test::WritePicture(snap, 640, 480, 230, 200, 20));
    strip->AddPicture(QString::fromStdString(snap));
    const MediaList& list = strip->Browser().Current();
    EXPECT_EQ(list.Count(), 8);
    EXPECT_EQ(list.selected, 7);
    const int cell = list.selected - list.firstVisible;
    EXPECT_EQ(cell, 4);  // the last filled cell; the sixth waits for the next snapshot
    const QColor shown = CellColour(cell);
    EXPECT_NEAR(shown.red(), 230, 6);
    EXPECT_NEAR(shown.green(), 200, 6);
    EXPECT_NEAR(shown.blue(), 20, 8);
    EXPECT_NEAR(CellColour(cell - 1).blue(), 200, 8);
    // The sixth cell stays background.
    EXPECT_NE(CellColour(5), shown);

    // The watcher sees the same file: still one item.
    WaitUntil([] { return false; }, 500);
    EXPECT_EQ(strip->Browser().Current().Count(), 8);

    const QPoint at = strip->CellRect(2).center();
    Click(strip, at, QEvent::MouseButtonPress);
    Click(strip, at, QEvent::MouseButtonRelease);
    Click(strip, at, QEvent::MouseButtonDblClick);
    StillWindow* still = nullptr;
    ASSERT_TRUE(WaitUntil([&] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if ((still = qobject_cast<StillWindow*>(w)) != nullptr && w->isVisible()) {
                return true;
            }
        }
        return false;
    }));
    EXPECT_EQ(strip->Browser().GetSelected()->path,
              PictureFolder() + "/Still_N0006.jpg");  // first visible is 3
}

TEST_F(ThumbnailStripTest, FolderButtonsSwitchListsAndTheStripFollowsTheFolders) {
    Start();
    ASSERT_TRUE(
        test::WriteAvi(app->Folders().videoFolder + "/Video_1.avi", 160, 120, 3, 10, 200, 10));
    window->Button(command::kVideoFolder)->click();
    EXPECT_EQ(strip->Mode(), BrowserMode::Videos);
    EXPECT_TRUE(window->Button(command::kVideoFolder)->isChecked());
    EXPECT_FALSE(window->Button(command::kPictureFolder)->isChecked());
    // Appears through the folder watcher, and its first frame becomes the thumbnail.
    ASSERT_TRUE(WaitUntil([&] { return strip->Browser().Current().Count() == 1; }));
    const QColor frame = CellColour(0);
    EXPECT_NEAR(frame.green(), 200, 12);
    EXPECT_LT(frame.red(), 40);

    window->Button(command::kPictureFolder)->click();
    EXPECT_EQ(strip->Mode(), BrowserMode::Pictures);
    // A file that does not decode gets the broken mark, not a neighbour's pixels.
    const std::string junk = PictureFolder() + "/junk.jpg";
    ASSERT_TRUE(test::WritePicture(PictureFolder() + "/a.jpg", 64, 48, 250, 250, 250));
    std::FILE* f = std::fopen(junk.c_str(), "wb");
    std::fputs("not a picture, but longer than forty-one bytes of text......", f);
    std::fclose(f);
    ASSERT_TRUE(WaitUntil([&] { return strip->Browser().Current().Count() == 2; }));
    const QColor good = CellColour(0, 4);
    const QColor broken = CellColour(1, 4);
    EXPECT_GT(good.red(), 240);
    EXPECT_LT(broken.red(), 120);

    // Deleted elsewhere: dropped from the list.
    std::filesystem::remove(junk);
    ASSERT_TRUE(WaitUntil([&] { return strip->Browser().Current().Count() == 1; }));
}

TEST_F(ThumbnailStripTest, ContextMenuDeleteAndDroppedPictures) {
    Start();
    test::FakePrompts prompts;
    strip->SetPrompts(&prompts);
    const std::string outside = dir.Sub("elsewhere.jpg");
    ASSERT_TRUE(test::WritePicture(outside, 50, 40, 1, 2, 3));
    const QList<QUrl> urls{QUrl::fromLocalFile(QString::fromStdString(outside)),
                           QUrl::fromLocalFile(QString::fromStdString(dir.Sub("notes.txt")))};
    dir.Write("notes.txt", std::string(100, 'n'));
    EXPECT_EQ(strip->AddDroppedFiles(urls), 1);  // only what the strip can show
    EXPECT_EQ(strip->AddDroppedFiles(urls), 1);  // again: a second name, not a replaced file
    ASSERT_EQ(strip->Browser().Current().Count(), 2);
    EXPECT_TRUE(std::filesystem::exists(PictureFolder() + "/elsewhere.jpg"));
    EXPECT_TRUE(std::filesystem::exists(PictureFolder() + "/elsewhere (2).jpg"));
    EXPECT_TRUE(std::filesystem::exists(outside));

    std::unique_ptr<QMenu> menu(strip->BuildContextMenu());
    QStringList texts;
    for (QAction* a : menu->actions()) {
        texts << a->text();
    }
    EXPECT_EQ(texts,
              QStringList({"Open", "Save as...", "Save All", "Delete", "Delete All", "E-Mail"}));
    menu->actions()[3]->trigger();  // Delete the selected, newest copy
    EXPECT_EQ(prompts.asked.back(), "Are you sure to delete?");
    EXPECT_FALSE(std::filesystem::exists(PictureFolder() + "/elsewhere (2).jpg"));
    EXPECT_EQ(strip->Browser().Current().Count(), 1);
}

}  // namespace
}  // namespace lensora
