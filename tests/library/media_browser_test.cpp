#include "library/media_browser.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/temp_dir.h"

namespace lensora {
namespace {

using test::TempDir;

std::string Bytes(std::size_t n) {
    return std::string(n, 'x');
}

// A picture folder with `count` files named p01.jpg.. and an empty video folder.
struct Folders {
    TempDir dir;
    std::string pictures = dir.Sub("Picture");
    std::string videos = dir.Sub("Video");
    Folders(int count) {
        std::filesystem::create_directories(pictures);
        std::filesystem::create_directories(videos);
        for (int i = 1; i <= count; ++i) {
            AddFile(i);
        }
    }
    std::string AddFile(int i) {
        char name[32];
        std::snprintf(name, sizeof name, "Picture/p%02d.jpg", i);
        return dir.Write(name, Bytes(100));
    }
};

TEST(MediaBrowserTest, SevenPicturesStartAtTheSecondAndASnapshotLeavesTheSixthCellEmpty) {
    Folders f(7);
    MediaBrowser b;
    b.FillLists(f.pictures, f.videos);
    ASSERT_EQ(b.Current().Count(), 7);
    ScrollRange r = b.Range();
    EXPECT_EQ(r.minimum, 0);
    EXPECT_EQ(r.maximum, 6);
    EXPECT_EQ(r.page, 6);
    EXPECT_EQ(r.position, 1);
    EXPECT_TRUE(r.arrowsEnabled);
    EXPECT_EQ(b.Current().firstVisible, 1);

    const std::string snap = f.AddFile(8);
    b.AddPicture(snap);
    EXPECT_EQ(b.Current().firstVisible, 3);
    EXPECT_EQ(b.Current().selected, 7);
    const auto cells = b.VisibleCells();
    ASSERT_EQ(cells.size(), 5u);  // cells 0..4; the sixth is empty
    EXPECT_EQ(cells.back().item->path, snap);
    EXPECT_EQ(cells.back().item->flags, kNewPictureFlags | kItemSelected);
    ASSERT_NE(b.GetSelected(), nullptr);
    EXPECT_EQ(b.GetSelected()->path, snap);

    // Added again (the folder watcher saw it first): selected, not listed twice.
    b.AddPicture(snap);
    EXPECT_EQ(b.Current().Count(), 8);
}

TEST(MediaBrowserTest, FewItemsForceTheScrollPositionToZero) {
    Folders f(3);
    MediaBrowser b;
    b.FillLists(f.pictures, f.videos);
    const ScrollRange r = b.Range();
    EXPECT_EQ(r.maximum, 5);
    EXPECT_EQ(r.position, 0);
    EXPECT_FALSE(r.arrowsEnabled);
    b.Scroll(ScrollRequest::Right);
    EXPECT_EQ(b.Current().firstVisible, 0);
}

TEST(MediaBrowserTest, ScrollRequestsMoveAndClamp) {
    Folders f(20);
    MediaBrowser b;
    b.FillLists(f.pictures, f.videos);
    EXPECT_EQ(b.Current().firstVisible, 14);
    b.Scroll(ScrollRequest::PageRight);
    EXPECT_EQ(b.Current().firstVisible, 19);  // clamped to the maximum, count - 1
    b.Scroll(ScrollRequest::Left);
    EXPECT_EQ(b.Current().firstVisible, 0);
    b.Scroll(ScrollRequest::LineLeft);
    EXPECT_EQ(b.Current().firstVisible, 0);
    b.Scroll(ScrollRequest::PageRight);
    b.Scroll(ScrollRequest::LineRight);
    EXPECT_EQ(b.Current().firstVisible, 7);
    b.Scroll(ScrollRequest::End);
    EXPECT_EQ(b.Current().firstVisible, 7);
    b.Scroll(ScrollRequest::Thumb, 12);
    EXPECT_EQ(b.Current().firstVisible, 12);
    b.Scroll(ScrollRequest::Thumb, -4);
    EXPECT_EQ(b.Current().firstVisible, 0);
}

TEST(MediaBrowserTest, FillListsKeepsFilesOfAtLeast41BytesAndOnlyAviVideos) {
    TempDir dir;
    std::filesystem::create_directories(dir.Sub("P"));
    std::filesystem::create_directories(dir.Sub("V"));
    std::filesystem::create_directories(dir.Sub("P/sub"));
    dir.Write("P/short.bmp", Bytes(30));
    dir.Write("P/forty.bmp", Bytes(40));
    dir.Write("P/fortyone.bmp", Bytes(41));
    dir.Write("P/notes.txt", Bytes(100));  // listed: the folder is the strip's
    dir.Write("V/a.avi", Bytes(10));
    dir.Write("V/b.AVI", Bytes(10));
    dir.Write("V/c.mp4", Bytes(10));
    MediaBrowser b;
    b.FillLists(dir.Sub("P"), dir.Sub("V"));
    ASSERT_EQ(b.Pictures().Count(), 2);
    EXPECT_EQ(b.Pictures().items[0].path, dir.Sub("P/fortyone.bmp"));
    EXPECT_EQ(b.Pictures().items[1].path, dir.Sub("P/notes.txt"));
    EXPECT_EQ(b.Pictures().items[0].flags, kNewPictureFlags);
    ASSERT_EQ(b.Videos().Count(), 2);
    EXPECT_EQ(b.Videos().items[1].path, dir.Sub("V/b.AVI"));
}

TEST(MediaBrowserTest, CellsAndSelectAt) {
    const auto cells = ComputeCells(640, 99);
    EXPECT_EQ(cells[0].left, 16);
    EXPECT_EQ(cells[0].top, 9);
    EXPECT_EQ(cells[0].Width(), 90);
    EXPECT_EQ(cells[0].Height(), 81);
    EXPECT_EQ(cells[1].left, 16 + 104);
    EXPECT_EQ(cells[5].right, 5 * 104 + 16 + 90);

    Folders f(4);
    MediaBrowser b;
    b.FillLists(f.pictures, f.videos);
    b.SetClientSize(640, 99);
    // Corners of cell 2 hit; one pixel past its right edge (the gap) does not.
    EXPECT_TRUE(b.SelectAt(cells[2].left, cells[2].top));
    EXPECT_EQ(b.Current().selected, 2);
    EXPECT_TRUE(b.SelectAt(cells[3].right - 1, cells[3].bottom - 1));
    EXPECT_EQ(b.Current().selected, 3);
    EXPECT_EQ(b.Current().items[2].flags & kItemSelected, 0u);
    EXPECT_FALSE(b.SelectAt(cells[2].right, cells[2].top + 5));
    EXPECT_EQ(b.Current().selected, -1);
    EXPECT_EQ(b.GetSelected(), nullptr);
    // Cell 4 holds no item with four pictures.
    EXPECT_FALSE(b.SelectAt(cells[4].left + 5, cells[4].top + 5));

    // The mode decides the list: the video list is empty.
    b.SelectAt(cells[0].left, cells[0].top);
    b.SetMode(BrowserMode::Videos);
    EXPECT_EQ(b.GetSelected(), nullptr);
    EXPECT_FALSE(b.SelectAt(cells[0].left, cells[0].top));
    b.SetMode(BrowserMode::Pictures);
    EXPECT_NE(b.GetSelected(), nullptr);
}

TEST(MediaBrowserTest, RemoveItemAndVanishedFilesKeepTheSelectionOnItsItem) {
    Folders f(8);
    MediaBrowser b;
    b.FillLists(f.pictures, f.videos);
    b.SetClientSize(640, 99);
    const auto& cells = b.Cells();
    ASSERT_TRUE(b.SelectAt(cells[5].left + 1, cells[5].top + 1));
    const std::string selected = b.GetSelected()->path;  // p08
    EXPECT_FALSE(b.RemoveItem(f.pictures + "/nothing.jpg"));
    EXPECT_TRUE(b.RemoveItem(f.pictures + "/p01.jpg"));
    EXPECT_EQ(b.Current().Count(), 7);
    ASSERT_NE(b.GetSelected(), nullptr);
    EXPECT_EQ(b.GetSelected()->path, selected);
    EXPECT_EQ(b.Current().items[b.Current().selected].path, selected);

    // Files deleted behind the strip's back vanish when it draws.
    std::filesystem::remove(f.pictures + "/p04.jpg");
    std::filesystem::remove(f.pictures + "/p08.jpg");
    const auto visible = b.VisibleCells();
    EXPECT_EQ(b.Current().Count(), 5);
    ASSERT_EQ(visible.size(), 5u);
    for (std::size_t i = 0; i < visible.size(); ++i) {
        EXPECT_EQ(visible[i].cell, int(i));
        EXPECT_TRUE(std::filesystem::exists(visible[i].item->path));
    }
    EXPECT_EQ(b.GetSelected(), nullptr);
    EXPECT_EQ(b.Current().selected, -1);
}

TEST(MediaBrowserTest, FolderSyncAddsNewFilesDropsGoneOnesAndWaitsForTheRecording) {
    Folders f(2);
    MediaBrowser b;
    b.FillLists(f.pictures, f.videos);
    EXPECT_FALSE(b.SyncWithFolders());
    f.AddFile(3);
    std::filesystem::remove(f.pictures + "/p01.jpg");
    TempDir& d = f.dir;
    const std::string recording = d.Write("Video/rec.avi", Bytes(10));
    b.SetRecordingPath(recording);
    EXPECT_TRUE(b.SyncWithFolders());
    ASSERT_EQ(b.Pictures().Count(), 2);
    EXPECT_EQ(b.Pictures().items[1].path, f.pictures + "/p03.jpg");
    EXPECT_EQ(b.Videos().Count(), 0);
    b.AddVideo(recording);
    ASSERT_EQ(b.Videos().Count(), 1);
    EXPECT_EQ(b.Videos().items[0].flags, kNewVideoFlags);
    EXPECT_FALSE(b.SyncWithFolders());
    EXPECT_EQ(b.Videos().Count(), 1);
}

TEST(MediaBrowserTest, SelectFromFirstVisibleMarksTheRestAndClearListEmpties) {
    Folders f(9);
    MediaBrowser b;
    b.FillLists(f.pictures, f.videos);
    b.SelectFromFirstVisible();
    EXPECT_EQ(b.Current().selected, 8);
    EXPECT_EQ(b.Current().items[2].flags & kItemSelected, 0u);
    for (int i = 3; i < 9; ++i) {
        EXPECT_NE(b.Current().items[i].flags & kItemSelected, 0u) << i;
    }
    b.ClearList();
    EXPECT_EQ(b.Current().Count(), 0);
    EXPECT_EQ(b.Current().selected, -1);
    EXPECT_EQ(b.Range().position, 0);
}

}  // namespace
}  // namespace lensora
