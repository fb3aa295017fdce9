// The save-path question: the selected type's extension, the replace question and Cancel,
// with names that are not UTF-8.
#include "base/user_prompts.h"

#include <gtest/gtest.h>

#include <fstream>

#include "support/fake_prompts.h"
#include "support/temp_dir.h"

namespace lensora::test {
namespace {

const FileFilter kTypes[] = {{"bmp Files", "*.bmp"}, {"jpg Files", "*.jpg"}};

TEST(ChooseSavePath, AddsTheSelectedTypesExtensionAndAsksBeforeReplacing) {
    TempDir dir;
    const std::filesystem::path folder = dir.Sub("");
    FakePrompts prompts;
    EXPECT_FALSE(ChooseSavePath(prompts, "Save", folder, kTypes));  // cancelled
    prompts.savePath = ChosenPath{folder / "shot", 1};
    EXPECT_EQ(ChooseSavePath(prompts, "Save", folder, kTypes), folder / "shot.jpg");
    prompts.savePath = ChosenPath{folder / "shot.JPG", 0};
    EXPECT_EQ(ChooseSavePath(prompts, "Save", folder, kTypes), folder / "shot.JPG");
    EXPECT_EQ(prompts.filterCounts.back(), 2u);
    EXPECT_TRUE(prompts.asked.size() == 3 && prompts.asked[0] == "Save");

    std::ofstream(folder / "shot.jpg") << "x";
    prompts.savePath = ChosenPath{folder / "shot", 1};
    prompts.answers = {PromptAnswer::No, PromptAnswer::Yes};
    EXPECT_FALSE(ChooseSavePath(prompts, "Save", folder, kTypes));
    EXPECT_EQ(prompts.asked.back(), "shot.jpg already exists.\nDo you want to replace it?");
    EXPECT_EQ(ChooseSavePath(prompts, "Save", folder, kTypes), folder / "shot.jpg");
}

TEST(ChooseSavePath, NamesThatAreNotUtf8PassAsBytes) {
    TempDir dir;
    FakePrompts prompts;
    const std::filesystem::path latin1 = std::filesystem::path(dir.Sub("")) / "caf\xe9";
    prompts.savePath = ChosenPath{latin1, 0};
    const auto path =
        ChooseSavePath(prompts, "Save", dir.Sub(""), kTypes,
                       [](const std::filesystem::path& p) { return p.extension() == ".bmp"; });
    ASSERT_TRUE(path);
    EXPECT_EQ(path->filename().native(), "caf\xe9.bmp");
}

}  // namespace
}  // namespace lensora::test
