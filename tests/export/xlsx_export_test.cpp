#include "export/xlsx_writer.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

#include "export/xlsx_reader.h"
#include "export/zip_package.h"
#include "export_samples.h"
#include "support/temp_dir.h"

namespace lensora {
namespace {

using test::Record;

WorkbookData ReadBack(const std::string& path) {
    const auto bytes = ReadWholeFile(path);
    EXPECT_TRUE(bytes.has_value());
    std::string why;
    auto book = ReadXlsx(bytes.value_or(std::string()), &why);
    EXPECT_TRUE(book.has_value()) << why;
    return book.value_or(WorkbookData{});
}

std::vector<std::string> FolderEntries(const test::TempDir& dir) {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(dir.Path())) {
        names.push_back(e.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

FileSeam FullDiskAfter(std::size_t bytesThatFit) {
    auto left = std::make_shared<std::size_t>(bytesThatFit);
    return FileSeam{[left](int fd, const void* data, std::size_t size) -> long {
                        if (*left == 0) {
                            errno = ENOSPC;
                            return -1;
                        }
                        const std::size_t n = std::min(size, *left);
                        *left -= n;
                        return static_cast<long>(::write(fd, data, n));
                    },
                    SystemFileSeam().sync};
}

const ReplaceQuestion kNeverAsked = [](std::string_view) -> bool {
    ADD_FAILURE() << "no question expected";
    return false;
};

TEST(XlsxExport, CellsStandWhereTheTablesPutThemAndReExportKeepsABackup) {
    test::TempDir dir;
    const std::string path = dir.Sub("m.xlsx");
    const ExportScale scale = test::MillimetreScale(480);
    RecordList first = test::EveryStillKind();
    ASSERT_TRUE(ExportXlsx(path, first, RecordScheme::Still, scale, kNeverAsked).ok());

    WorkbookData book = ReadBack(path);
    ASSERT_EQ(book.sheets.size(), 1u);
    const SheetData* data = book.Find("ExportData");
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data->RowCount(), 20);  // header + 19 rows
    EXPECT_EQ(data->At(0, 0), "measuring objective");
    EXPECT_EQ(data->At(0, 9), "Arc");
    EXPECT_EQ(data->At(1, 0), "Line");
    EXPECT_EQ(data->At(1, 1), "L:1.000mm");
    EXPECT_EQ(data->At(7, 1), "T:3.750mm");
    EXPECT_EQ(data->At(8, 2), "R:8.0mm");
    EXPECT_EQ(data->At(8, 6), "A:7.0mm2");
    EXPECT_EQ(data->At(8, 8), "G:9.0mm");
    EXPECT_EQ(data->At(15, 7), "90.000°");
    EXPECT_EQ(data->At(18, 9), "Arc:3");
    EXPECT_FALSE(data->cells.front().number);
    const std::size_t firstCells = data->cells.size();

    RecordList second;
    test::Add(second, Record(1, {{0, 0}, {1, 1}}, {"L:42.000mm"}));
    ASSERT_TRUE(ExportXlsx(path, second, RecordScheme::Still, scale, kNeverAsked).ok());
    book = ReadBack(path);
    ASSERT_EQ(book.sheets.size(), 2u);
    EXPECT_EQ(book.sheets[0].name, "ExportData");
    EXPECT_EQ(book.sheets[1].name, "CSpreadSheetBackup");
    EXPECT_EQ(book.sheets[0].RowCount(), 2);
    EXPECT_EQ(book.sheets[0].At(1, 1), "L:42.000mm");
    EXPECT_EQ(book.sheets[1].cells.size(), firstCells);
    EXPECT_EQ(book.sheets[1].At(7, 1), "T:3.750mm");

    // A third export backs up the second one, not the first.
    ASSERT_TRUE(ExportXlsx(path, first, RecordScheme::Still, scale, kNeverAsked).ok());
    book = ReadBack(path);
    ASSERT_EQ(book.sheets.size(), 2u);
    EXPECT_EQ(book.sheets[1].RowCount(), 2);
    EXPECT_EQ(book.sheets[1].At(1, 1), "L:42.000mm");
    EXPECT_EQ(FolderEntries(dir), std::vector<std::string>{"m.xlsx"});
}

TEST(XlsxExport, OtherSheetsKeepTheirValues) {
    test::TempDir dir;
    const std::string path = dir.Sub("book.xlsx");
    SheetData notes{"Notes", {{0, 0, "kept", false}, {3, 2, "12.5", true}, {4, 1, "a<b&c", false}}};
    std::string error;
    const auto bytes = BuildXlsx({notes}, &error);
    ASSERT_TRUE(bytes) << error;
    ASSERT_FALSE(SaveFileAtomically(path, *bytes));

    ASSERT_TRUE(
        ExportXlsx(path, RecordList{}, RecordScheme::Live, test::MillimetreScale(480), kNeverAsked)
            .ok());
    const WorkbookData book = ReadBack(path);
    ASSERT_EQ(book.sheets.size(), 2u);
    EXPECT_EQ(book.sheets[0].name, "ExportData");
    EXPECT_EQ(book.sheets[0].RowCount(), 1);  // an empty list: the header row only
    EXPECT_EQ(book.sheets[0].At(0, 9), "Arc-length");
    const SheetData* kept = book.Find("Notes");
    ASSERT_NE(kept, nullptr);
    EXPECT_EQ(kept->At(0, 0), "kept");
    EXPECT_EQ(kept->At(3, 2), "12.5");
    EXPECT_TRUE(kept->cells[1].number);
    EXPECT_EQ(kept->At(4, 1), "a<b&c");
}

TEST(XlsxExport, AFileThatIsNoWorkbookIsReplacedOnlyWhenTheUserAgrees) {
    test::TempDir dir;
    const std::string path = dir.Write("old.xlsx", "just some text, not a workbook");
    RecordList list = test::EveryStillKind();
    const ExportScale scale = test::MillimetreScale(480);
    std::string asked;
    const auto no = [&asked](std::string_view why) {
        asked = why;
        return false;
    };
    EXPECT_EQ(ExportXlsx(path, list, RecordScheme::Still, scale, no).status,
              ExportResult::Status::Cancelled);
    EXPECT_EQ(asked, "not a zip package");
    EXPECT_EQ(test::ReadFile(path), "just some text, not a workbook");

    ASSERT_TRUE(ExportXlsx(path, list, RecordScheme::Still, scale, [](std::string_view) {
                    return true;
                }).ok());
    EXPECT_EQ(ReadBack(path).sheets.size(), 1u);
}

TEST(XlsxExport, LabelsThatXmlMustEscapeAndManyRecordsRoundTrip) {
    test::TempDir dir;
    const std::string path = dir.Sub("big.xlsx");
    RecordList list;
    const std::string nasty = "<b>&\"quoted\", 'single' \x01\x1f tab\t 12.5µm 30°";
    test::Add(list, Record(1, {}, {nasty}));
    test::Add(list, Record(1, {}, {std::string("bad utf8 \xff\xfe end")}));
    for (int i = 0; i < 10000; ++i) {
        test::Add(list, Record(1, {}, {"L:" + std::to_string(i) + ".000mm"}));
    }
    ASSERT_TRUE(
        ExportXlsx(path, list, RecordScheme::Still, test::MillimetreScale(480), kNeverAsked).ok());
    const WorkbookData book = ReadBack(path);
    const SheetData& s = book.sheets[0];
    EXPECT_EQ(s.RowCount(), 10003);
    const std::string back = s.At(1, 1);
    EXPECT_NE(back.find("\x01\x1f tab\t"), std::string::npos) << back;
    EXPECT_NE(back.find("<b>&\"quoted\", 'single' "), std::string::npos);
    EXPECT_NE(back.find("12.5µm 30°"), std::string::npos);
    EXPECT_EQ(s.At(2, 1), "bad utf8 \xEF\xBF\xBD\xEF\xBF\xBD end");
    EXPECT_EQ(s.At(10002, 1), "L:9999.000mm");
}

TEST(XlsxExport, AReadOnlyTargetOrAFullDiskLeavesThePreviousFileAsItWas) {
    test::TempDir dir;
    const std::string path = dir.Sub("keep.xlsx");
    RecordList list = test::EveryStillKind();
    const ExportScale scale = test::MillimetreScale(480);
    ASSERT_TRUE(ExportXlsx(path, list, RecordScheme::Still, scale, kNeverAsked).ok());
    const std::string before = test::ReadFile(path);

    for (std::size_t fits : {std::size_t{0}, std::size_t{100}}) {
        const ExportResult r = ExportXlsx(path, RecordList{}, RecordScheme::Still, scale,
                                          kNeverAsked, FullDiskAfter(fits));
        EXPECT_EQ(r.status, ExportResult::Status::Failed);
        EXPECT_EQ(r.reason, "No space left on device");
        EXPECT_EQ(test::ReadFile(path), before);
        EXPECT_EQ(FolderEntries(dir), std::vector<std::string>{"keep.xlsx"});
    }

    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    const ExportResult r = ExportXlsx(path, RecordList{}, RecordScheme::Still, scale, kNeverAsked);
    EXPECT_EQ(r.status, ExportResult::Status::Failed);
    EXPECT_EQ(r.reason, "Permission denied");
    EXPECT_EQ(test::ReadFile(path), before);
}

TEST(XlsxReader, RefusesWhatIsNotAWorkbook) {
    std::string why;
    EXPECT_FALSE(ReadXlsx("", &why));
    EXPECT_EQ(why, "not a zip package");
    std::string error;
    const auto zipOnly = BuildZip({{"a.txt", "x"}}, &error);
    ASSERT_TRUE(zipOnly);
    EXPECT_FALSE(ReadXlsx(*zipOnly, &why));
    EXPECT_EQ(why, "no workbook in the package");

    int row = 0;
    int col = 0;
    EXPECT_TRUE(ParseCellReference("AB12", row, col));
    EXPECT_EQ(row, 11);
    EXPECT_EQ(col, 27);
    EXPECT_FALSE(ParseCellReference("A0", row, col));
    EXPECT_FALSE(ParseCellReference("12", row, col));
    EXPECT_FALSE(ParseCellReference("A99999999999", row, col));
}

}  // namespace
}  // namespace lensora
