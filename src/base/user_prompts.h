// Questions and notices shown to the user. Core logic asks through this interface; the
// program answers with message boxes, tests with scripted answers. UI thread only.
#pragma once

#include <string_view>

namespace lensora {

enum class PromptIcon { None, Information, Exclamation, Question, Error };
enum class PromptButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class PromptAnswer { Ok, Cancel, Yes, No };

class UserPrompts {
  public:
    virtual ~UserPrompts() = default;
    // A notice with an OK button.
    virtual void Show(std::string_view text, PromptIcon icon) = 0;
    // A question; closing the box without a choice answers Cancel (No for Yes/No).
    virtual PromptAnswer Ask(std::string_view text, PromptButtons buttons, PromptIcon icon) = 0;
};

}  // namespace lensora
