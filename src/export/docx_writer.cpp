#include "export/docx_writer.h"

#include <fmt/format.h>

#include <algorithm>
#include <ctime>
#include <iterator>

#include "base/utf.h"
#include "export/export_tables.h"
#include "export/zip_package.h"

namespace lensora {
namespace {

// A4 with one-inch margins, in twips (1/1440 inch); 635 EMU per twip.
constexpr long long kPageWidth = 11906;
constexpr long long kPageHeight = 16838;
constexpr long long kMargin = 1440;
constexpr long long kEmuPerTwip = 635;
constexpr long long kTextWidthEmu = (kPageWidth - 2 * kMargin) * kEmuPerTwip;
// Leaves room for a line above the picture so that it never spills onto a page of its own.
constexpr long long kTextHeightEmu = (kPageHeight - 2 * kMargin - 400) * kEmuPerTwip;

constexpr const char* kContentTypes =
    R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
    "\n"
    R"(<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">)"
    R"(<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>)"
    R"(<Default Extension="xml" ContentType="application/xml"/>)"
    R"(<Default Extension="jpeg" ContentType="image/jpeg"/>)"
    R"(<Default Extension="png" ContentType="image/png"/>)"
    R"(<Override PartName="/word/document.xml" ContentType="application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml"/>)"
    R"(<Override PartName="/word/styles.xml" ContentType="application/vnd.openxmlformats-officedocument.wordprocessingml.styles+xml"/>)"
    R"(</Types>)";

constexpr const char* kPackageRels =
    R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
    "\n"
    R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)"
    R"(<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument" Target="word/document.xml"/>)"
    R"(</Relationships>)";

constexpr const char* kRunProperties =
    R"(<w:rPr><w:rFonts w:ascii="Arial" w:hAnsi="Arial" w:eastAsia="Arial" w:cs="Arial"/>)"
    R"(<w:sz w:val="24"/><w:szCs w:val="24"/></w:rPr>)";

constexpr const char* kStyles =
    R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
    "\n"
    R"(<w:styles xmlns:w="http://schemas.openxmlformats.org/wordprocessingml/2006/main">)"
    R"(<w:docDefaults><w:rPrDefault><w:rPr><w:rFonts w:ascii="Arial" w:hAnsi="Arial" w:eastAsia="Arial" w:cs="Arial"/>)"
    R"(<w:sz w:val="24"/><w:szCs w:val="24"/></w:rPr></w:rPrDefault>)"
    R"(<w:pPrDefault><w:pPr><w:spacing w:after="0" w:line="240" w:lineRule="auto"/></w:pPr></w:pPrDefault>)"
    R"(</w:docDefaults>)"
    R"(<w:style w:type="paragraph" w:default="1" w:styleId="Normal"><w:name w:val="Normal"/></w:style>)"
    R"(</w:styles>)";

void Paragraph(std::string& out, std::string_view text) {
    out += "<w:p><w:r>";
    out += kRunProperties;
    out += R"(<w:t xml:space="preserve">)";
    out += XmlText(text);
    out += "</w:t></w:r></w:p>";
}

void PictureParagraph(std::string& out, const ExportPicture& picture, std::string_view file) {
    const PictureExtent e = PagePictureExtent(picture.width, picture.height);
    fmt::format_to(
        std::back_inserter(out),
        R"(<w:p><w:r>{}<w:drawing><wp:inline distT="0" distB="0" distL="0" distR="0">)"
        R"(<wp:extent cx="{}" cy="{}"/><wp:effectExtent l="0" t="0" r="0" b="0"/>)"
        R"(<wp:docPr id="1" name="Picture 1"/>)"
        R"(<wp:cNvGraphicFramePr><a:graphicFrameLocks xmlns:a="http://schemas.openxmlformats.org/drawingml/2006/main" noChangeAspect="1"/></wp:cNvGraphicFramePr>)"
        R"(<a:graphic xmlns:a="http://schemas.openxmlformats.org/drawingml/2006/main">)"
        R"(<a:graphicData uri="http://schemas.openxmlformats.org/drawingml/2006/picture">)"
        R"(<pic:pic xmlns:pic="http://schemas.openxmlformats.org/drawingml/2006/picture">)"
        R"(<pic:nvPicPr><pic:cNvPr id="0" name="{}"/><pic:cNvPicPr/></pic:nvPicPr>)"
        R"(<pic:blipFill><a:blip r:embed="rIdPicture1"/><a:stretch><a:fillRect/></a:stretch></pic:blipFill>)"
        R"(<pic:spPr><a:xfrm><a:off x="0" y="0"/><a:ext cx="{}" cy="{}"/></a:xfrm>)"
        R"(<a:prstGeom prst="rect"><a:avLst/></a:prstGeom></pic:spPr>)"
        R"(</pic:pic></a:graphicData></a:graphic></wp:inline></w:drawing></w:r></w:p>)",
        kRunProperties, e.cx, e.cy, file, e.cx, e.cy);
}

