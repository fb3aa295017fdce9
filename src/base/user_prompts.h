// Questions and notices shown to the user. Core logic asks through this interface; the
// program answers with message boxes, tests with scripted answers. UI thread only.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace lensora {

enum class PromptIcon { None, Information, Exclamation, Question, Error };
enum class PromptButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class PromptAnswer { Ok, Cancel, Yes, No };

// One entry of a file chooser's type list: "bmp Files" with the pattern "*.bmp".
struct FileFilter {
    std::string name;
    std::string pattern;
};

// A path the user chose and the index of the type that was selected with it.
struct ChosenPath {
    std::filesystem::path path;
    std::size_t filterIndex = 0;
};

class UserPrompts {
  public:
    virtual ~UserPrompts() = default;
    // A notice with an OK button.
    virtual void Show(std::string_view text, PromptIcon icon) = 0;
    // A question; closing the box without a choice answers Cancel (No for Yes/No).
    virtual PromptAnswer Ask(std::string_view text, PromptButtons buttons, PromptIcon icon) = 0;

    // File choosers; nullopt when the user cancels. `start` is the folder or file the chooser
    // opens at. The save chooser neither adds an extension nor asks before replacing a file:
    // ChooseSavePath does both. Paths are bytes, so names that are not UTF-8 pass unchanged.
    virtual std::optional<std::filesystem::path> AskOpenPath(std::string_view title,
                                                             const std::filesystem::path& start,
                                                             std::span<const FileFilter> filters) {
        (void)title, (void)start, (void)filters;
        return std::nullopt;
    }
    virtual std::optional<ChosenPath> AskSavePath(std::string_view title,
                                                  const std::filesystem::path& start,
                                                  std::span<const FileFilter> filters) {
        (void)title, (void)start, (void)filters;
        return std::nullopt;
    }
    // A folder chooser that opens at `start`; nullopt when the user cancels.
    virtual std::optional<std::filesystem::path> AskFolder(std::string_view title,
                                                           const std::filesystem::path& start) {
        (void)title, (void)start;
        return std::nullopt;
    }
};

// Asks for a path to save to: a name without a known extension gets the selected filter's
// ("*.jpg" -> ".jpg"); an existing file is replaced only when the user answers Yes to
// "<name> already exists.\nDo you want to replace it?". nullopt when the user cancels or
// declines. `hasKnownExtension` says whether a name already has a type the caller can write;
// without it, any of the filters' extensions counts (letter case ignored).
std::optional<std::filesystem::path> ChooseSavePath(
    UserPrompts& prompts, std::string_view title, const std::filesystem::path& start,
    std::span<const FileFilter> filters,
    const std::function<bool(const std::filesystem::path&)>& hasKnownExtension = {});

}  // namespace lensora
