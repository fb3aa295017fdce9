#include "library/file_ops.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace lensora {

namespace fs = std::filesystem;

bool SystemFileOps::Copy(const std::string& from, const std::string& to, std::string& error) {
    std::error_code ec;
    const fs::path source = fs::path(from);
    const fs::path target = fs::path(to);
    if (fs::equivalent(source, target, ec)) {
        error = std::strerror(EEXIST);
        return false;  // copying a file onto itself would truncate it
    }
    // Written beside the target and renamed at the end, so that a full disk never leaves a
    // half-written copy under the real name.
    const fs::path partial = target.parent_path() / (target.filename().string() + ".part");
    ec.clear();
    fs::copy_file(source, partial, fs::copy_options::overwrite_existing, ec);
    if (!ec) {
        fs::rename(partial, target, ec);
    }
    if (ec) {
        error = ec.message();
        std::error_code ignored;
        fs::remove(partial, ignored);
        return false;
    }
    return true;
}

bool SystemFileOps::Remove(const std::string& path, std::string& error) {
    if (std::remove(path.c_str()) != 0) {
        error = std::strerror(errno);
        return false;
    }
    return true;
}

}  // namespace lensora
