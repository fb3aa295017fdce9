#include "library/thumbnail_cache.h"

#include <chrono>
#include <filesystem>
#include <system_error>

#include <fmt/format.h>

namespace lensora {

namespace fs = std::filesystem;

std::string ThumbnailKey::Text() const {
    return fmt::format("{}\n{}\n{}\n{}x{}", path, modifiedNs, size, width, height);
}

std::optional<ThumbnailKey> KeyOfFile(const std::string& path, int width, int height) {
    std::error_code ec;
    const fs::path p = fs::path(path);
    const std::uintmax_t size = fs::file_size(p, ec);
    if (ec) {
        return std::nullopt;
    }
    const fs::file_time_type time = fs::last_write_time(p, ec);
    if (ec) {
        return std::nullopt;
    }
    const auto ns =
        std::chrono::duration_cast<std::chrono::nanoseconds>(time.time_since_epoch()).count();
    return ThumbnailKey{path, static_cast<std::int64_t>(ns), size, width, height};
}

std::shared_ptr<const Thumbnail> ThumbnailCache::Find(const ThumbnailKey& key) {
    std::lock_guard lock(mutex_);
    const auto it = entries_.find(key.Text());
    if (it == entries_.end()) {
        return nullptr;
    }
    order_.splice(order_.begin(), order_, it->second.position);
    return it->second.thumbnail;
}

void ThumbnailCache::Insert(const ThumbnailKey& key, std::shared_ptr<const Thumbnail> thumbnail) {
    std::lock_guard lock(mutex_);
    std::string text = key.Text();
    const auto it = entries_.find(text);
    if (it != entries_.end()) {
        it->second.thumbnail = std::move(thumbnail);
        order_.splice(order_.begin(), order_, it->second.position);
        return;
    }
    order_.push_front(text);
    entries_.emplace(std::move(text), Entry{std::move(thumbnail), order_.begin()});
    while (entries_.size() > capacity_) {
        entries_.erase(order_.back());
        order_.pop_back();
    }
}

std::size_t ThumbnailCache::Size() const {
    std::lock_guard lock(mutex_);
    return entries_.size();
}

}  // namespace lensora
