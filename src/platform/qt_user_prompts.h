// Message boxes for the questions and notices of the core, owned by a parent widget.
#pragma once

#include <QPointer>
#include <QWidget>

#include "base/user_prompts.h"

namespace lensora {

class QtUserPrompts : public UserPrompts {
  public:
    explicit QtUserPrompts(QWidget* parent) : parent_(parent) {}
    void Show(std::string_view text, PromptIcon icon) override;
    PromptAnswer Ask(std::string_view text, PromptButtons buttons, PromptIcon icon) override;
    std::optional<std::filesystem::path> AskOpenPath(std::string_view title,
                                                     const std::filesystem::path& start,
                                                     std::span<const FileFilter> filters) override;
    std::optional<std::filesystem::path> AskFolder(std::string_view title,
                                                   const std::filesystem::path& start) override;
    std::optional<ChosenPath> AskSavePath(std::string_view title,
                                          const std::filesystem::path& start,
                                          std::span<const FileFilter> filters) override;

  private:
    QPointer<QWidget> parent_;
};

}  // namespace lensora
