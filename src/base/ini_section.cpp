#include "base/ini_section.h"

#include <algorithm>
#include <cctype>

namespace lensora {
namespace {

std::string_view Trim(std::string_view s) {
    const auto isSpace = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!s.empty() && isSpace(s.front())) {
        s.remove_prefix(1);
    }
    while (!s.empty() && isSpace(s.back())) {
        s.remove_suffix(1);
    }
    return s;
}

}  // namespace

std::string ToLowerAscii(std::string_view s) {
    std::string out(s);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return out;
}

std::unordered_map<std::string, std::string> ReadIniSection(std::string_view iniText,
                                                            std::string_view section) {
    std::unordered_map<std::string, std::string> values;
    const std::string wanted = ToLowerAscii(section);
    bool inSection = false;
    while (!iniText.empty()) {
        const std::size_t eol = iniText.find('\n');
        const std::string_view line = Trim(iniText.substr(0, eol));
        iniText = eol == std::string_view::npos ? std::string_view{} : iniText.substr(eol + 1);
        if (line.empty() || line.front() == ';') {
            continue;
        }
        if (line.front() == '[') {
            const std::size_t close = line.find(']');
            const std::string_view name =
                Trim(line.substr(1, close == std::string_view::npos ? line.npos : close - 1));
            inSection = ToLowerAscii(name) == wanted;
            continue;
        }
        const std::size_t eq = line.find('=');
        if (!inSection || eq == std::string_view::npos) {
            continue;
        }
        const std::string key = ToLowerAscii(Trim(line.substr(0, eq)));
        std::string_view value = Trim(line.substr(eq + 1));
        if (value.size() >= 2 && ((value.front() == '"' && value.back() == '"') ||
                                  (value.front() == '\'' && value.back() == '\''))) {
            value = value.substr(1, value.size() - 2);
        }
        if (!key.empty()) {
            values.emplace(key, std::string(value));
        }
    }
    return values;
}

}  // namespace lensora
