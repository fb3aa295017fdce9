#include "platform/single_instance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

namespace lensora {

SingleInstanceLock::SingleInstanceLock(const std::string& folder) {
    std::string dir = folder;
    if (dir.empty()) {
        const char* runtime = std::getenv("XDG_RUNTIME_DIR");
        dir = runtime && *runtime ? runtime : std::filesystem::temp_directory_path().string();
    }
    const std::string path = dir + "/" + kInstanceLockName + ".lock";
    fd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd_ < 0) {
        // Without a lock file there is no way to tell; let the program run.
        fd_ = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
        return;
    }
    if (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

SingleInstanceLock::~SingleInstanceLock() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

}  // namespace lensora
