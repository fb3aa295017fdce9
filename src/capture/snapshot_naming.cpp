#include "capture/snapshot_naming.h"

#include <dirent.h>
#include <sys/stat.h>

#include <fmt/format.h>
#include <algorithm>

#include "base/user_prompts.h"

namespace lensora {
namespace {

constexpr int kMaxSequence = 999'999'999;
constexpr std::string_view kPictureError = "Picture Error";

bool EndsWithNoCase(std::string_view name, std::string_view ending) {
    if (name.size() < ending.size()) {
        return false;
    }
    const std::string_view tail = name.substr(name.size() - ending.size());
    return std::equal(tail.begin(), tail.end(), ending.begin(), [](char a, char b) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
        return lower(a) == lower(b);
    });
}

bool IsFolder(const std::string& folder, const dirent& entry) {
    if (entry.d_type == DT_DIR) {
        return true;
    }
    if (entry.d_type != DT_UNKNOWN && entry.d_type != DT_LNK) {
        return false;
    }
    // Some file systems do not fill d_type; a link counts as what it points to.
    struct stat st {};
    const std::string path = folder + "/" + entry.d_name;
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace

std::string_view SnapshotExtension(std::uint32_t imageFormat) {
    return IsBmpFormat(imageFormat) ? ".bmp" : ".jpg";
}

bool IsNameSafeMagnification(std::string_view text) {
    return text.find('/') == std::string_view::npos && text.find('\0') == std::string_view::npos;
}

std::string MagnificationForName(std::string_view text) {
    std::string out;
    std::size_t chars = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        const bool startsCharacter = (c & 0xC0) != 0x80;
        if (startsCharacter && ++chars > kMagnificationChars) {
            break;
        }
        out.push_back(c == '/' || c == '\0' ? '_' : char(c));
    }
    return out;
}

int SequenceNumberOf(std::string_view name) {
    const std::size_t n = name.rfind('N');
    if (n == std::string_view::npos) {
        return 0;
    }
    const std::size_t dot = name.rfind('.');
    const std::size_t end = dot != std::string_view::npos && dot > n ? dot : name.size();
    long long value = 0;
    for (std::size_t i = n + 1; i < end && name[i] >= '0' && name[i] <= '9'; ++i) {
        value = std::min<long long>(value * 10 + (name[i] - '0'), kMaxSequence);
    }
    return static_cast<int>(value);
}

SequenceScan ScanSequenceNumber(const std::string& folder, std::string_view extension,
                                UserPrompts* prompts) {
    SequenceScan scan;
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) {
        return scan;
    }
    int largest = 0;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view name(entry->d_name);
        if (!EndsWithNoCase(name, extension)) {
            continue;
        }
        if (IsFolder(folder, *entry)) {
            ++scan.foldersMatched;
            if (prompts != nullptr) {
                prompts->Show(kPictureError, PromptIcon::None);
            }
            continue;
        }
        largest = std::max(largest, SequenceNumberOf(name));
    }
    ::closedir(dir);
    scan.next = largest + 1;
    return scan;
}

std::string SnapshotFileName(const std::tm& t, std::string_view magnification, int sequence,
                             std::string_view extension) {
    const std::string m = MagnificationForName(magnification);
    const std::string stamp =
        fmt::format("Still_{:4d}-{:02d}-{:02d}_{:02d}{:02d}{:02d}", t.tm_year + 1900, t.tm_mon + 1,
                    t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec);
    if (m.empty()) {
        return fmt::format("{}_N{:04d}{}", stamp, sequence, extension);
    }
    return fmt::format("{}_{}X_N{:04d}{}", stamp, m, sequence, extension);
}

}  // namespace lensora
