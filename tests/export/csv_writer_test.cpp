#include "export/csv_writer.h"

#include <gtest/gtest.h>

#include <cerrno>

#include "export_samples.h"
#include "support/temp_dir.h"

namespace lensora {
namespace {

using test::Record;

constexpr std::string_view kBom = "\xEF\xBB\xBF";

TEST(CsvExport, RowsParseBackCellForCellWithBomAndQuoting) {
    RecordList list = test::EveryStillKind();
    test::Add(list, Record(1, {}, {"L:1,5mm \"odd\"\nsecond line"}));
    test::Add(list, Record(1, {}, {" 12.5µm 30° <&> \x01"}));
    const std::string text = BuildCsv(list, RecordScheme::Still, test::MillimetreScale(480));
    ASSERT_EQ(text.substr(0, 3), kBom);
    const auto rows = test::ParseCsv(text.substr(3));
    ASSERT_EQ(rows.size(), 22u);  // header + 19 + 2
    for (const auto& row : rows) {
        EXPECT_EQ(row.size(), 10u);
    }
    EXPECT_EQ(rows[0][0], "measuring objective");
    EXPECT_EQ(rows[0][9], "Arc");
    EXPECT_EQ(rows[7][1], "T:3.750mm");
    EXPECT_EQ(rows[8][6], "A:7.0mm2");
    EXPECT_EQ(rows[20][1], "L:1,5mm \"odd\"\nsecond line");
    // The control character becomes a blank; a leading blank is kept by quoting.
    EXPECT_EQ(rows[21][1], " 12.5µm 30° <&>  ");
    EXPECT_EQ(CsvCell("plain"), "plain");
    EXPECT_EQ(CsvCell("a\"b"), "\"a\"\"b\"");
}

TEST(CsvExport, EmptyListWritesTheHeaderAndThePreviousFileIsKeptAsBak) {
    test::TempDir dir;
    const std::string path = dir.Write("out.csv", "previous contents");
    ASSERT_TRUE(ExportCsv(path, RecordList{}, RecordScheme::Live, test::MillimetreScale(480)).ok());
    EXPECT_EQ(test::ReadFile(path + ".bak"), "previous contents");
    const std::string text = test::ReadFile(path);
    const auto rows = test::ParseCsv(text.substr(3));
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][9], "Arc-length");
}

TEST(CsvExport, AFullDiskFailsWithoutTouchingTheFile) {
    test::TempDir dir;
    const std::string path = dir.Write("out.csv", "previous contents");
    const FileSeam full = test::FullDisk();
    const ExportResult r = ExportCsv(path, test::EveryStillKind(), RecordScheme::Still,
                                     test::MillimetreScale(1), full);
    EXPECT_EQ(r.status, ExportResult::Status::Failed);
    EXPECT_NE(r.reason.find("No space left on device"), std::string::npos);
    EXPECT_EQ(test::ReadFile(path), "previous contents");
}

}  // namespace
}  // namespace lensora
