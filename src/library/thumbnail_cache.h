// Decoded thumbnails kept by file: the key is the path with the file's modification time and
// size and the cell size, so that a file rewritten in place is decoded again. Holds at most
// `capacity` thumbnails and forgets the least recently used. Thread-safe: workers insert while
// the UI thread looks up.
#pragma once

#include <cstdint>
#include <list>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>

#include "library/thumbnail.h"

namespace lensora {

struct ThumbnailKey {
    std::string path;
    std::int64_t modifiedNs = 0;
    std::uintmax_t size = 0;
    int width = 0;
    int height = 0;

    bool operator==(const ThumbnailKey&) const = default;
    std::string Text() const;  // one string that holds every field
};

// The key of a file as it is now; nullopt when the file cannot be read.
std::optional<ThumbnailKey> KeyOfFile(const std::string& path, int width, int height);

class ThumbnailCache {
  public:
    explicit ThumbnailCache(std::size_t capacity = 512) : capacity_(capacity) {}

    std::shared_ptr<const Thumbnail> Find(const ThumbnailKey& key);
    void Insert(const ThumbnailKey& key, std::shared_ptr<const Thumbnail> thumbnail);
    std::size_t Size() const;

  private:
    using Order = std::list<std::string>;
    struct Entry {
        std::shared_ptr<const Thumbnail> thumbnail;
        Order::iterator position;
    };
    mutable std::mutex mutex_;
    std::size_t capacity_;
    Order order_;  // most recently used first
    std::unordered_map<std::string, Entry> entries_;
};

}  // namespace lensora
