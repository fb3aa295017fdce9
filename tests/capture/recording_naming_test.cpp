#include "capture/recording_naming.h"

#include <gtest/gtest.h>

#include <fstream>

#include "support/temp_dir.h"

namespace lensora {
namespace {

void Touch(const std::filesystem::path& path) {
    std::ofstream(path) << "x";
}

TEST(RecordingNaming, NameCarriesLocalTimeAndFourDigitSequence) {
    std::tm t{};
    t.tm_year = 2016 - 1900;
    t.tm_mon = 4;
    t.tm_mday = 3;
    t.tm_hour = 14;
    t.tm_min = 25;
    t.tm_sec = 30;
    EXPECT_EQ(RecordingFileName(t, 3), "Video_2016-05-03_142530_N0003.avi");
    t.tm_hour = 0;
    t.tm_min = 5;
    t.tm_sec = 9;
    EXPECT_EQ(RecordingFileName(t, 12345), "Video_2016-05-03_000509_N12345.avi");
    t.tm_year = 999 - 1900;  // the year is space-padded, not zero-padded
    EXPECT_EQ(RecordingFileName(t, 1), "Video_ 999-05-03_000509_N0001.avi");
}

TEST(RecordingNaming, NumberIsTakenAfterTheLastUpperCaseN) {
    EXPECT_EQ(SequenceNumberOfName("Video_2016-05-03_142530_N0009.avi"), 9);
    EXPECT_EQ(SequenceNumberOfName("Still_2016-05-03_142612_60X_N0012.jpg"), 12);
    EXPECT_EQ(SequenceNumberOfName("photo.avi"), -1);      // no upper-case N: does not count
    EXPECT_EQ(SequenceNumberOfName("IMAGEN.avi"), 0);      // no digits after it
    EXPECT_EQ(SequenceNumberOfName("N12abc.avi"), 12);     // leading digits only
    EXPECT_EQ(SequenceNumberOfName("clip_N7"), 7);         // no dot: to the end
    EXPECT_EQ(SequenceNumberOfName("N0005.part.avi"), 5);  // up to the last dot
    // A number too large to count on must not wrap the next one around to a negative value.
    EXPECT_GT(SequenceNumberOfName("N99999999999999999999999.avi"), 1'000'000);
}

TEST(RecordingNaming, ScanFindsNextNumberAndReportsMatchingFolders) {
    test::TempDir dir;
    SequenceScan scan = ScanSequenceNumbers(dir.Path(), ".avi");
    EXPECT_EQ(scan.next, 1);
    EXPECT_TRUE(scan.folders.empty());

    Touch(dir.Path() / "Video_2016-05-03_142530_N0001.avi");
    EXPECT_EQ(ScanSequenceNumbers(dir.Path(), ".avi").next, 2);

    Touch(dir.Path() / "Video_2016-05-03_142530_N0041.AVI");  // extension in any case
    Touch(dir.Path() / "Still_2016-05-03_142530_N0099.jpg");  // other types do not count
    Touch(dir.Path() / "notes.avi");
    std::filesystem::create_directory(dir.Path() / "Old_N0500.avi");
    scan = ScanSequenceNumbers(dir.Path(), ".avi");
    EXPECT_EQ(scan.next, 42);
    ASSERT_EQ(scan.folders.size(), 1u);
    EXPECT_EQ(scan.folders[0].filename(), "Old_N0500.avi");

    EXPECT_EQ(ScanSequenceNumbers(dir.Path(), ".jpg").next, 100);
    EXPECT_EQ(ScanSequenceNumbers(dir.Path() / "missing", ".avi").next, 1);
}

}  // namespace
}  // namespace lensora
