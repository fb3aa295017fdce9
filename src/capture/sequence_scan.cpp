#include "capture/sequence_scan.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <climits>

namespace lensora {
namespace {

bool EndsWithNoCase(std::string_view name, std::string_view suffix) {
    if (name.size() < suffix.size()) {
        return false;
    }
    const std::string_view tail = name.substr(name.size() - suffix.size());
    return std::equal(tail.begin(), tail.end(), suffix.begin(), [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) ==
               std::tolower(static_cast<unsigned char>(b));
    });
}

}  // namespace

long long SequenceNumberOfName(std::string_view fileName) {
    const std::size_t n = fileName.rfind('N');
    if (n == std::string_view::npos) {
        return -1;
    }
    std::string_view digits = fileName.substr(n + 1);
    const std::size_t dot = fileName.rfind('.');
    if (dot != std::string_view::npos && dot > n) {
        digits = fileName.substr(n + 1, dot - n - 1);
    }
    long long value = 0;
    const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (ec == std::errc::result_out_of_range) {
        // A number too long for any counter: keep it from wrapping the next one around.
        return INT_MAX - 1;
    }
    return ec == std::errc{} && value >= 0 ? std::min<long long>(value, INT_MAX - 1) : 0;
}

SequenceScan ScanSequenceNumbers(const std::filesystem::path& folder, std::string_view extension) {
    SequenceScan scan;
    long long largest = 0;
    std::error_code ec;
    std::filesystem::directory_iterator it(folder, ec);
    if (ec) {
        return scan;
    }
    for (; it != std::filesystem::directory_iterator(); it.increment(ec)) {
        if (ec) {
            break;
        }
        const std::string name = it->path().filename().string();
        if (!EndsWithNoCase(name, extension)) {
            continue;
        }
        std::error_code typeError;
        if (it->is_directory(typeError)) {
            scan.folders.push_back(it->path());
            continue;
        }
        largest = std::max(largest, SequenceNumberOfName(name));
    }
    scan.next = static_cast<int>(largest + 1);
    return scan;
}

}  // namespace lensora
