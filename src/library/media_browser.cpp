#include "library/media_browser.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <utility>

namespace lensora {

namespace fs = std::filesystem;

namespace {

bool IsAviName(const fs::path& path) {
    std::string ext = path.extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return ext == ".avi";
}

template <typename Accept>
std::vector<std::string> ListFolder(const std::string& folder, Accept accept) {
    std::vector<std::string> paths;
    std::error_code ec;
    fs::directory_iterator it(fs::path(folder), ec);
    for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
        std::error_code statEc;
        if (!it->is_regular_file(statEc) || statEc) {
            continue;
        }
        if (accept(*it)) {
            paths.push_back(it->path().string());
        }
    }
    std::sort(paths.begin(), paths.end());
    return paths;
}

bool FileExists(const std::string& path) {
    std::error_code ec;
    const bool exists = fs::exists(fs::path(path), ec);
    // An error other than "not found" (a folder briefly unreadable) keeps the item.
    return exists || (ec && ec != std::errc::no_such_file_or_directory);
}

}  // namespace

std::vector<std::string> ListPictureFiles(const std::string& folder) {
    return ListFolder(folder, [](const fs::directory_entry& e) {
        std::error_code ec;
        const std::uintmax_t size = e.file_size(ec);
        return !ec && size >= kMinPictureBytes;
    });
}

std::vector<std::string> ListVideoFiles(const std::string& folder) {
    return ListFolder(folder, [](const fs::directory_entry& e) { return IsAviName(e.path()); });
}

std::array<CellRect, kCellCount> ComputeCells(int clientWidth, int clientHeight) {
    const int w = std::max(1, (clientWidth - 100) / kCellCount);
    const int h = std::max(1, clientHeight - 18);
    std::array<CellRect, kCellCount> cells;
    for (int i = 0; i < kCellCount; ++i) {
        const int left = i * (w + 14) + 16;
        cells[i] = CellRect{left, 9, left + w, 9 + h};
    }
    return cells;
}

int MediaList::IndexOf(std::string_view path) const {
    for (int i = 0; i < Count(); ++i) {
        if (items[i].path == path) {
            return i;
        }
    }
    return -1;
}

int MediaList::ScrollMaximum() const {
    return Count() > kCellCount ? Count() - 1 : kCellCount - 1;
}

void MediaBrowser::FillLists(const std::string& pictureFolder, const std::string& videoFolder) {
    pictureFolder_ = pictureFolder;
    videoFolder_ = videoFolder;
    pictures_ = MediaList{};
    videos_ = MediaList{};
    for (const std::string& path : ListPictureFiles(pictureFolder)) {
        pictures_.items.push_back(BrowserItem{path, kNewPictureFlags});
    }
    for (const std::string& path : ListVideoFiles(videoFolder)) {
        if (path != recordingPath_) {
            videos_.items.push_back(BrowserItem{path, kNewPictureFlags});
        }
    }
    for (MediaList* list : {&pictures_, &videos_}) {
        list->firstVisible = list->Count() > kCellCount ? list->Count() - kCellCount : 0;
    }
}

void MediaBrowser::Add(MediaList& list, const std::string& path, std::uint32_t flags) {
    if (list.selected >= 0 && list.selected < list.Count()) {
        list.items[list.selected].flags &= ~kItemSelected;
    }
    int index = list.IndexOf(path);
    if (index < 0) {
        list.items.push_back(BrowserItem{path, flags});
        index = list.Count() - 1;
    }
    list.items[index].flags |= kItemListed | kItemSelected;
    list.selected = index;
    if (index == list.Count() - 1) {
        // The new item sits in the fifth cell, leaving the sixth empty as room for the next.
        list.firstVisible = list.Count() > kCellCount ? list.Count() - 5 : 0;
    } else if (index < list.firstVisible || index >= list.firstVisible + kCellCount) {
        list.firstVisible = std::clamp(index, 0, list.ScrollMaximum());
    }
}

void MediaBrowser::AddPicture(const std::string& path) {
    Add(pictures_, path, kNewPictureFlags);
}

void MediaBrowser::AddVideo(const std::string& path) {
    if (path == recordingPath_) {
        recordingPath_.clear();
    }
    Add(videos_, path, kNewVideoFlags);
}

void MediaBrowser::ClearSelection() {
    MediaList& list = Current();
    if (list.selected >= 0 && list.selected < list.Count()) {
        list.items[list.selected].flags &= ~kItemSelected;
    }
    list.selected = -1;
}

