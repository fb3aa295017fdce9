// Zip packages in memory over libzip: the container of the xlsx and docx files. Writing
// builds the whole archive as bytes (the caller saves them); reading opens an archive held in
// memory. Plain values; one thread per object.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct zip;  // libzip's archive

namespace lensora {

struct ZipEntry {
    std::string name;  // path inside the archive, '/' separated
    std::string data;
    bool compress = true;  // false stores it as is (pictures that are compressed already)
};

// The archive of `entries` in their order; nullopt with `error` set when libzip fails.
std::optional<std::string> BuildZip(const std::vector<ZipEntry>& entries, std::string* error);

class ZipReader {
  public:
    // Opens the archive in `bytes` (copied); Valid() is false when it is not a zip archive.
    explicit ZipReader(std::string bytes);
    ~ZipReader();
    ZipReader(const ZipReader&) = delete;
    ZipReader& operator=(const ZipReader&) = delete;

    bool Valid() const { return archive_ != nullptr; }
    std::vector<std::string> Names() const;
    // The entry's content, or nullopt when it is missing, unreadable or larger than maxSize.
    std::optional<std::string> Read(std::string_view name, std::size_t maxSize = 256u << 20) const;

  private:
    std::string bytes_;
    ::zip* archive_ = nullptr;
};

}  // namespace lensora
