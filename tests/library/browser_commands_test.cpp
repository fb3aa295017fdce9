#include "library/browser_commands.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <set>

#include "imaging/cx_image.h"
#include "support/fake_prompts.h"
#include "support/temp_dir.h"
#include "support/test_media.h"

namespace lensora {
namespace {

namespace fs = std::filesystem;
using test::FakePrompts;
using test::TempDir;

class ScriptedDialogs : public BrowserDialogs {
  public:
    std::optional<std::string> AskSaveAs(const std::string& name, bool) override {
        defaultNames.push_back(name);
        return target;
    }
    std::optional<std::string> AskSaveAllFolder(const std::string& name, bool) override {
        defaultNames.push_back(name);
        return target;
    }
    std::optional<std::string> target;
    std::vector<std::string> defaultNames;
};

// The real file system, except for the paths told to fail.
class FailingFileOps : public FileOps {
  public:
    bool Copy(const std::string& from, const std::string& to, std::string& error) override {
        copies.push_back(fs::path(to).filename().string());
        if (failCopies.count(fs::path(from).filename().string())) {
            error = std::strerror(ENOSPC);
            return false;
        }
        return real.Copy(from, to, error);
    }
    bool Remove(const std::string& path, std::string& error) override {
        if (failRemoves.count(fs::path(path).filename().string())) {
            error = std::strerror(EACCES);
            return false;
        }
        return real.Remove(path, error);
    }
    SystemFileOps real;
    std::set<std::string> failCopies;
    std::set<std::string> failRemoves;
    std::vector<std::string> copies;
};

class RecordingLauncher : public ProcessLauncher {
  public:
    bool Start(const std::vector<std::string>& argv) override {
        started.push_back(argv);
        return works;
    }
    std::vector<std::vector<std::string>> started;
    bool works = true;
};

class BrowserCommandsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        for (const char* sub : {"Picture", "Video", "App", "Out"}) {
            fs::create_directories(dir.Sub(sub));
        }
    }
    std::string Picture(const std::string& name, int w = 64, int h = 48) {
        const std::string path = dir.Sub("Picture/" + name);
        EXPECT_TRUE(test::WritePicture(path, w, h, 200, 40, 10));
        return path;
    }
    void Fill() { browser.FillLists(dir.Sub("Picture"), dir.Sub("Video")); }
    void Select(const std::string& path) {
        const int index = browser.Current().IndexOf(path);
        ASSERT_GE(index, 0);
        browser.Current().firstVisible = 0;
        browser.SelectAt(browser.Cells()[index].left, browser.Cells()[index].top);
        ASSERT_EQ(browser.Current().selected, index);
    }
    BrowserCommands Commands() {
        return BrowserCommands(browser, {prompts, dialogs, files, launcher, dir.Sub("App")});
    }

    TempDir dir;
    MediaBrowser browser;
    FakePrompts prompts;
    ScriptedDialogs dialogs;
    FailingFileOps files;
    RecordingLauncher launcher;
};

TEST_F(BrowserCommandsTest, EveryCommandNeedsASelection) {
    Picture("a.bmp");
    Fill();
    for (BrowserCommand c :
         {BrowserCommand::Open, BrowserCommand::SaveAs, BrowserCommand::SaveAll,
          BrowserCommand::Delete, BrowserCommand::DeleteAll, BrowserCommand::Email}) {
        Commands().Run(c);
    }
    EXPECT_EQ(prompts.shown, std::vector<std::string>(6, "Please select one image or video"));
    EXPECT_TRUE(prompts.asked.empty());
    EXPECT_TRUE(fs::exists(dir.Sub("Picture/a.bmp")));
}

TEST_F(BrowserCommandsTest, OpenHandsOverPicturesOfAnySizeAndVideos) {
    const std::string odd = Picture("odd.jpg", 800, 600);
    Fill();
    Select(odd);
    const OpenRequest r = Commands().Open();
    EXPECT_EQ(r.kind, FileKind::Picture);
    EXPECT_EQ(r.path, odd);
    EXPECT_EQ(KindOfFile("/x/a.AVI"), FileKind::Video);
    EXPECT_EQ(KindOfFile("/x/a.Jpg"), FileKind::Other);
    EXPECT_EQ(KindOfFile("/x.jpg/readme"), FileKind::Other);
}

