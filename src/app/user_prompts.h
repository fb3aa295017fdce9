// Questions and notices shown to the user. Core logic asks through this interface; the
// program answers with message boxes, tests with scripted answers. UI thread only.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lensora {

enum class PromptIcon { None, Information, Exclamation, Question, Error };
enum class PromptButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class PromptAnswer { Ok, Cancel, Yes, No };

// A save dialog: the file types offered ("xlsx Files(*.xlsx)", the first one preselected), the
// proposed name (may carry a folder), and whether an existing file needs confirming.
struct SavePathQuestion {
    std::vector<std::string> filters;
    std::string defaultName;
    bool confirmOverwrite = true;
};

struct SavePathAnswer {
    std::string path;
    std::size_t filter = 0;  // index of the file type chosen
};

class UserPrompts {
  public:
    virtual ~UserPrompts() = default;
    // A notice with an OK button.
    virtual void Show(std::string_view text, PromptIcon icon) = 0;
    // A question; closing the box without a choice answers Cancel (No for Yes/No).
    virtual PromptAnswer Ask(std::string_view text, PromptButtons buttons, PromptIcon icon) = 0;
    // Where to save; nullopt when the user cancels. Without a dialog of its own, cancels.
    virtual std::optional<SavePathAnswer> AskSavePath(const SavePathQuestion&) {
        return std::nullopt;
    }
};

}  // namespace lensora
