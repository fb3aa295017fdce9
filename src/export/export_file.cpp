#include "export/export_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

namespace lensora {
namespace {

std::string ErrnoText(int error) {
    return std::strerror(error);
}

}  // namespace

const FileSeam& SystemFileSeam() {
    static const FileSeam seam{[](int fd, const void* data, std::size_t size) -> long {
                                   return static_cast<long>(::write(fd, data, size));
                               },
                               [](int fd) { return ::fsync(fd); }};
    return seam;
}

std::optional<std::string> SaveFileAtomically(const std::string& path, std::string_view bytes,
                                              const FileSeam& seam) {
    if (path.empty()) {
        return std::string("no file name");
    }
    // A file marked read-only stays as it is, even for a user whom the system would let
    // replace it.
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0) {
        if (S_ISDIR(st.st_mode)) {
            return ErrnoText(EISDIR);
        }
        if ((st.st_mode & 0222) == 0 || ::access(path.c_str(), W_OK) != 0) {
            return ErrnoText(EACCES);
        }
    }
    std::string temp = path + ".XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) {
        return ErrnoText(errno);
    }
    const auto fail = [&](int error) -> std::optional<std::string> {
        ::close(fd);
        ::unlink(temp.c_str());
        return ErrnoText(error);
    };
    std::size_t done = 0;
    while (done < bytes.size()) {
        const long n = seam.write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return fail(errno);
        }
        if (n == 0) {
            return fail(ENOSPC);
        }
        done += static_cast<std::size_t>(n);
    }
    if (seam.sync(fd) != 0) {
        return fail(errno);
    }
    // mkstemp creates the file for the owner only; an export is an ordinary document.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd, 0666 & ~mask);
    if (::close(fd) != 0) {
        const int error = errno;
        ::unlink(temp.c_str());
        return ErrnoText(error);
    }
    if (::rename(temp.c_str(), path.c_str()) != 0) {
        const int error = errno;
        ::unlink(temp.c_str());
        return ErrnoText(error);
    }
    return std::nullopt;
}

std::optional<std::string> ReadWholeFile(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
        return std::nullopt;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::ostringstream out;
    out << in.rdbuf();
    if (in.bad()) {
        return std::nullopt;
    }
    return std::move(out).str();
}

bool FileExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0;
}

}  // namespace lensora
