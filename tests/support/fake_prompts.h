// UserPrompts for tests: records every text shown and answers questions from a script.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "base/user_prompts.h"

namespace lensora::test {

class FakePrompts : public UserPrompts {
  public:
    void Show(std::string_view text, PromptIcon icon) override {
        shown.emplace_back(text);
        icons.push_back(icon);
    }
    PromptAnswer Ask(std::string_view text, PromptButtons, PromptIcon icon) override {
        asked.emplace_back(text);
        icons.push_back(icon);
        if (answers.empty()) {
            return defaultAnswer;
        }
        PromptAnswer a = answers.front();
        answers.pop_front();
        return a;
    }

    std::optional<std::filesystem::path> AskOpenPath(std::string_view title,
                                                     const std::filesystem::path& start,
                                                     std::span<const FileFilter>) override {
        asked.emplace_back(title);
        starts.push_back(start);
        return openPath;
    }
    std::optional<ChosenPath> AskSavePath(std::string_view title,
                                          const std::filesystem::path& start,
                                          std::span<const FileFilter> filters) override {
        asked.emplace_back(title);
        starts.push_back(start);
        filterCounts.push_back(filters.size());
        SaveQuestion question{{}, start.string()};
        for (const FileFilter& f : filters) {
            question.filters.push_back(f.name + "(" + f.pattern + ")");
        }
        saveQuestions.push_back(std::move(question));
        if (!saveAnswers.empty()) {
            auto a = saveAnswers.front();
            saveAnswers.pop_front();
            return a;
        }
        return savePath;
    }
    std::optional<std::filesystem::path> AskFolder(std::string_view title,
                                                   const std::filesystem::path& start) override {
        asked.emplace_back(title);
        starts.push_back(start);
        return folderPath;
    }

    std::vector<std::string> shown;
    std::vector<std::string> asked;
    std::vector<PromptIcon> icons;
    std::deque<PromptAnswer> answers;
    PromptAnswer defaultAnswer = PromptAnswer::Yes;
    // Answers of the file choosers; nullopt is Cancel.
    std::optional<std::filesystem::path> openPath;
    std::optional<ChosenPath> savePath;
    std::optional<std::filesystem::path> folderPath;
    std::vector<std::filesystem::path> starts;
    std::vector<std::size_t> filterCounts;
    // Queued answers of the save chooser, used before `savePath`; what each question offered.
    std::deque<std::optional<ChosenPath>> saveAnswers;
    struct SaveQuestion {
        std::vector<std::string> filters;  // "xlsx Files(*.xlsx)"
        std::string start;
    };
    std::vector<SaveQuestion> saveQuestions;
};

}  // namespace lensora::test
