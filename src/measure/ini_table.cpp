#include "measure/ini_table.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace lensora {
namespace fs = std::filesystem;
namespace {

constexpr std::string_view kBlanks = " \t\r\n\v\f";
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

std::string_view Trim(std::string_view text) {
    const auto first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(kBlanks);
    return text.substr(first, last - first + 1);
}

char LowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (LowerAscii(a[i]) != LowerAscii(b[i])) {
            return false;
        }
    }
    return true;
}

bool Contains(std::string_view line, std::string_view part) {
    return line.find(part) != std::string_view::npos;
}

// A value goes on an entry line: it must not make that line a comment or a section boundary,
// nor split it.
bool IsStorableValue(std::string_view value) {
    return value.find_first_of(std::string_view("[]\r\n\0", 5)) == std::string_view::npos &&
           !Contains(value, "//");
}

struct EntryScan {
    std::optional<std::size_t> entry;  // the line holding the key
    std::size_t end = 0;               // where the section ends (next section or end of lines)
};

// Both lookups and updates walk a section the same way, so that an update replaces exactly the
// line a later lookup reads. A line with "[" is taken as the next section before it is tested
// for the key: "[150]" is a section boundary, not the entry of key "50".
EntryScan ScanSection(const std::vector<std::string>& lines, std::size_t sectionLine,
                      std::string_view key) {
    EntryScan scan;
    std::size_t i = sectionLine + 1;
    for (; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        if (Contains(line, "//")) {
            continue;
        }
        if (Contains(line, "[")) {
            break;
        }
        if (Contains(line, key)) {
            scan.entry = i;
            break;
        }
    }
    scan.end = i;
    return scan;
}

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

}  // namespace

bool IniTable::IsStorableName(std::string_view name) {
    if (Trim(name).empty()) {
        return false;
    }
    return name.find_first_of(std::string_view("[]=\r\n\0", 6)) == std::string_view::npos &&
           !Contains(name, "//");
}

bool IniTable::Load(const std::string& path) {
    loaded_ = false;
    lines_.clear();
    path_ = path;

    std::error_code ec;
    // Only regular files: a folder or a pipe under the calibration file's name would fail or
    // block the read.
    if (!fs::is_regular_file(fs::path(path), ec)) {
        return false;
    }
    const auto size = fs::file_size(fs::path(path), ec);
    if (ec || size > kMaxFileBytes) {
        return false;
    }
    std::ifstream in(fs::path(path), std::ios::binary);
    if (!in) {
        return false;
    }
    std::string bytes(static_cast<std::size_t>(size), '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    if (in.bad()) {
        return false;
    }

    LoadFromText(bytes);
    return true;
}

void IniTable::LoadFromText(std::string_view text) {
    lines_.clear();
    if (text.starts_with(kByteOrderMark)) {
        text.remove_prefix(kByteOrderMark.size());
    }
    while (!text.empty()) {
        const auto newline = text.find('\n');
        std::string_view line = text.substr(0, newline);
        if (line.ends_with('\r')) {
            line.remove_suffix(1);
        }
        lines_.emplace_back(line);
        if (newline == std::string_view::npos) {
            break;
        }
        text.remove_prefix(newline + 1);
    }
    loaded_ = true;
}

std::optional<std::size_t> IniTable::FindSection(std::string_view section) const {
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const std::string_view trimmed = Trim(lines_[i]);
        if (trimmed.size() >= 2 &&
            EqualIgnoringCase(trimmed.substr(1, trimmed.size() - 2), section)) {
            return i;
        }
    }
    return std::nullopt;
}

std::optional<std::string> IniTable::GetValue(std::string_view section,
                                              std::string_view key) const {
    if (!loaded_ || !IsStorableName(section) || !IsStorableName(key)) {
        return std::nullopt;
    }
    const auto sectionLine = FindSection(section);
    if (!sectionLine) {
        return std::nullopt;
    }
    const EntryScan scan = ScanSection(lines_, *sectionLine, key);
    if (!scan.entry) {
        return std::nullopt;
    }
    const std::string& line = lines_[*scan.entry];
    const auto equals = line.find('=');
    if (equals == std::string::npos) {
        return std::nullopt;
    }
    return line.substr(equals + 1);
}

bool IniTable::SetValue(std::string_view section, std::string_view key, std::string_view value) {
    if (!loaded_ || !IsStorableName(section) || !IsStorableName(key) || !IsStorableValue(value)) {
        return false;
    }
    std::string entry;
    entry.reserve(key.size() + 1 + value.size());
    entry.append(key).append("=").append(value);

    // The section is found by the same rule as in GetValue: matching any line that merely
    // contains "[" and the name would let "[150]" stand for section "50" and overwrite its
    // entry.
    const auto sectionLine = FindSection(section);
    if (!sectionLine) {
        std::string header;
        header.append("[").append(section).append("]");
        lines_.push_back(std::move(header));
        lines_.push_back(std::move(entry));
        return true;
    }
    const EntryScan scan = ScanSection(lines_, *sectionLine, key);
    if (scan.entry) {
        lines_[*scan.entry] = std::move(entry);
    } else {
        lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(scan.end), std::move(entry));
    }
    return true;
}

bool IniTable::Close() {
    if (!loaded_) {
        return false;
    }
    std::string bytes;
    std::size_t total = 0;
    for (const std::string& line : lines_) {
        total += line.size() + 1;
    }
    bytes.reserve(total);
    for (const std::string& line : lines_) {
        bytes.append(line).push_back('\n');
    }
    const bool written = ReplaceFileAtomically(path_, bytes);
    lines_.clear();
    loaded_ = false;
    return written;
}

bool ReplaceFileAtomically(const std::string& path, std::string_view bytes) {
    std::error_code ec;
    fs::path target(path);
    // Replace what a link points to, not the link itself.
    if (fs::is_symlink(target, ec)) {
        target = fs::canonical(target, ec);
        if (ec) {
            return false;
        }
    }
    mode_t mode = 0644;
    struct stat info {};
    if (::stat(target.c_str(), &info) == 0) {
        mode = info.st_mode & 0777;
    }

    // A fixed name beside the target: a leftover from an earlier crash is simply replaced.
    fs::path temp = target;
    temp += ".tmp";
    ::unlink(temp.c_str());
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (fd < 0) {
        return false;
    }
    bool ok = WriteAll(fd, bytes) && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    if (ok) {
        fs::rename(temp, target, ec);
        ok = !ec;
    }
    if (!ok) {
        ::unlink(temp.c_str());
        return false;
    }
    // Make the rename itself durable; failing to do so does not undo the replacement.
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    const int dirFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
    return true;
}

}  // namespace lensora
