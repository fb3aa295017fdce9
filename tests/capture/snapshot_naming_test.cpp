// Snapshot names: the sequence number scan of the picture folder, the name itself and the
// magnification text allowed in it.
#include "capture/snapshot_naming.h"

#include <gtest/gtest.h>

#include <climits>
#include <filesystem>

#include "support/fake_prompts.h"
#include "support/temp_dir.h"

namespace lensora {
namespace {

using test::FakePrompts;
using test::TempDir;

std::tm At(int year, int month, int day, int hour, int minute, int second) {
    std::tm t{};
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_hour = hour;
    t.tm_min = minute;
    t.tm_sec = second;
    return t;
}

TEST(SnapshotSequence, CountsOnlyTheCurrentTypesFilesAndTheirLastN) {
    TempDir dir;
    FakePrompts prompts;
    // Nothing there yet, or no folder at all: the first snapshot is 0001.
    EXPECT_EQ(ScanSequenceNumber(dir.Str(), ".jpg", &prompts).next, 1);
    EXPECT_EQ(ScanSequenceNumber(dir.Sub("missing"), ".jpg", &prompts).next, 1);

    dir.Write("Still_2016-05-03_142530_N0009.jpg", "x");
    dir.Write("Still_2016-05-03_142612_60X_N0012.jpg", "x");
    dir.Write("photo.jpg", "x");        // no upper-case N: no number
    dir.Write("IMAGEN.jpg", "x");       // N followed by no digits counts as 0
    dir.Write("Still_N0040.bmp", "x");  // the other type never advances the JPEG number
    dir.Write("Still_N0077.jpg.part", "x");
    dir.Write("Still_N0078.txt", "x");
    EXPECT_EQ(ScanSequenceNumber(dir.Str(), ".jpg", &prompts).next, 13);
    EXPECT_EQ(ScanSequenceNumber(dir.Str(), ".bmp", &prompts).next, 41);
    // An upper-case extension is the same type.
    dir.Write("Still_N0020.JPG", "x");
    EXPECT_EQ(ScanSequenceNumber(dir.Str(), ".jpg", &prompts).next, 21);

    TempDir bmpOnly;
    bmpOnly.Write("Still_N0009.jpg", "x");
    EXPECT_EQ(ScanSequenceNumber(bmpOnly.Str(), ".bmp", &prompts).next, 1);
    EXPECT_TRUE(prompts.shown.empty());
}

TEST(SnapshotSequence, AFolderWithAPictureNameIsReportedOnceAndSkipped) {
    TempDir dir;
    FakePrompts prompts;
    std::filesystem::create_directories(dir.Path() / "Still_N0099.jpg");
    std::filesystem::create_directories(dir.Path() / "old.jpg");
    std::filesystem::create_directories(dir.Path() / "Still_N0500.bmp");
    dir.Write("Still_N0003.jpg", "x");
    const SequenceScan scan = ScanSequenceNumber(dir.Str(), ".jpg", &prompts);
    EXPECT_EQ(scan.next, 4);
    EXPECT_EQ(scan.folders.size(), 2u);
    ASSERT_EQ(prompts.shown.size(), 2u);
    EXPECT_EQ(prompts.shown[0], "Picture Error");
    EXPECT_EQ(prompts.shown[1], "Picture Error");
}

TEST(SnapshotSequence, NumberAfterTheLastN) {
    EXPECT_EQ(SequenceNumberOfName("Still_2016-05-03_142530_N0009.jpg"), 9);
    EXPECT_EQ(SequenceNumberOfName("Still_2016-05-03_142612_60X_N0012.jpg"), 12);
    EXPECT_EQ(SequenceNumberOfName("IMAGEN.jpg"), 0);
    EXPECT_EQ(SequenceNumberOfName("photo.jpg"), -1);   // no N: does not count
    EXPECT_EQ(SequenceNumberOfName("N12b34.jpg"), 12);  // leading digits only
    EXPECT_EQ(SequenceNumberOfName("N0007Nx.jpg"), 0);  // the last N decides
    EXPECT_EQ(SequenceNumberOfName("Still_N0012345.jpg"), 12345);
    EXPECT_EQ(SequenceNumberOfName("N99999999999999999999.jpg"), INT_MAX - 1);  // no overflow
    EXPECT_EQ(SequenceNumberOfName("Still_N0015"), 15);  // no extension: to the end
}

TEST(SnapshotName, DateTimeMagnificationAndNumber) {
    const std::tm t = At(2016, 5, 3, 14, 25, 30);
    EXPECT_EQ(SnapshotFileName(t, "60", 7, ".jpg"), "Still_2016-05-03_142530_60X_N0007.jpg");
    EXPECT_EQ(SnapshotFileName(t, "", 7, ".jpg"), "Still_2016-05-03_142530_N0007.jpg");
    EXPECT_EQ(SnapshotFileName(At(2026, 12, 31, 0, 0, 5), "200", 13, ".bmp"),
              "Still_2026-12-31_000005_200X_N0013.bmp");
    // The year is space-padded, the number has at least four digits.
    EXPECT_EQ(SnapshotFileName(At(999, 1, 2, 23, 59, 59), "", 12345, ".jpg"),
              "Still_ 999-01-02_235959_N12345.jpg");
}

TEST(SnapshotName, MagnificationCannotLeadOutOfThePictureFolder) {
    EXPECT_TRUE(IsNameSafeMagnification("60"));
    EXPECT_TRUE(IsNameSafeMagnification("0.5 µm"));
    EXPECT_FALSE(IsNameSafeMagnification("../../etc/x"));
    EXPECT_FALSE(IsNameSafeMagnification(std::string_view("60\0x", 4)));

    const std::tm t = At(2016, 5, 3, 14, 25, 30);
    const std::string name = SnapshotFileName(t, "../../x", 1, ".jpg");
    EXPECT_EQ(name.find('/'), std::string::npos);
    EXPECT_EQ(name, "Still_2016-05-03_142530_.._.._xX_N0001.jpg");
    EXPECT_EQ(SnapshotFileName(t,
                               std::string_view("6\0"
                                                "0",
                                                3),
                               1, ".jpg"),
              "Still_2016-05-03_142530_6_0X_N0001.jpg");

    // At most 23 characters, never cutting a character in two.
    EXPECT_EQ(MagnificationForName(std::string(30, '9')), std::string(23, '9'));
    const std::string micro = "µµµµµµµµµµµµµµµµµµµµµµµµµ";  // 25 two-byte characters
    EXPECT_EQ(MagnificationForName(micro), micro.substr(0, 46));
}

TEST(SnapshotName, ImageFormatChoosesTheType) {
    EXPECT_EQ(SnapshotExtension(1), ".bmp");
    EXPECT_EQ(SnapshotExtension(2), ".jpg");
    EXPECT_EQ(SnapshotExtension(0), ".jpg");
    EXPECT_EQ(SnapshotExtension(7), ".jpg");
}

}  // namespace
}  // namespace lensora
