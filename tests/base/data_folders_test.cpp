#include "base/data_folders.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "base/utf.h"
#include "support/temp_dir.h"

namespace lensora {
namespace {
namespace fs = std::filesystem;
using test::ReadFile;
using test::TempDir;

std::string FolderFileBytes(std::u16string_view text, std::size_t size = kFolderFileBytes) {
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < text.size() && 2 * i + 1 < size; ++i) {
        bytes[2 * i] = static_cast<char>(text[i] & 0xFF);
        bytes[2 * i + 1] = static_cast<char>(text[i] >> 8);
    }
    return bytes;
}

std::u16string Utf16Of(const std::string& s) {
    return Utf8ToUtf16(s);
}

TEST(FolderFile, EncodesUtf16LeZeroFilledTo520Bytes) {
    auto bytes = EncodeFolderFile("/home/u/Bilder \xC3\xA4");
    ASSERT_TRUE(bytes);
    ASSERT_EQ(bytes->size(), 520u);
    EXPECT_EQ((*bytes)[0], '/');
    EXPECT_EQ((*bytes)[1], 0);
    EXPECT_EQ((*bytes)[2 * 15], 0xE4);  // ä
    for (std::size_t i = 2 * 16; i < 520; ++i) {
        ASSERT_EQ((*bytes)[i], 0) << i;
    }
    EXPECT_EQ(ParseFolderFile(*bytes), "/home/u/Bilder \xC3\xA4");

    EXPECT_TRUE(EncodeFolderFile(std::string(259, 'a')));
    EXPECT_FALSE(EncodeFolderFile(std::string(260, 'a')));  // no room for the terminator
}

TEST(FolderFile, RefusesEmptyAndUnterminatedContent) {
    EXPECT_FALSE(ParseFolderFile({}));
    const std::string empty = FolderFileBytes(u"");
    EXPECT_FALSE(ParseFolderFile(
        std::span(reinterpret_cast<const unsigned char*>(empty.data()), empty.size())));
    const std::string full = FolderFileBytes(std::u16string(260, u'x'));
    EXPECT_FALSE(ParseFolderFile(
        std::span(reinterpret_cast<const unsigned char*>(full.data()), full.size())));
    // A shorter file is fine as long as the terminator is there.
    const std::string shortFile = FolderFileBytes(u"/data", 12);
    EXPECT_EQ(ParseFolderFile(std::span(reinterpret_cast<const unsigned char*>(shortFile.data()),
                                        shortFile.size())),
              "/data");
}

TEST(DataFoldersLoad, WithoutFolderFileUsesAndCreatesTheDocumentsDefault) {
    TempDir dir;
    const DataFolders f = LoadFolders(dir.Sub("config"), dir.Sub("Documents"));
    EXPECT_EQ(f.dataRoot, dir.Sub("Documents") + "/Lensora files");
    EXPECT_EQ(f.pictureFolder, dir.Sub("Documents") + "/Lensora files/Picture");
    EXPECT_EQ(f.videoFolder, dir.Sub("Documents") + "/Lensora files/Video");
    EXPECT_TRUE(fs::is_directory(f.pictureFolder));
    EXPECT_TRUE(fs::is_directory(f.videoFolder));
    EXPECT_FALSE(fs::exists(dir.Sub("config/folderpath.dat")));  // the default is not written
}

TEST(DataFoldersLoad, ChosenRootIsSavedAndUsedNextTimeWithoutCreatingSubfolders) {
    TempDir dir;
    DataFolders f = LoadFolders(dir.Sub("config"), dir.Sub("Documents"));
    fs::create_directories(dir.Sub("config"));
    ASSERT_TRUE(SaveFolderFile(f, dir.Sub("chosen")));
    EXPECT_EQ(fs::file_size(dir.Sub("config/folderpath.dat")), 520u);
    EXPECT_EQ(f.pictureFolder, dir.Sub("chosen") + "/Picture");
    EXPECT_TRUE(fs::is_directory(f.pictureFolder));
    EXPECT_TRUE(fs::is_directory(f.videoFolder));

    fs::remove_all(dir.Sub("chosen/Picture"));
    fs::remove_all(dir.Sub("chosen/Video"));
    const DataFolders next = LoadFolders(dir.Sub("config"), dir.Sub("Documents"));
    EXPECT_EQ(next.dataRoot, dir.Sub("chosen"));
    EXPECT_EQ(next.videoFolder, dir.Sub("chosen") + "/Video");
    EXPECT_FALSE(fs::exists(next.pictureFolder));
    EXPECT_FALSE(fs::exists(next.videoFolder));
}

TEST(DataFoldersLoad, UnusableFolderFilesFallBackToTheDefault) {
    TempDir dir;
    const std::string expected = dir.Sub("Documents") + "/Lensora files";
    const auto loadWith = [&](const std::string& bytes) {
        dir.Write("config/folderpath.dat", bytes);
        return LoadFolders(dir.Sub("config"), dir.Sub("Documents")).dataRoot;
    };
    EXPECT_EQ(loadWith(""), expected);
    EXPECT_EQ(loadWith(FolderFileBytes(u"")), expected);
    EXPECT_EQ(loadWith(FolderFileBytes(std::u16string(260, u'x'))), expected);
    // A regular file where the folder should be: it cannot be created.
    dir.Write("blocker", "x");
    EXPECT_EQ(loadWith(FolderFileBytes(Utf16Of(dir.Sub("blocker/sub")))), expected);
    // A folder that exists but cannot be written.
    if (::geteuid() != 0) {
        fs::create_directories(dir.Sub("readonly"));
        ::chmod(dir.Sub("readonly").c_str(), 0500);
        EXPECT_EQ(loadWith(FolderFileBytes(Utf16Of(dir.Sub("readonly")))), expected);
    }
    // A folder that does not exist yet but can be created is accepted.
    EXPECT_EQ(loadWith(FolderFileBytes(Utf16Of(dir.Sub("new/root")))), dir.Sub("new/root"));
}

TEST(DataFoldersSave, FailsWithoutChangingFoldersWhenTheFileCannotBeWritten) {
    TempDir dir;
    DataFolders f = LoadFolders(dir.Sub("missing/config"), dir.Sub("Documents"));
    const DataFolders before = f;
    EXPECT_FALSE(SaveFolderFile(f, dir.Sub("chosen")));  // the config folder does not exist
    EXPECT_EQ(f.dataRoot, before.dataRoot);
    EXPECT_EQ(f.pictureFolder, before.pictureFolder);
}

}  // namespace
}  // namespace lensora
