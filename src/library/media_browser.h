// The model of the thumbnail strip: the picture list and the video list, which of them is
// shown, the six cells, selection, scrolling and the corner-mark flags. Plain data; the strip
// widget turns events into calls here and paints what VisibleCells() returns. UI thread only.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lensora {

// Bits of BrowserItem::flags.
inline constexpr std::uint32_t kItemListed = 1;
inline constexpr std::uint32_t kItemUnsaved = 2;  // not yet saved elsewhere: the corner mark
inline constexpr std::uint32_t kItemSelected = 4;
inline constexpr std::uint32_t kNewPictureFlags = kItemListed | kItemUnsaved;
inline constexpr std::uint32_t kNewVideoFlags = kItemListed | kItemUnsaved | kItemSelected;

// Files shorter than this are not pictures (not even a BMP header fits).
inline constexpr std::uintmax_t kMinPictureBytes = 41;
inline constexpr int kCellCount = 6;

struct BrowserItem {
    std::string path;  // UTF-8, full path
    std::uint32_t flags = kNewPictureFlags;
};

enum class BrowserMode { Pictures, Videos };

// A cell in strip pixels; right and bottom are exclusive.
struct CellRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
};

// The six cells for a client area: width w = (clientWidth - 100) / 6, height clientHeight - 18,
// cell i at left i * (w + 14) + 16, top 9. Sizes below one pixel are raised to one.
std::array<CellRect, kCellCount> ComputeCells(int clientWidth, int clientHeight);

struct ScrollRange {
    int minimum = 0;
    int maximum = 5;
    int page = kCellCount;
    int position = 0;
    bool arrowsEnabled = false;
};

enum class ScrollRequest { LineLeft, LineRight, PageLeft, PageRight, Thumb, Left, Right, End };

// One ordered list with its first visible index and selected index (-1 when none).
struct MediaList {
    std::vector<BrowserItem> items;
    int firstVisible = 0;
    int selected = -1;

    int Count() const { return static_cast<int>(items.size()); }
    int IndexOf(std::string_view path) const;
    // Last index the scroll position can take: count - 1 above six items, else 5.
    int ScrollMaximum() const;
};

// One cell to draw.
struct VisibleCell {
    int cell = 0;   // 0..5
    int index = 0;  // into the current list
    const BrowserItem* item = nullptr;
};

class MediaBrowser {
  public:
    // Lists the folders: every regular file of at least 41 bytes in the picture folder and every
    // ".avi" file of the video folder, sorted by name. Both lists show their last six items.
    void FillLists(const std::string& pictureFolder, const std::string& videoFolder);

    BrowserMode Mode() const { return mode_; }
    void SetMode(BrowserMode mode) { mode_ = mode; }
    MediaList& Current() { return mode_ == BrowserMode::Pictures ? pictures_ : videos_; }
    const MediaList& Current() const {
        return mode_ == BrowserMode::Pictures ? pictures_ : videos_;
    }
    MediaList& Pictures() { return pictures_; }
    MediaList& Videos() { return videos_; }
    const std::string& CurrentFolder() const {
        return mode_ == BrowserMode::Pictures ? pictureFolder_ : videoFolder_;
    }
    const std::string& PictureFolder() const { return pictureFolder_; }
    const std::string& VideoFolder() const { return videoFolder_; }

    void SetClientSize(int width, int height) { cells_ = ComputeCells(width, height); }
    const std::array<CellRect, kCellCount>& Cells() const { return cells_; }

    // Appends a new snapshot (flags 3) or finished recording (flags 7), shows it in the fifth
    // cell (or from the start while the list has at most six items) and selects it. A path
    // already listed is selected and shown instead of being added twice.
    void AddPicture(const std::string& path);
    void AddVideo(const std::string& path);

    // Clears the selection, then selects the item in the cell under (x, y) of the current list.
    // True when an item was hit.
    bool SelectAt(int x, int y);
    // The selected item of the current list (flags 1 and 4), or null.
    const BrowserItem* GetSelected() const;
    BrowserItem* GetSelected();
    // Removes the item with that exact path from the current list. True when one was removed.
    bool RemoveItem(std::string_view path);
    void ClearSelection();
    void ClearList();
    // Save all: every item from the first visible one to the last gets flag 4 and the selected
    // index ends on the last item.
    void SelectFromFirstVisible();

    ScrollRange Range() const;
    // Moves the first visible index; `position` is used by Thumb.
    void Scroll(ScrollRequest request, int position = 0);

    // The items of the current list in their cells. Files that no longer exist are dropped from
    // the list first (the selection follows its item).
    std::vector<VisibleCell> VisibleCells();

    // Follows the folder on disk: files that appeared are appended (flags 3, not selected),
    // files that vanished are dropped. A recording still being written (see SetRecordingPath)
    // is left out. True when a list changed.
    bool SyncWithFolders();
    // The video being recorded now; it is listed when AddVideo hands it over. "" for none.
    void SetRecordingPath(std::string path) { recordingPath_ = std::move(path); }

  private:
    void Add(MediaList& list, const std::string& path, std::uint32_t flags);
    bool SyncList(MediaList& list, const std::vector<std::string>& present);
    void Erase(MediaList& list, int index);

    MediaList pictures_;
    MediaList videos_;
    BrowserMode mode_ = BrowserMode::Pictures;
    std::string pictureFolder_;
    std::string videoFolder_;
    std::string recordingPath_;
    std::array<CellRect, kCellCount> cells_ = ComputeCells(640, 99);
};

// File names of the picture folder that the picture list takes (full paths, sorted by name).
std::vector<std::string> ListPictureFiles(const std::string& folder);
// ".avi" files (any case of the extension) of the video folder, full paths sorted by name.
std::vector<std::string> ListVideoFiles(const std::string& folder);

}  // namespace lensora