TEST_F(BrowserCommandsTest, SaveAsRefusesTheOwnFolderAndConvertsByExtension) {
    const std::string bmp = Picture("Still_N0001.bmp");
    Fill();
    Select(bmp);

    dialogs.target = dir.Sub("Picture/../Picture/copy.bmp");
    EXPECT_FALSE(Commands().SaveAs());
    EXPECT_EQ(prompts.shown.back(), "Can't save file to temp directory!!");
    EXPECT_EQ(dialogs.defaultNames.back(), "Still_N0001");
    EXPECT_NE(browser.GetSelected()->flags & kItemUnsaved, 0u);

    dialogs.target = dir.Sub("Out/copy.jpg");
    ASSERT_TRUE(Commands().SaveAs());
    EXPECT_EQ(browser.GetSelected()->flags & kItemUnsaved, 0u);
    EXPECT_EQ(test::ReadFile(dir.Sub("Out/copy.jpg")).substr(0, 2), "\xFF\xD8");
    CxImage back = CxImage::LoadFromFile(dir.Sub("Out/copy.jpg"), kImageTypeJpeg);
    ASSERT_TRUE(back.IsValid());
    EXPECT_EQ(back.GetWidth(), 64);

    // JPEG to ".bmp" decodes and writes a BMP; same type is a plain copy.
    const std::string jpg = Picture("b.jpg");
    Fill();
    Select(jpg);
    dialogs.target = dir.Sub("Out/b.bmp");
    ASSERT_TRUE(Commands().SaveAs());
    EXPECT_EQ(test::ReadFile(dir.Sub("Out/b.bmp")).substr(0, 2), "BM");
    dialogs.target = dir.Sub("Out/b2.jpg");
    ASSERT_TRUE(Commands().SaveAs());
    EXPECT_EQ(test::ReadFile(dir.Sub("Out/b2.jpg")), test::ReadFile(jpg));

    // A source that does not decode.
    const std::string junk = dir.Write("Picture/junk.bmp", std::string(100, 'j'));
    Fill();
    Select(junk);
    dialogs.target = dir.Sub("Out/junk.jpg");
    EXPECT_FALSE(Commands().SaveAs());
    EXPECT_EQ(prompts.shown.back(), "imageSave Create fail");
    EXPECT_NE(browser.GetSelected()->flags & kItemUnsaved, 0u);

    // A failed copy keeps the corner mark and says why.
    files.failCopies.insert("b.jpg");
    Select(jpg);
    dialogs.target = dir.Sub("Out/b3.jpg");
    EXPECT_FALSE(Commands().SaveAs());
    EXPECT_NE(prompts.shown.back().find(std::strerror(ENOSPC)), std::string::npos);
}

TEST_F(BrowserCommandsTest, SaveAllAsksBeforeReplacingThenDeletesTheListedFiles) {
    const std::string a = Picture("a.bmp");
    const std::string b = Picture("b.jpg");
    const std::string c = Picture("c.jpg");
    Fill();
    Select(a);
    // b exists in the target already: the first answer keeps it, the second confirms deleting.
    dir.Write("Out/b.jpg", "old contents of b, kept because the user said no");
    prompts.answers = {PromptAnswer::No, PromptAnswer::Yes};
    dialogs.target = dir.Sub("Out");
    ASSERT_TRUE(Commands().SaveAll());
    EXPECT_EQ(dialogs.defaultNames.back(), "a.bmp b.jpg c.jpg ");
    ASSERT_EQ(prompts.asked.size(), 2u);
    EXPECT_EQ(prompts.asked[0], "b.jpg\nThis file already exists\nReplace existing file?");
    EXPECT_EQ(prompts.asked[1], "Are you sure to delete all?\n(3 files)");
    EXPECT_EQ(test::ReadFile(dir.Sub("Out/b.jpg")),
              "old contents of b, kept because the user said no");
    EXPECT_EQ(test::ReadFile(dir.Sub("Out/c.jpg")).size(), fs::file_size(dir.Sub("Out/c.jpg")));
    EXPECT_TRUE(fs::exists(dir.Sub("Out/a.bmp")));
    EXPECT_FALSE(fs::exists(a));
    EXPECT_FALSE(fs::exists(c));
    EXPECT_EQ(browser.Current().Count(), 0);
}

