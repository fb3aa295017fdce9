#include "export/dxf_writer.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <locale>
#include <map>

#include "base/number_format.h"
#include "export_samples.h"
#include "measure/measured_values.h"
#include "support/temp_dir.h"

namespace lensora {
namespace {

using test::Record;
using Groups = std::vector<std::pair<int, std::string>>;

struct Entity {
    std::string type;
    std::map<int, std::vector<double>> numbers;  // group code -> values in order
    std::string layer;
};

// Entities of the ENTITIES section; VERTEX values are gathered into the POLYLINE.
std::vector<Entity> Entities(const Groups& g) {
    std::vector<Entity> out;
    bool inEntities = false;
    for (std::size_t i = 0; i < g.size(); ++i) {
        const auto& [code, value] = g[i];
        if (code == 2 && value == "ENTITIES") {
            inEntities = true;
        } else if (code == 0 && value == "ENDSEC") {
            inEntities = false;
        } else if (inEntities && code == 0) {
            if (value != "VERTEX" && value != "SEQEND") {
                out.push_back({value, {}, {}});
            }
        } else if (inEntities && !out.empty()) {
            if (code == 8) {
                out.back().layer = value;
            } else {
                out.back().numbers[code].push_back(ParseLeadingNumber(value));
            }
        }
    }
    return out;
}

int Count(const std::vector<Entity>& e, std::string_view type) {
    return static_cast<int>(
        std::count_if(e.begin(), e.end(), [type](const Entity& x) { return x.type == type; }));
}

TEST(DxfExport, SectionsTablesAndEndOfFile) {
    const std::string text =
        BuildDxf(RecordList{}, RecordScheme::Still, test::MillimetreScale(480)).Text();
    const Groups g = test::DxfGroups(text);
    ASSERT_GE(g.size(), 10u);
    EXPECT_EQ(g[0], (std::pair<int, std::string>{0, "SECTION"}));
    EXPECT_EQ(g[1], (std::pair<int, std::string>{2, "HEADER"}));
    EXPECT_EQ(g[2], (std::pair<int, std::string>{9, "$ACADVER"}));
    EXPECT_EQ(g[3], (std::pair<int, std::string>{1, "AC1009"}));
    EXPECT_EQ(g.back(), (std::pair<int, std::string>{0, "EOF"}));

    std::map<std::string, int> layerColour;
    std::string ltypeName;
    std::string ltypeText;
    for (std::size_t i = 0; i + 1 < g.size(); ++i) {
        if (g[i] == std::pair<int, std::string>{0, "LAYER"}) {
            std::string name;
            for (std::size_t k = i + 1; k < g.size() && g[k].first != 0; ++k) {
                if (g[k].first == 2) {
                    name = g[k].second;
                }
                if (g[k].first == 62) {
                    layerColour[name] = std::stoi(g[k].second);
                }
            }
        }
        if (g[i] == std::pair<int, std::string>{0, "LTYPE"}) {
            ltypeName = g[i + 1].second;
            ltypeText = g[i + 3].second;
        }
    }
    EXPECT_EQ(layerColour["Layer1"], 1);
    EXPECT_EQ(layerColour["Layer2"], 1);
    EXPECT_EQ(ltypeName, "Continuous");
    EXPECT_EQ(ltypeText, "Solid line");
    EXPECT_TRUE(Entities(g).empty());
}

TEST(DxfExport, PicturePixelsMapToUnitsWithTheYAxisUp) {
    // 640 x 480 picture, s = 1, mm, rate 1, factor 63.829787234.
    RecordList list;
    test::Add(list, Record(1, {{0, 0}, {100, 480}, {}, {}, {}, {}, {}}, {"L:x"}));
    test::Add(list, Record(2, {{10, 10}, {13, 14}, {}}, {"A", "R", "G"}));
    const std::string text = BuildDxf(list, RecordScheme::Still, test::MillimetreScale(480)).Text();
    const auto e = Entities(test::DxfGroups(text));
    ASSERT_EQ(e.size(), 2u);
    EXPECT_EQ(e[0].type, "LINE");
    EXPECT_NEAR(e[0].numbers.at(10)[0], 0.0, 1e-6);
    EXPECT_NEAR(e[0].numbers.at(20)[0], 306.38, 0.005);
    EXPECT_NEAR(e[0].numbers.at(11)[0], 63.83, 0.005);
    EXPECT_NEAR(e[0].numbers.at(21)[0], 0.0, 1e-6);
    EXPECT_EQ(e[1].type, "CIRCLE");
    EXPECT_NEAR(e[1].numbers.at(40)[0], 5 * 63.829787234 * 0.001 * 10, 1e-6);
    EXPECT_NE(text.find("\n306.382979\r"), std::string::npos);  // six decimals
}

TEST(DxfExport, ABarsLineIsAsLongAsItsLabelInTheFitViewAndInPicturePixels) {
    // A 400 px bar on a 1600 x 1200 picture. The fit view shows it 160 view pixels long and
    // labels it in view pixels; the drawing takes it through picture pixels.
    ScaleContext view;
    view.s = 63.829787234 * 0.001 * 10 / 2.0;  // rate 2
    const auto label = LineLabels({100, 300}, {260, 300}, view);
    ASSERT_TRUE(label);
    const double labelled = ParseLeadingNumber(std::string_view((*label)[0]).substr(2));

    ExportScale fit;
    fit.pictureHeight = 1200;
    fit.toPictureX = fit.toPictureY = 2.5;  // view -> picture
    fit.unitsPerPixel = 0.4 * view.s;       // s = picture -> view
    ExportScale picture = fit;              // records that hold picture pixels
    picture.toPictureX = picture.toPictureY = 1.0;

    RecordList inView;
    test::Add(inView, Record(1, {{100, 300}, {260, 300}}, {(*label)[0]}));
    RecordList inPicture;
    test::Add(inPicture, Record(1, {{250, 750}, {650, 750}}, {(*label)[0]}));
    for (const auto& [list, scale] : {std::pair{&inView, fit}, std::pair{&inPicture, picture}}) {
        const auto e =
            Entities(test::DxfGroups(BuildDxf(*list, RecordScheme::Still, scale).Text()));
        ASSERT_EQ(e.size(), 1u);
        const double length = std::hypot(e[0].numbers.at(11)[0] - e[0].numbers.at(10)[0],
                                         e[0].numbers.at(21)[0] - e[0].numbers.at(20)[0]);
        EXPECT_NEAR(length, labelled, 0.0005);
        EXPECT_NEAR(e[0].numbers.at(20)[0], (1200 - 750) * fit.unitsPerPixel, 1e-5);
    }
}

TEST(DxfExport, EveryStillKindGivesItsEntitiesOnLayer2) {
    const ExportScale scale = test::MillimetreScale(480);
    const DxfDrawing dxf = BuildDxf(test::EveryStillKind(), RecordScheme::Still, scale);
    EXPECT_EQ(dxf.Lines(), 13);
    EXPECT_EQ(dxf.Circles(), 6);
    EXPECT_EQ(dxf.Polylines(), 3);
    const Groups g = test::DxfGroups(dxf.Text());
    const auto e = Entities(g);
    EXPECT_EQ(Count(e, "LINE"), 13);
    EXPECT_EQ(Count(e, "CIRCLE"), 6);
    EXPECT_EQ(Count(e, "POLYLINE"), 3);
    for (const Entity& x : e) {
        EXPECT_EQ(x.layer, "Layer2");
    }
    const double u = scale.unitsPerPixel;
    // Dot line: from the point (5, 5) to its foot (5, 0) on the reference line.
    EXPECT_NEAR(e[1].numbers.at(10)[0], 5 * u, 1e-6);
    EXPECT_NEAR(e[1].numbers.at(20)[0], 475 * u, 1e-6);
    EXPECT_NEAR(e[1].numbers.at(21)[0], 480 * u, 1e-6);
    // Continuous line: vertices p0, p1, p3, open.
    const Entity& path = e[6];
    ASSERT_EQ(path.type, "POLYLINE");
    EXPECT_EQ(path.numbers.at(70)[0], 0);
    EXPECT_EQ(path.numbers.at(10).size(), 4u);  // the polyline's own 0 and three vertices
    // Automatic circle: the fitted radius.
    EXPECT_NEAR(e[10].numbers.at(40)[0], 12 * u, 1e-6);
    // Two circles: radii |p0 p3| and |p5 p8|, then the line between the centres.
    EXPECT_NEAR(e[11].numbers.at(40)[0], 10 * u, 1e-6);
    EXPECT_NEAR(e[12].numbers.at(40)[0], 10 * u, 1e-6);
    EXPECT_EQ(e[13].type, "LINE");
    // Rectangle: four corners, closed. Polygon: its vertices without the label anchor or the
    // repeated last vertex.
    EXPECT_EQ(e[14].numbers.at(70)[0], 1);
    EXPECT_EQ(e[14].numbers.at(10).size(), 5u);
    EXPECT_EQ(e[15].numbers.at(10).size(), 4u);
}

TEST(DxfExport, LiveKindsFollowTheirOwnCodes) {
    RecordList live;
    test::Add(live, Record(1, {{0, 0}, {10, 0}, {5, 5}}, {"L"}));
    test::Add(live, Record(2, {{0, 0}, {10, 0}, {5, 5}, {6, 6}}, {"L"}));
    test::Add(live, Record(4, {{0, 0}, {10, 0}, {1, 1}, {10, 10}, {2, 2}}, {"1", "2"}));
    test::Add(live, Record(5, {{0, 0}, {10, 10}, {1, 1}}, {"A", "W", "H"}));
    test::Add(live, Record(6, {{0, 0}, {10, 0}, {10, 10}, {3, 3}}, {"A"}));
    test::Add(live, Record(7, {{0, 0}, {10, 10}, {1, 1}}, {"A", "R1", "R2"}));
    test::Add(live, Record(8, {{5, 5}, {8, 9}, {1, 1}}, {"A", "R", "G"}));
    test::Add(live, Record(12, {{10, 0}, {0, 0}, {0, 10}, {1, 1}}, {"90"}));
    test::Add(live, Record(25, {{0, 0}, {10, 0}, {0, 5}, {10, 15}, {1, 1}}, {"45"}));
    test::Add(live, Record(17, {{0, 10}, {10, 0}, {20, 10}, {1, 1}, {10, 10}}, {"R", "A", "Arc"}));
    test::Add(live, Record(14, {{1, 1}}, {"1"}));
    test::Add(live, Record(16, {{1, 1}, {61, 61}}, {"text"}));
    const DxfDrawing dxf = BuildDxf(live, RecordScheme::Live, test::MillimetreScale(480));
    EXPECT_EQ(dxf.Lines(), 1 + 1 + 2 + 2);
    EXPECT_EQ(dxf.Circles(), 1);
    EXPECT_EQ(dxf.Polylines(), 3);
}

TEST(DxfExport, NumbersUseAPointWhateverTheLocale) {
    struct Comma : std::numpunct<char> {
        char do_decimal_point() const override { return ','; }
    };
    const std::locale previous =
        std::locale::global(std::locale(std::locale::classic(), new Comma));
    const char* cLocale = std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
    RecordList list;
    test::Add(list, Record(2, {{10, 10}, {13, 14}, {}}, {"A", "R", "G"}));
    const std::string text = BuildDxf(list, RecordScheme::Still, test::MillimetreScale(480)).Text();
    std::setlocale(LC_NUMERIC, "C");
    std::locale::global(previous);
    EXPECT_NE(text.find("\n3.191489\r"), std::string::npos) << (cLocale ? cLocale : "C only");
    EXPECT_EQ(text.find("3,19"), std::string::npos);
}

TEST(DxfExport, NoScaleOrAFullDiskFailWithAReason) {
    test::TempDir dir;
    ExportScale none;
    const ExportResult noScale =
        ExportDxf(dir.Sub("a.dxf"), test::EveryStillKind(), RecordScheme::Still, none);
    EXPECT_EQ(noScale.status, ExportResult::Status::Failed);
    EXPECT_NE(noScale.reason.find("magnification"), std::string::npos);

    const FileSeam full = test::FullDisk();
    const ExportResult r = ExportDxf(dir.Sub("a.dxf"), test::EveryStillKind(), RecordScheme::Still,
                                     test::MillimetreScale(480), full);
    EXPECT_EQ(r.reason, "No space left on device");
    EXPECT_TRUE(std::filesystem::is_empty(dir.Path()));
}

}  // namespace
}  // namespace lensora
