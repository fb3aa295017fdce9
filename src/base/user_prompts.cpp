#include "base/user_prompts.h"

#include <algorithm>
#include <cctype>
#include <system_error>

namespace lensora {

namespace {

std::string Lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

// "*.jpg" -> ".jpg"; a pattern without an extension gives "".
std::string ExtensionOf(const FileFilter& filter) {
    const std::size_t dot = filter.pattern.rfind('.');
    return dot == std::string::npos ? std::string() : filter.pattern.substr(dot);
}

}  // namespace

std::optional<std::filesystem::path> ChooseSavePath(
    UserPrompts& prompts, std::string_view title, const std::filesystem::path& start,
    std::span<const FileFilter> filters,
    const std::function<bool(const std::filesystem::path&)>& hasKnownExtension) {
    std::optional<ChosenPath> chosen = prompts.AskSavePath(title, start, filters);
    if (!chosen || chosen->path.empty()) {
        return std::nullopt;
    }
    std::filesystem::path path = std::move(chosen->path);
    const auto known = [&](const std::filesystem::path& p) {
        if (hasKnownExtension) {
            return hasKnownExtension(p);
        }
        const std::string ext = Lower(p.extension().string());
        return !ext.empty() && std::any_of(filters.begin(), filters.end(), [&](const auto& f) {
            return Lower(ExtensionOf(f)) == ext;
        });
    };
    if (!known(path) && chosen->filterIndex < filters.size()) {
        path += ExtensionOf(filters[chosen->filterIndex]);
    }
    std::error_code error;
    if (std::filesystem::exists(path, error)) {
        const std::string question =
            path.filename().string() + " already exists.\nDo you want to replace it?";
        if (prompts.Ask(question, PromptButtons::YesNo, PromptIcon::Exclamation) !=
            PromptAnswer::Yes) {
            return std::nullopt;
        }
    }
    return path;
}

}  // namespace lensora