bool MediaBrowser::SelectAt(int x, int y) {
    ClearSelection();
    MediaList& list = Current();
    for (int cell = 0; cell < kCellCount; ++cell) {
        const int index = list.firstVisible + cell;
        if (index >= list.Count()) {
            break;
        }
        if (cells_[cell].Contains(x, y)) {
            list.items[index].flags |= kItemSelected;
            list.selected = index;
            return true;
        }
    }
    return false;
}

const BrowserItem* MediaBrowser::GetSelected() const {
    for (const BrowserItem& item : Current().items) {
        if ((item.flags & kItemListed) && (item.flags & kItemSelected)) {
            return &item;
        }
    }
    return nullptr;
}

BrowserItem* MediaBrowser::GetSelected() {
    return const_cast<BrowserItem*>(std::as_const(*this).GetSelected());
}

void MediaBrowser::Erase(MediaList& list, int index) {
    list.items.erase(list.items.begin() + index);
    if (list.selected == index) {
        list.selected = -1;
    } else if (list.selected > index) {
        --list.selected;
    }
    list.firstVisible = std::clamp(list.firstVisible, 0, list.ScrollMaximum());
    // Keep the last cells filled when items vanish near the end.
    if (list.Count() <= kCellCount) {
        list.firstVisible = 0;
    } else if (list.firstVisible > list.Count() - kCellCount) {
        list.firstVisible = list.Count() - kCellCount;
    }
}

bool MediaBrowser::RemoveItem(std::string_view path) {
    MediaList& list = Current();
    const int index = list.IndexOf(path);
    if (index < 0) {
        return false;
    }
    Erase(list, index);
    return true;
}

void MediaBrowser::ClearList() {
    Current() = MediaList{};
}

void MediaBrowser::SelectFromFirstVisible() {
    MediaList& list = Current();
    for (int i = list.firstVisible; i < list.Count(); ++i) {
        list.items[i].flags |= kItemSelected;
        list.selected = i;
    }
}

ScrollRange MediaBrowser::Range() const {
    const MediaList& list = Current();
    ScrollRange range;
    range.maximum = list.ScrollMaximum();
    range.arrowsEnabled = list.Count() > kCellCount;
    range.position = range.arrowsEnabled ? list.firstVisible : 0;
    return range;
}

void MediaBrowser::Scroll(ScrollRequest request, int position) {
    MediaList& list = Current();
    int first = list.firstVisible;
    switch (request) {
        case ScrollRequest::LineLeft:
            first -= 1;
            break;
        case ScrollRequest::LineRight:
            first += 1;
            break;
        case ScrollRequest::PageLeft:
            first -= kCellCount;
            break;
        case ScrollRequest::PageRight:
            first += kCellCount;
            break;
        case ScrollRequest::Thumb:
            first = position;
            break;
        case ScrollRequest::Left:
            first = 0;
            break;
        case ScrollRequest::Right:
            first = list.ScrollMaximum();
            break;
        case ScrollRequest::End:
            return;
    }
    list.firstVisible = list.Count() > kCellCount ? std::clamp(first, 0, list.ScrollMaximum()) : 0;
}

std::vector<VisibleCell> MediaBrowser::VisibleCells() {
    MediaList& list = Current();
    std::vector<VisibleCell> cells;
    for (int cell = 0; cell < kCellCount;) {
        const int index = list.firstVisible + cell;
        if (index >= list.Count()) {
            break;
        }
        if (!FileExists(list.items[index].path)) {
            Erase(list, index);
            cells.clear();
            cell = 0;  // the list moved: start the strip again
            continue;
        }
        cells.push_back(VisibleCell{cell, index, &list.items[index]});
        ++cell;
    }
    return cells;
}

bool MediaBrowser::SyncList(MediaList& list, const std::vector<std::string>& present) {
    bool changed = false;
    for (int i = list.Count() - 1; i >= 0; --i) {
        if (!std::binary_search(present.begin(), present.end(), list.items[i].path)) {
            Erase(list, i);
            changed = true;
        }
    }
    const bool showedEnd = list.firstVisible + kCellCount >= list.Count();
    for (const std::string& path : present) {
        if (path != recordingPath_ && list.IndexOf(path) < 0) {
            list.items.push_back(BrowserItem{path, kNewPictureFlags});
            changed = true;
        }
    }
    // A strip that showed the end of the list keeps showing it.
    if (changed && showedEnd) {
        list.firstVisible = list.Count() > kCellCount ? list.Count() - kCellCount : 0;
    }
    return changed;
}

bool MediaBrowser::SyncWithFolders() {
    const bool pictures = SyncList(pictures_, ListPictureFiles(pictureFolder_));
    const bool videos = SyncList(videos_, ListVideoFiles(videoFolder_));
    return pictures || videos;
}

}  // namespace lensora