std::string DocumentXml(const ReportContent& c, std::string_view pictureFile) {
    std::string out;
    out.reserve(512 + c.body.size() * 256);
    out += R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
           "\n"
           R"(<w:document xmlns:w="http://schemas.openxmlformats.org/wordprocessingml/2006/main")"
           R"( xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships")"
           R"( xmlns:wp="http://schemas.openxmlformats.org/drawingml/2006/wordprocessingDrawing">)"
           "<w:body>";
    Paragraph(out, "File Name: " + c.fileName);
    Paragraph(out, "Time of establishment: " + c.createdAt);
    for (const std::string& line : c.body) {
        Paragraph(out, line);
    }
    if (c.picture) {
        PictureParagraph(out, *c.picture, pictureFile);
    }
    fmt::format_to(
        std::back_inserter(out),
        R"(<w:sectPr><w:pgSz w:w="{}" w:h="{}"/>)"
        R"(<w:pgMar w:top="{}" w:right="{}" w:bottom="{}" w:left="{}" w:header="708" w:footer="708" w:gutter="0"/>)"
        R"(</w:sectPr></w:body></w:document>)",
        kPageWidth, kPageHeight, kMargin, kMargin, kMargin, kMargin);
    return out;
}

std::string DocumentRels(std::string_view pictureFile) {
    std::string out =
        R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
        "\n"
        R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)"
        R"(<Relationship Id="rIdStyles" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles" Target="styles.xml"/>)";
    if (!pictureFile.empty()) {
        out += fmt::format(
            R"(<Relationship Id="rIdPicture1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/image" Target="media/{}"/>)",
            pictureFile);
    }
    out += "</Relationships>";
    return out;
}

}  // namespace

std::vector<std::string> ReportLines(const RecordList& records, RecordScheme scheme,
                                     const ExportScale& scale) {
    std::vector<std::string> lines;
    for (const auto& record : records.records) {
        if (auto group = ReportGroupOf(*record, scheme, scale.decimals, scale.unit)) {
            lines.push_back(std::move(group->name));
            for (std::string& v : group->values) {
                lines.push_back(std::move(v));
            }
        }
    }
    return lines;
}

std::string XmlText(std::string_view raw) {
    const std::string text = IsValidUtf8(raw) ? std::string(raw) : Utf16ToUtf8(Utf8ToUtf16(raw));
    std::string out;
    out.reserve(text.size() + 16);
    for (char ch : text) {
        switch (ch) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            default:
                // XML 1.0 has no place for control characters.
                out += (static_cast<unsigned char>(ch) < 0x20 || ch == 0x7F) ? ' ' : ch;
                break;
        }
    }
    return out;
}

PictureExtent PagePictureExtent(int width, int height) {
    if (width <= 0 || height <= 0) {
        return {};
    }
    PictureExtent e{kTextWidthEmu, kTextWidthEmu * height / width};
    if (e.cy > kTextHeightEmu) {
        e = {kTextHeightEmu * width / height, kTextHeightEmu};
    }
    return e;
}

std::optional<std::string> BuildDocx(const ReportContent& content, std::string* error) {
    const bool withPicture = content.picture && !content.picture->bytes.empty() &&
                             content.picture->width > 0 && content.picture->height > 0;
    std::string pictureFile;
    if (withPicture) {
        pictureFile =
            content.picture->format == ExportPicture::Format::Png ? "image1.png" : "image1.jpeg";
    }
    ReportContent shown = content;
    if (!withPicture) {
        shown.picture.reset();
    }
    std::vector<ZipEntry> entries{
        {"[Content_Types].xml", kContentTypes, true},
        {"_rels/.rels", kPackageRels, true},
        {"word/document.xml", DocumentXml(shown, pictureFile), true},
        {"word/_rels/document.xml.rels", DocumentRels(pictureFile), true},
        {"word/styles.xml", kStyles, true},
    };
    if (withPicture) {
        entries.push_back({"word/media/" + pictureFile, content.picture->bytes, false});
    }
    return BuildZip(entries, error);
}

ExportResult ExportDocx(const std::string& path, const ReportContent& content,
                        const FileSeam& seam) {
    std::string error;
    const auto bytes = BuildDocx(content, &error);
    if (!bytes) {
        return ExportResult::Failed(error);
    }
    if (auto why = SaveFileAtomically(path, *bytes, seam)) {
        return ExportResult::Failed(*why);
    }
    return ExportResult::Saved();
}

std::string LocalTimeText() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return fmt::format("{:04}-{:02}-{:02} {:02}:{:02}:{:02}", local.tm_year + 1900,
                       local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
}

}  // namespace lensora
