#include "app/ui/data_root_chooser.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "base/data_folders.h"
#include "support/fake_prompts.h"
#include "support/temp_dir.h"

namespace lensora {
namespace {
namespace fs = std::filesystem;
using test::FakePrompts;
using test::TempDir;

TEST(DataRootChooserTest, AsksFromTheCurrentRootAndSwitchesOnlyOnAChoice) {
    TempDir dir;
    fs::create_directories(dir.Sub("config"));
    DataFolders folders = LoadFolders(dir.Sub("config"), dir.Sub("Documents"));
    const DataFolders before = folders;
    FakePrompts prompts;

    // Cancel: nothing changes and the current root comes back for the path field.
    EXPECT_EQ(ChooseDataRoot(prompts, folders).toStdString(), before.dataRoot);
    ASSERT_EQ(prompts.asked.size(), 1u);
    EXPECT_EQ(prompts.asked[0], "Please select folder");
    EXPECT_EQ(prompts.starts[0], fs::path(before.dataRoot));
    EXPECT_EQ(folders.pictureFolder, before.pictureFolder);
    EXPECT_FALSE(fs::exists(dir.Sub("config/folderpath.dat")));

    prompts.folderPath = fs::path(dir.Sub("chosen"));
    EXPECT_EQ(ChooseDataRoot(prompts, folders).toStdString(), dir.Sub("chosen"));
    EXPECT_EQ(folders.videoFolder, dir.Sub("chosen") + "/Video");
    EXPECT_TRUE(fs::is_directory(folders.pictureFolder));
    EXPECT_EQ(LoadFolders(dir.Sub("config"), dir.Sub("Documents")).dataRoot, dir.Sub("chosen"));
}

}  // namespace
}  // namespace lensora