TEST_F(BrowserCommandsTest, SaveAllStopsAtAFailedCopyAndDeletesNothing) {
    const std::string a = Picture("a.bmp");
    const std::string b = Picture("b.jpg");
    const std::string c = Picture("c.jpg");
    Fill();
    Select(c);
    files.failCopies.insert("b.jpg");
    dialogs.target = dir.Sub("Out");
    EXPECT_FALSE(Commands().SaveAll());
    EXPECT_EQ(files.copies, (std::vector<std::string>{"a.bmp", "b.jpg"}));
    EXPECT_TRUE(prompts.asked.empty());  // no delete question
    EXPECT_EQ(prompts.shown.back(), std::string("b.jpg\n") + std::strerror(ENOSPC));
    for (const std::string& p : {a, b, c}) {
        EXPECT_TRUE(fs::exists(p)) << p;
    }
    EXPECT_EQ(browser.Current().Count(), 3);

    // Into the list's own folder it would copy every file onto itself: refused.
    files.failCopies.clear();
    dialogs.target = dir.Sub("Picture");
    EXPECT_FALSE(Commands().SaveAll());
    EXPECT_EQ(prompts.shown.back(), "Can't save file to temp directory!!");
    EXPECT_EQ(browser.Current().Count(), 3);
}

TEST_F(BrowserCommandsTest, DeleteAskesAndReportsTheSystemError) {
    const std::string a = Picture("a.bmp");
    const std::string b = Picture("b.bmp");
    Fill();
    Select(b);
    prompts.answers = {PromptAnswer::No};
    EXPECT_FALSE(Commands().Delete());
    EXPECT_EQ(prompts.asked.back(), "Are you sure to delete?");
    EXPECT_TRUE(fs::exists(b));

    files.failRemoves.insert("b.bmp");
    EXPECT_FALSE(Commands().Delete());
    EXPECT_EQ(prompts.shown.back(), std::strerror(EACCES));
    EXPECT_EQ(prompts.icons.back(), PromptIcon::Error);
    EXPECT_EQ(browser.Current().Count(), 2);

    files.failRemoves.clear();
    EXPECT_TRUE(Commands().Delete());
    EXPECT_FALSE(fs::exists(b));
    EXPECT_EQ(browser.Current().Count(), 1);
    EXPECT_EQ(browser.GetSelected(), nullptr);
    EXPECT_TRUE(fs::exists(a));
}

TEST_F(BrowserCommandsTest, DeleteAllDeletesOnlyListedFilesAndKeepsThoseThatFail) {
    const std::string a = Picture("a.bmp");
    const std::string b = Picture("b.bmp");
    const std::string c = Picture("c.bmp");
    Fill();
    // Written after the list was made: the operator's note is not a listed file.
    const std::string note = dir.Write("Picture/notes.txt", std::string(200, 'n'));
    Select(a);
    files.failRemoves.insert("b.bmp");
    EXPECT_FALSE(Commands().DeleteAll());
    EXPECT_EQ(prompts.asked.back(), "Are you sure to delete all?\n(3 files)");
    EXPECT_TRUE(fs::exists(note));
    EXPECT_FALSE(fs::exists(a));
    EXPECT_FALSE(fs::exists(c));
    ASSERT_EQ(browser.Current().Count(), 1);
    EXPECT_EQ(browser.Current().items[0].path, b);
    EXPECT_NE(prompts.shown.back().find(std::strerror(EACCES)), std::string::npos);
}

TEST_F(BrowserCommandsTest, EmailAttachesJpegsAsTheyAreAndBmpsAsAJpegCopy) {
    const std::string jpg = Picture("a.jpg");
    const std::string bmp = Picture("Still_N0002.bmp");
    dir.Write("App/old-mail.jpg", std::string(50, 'o'));
    Fill();
    Select(jpg);
    ASSERT_TRUE(Commands().Email());
    ASSERT_EQ(launcher.started.size(), 1u);
    EXPECT_EQ(launcher.started[0], (std::vector<std::string>{"xdg-email", "--attach", jpg}));
    EXPECT_TRUE(fs::exists(dir.Sub("App/old-mail.jpg")));

    Select(bmp);
    ASSERT_TRUE(Commands().Email());
    const std::string copy = dir.Sub("App/Still_N0002.jpg");
    EXPECT_EQ(launcher.started[1], (std::vector<std::string>{"xdg-email", "--attach", copy}));
    EXPECT_EQ(test::ReadFile(copy).substr(0, 2), "\xFF\xD8");
    EXPECT_FALSE(fs::exists(dir.Sub("App/old-mail.jpg")));
    EXPECT_TRUE(prompts.shown.empty());

    launcher.works = false;
    EXPECT_FALSE(Commands().Email());
    EXPECT_EQ(prompts.shown.back(), "mail client cannot be started");
}

}  // namespace
}  // namespace lensora
