#include "measure/ini_table.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/temp_dir.h"

namespace lensora {
namespace {
namespace fs = std::filesystem;
using test::ReadFile;
using test::TempDir;

class IniTableTest : public ::testing::Test {
  protected:
    // Loads `bytes` written as the calibration file.
    IniTable LoadText(std::string_view bytes) {
        path_ = dir_.Write("CalibrationIni.ini", bytes);
        IniTable table;
        EXPECT_TRUE(table.Load(path_));
        return table;
    }
    // Sets one value in `bytes` and returns the rewritten file.
    std::string SetAndWrite(std::string_view bytes, std::string_view section, std::string_view key,
                            std::string_view value) {
        IniTable table = LoadText(bytes);
        EXPECT_TRUE(table.SetValue(section, key, value));
        EXPECT_TRUE(table.Close());
        return ReadFile(path_);
    }

    TempDir dir_;
    std::string path_;
};

TEST_F(IniTableTest, MissingFileStaysNotLoadedAndIsNeverCreated) {
    IniTable table;
    EXPECT_FALSE(table.Load(dir_.Sub("CalibrationIni.ini")));
    EXPECT_FALSE(table.IsLoaded());
    EXPECT_FALSE(table.GetValue("50", "50"));
    EXPECT_FALSE(table.SetValue("50", "50", "43.7"));
    EXPECT_FALSE(table.Close());
    EXPECT_FALSE(fs::exists(dir_.Sub("CalibrationIni.ini")));
    // A folder under the file's name does not load either.
    fs::create_directory(dir_.Sub("folder.ini"));
    EXPECT_FALSE(table.Load(dir_.Sub("folder.ini")));
}

TEST_F(IniTableTest, GetValueRules) {
    IniTable table = LoadText(
        "  [Abc]   \n"  // blanks around the section line
        "// abc=1.0\n"  // a comment is skipped even though it holds the key
        "abc= 43.7 \n"  // the value is untrimmed
        "[50]\n"
        "150=10.0\n"  // holds "50": read for key 50
        "50=20.0\n"
        "[60]\n"
        "[70]\n"
        "70\n"  // an entry without "=" has no value
        "[80]\n"
        "x=1=2\n");
    EXPECT_EQ(table.GetValue("abc", "abc"), " 43.7 ");
    EXPECT_EQ(table.GetValue("ABC", "abc"), " 43.7 ");
    EXPECT_FALSE(table.GetValue("abc", "ABC"));  // keys are compared exactly
    EXPECT_EQ(table.GetValue("50", "50"), "10.0");
    EXPECT_EQ(table.GetValue("50", "150"), "10.0");
    EXPECT_FALSE(table.GetValue("60", "60"));  // "[" ends the section before [70]'s lines
    EXPECT_FALSE(table.GetValue("70", "70"));
    EXPECT_EQ(table.GetValue("80", "x"), "1=2");
    EXPECT_FALSE(table.GetValue("90", "90"));
}

TEST_F(IniTableTest, SetValueReplacesInsertsAndAppends) {
    // Replace within the section; other lines untouched.
    EXPECT_EQ(SetAndWrite("[50]\n// note\n50=1.0\n[60]\n60=2.0\n", "50", "50", "43.7"),
              "[50]\n// note\n50=43.7\n[60]\n60=2.0\n");
    // The section has no entry: insert before the next section.
    EXPECT_EQ(SetAndWrite("[50]\n[60]\n60=2.0\n", "50", "50", "43.7"),
              "[50]\n50=43.7\n[60]\n60=2.0\n");
    // The last section has no entry: append at the end.
    EXPECT_EQ(SetAndWrite("[60]\n60=2.0\n[50]\n", "50", "50", "43.7"),
              "[60]\n60=2.0\n[50]\n50=43.7\n");
    // Missing section, and an empty file: section and entry at the end.
    EXPECT_EQ(SetAndWrite("[60]\n60=2.0\n", "50", "50", "43.7"), "[60]\n60=2.0\n[50]\n50=43.7\n");
    EXPECT_EQ(SetAndWrite("", "50", "50", "43.7"), "[50]\n50=43.7\n");
    // A section line with trailing blanks and other case is the section.
    EXPECT_EQ(SetAndWrite("[x50]  \nx50=1.0\n", "X50", "x50", "2.0"), "[x50]  \nx50=2.0\n");
}

TEST_F(IniTableTest, StoringFiftyLeavesTheEntryOfOneHundredFifty) {
    const std::string file = SetAndWrite("[150]\n150=10.0\n", "50", "50", "20.0");
    EXPECT_EQ(file, "[150]\n150=10.0\n[50]\n50=20.0\n");
    IniTable table = LoadText(file);
    EXPECT_EQ(table.GetValue("150", "150"), "10.0");
    EXPECT_EQ(table.GetValue("50", "50"), "20.0");
}

TEST_F(IniTableTest, WriteThenReadRoundTrip) {
    path_ = dir_.Write("CalibrationIni.ini", "");
    const char* names[] = {"10", "100", "1", "200X", "0.5", "tele 2"};
    for (int i = 0; i < 6; ++i) {
        IniTable table;
        ASSERT_TRUE(table.Load(path_));
        ASSERT_TRUE(table.SetValue(names[i], names[i], std::to_string(i) + ".5"));
        ASSERT_TRUE(table.Close());
        EXPECT_FALSE(table.IsLoaded());
        EXPECT_TRUE(table.Lines().empty());
    }
    IniTable table;
    ASSERT_TRUE(table.Load(path_));
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(table.GetValue(names[i], names[i]), std::to_string(i) + ".5") << names[i];
    }
}

TEST_F(IniTableTest, ToleratesCrlfBomJunkAndLongLines) {
    std::string junk("\x00\xff\xfe[\x01=\x80\n", 8);
    const std::string longLine(1 << 20, 'z');
    IniTable table = LoadText("\xEF\xBB\xBF[50]\r\n50=43.7\r\n" + junk + longLine +
                              "\n[60] \r\n60=1.5");  // no final line end
    EXPECT_EQ(table.GetValue("50", "50"), "43.7");
    EXPECT_EQ(table.GetValue("60", "60"), "1.5");
    ASSERT_TRUE(table.SetValue("60", "60", "2.5"));
    ASSERT_TRUE(table.Close());
    // Rewritten with "\n" endings, without the byte-order mark, junk and long line kept.
    EXPECT_EQ(ReadFile(path_), "[50]\n50=43.7\n" + junk + longLine + "\n[60] \n60=2.5\n");
}

TEST_F(IniTableTest, NamesThatWouldBreakTheFileAreRefused) {
    const std::string original = "[5]\n5=1.0\n[x]\nx=2.0\n";
    for (const char* bad : {"5]", "[x", "x=5", "=", "", "  ", "a//b", "5\n[x]", "x\r"}) {
        IniTable table = LoadText(original);
        EXPECT_FALSE(table.SetValue(bad, bad, "9.9")) << bad;
        EXPECT_FALSE(table.GetValue(bad, bad)) << bad;
        EXPECT_TRUE(table.Close());
        EXPECT_EQ(ReadFile(path_), original) << bad;
    }
    IniTable table = LoadText(original);
    EXPECT_FALSE(table.SetValue("5", "5", "1]\n[x"));
    EXPECT_FALSE(table.SetValue("5", "5", "//"));
    EXPECT_TRUE(table.SetValue("5", "5", ""));
}

TEST_F(IniTableTest, FailedRewriteLeavesTheOldFile) {
    const std::string original = "[50]\n50=43.7\n";
    IniTable table = LoadText(original);
    // A folder where the temporary file would go makes the write fail before the rename.
    fs::create_directory(path_ + ".tmp");
    ASSERT_TRUE(table.SetValue("50", "50", "99.9"));
    EXPECT_FALSE(table.Close());
    EXPECT_EQ(ReadFile(path_), original);
    EXPECT_FALSE(table.IsLoaded());

    // With the obstacle gone the rewrite succeeds and leaves no temporary file.
    fs::remove(path_ + ".tmp");
    EXPECT_TRUE(ReplaceFileAtomically(path_, "[50]\n50=1.0\n"));
    EXPECT_EQ(ReadFile(path_), "[50]\n50=1.0\n");
    EXPECT_FALSE(fs::exists(path_ + ".tmp"));
}

TEST_F(IniTableTest, RewriteGoesThroughALinkAndSkipsHugeFiles) {
    const std::string target = dir_.Write("real.ini", "[1]\n1=1.0\n");
    const std::string link = dir_.Sub("CalibrationIni.ini");
    fs::create_symlink(target, link);
    IniTable table;
    ASSERT_TRUE(table.Load(link));
    ASSERT_TRUE(table.SetValue("1", "1", "2.0"));
    ASSERT_TRUE(table.Close());
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(ReadFile(target), "[1]\n1=2.0\n");

    const std::string huge = dir_.Write("huge.ini", "[1]\n");
    fs::resize_file(huge, IniTable::kMaxFileBytes + 1);
    EXPECT_FALSE(table.Load(huge));
}

}  // namespace
}  // namespace lensora
