#include "export/export_flow.h"

#include <algorithm>
#include <cctype>

#include "export/csv_writer.h"
#include "export/dxf_writer.h"
#include "export/xlsx_writer.h"

namespace lensora {
namespace {

std::string Lower(std::string_view s) {
    std::string out(s);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return out;
}

// ".xlsx" of "a/b.XLSX"; "" when the file name has no extension.
std::string Extension(std::string_view path) {
    const std::size_t slash = path.find_last_of('/');
    const std::size_t dot = path.find_last_of('.');
    if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash) ||
        dot + 1 == path.size()) {
        return {};
    }
    return Lower(path.substr(dot));
}

std::string BaseName(std::string_view path) {
    const std::size_t slash = path.find_last_of('/');
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

bool IsCsv(const std::string& path) {
    return Extension(path) == ".csv";
}

}  // namespace

std::vector<FileFilter> ExportFilters(ExportKind kind) {
    switch (kind) {
        case ExportKind::Spreadsheet:
            return {{"xlsx Files", "*.xlsx"}, {"csv Files", "*.csv"}};
        case ExportKind::Report:
            return {{"docx Files", "*.docx"}};
        case ExportKind::Drawing:
            return {{"dxf Files", "*.dxf"}, {"DXF files", "*.DXF"}};
    }
    return {};
}

std::string ExportTargetName(ExportKind kind, const ChosenPath& answer) {
    std::string path = answer.path.string();
    const std::string ext = Extension(path);
    switch (kind) {
        case ExportKind::Spreadsheet:
            if (ext == ".xlsx" || ext == ".csv") {
                return path;
            }
            if (ext == ".xls") {
                return path + "x";
            }
            return path + (answer.filterIndex == 1 ? ".csv" : ".xlsx");
        case ExportKind::Report:
            if (ext == ".docx") {
                return path;
            }
            return path + (ext == ".doc" ? "x" : ".docx");
        case ExportKind::Drawing:
            return ext.empty() ? path + ".dxf" : path;
    }
    return path;
}

ExportFlow::ExportFlow(UserPrompts& prompts, const FileSeam& seam)
    : prompts_(prompts), seam_(seam) {}

std::optional<std::string> ExportFlow::AskPath(ExportKind kind, const ExportSource& source) {
    const std::vector<FileFilter> filters = ExportFilters(kind);
    const auto answer = prompts_.AskSavePath("Save As", source.defaultName, filters);
    if (!answer || answer->path.empty()) {
        return std::nullopt;
    }
    std::string path = ExportTargetName(kind, *answer);
    // The chooser never asks before a file is replaced: the name is settled here first.
    if (FileExists(path)) {
        const PromptAnswer replace =
            prompts_.Ask(BaseName(path) + " already exists.\nDo you want to replace it?",
                         PromptButtons::YesNo, PromptIcon::Exclamation);
        if (replace != PromptAnswer::Yes) {
            return std::nullopt;
        }
    }
    return path;
}

void ExportFlow::ReportFailure(ExportKind kind, const std::string& path,
                               const std::string& reason) {
    const std::string_view title =
        kind == ExportKind::Drawing ? kDrawingSaveFailedText : kExportFailedText;
    prompts_.Show(std::string(title) + "\n" + path + ": " + reason,
                  kind == ExportKind::Drawing ? PromptIcon::Error : PromptIcon::Exclamation);
}

std::optional<std::string> ExportFlow::Run(ExportKind kind, const ExportSource& source) {
    if (source.records == nullptr) {
        return std::nullopt;
    }
    // A drawing needs a scale; without one there is nothing to ask the user for yet.
    if (kind == ExportKind::Drawing && !source.scale.Usable()) {
        prompts_.Show(std::string(kDrawingCreateFailedText) +
                          "\nNo scale: enter the magnification or calibrate first.",
                      PromptIcon::Error);
        return std::nullopt;
    }
    const auto path = AskPath(kind, source);
    if (!path) {
        return std::nullopt;
    }
    ExportResult result;
    switch (kind) {
        case ExportKind::Spreadsheet:
            if (IsCsv(*path)) {
                result = ExportCsv(*path, *source.records, source.scheme, source.scale, seam_);
            } else {
                const auto ask = [this, &path](std::string_view why) {
                    return prompts_.Ask(
                               BaseName(*path) + " is not a workbook that can be read (" +
                                   std::string(why) + ").\nReplace it with the exported data?",
                               PromptButtons::YesNo, PromptIcon::Exclamation) == PromptAnswer::Yes;
                };
                result =
                    ExportXlsx(*path, *source.records, source.scheme, source.scale, ask, seam_);
            }
            break;
        case ExportKind::Report: {
            ReportContent content;
            content.fileName = BaseName(*path);
            content.createdAt = clock ? clock() : std::string();
            content.body = ReportLines(*source.records, source.scheme, source.scale);
            if (source.picture) {
                content.picture = source.picture();
            }
            result = ExportDocx(*path, content, seam_);
            break;
        }
        case ExportKind::Drawing:
            result = ExportDxf(*path, *source.records, source.scheme, source.scale, seam_);
            break;
    }
    if (result.status == ExportResult::Status::Failed) {
        ReportFailure(kind, *path, result.reason);
        return std::nullopt;
    }
    if (result.status == ExportResult::Status::Cancelled) {
        return std::nullopt;
    }
    return path;
}

}  // namespace lensora
