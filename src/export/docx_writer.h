// The report export: a minimal WordprocessingML document (docx) zipped with libzip. Two
// heading lines ("File Name:" with the document's name, "Time of establishment:" with the
// local date and time), one group of lines per exportable record (its tool name, then each
// caption directly followed by its label text), all in Arial 12 pt, then the annotated picture
// inline, scaled to the width of an A4 page's text area with its aspect ratio kept.
// Plain value types and functions.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "canvas/record_rules.h"
#include "export/export_file.h"
#include "export/export_result.h"
#include "export/export_scale.h"
#include "measure/record_lists.h"

namespace lensora {

// An encoded picture for the report, as the window rendered it.
struct ExportPicture {
    enum class Format { Jpeg, Png };
    std::string bytes;
    Format format = Format::Jpeg;
    int width = 0;  // pixels
    int height = 0;
};

struct ReportContent {
    std::string fileName;           // shown after "File Name:"
    std::string createdAt;          // shown after "Time of establishment:"
    std::vector<std::string> body;  // the record groups' lines, in order
    std::optional<ExportPicture> picture;
};

// The lines of every exportable record: name line, then its value lines.
std::vector<std::string> ReportLines(const RecordList& records, RecordScheme scheme,
                                     const ExportScale& scale);

// Text made safe for a WordprocessingML text run: escaped, control characters as blanks,
// invalid UTF-8 replaced.
std::string XmlText(std::string_view text);

// Picture size on the page in EMU (914400 per inch): the text width, or less so that the
// picture also fits the text height.
struct PictureExtent {
    long long cx = 0;
    long long cy = 0;
};
PictureExtent PagePictureExtent(int width, int height);

// The whole package; nullopt with `error` set when it cannot be built.
std::optional<std::string> BuildDocx(const ReportContent& content, std::string* error);

ExportResult ExportDocx(const std::string& path, const ReportContent& content,
                        const FileSeam& seam = SystemFileSeam());

// "2026-12-08 14:05:09" of the local time now.
std::string LocalTimeText();

}  // namespace lensora
