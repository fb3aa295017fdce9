// One export command of a view from start to end: asks where to save through UserPrompts,
// gives the name the extension of the chosen type, writes the spreadsheet (xlsx or CSV), the
// report (docx) or the drawing (DXF), and shows why when it failed ("Export failed", or the
// drawing's own two messages). Success is silent. Each window keeps one flow for its view;
// the window supplies the records, their scheme and scale, and renders the report's picture
// when asked. UI thread; no Qt.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "base/user_prompts.h"
#include "canvas/record_rules.h"
#include "export/docx_writer.h"
#include "export/export_file.h"
#include "export/export_scale.h"
#include "measure/record_lists.h"

namespace lensora {

enum class ExportKind { Spreadsheet, Report, Drawing };

inline constexpr std::string_view kExportFailedText = "Export failed";
inline constexpr std::string_view kDrawingCreateFailedText = "Fatal error on creating CDrawing!";
inline constexpr std::string_view kDrawingSaveFailedText = "Error while saving dxf file!";

// What the view exports, filled by its window at the moment of the command.
struct ExportSource {
    const RecordList* records = nullptr;
    RecordScheme scheme = RecordScheme::Still;
    ExportScale scale;
    std::string defaultName;  // proposed path without extension
    // The picture with its measurements for the report; nullopt exports without a picture.
    std::function<std::optional<ExportPicture>()> picture;
};

class ExportFlow {
  public:
    explicit ExportFlow(UserPrompts& prompts, const FileSeam& seam = SystemFileSeam());

    // Runs the command; the written file's path, or nullopt when cancelled or failed.
    std::optional<std::string> Run(ExportKind kind, const ExportSource& source);

    // The time shown in the report's heading; tests fix it.
    std::function<std::string()> clock = LocalTimeText;

  private:
    std::optional<std::string> AskPath(ExportKind kind, const ExportSource& source);
    void ReportFailure(ExportKind kind, const std::string& path, const std::string& reason);

    UserPrompts& prompts_;
    const FileSeam& seam_;
};

// The save dialog's file types of an export.
std::vector<FileFilter> ExportFilters(ExportKind kind);

// The name the file is written under: the dialog's answer with the extension of the chosen
// type where it has none of the export's own (".xls" becomes ".xlsx", ".doc" ".docx").
std::string ExportTargetName(ExportKind kind, const ChosenPath& answer);

}  // namespace lensora
