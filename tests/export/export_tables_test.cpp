#include "export/export_tables.h"

#include <gtest/gtest.h>

#include "export_samples.h"

namespace lensora {
namespace {

using test::Record;

std::vector<SheetRow> Rows(const RecordList& list, RecordScheme scheme) {
    std::vector<SheetRow> rows;
    for (const auto& r : list.records) {
        if (auto row = SheetRowOf(*r, scheme, 3, "mm")) {
            rows.push_back(*row);
        }
    }
    return rows;
}

TEST(ExportTables, HeadersOfBothViews) {
    const SheetRow still = SheetHeader(RecordScheme::Still);
    EXPECT_EQ(still[0], "measuring objective");
    EXPECT_EQ(still[6], "Area");
    EXPECT_EQ(still[9], "Arc");
    EXPECT_EQ(SheetHeader(RecordScheme::Live)[9], "Arc-length");
}

TEST(ExportTables, StillRowsPutEveryLabelInItsColumnAndSkipLabelsAndText) {
    const std::vector<SheetRow> rows = Rows(test::EveryStillKind(), RecordScheme::Still);
    // 22 records, of which text and the two label kinds add no row.
    ASSERT_EQ(rows.size(), 19u);
    EXPECT_EQ(rows[0], (SheetRow{"Line", "L:1.000mm"}));
    EXPECT_EQ(rows[1][0], "Dot Line");
    EXPECT_EQ(rows[3][0], "Line");  // automatic line spacing
    EXPECT_EQ(rows[6], (SheetRow{"Continual Line", "T:3.750mm"}));
    EXPECT_EQ(rows[7], (SheetRow{"Radius Circle", "", "R:8.0mm", "", "", "", "A:7.0mm2", "",
                                 "G:9.0mm", ""}));
    EXPECT_EQ(rows[10][0], "Identify Circle");
    EXPECT_EQ(rows[11], (SheetRow{"distance of two Circles", "L:3mm", "R1:1mm", "R2:2mm"}));
    EXPECT_EQ(rows[12], (SheetRow{"Rectangle", "", "", "", "W:20mm", "H:10mm", "A:200mm2"}));
    EXPECT_EQ(rows[13][6], "A:50mm2");
    EXPECT_EQ(rows[14], (SheetRow{"three point angle", "", "", "", "", "", "", "90.000°"}));
    EXPECT_EQ(rows[16][0], "Auto Angle-Detection");
    EXPECT_EQ(rows[17], (SheetRow{"Arc", "", "R:1", "", "", "", "", "Angle:2", "", "Arc:3"}));
}

TEST(ExportTables, LiveRowsUseTheLiveCodes) {
    RecordList live;
    test::Add(live, Record(5, {{0, 0}, {1, 1}, {2, 2}}, {"A:1", "W:2", "H:3"}));
    test::Add(live, Record(2, {{0, 0}, {1, 1}, {2, 2}, {3, 3}}, {"L:9"}));
    test::Add(live, Record(7, {{0, 0}, {1, 1}, {2, 2}}, {"A:1", "R1:2", "R2:3"}));
    test::Add(live, Record(23, {}, {"R:1", "Angle:2", "Arc:3"}));
    test::Add(live, Record(14, {{1, 1}}, {"1"}));  // circle label: no row
    test::Add(live, Record(13, {}, {"30°"}));
    const std::vector<SheetRow> rows = Rows(live, RecordScheme::Live);
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_EQ(rows[0], (SheetRow{"Rectangle", "", "", "", "W:2", "H:3", "A:1"}));
    EXPECT_EQ(rows[1], (SheetRow{"dot Line", "L:9"}));
    EXPECT_EQ(rows[2], (SheetRow{"Ellipse", "", "R1:2", "R2:3", "", "", "A:1"}));
    // Arc labels read R, Angle, Arc: each lands under its own header.
    EXPECT_EQ(rows[3], (SheetRow{"Auto Arc Measurement", "", "R:1", "", "", "", "", "Angle:2", "",
                                 "Arc:3"}));
    EXPECT_EQ(rows[4][0], "four point angle");
    // The same code means another tool in the other view.
    EXPECT_EQ(SheetRowOf(*live.records[0], RecordScheme::Still, 3, "mm")->at(0),
              "three point angle");
}

TEST(ExportTables, ContinuousTotalSumsTheSegmentLabelsAndIsEmptyAtZero) {
    // Three segments: p0, then end and anchor per segment.
    MeasureRecord r = Record(6, {{0, 0}, {1, 0}, {0, 0}, {2, 0}, {0, 0}, {3, 0}, {0, 0}},
                             {"1.25mm", "2.5mm", "0.125mm"});
    EXPECT_EQ(ContinuousTotalText(r, 4, "cm"), "T:3.8750cm");
    const std::vector<std::string> inMm = r.labels;
    r.labels = {"1250.0\xC2\xB5m", "2500.0\xC2\xB5m", "125.0\xC2\xB5m"};
    EXPECT_EQ(ContinuousTotalText(r, 1, "\xC2\xB5m"), "T:3875.0\xC2\xB5m");
    r.labels = inMm;
    // Labels beyond the segments of the points are not counted.
    r.labels.push_back("100mm");
    EXPECT_EQ(ContinuousTotalText(r, 4, "cm"), "T:3.8750cm");
    r.labels = {"0mm", "0.000mm", "0mm"};
    EXPECT_EQ(ContinuousTotalText(r, 3, "mm"), "");
    r.labels.clear();  // malformed: fewer labels than segments
    EXPECT_EQ(ContinuousTotalText(r, 3, "mm"), "");
    EXPECT_EQ(SheetRowOf(r, RecordScheme::Still, 3, "mm")->at(1), "");
}

TEST(ExportTables, ReportGroupsJoinCaptionAndLabelWithoutABlank) {
    const RecordList list = test::EveryStillKind();
    std::vector<ReportGroup> groups;
    for (const auto& r : list.records) {
        if (auto g = ReportGroupOf(*r, RecordScheme::Still, 3, "mm")) {
            groups.push_back(*g);
        }
    }
    ASSERT_EQ(groups.size(), 19u);
    EXPECT_EQ(groups[0].name, "Line");
    EXPECT_EQ(groups[0].values, std::vector<std::string>{"Length:L:1.000mm"});
    EXPECT_EQ(groups[3].name, "Auto Line-Detection");
    EXPECT_EQ(groups[6].values, std::vector<std::string>{"Length:T:3.750mm"});
    EXPECT_EQ(groups[7].values,
              (std::vector<std::string>{"Radius1:R:8.0mm", "Area:A:7.0mm2", "Girth:G:9.0mm"}));
    EXPECT_EQ(groups[11].values,
              (std::vector<std::string>{"Length:L:3mm", "Radius1:R1:1mm", "Radius2:R2:2mm"}));
    EXPECT_EQ(groups[12].values,
              (std::vector<std::string>{"Width:W:20mm", "Height:H:10mm", "Area:A:200mm2"}));
    EXPECT_EQ(groups[17].values,
              (std::vector<std::string>{"Radius:R:1", "Angle:Angle:2", "Arc:Arc:3"}));

    const MeasureRecord autoCircle = Record(21, {}, {"A:1", "R:2", "G:3"});
    EXPECT_EQ(ReportGroupOf(autoCircle, RecordScheme::Live, 3, "mm")->values,
              (std::vector<std::string>{"Area:A:1", "Radius:R:2", "Girth:G:3"}));
    EXPECT_FALSE(ReportGroupOf(Record(16, {}, {"text"}), RecordScheme::Live, 3, "mm"));
}

}  // namespace
}  // namespace lensora
