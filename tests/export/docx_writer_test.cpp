#include "export/docx_writer.h"

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include "export/zip_package.h"
#include "export_samples.h"
#include "support/temp_dir.h"

namespace lensora {
namespace {

using test::Record;

struct OpenedDocx {
    std::vector<std::string> paragraphs;  // the text of every paragraph
    std::vector<std::string> fonts;       // rFonts ascii of every run
    std::vector<std::string> sizes;       // sz of every run
    int inlinePictures = 0;
    long long cx = 0;
    long long cy = 0;
    std::string embed;
    std::vector<std::string> names;
};

OpenedDocx Open(const std::string& bytes) {
    OpenedDocx d;
    ZipReader zip(bytes);
    EXPECT_TRUE(zip.Valid());
    d.names = zip.Names();
    const auto xml = zip.Read("word/document.xml");
    pugi::xml_document doc;
    EXPECT_TRUE(xml && doc.load_buffer(xml->data(), xml->size()));
    for (pugi::xml_node p : doc.child("w:document").child("w:body").children("w:p")) {
        std::string text;
        for (pugi::xml_node r : p.children("w:r")) {
            text += r.child("w:t").text().get();
            d.fonts.push_back(r.child("w:rPr").child("w:rFonts").attribute("w:ascii").value());
            d.sizes.push_back(r.child("w:rPr").child("w:sz").attribute("w:val").value());
            if (pugi::xml_node in = r.child("w:drawing").child("wp:inline")) {
                ++d.inlinePictures;
                d.cx = in.child("wp:extent").attribute("cx").as_llong();
                d.cy = in.child("wp:extent").attribute("cy").as_llong();
                d.embed = in.select_node(".//a:blip").node().attribute("r:embed").value();
                continue;
            }
        }
        d.paragraphs.push_back(text);
    }
    return d;
}

ExportPicture FakeJpeg(int w, int h) {
    return {std::string("\xFF\xD8\xFF\xE0 not really a jpeg \xFF\xD9", 24),
            ExportPicture::Format::Jpeg, w, h};
}

TEST(DocxExport, TextFontAndOneInlinePictureAtPageWidth) {
    ReportContent c;
    c.fileName = "report.docx";
    c.createdAt = "2026-12-08 14:05:09";
    c.body = ReportLines(test::EveryStillKind(), RecordScheme::Still, test::MillimetreScale(1));
    c.picture = FakeJpeg(1600, 1200);
    std::string error;
    const auto bytes = BuildDocx(c, &error);
    ASSERT_TRUE(bytes) << error;
    const OpenedDocx d = Open(*bytes);

    ASSERT_GE(d.paragraphs.size(), 4u);
    EXPECT_EQ(d.paragraphs[0], "File Name: report.docx");
    EXPECT_EQ(d.paragraphs[1], "Time of establishment: 2026-12-08 14:05:09");
    EXPECT_EQ(d.paragraphs[2], "Line");
    EXPECT_EQ(d.paragraphs[3], "Length:L:1.000mm");
    EXPECT_EQ(d.paragraphs.size(), 2 + c.body.size() + 1);  // the picture's own paragraph
    for (std::size_t i = 0; i < d.fonts.size(); ++i) {
        EXPECT_EQ(d.fonts[i], "Arial");
        EXPECT_EQ(d.sizes[i], "24");  // half-points: 12 pt
    }
    EXPECT_EQ(d.inlinePictures, 1);
    EXPECT_EQ(d.cx, 5731510);  // A4 text width with one-inch margins
    EXPECT_EQ(d.cy, 5731510LL * 1200 / 1600);
    EXPECT_EQ(d.embed, "rIdPicture1");

    ZipReader zip(*bytes);
    EXPECT_EQ(zip.Read("word/media/image1.jpeg"), c.picture->bytes);
    const auto rels = zip.Read("word/_rels/document.xml.rels");
    ASSERT_TRUE(rels);
    EXPECT_NE(rels->find(R"(Id="rIdPicture1")"), std::string::npos);
    EXPECT_NE(rels->find("media/image1.jpeg"), std::string::npos);
    EXPECT_NE(zip.Read("[Content_Types].xml")->find("image/jpeg"), std::string::npos);
}

TEST(DocxExport, EmptyListAndNoPictureGiveTheHeadingsOnly) {
    ReportContent c;
    c.fileName = "a&b <1>.docx";
    c.body = ReportLines(RecordList{}, RecordScheme::Live, test::MillimetreScale(1));
    std::string error;
    const auto bytes = BuildDocx(c, &error);
    ASSERT_TRUE(bytes) << error;
    const OpenedDocx d = Open(*bytes);
    EXPECT_EQ(d.paragraphs,
              (std::vector<std::string>{"File Name: a&b <1>.docx", "Time of establishment: "}));
    EXPECT_EQ(d.inlinePictures, 0);
    for (const std::string& name : d.names) {
        EXPECT_EQ(name.find("media"), std::string::npos) << name;
    }
}

TEST(DocxExport, EscapesAndControlCharactersKeepTheXmlWellFormed) {
    RecordList list;
    test::Add(list, Record(1, {}, {"L:<1> & \"2\" \x01\x0b 12µm 30°"}));
    ReportContent c;
    c.body = ReportLines(list, RecordScheme::Still, test::MillimetreScale(1));
    std::string error;
    const auto bytes = BuildDocx(c, &error);
    ASSERT_TRUE(bytes) << error;
    const OpenedDocx d = Open(*bytes);
    ASSERT_EQ(d.paragraphs.size(), 4u);
    EXPECT_EQ(d.paragraphs[3], "Length:L:<1> & \"2\"    12µm 30°");
}

TEST(DocxExport, TallPicturesFitThePageHeight) {
    const PictureExtent wide = PagePictureExtent(640, 480);
    EXPECT_EQ(wide.cx, 5731510);
    EXPECT_EQ(wide.cy, 5731510LL * 480 / 640);
    const PictureExtent tall = PagePictureExtent(100, 1000);
    EXPECT_LT(tall.cx, 5731510);
    EXPECT_LE(tall.cy, (16838 - 2880) * 635LL);
    EXPECT_NEAR(double(tall.cy) / tall.cx, 10.0, 1e-3);
    EXPECT_EQ(PagePictureExtent(0, 10).cx, 0);
}

TEST(DocxExport, AFullDiskFailsAndLeavesNothing) {
    test::TempDir dir;
    ReportContent c;
    c.picture = FakeJpeg(10, 10);
    const FileSeam full = test::FullDisk();
    const ExportResult r = ExportDocx(dir.Sub("r.docx"), c, full);
    EXPECT_EQ(r.status, ExportResult::Status::Failed);
    EXPECT_EQ(r.reason, "No space left on device");
    EXPECT_TRUE(std::filesystem::is_empty(dir.Path()));
}

}  // namespace
}  // namespace lensora
