// Writing an export file without ever leaving a half-written one under the chosen name: the
// bytes go to a temporary file beside the target, are flushed to disk, and only then replace
// the target by a rename. The write and flush calls go through a seam so that tests can make
// them fail (a full disk, for instance). Plain functions; call from one thread at a time.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace lensora {

struct FileSeam {
    // As write(2): bytes written, or -1 with errno set.
    std::function<long(int fd, const void* data, std::size_t size)> write;
    // As fsync(2): 0, or -1 with errno set.
    std::function<int(int fd)> sync;
};

// The seam of the real file system.
const FileSeam& SystemFileSeam();

// Writes `bytes` to `path` through a temporary file and a rename. On failure the target is
// unchanged, no temporary file is left, and the reason (e.g. "No space left on device") is
// returned; nullopt means success.
std::optional<std::string> SaveFileAtomically(const std::string& path, std::string_view bytes,
                                              const FileSeam& seam = SystemFileSeam());

// The whole file, or nullopt when it cannot be read (missing, a folder, no permission).
std::optional<std::string> ReadWholeFile(const std::string& path);

bool FileExists(const std::string& path);

}  // namespace lensora
