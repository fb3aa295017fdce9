#include "library/browser_commands.h"

#include <filesystem>
#include <system_error>

#include <fmt/format.h>

#include "imaging/cx_image.h"
#include "library/browser_texts.h"

namespace lensora {

namespace fs = std::filesystem;
namespace msg = browser_message;

namespace {

std::string Extension(const std::string& path) {
    const std::size_t dot = path.rfind('.');
    const std::size_t slash = path.rfind('/');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) {
        return {};
    }
    return path.substr(dot + 1);
}

bool IsJpegName(const std::string& path) {
    const std::string ext = Extension(path);
    return ext == "jpg" || ext == "JPG";
}

std::string FileName(const std::string& path) {
    return fs::path(path).filename().string();
}

// Two folders are the same when they name the same directory, however they are spelled.
bool SameFolder(const std::string& a, const std::string& b) {
    std::error_code ec;
    if (fs::equivalent(fs::path(a), fs::path(b), ec)) {
        return true;
    }
    return fs::path(a).lexically_normal() == fs::path(b).lexically_normal();
}

std::string ParentFolder(const std::string& path) {
    return fs::path(path).parent_path().string();
}

}  // namespace

FileKind KindOfFile(const std::string& path) {
    const std::string ext = Extension(path);
    if (ext == "bmp" || ext == "BMP" || ext == "jpg" || ext == "JPG") {
        return FileKind::Picture;
    }
    if (ext == "avi" || ext == "AVI") {
        return FileKind::Video;
    }
    return FileKind::Other;
}

BrowserItem* BrowserCommands::Selected() {
    BrowserItem* item = browser_.GetSelected();
    if (item == nullptr) {
        s_.prompts.Show(GetText(text::kSelectFile), PromptIcon::Exclamation);
    }
    return item;
}

OpenRequest BrowserCommands::Run(BrowserCommand command) {
    switch (command) {
        case BrowserCommand::Open:
            return Open();
        case BrowserCommand::SaveAs:
            SaveAs();
            break;
        case BrowserCommand::SaveAll:
            SaveAll();
            break;
        case BrowserCommand::Delete:
            Delete();
            break;
        case BrowserCommand::DeleteAll:
            DeleteAll();
            break;
        case BrowserCommand::Email:
            Email();
            break;
    }
    return {};
}

OpenRequest BrowserCommands::Open() {
    const BrowserItem* item = Selected();
    if (item == nullptr) {
        return {};
    }
    // Every picture goes to the still window, whatever its size: it measures any picture.
    return OpenRequest{KindOfFile(item->path), item->path};
}

bool BrowserCommands::SaveAs() {
    BrowserItem* item = Selected();
    if (item == nullptr) {
        return false;
    }
    const std::string source = item->path;
    const bool video = browser_.Mode() == BrowserMode::Videos;
    std::string defaultName = FileName(source);
    if (defaultName.size() > 4) {
        defaultName.resize(defaultName.size() - 4);
    }
    const std::optional<std::string> target = s_.dialogs.AskSaveAs(defaultName, video);
    if (!target) {
        return false;
    }
    if (SameFolder(ParentFolder(*target), browser_.CurrentFolder())) {
        s_.prompts.Show(msg::kSaveIntoOwnFolder, PromptIcon::Exclamation);
        return false;
    }
    const bool toJpeg = IsJpegName(*target);
    const bool fromJpeg = IsJpegName(source);
    bool ok = false;
    if (toJpeg != fromJpeg && !SameFolder(ParentFolder(*target), browser_.VideoFolder())) {
        // The target's extension decides the format: BMP and JPEG convert into each other.
        CxImage image = CxImage::LoadFromFile(source, fromJpeg ? kImageTypeJpeg : kImageTypeBmp);
        if (!image.IsValid()) {
            s_.prompts.Show(msg::kSaveLoadFail, PromptIcon::Exclamation);
            return false;
        }
        image.SetJpegQuality(kDefaultJpegQuality);
        if (!image.SaveToFile(*target, toJpeg ? kImageTypeJpeg : kImageTypeBmp)) {
            s_.prompts.Show(msg::kSaveEncodeFail, PromptIcon::Exclamation);
            return false;
        }
        ok = true;
    } else {
        std::string error;
        ok = s_.files.Copy(source, *target, error);
        if (!ok) {
            s_.prompts.Show(FileName(*target) + "\n" + error, PromptIcon::Error);
        }
    }
    if (ok) {
        // The item may have moved while the dialog was open; look it up again.
        const int index = browser_.Current().IndexOf(source);
        if (index >= 0) {
            browser_.Current().items[index].flags &= ~kItemUnsaved;
        }
    }
    return ok;
}

bool BrowserCommands::SaveAll() {
    if (Selected() == nullptr) {
        return false;
    }
    browser_.SelectFromFirstVisible();
    const bool video = browser_.Mode() == BrowserMode::Videos;
    const std::vector<BrowserItem> items = browser_.Current().items;
    std::string defaultName;
    for (std::size_t i = 0; i < items.size() && i < 4; ++i) {
        defaultName += FileName(items[i].path) + " ";
    }
    const std::optional<std::string> folder = s_.dialogs.AskSaveAllFolder(defaultName, video);
    if (!folder) {
        return false;
    }
    // Saving into the list's own folder would copy each file onto itself, and the Delete all
    // that follows would then remove the only copies.
    if (SameFolder(*folder, browser_.CurrentFolder())) {
        s_.prompts.Show(msg::kSaveIntoOwnFolder, PromptIcon::Exclamation);
        return false;
    }
    for (const BrowserItem& item : items) {
        const std::string name = FileName(item.path);
        const std::string target = (fs::path(*folder) / fs::path(name)).string();
        std::error_code ec;
        if (fs::exists(fs::path(target), ec)) {
            const std::string question =
                fmt::format("{}\n{}\n{}", name, msg::kFileExists, msg::kReplaceFile);
            if (s_.prompts.Ask(question, PromptButtons::YesNo, PromptIcon::Exclamation) !=
                PromptAnswer::Yes) {
                continue;
            }
        }
        std::string error;
        if (!s_.files.Copy(item.path, target, error)) {
            // Stop here: Delete all would remove originals whose copies do not exist.
            s_.prompts.Show(name + "\n" + error, PromptIcon::Error);
            return false;
        }
        const int index = browser_.Current().IndexOf(item.path);
        if (index >= 0) {
            browser_.Current().items[index].flags &= ~kItemUnsaved;
        }
    }
    return DeleteAll();
}

bool BrowserCommands::Delete() {
    const BrowserItem* item = Selected();
    if (item == nullptr) {
        return false;
    }
    const std::string path = item->path;
    if (s_.prompts.Ask(GetText(text::kSureDelete), PromptButtons::YesNo, PromptIcon::Exclamation) !=
        PromptAnswer::Yes) {
        return false;
    }
    std::string error;
    if (!s_.files.Remove(path, error)) {
        s_.prompts.Show(error, PromptIcon::Error);
        return false;
    }
    browser_.ClearSelection();
    browser_.RemoveItem(path);
    return true;
}

bool BrowserCommands::DeleteAll() {
    if (Selected() == nullptr) {
        return false;
    }
    const std::vector<BrowserItem> items = browser_.Current().items;
    const std::string question =
        fmt::format("{}\n({} files)", GetText(text::kSureDeleteAll), items.size());
    if (s_.prompts.Ask(question, PromptButtons::YesNo, PromptIcon::Exclamation) !=
        PromptAnswer::Yes) {
        return false;
    }
    std::string firstError;
    int failed = 0;
    browser_.ClearSelection();
    for (const BrowserItem& item : items) {
        std::string error;
        if (s_.files.Remove(item.path, error)) {
            browser_.RemoveItem(item.path);
        } else if (failed++ == 0) {
            firstError = FileName(item.path) + "\n" + error;
        }
    }
    // Files that could not be deleted are still on disk, so they stay listed.
    if (failed > 0) {
        s_.prompts.Show(firstError, PromptIcon::Error);
        return false;
    }
    return true;
}

bool BrowserCommands::Email() {
    const BrowserItem* item = Selected();
    if (item == nullptr) {
        return false;
    }
    std::string attachment = item->path;
    if (Extension(attachment) == "bmp") {
        // Mail goes out as JPEG: a copy in the program's folder replaces the copies of earlier
        // mails there.
        std::error_code ec;
        for (fs::directory_iterator it(fs::path(s_.appFolder), ec), end; !ec && it != end;
             it.increment(ec)) {
            if (it->path().extension() == ".jpg") {
                std::string ignored;
                s_.files.Remove(it->path().string(), ignored);
            }
        }
        CxImage image = CxImage::LoadFromFile(attachment, kImageTypeBmp);
        if (!image.IsValid()) {
            s_.prompts.Show(msg::kEmailLoadFail, PromptIcon::Exclamation);
            return false;
        }
        fs::path copy = fs::path(s_.appFolder) / fs::path(FileName(attachment));
        copy.replace_extension(".jpg");
        image.SetJpegQuality(kDefaultJpegQuality);
        if (!image.SaveToFile(copy.string(), kImageTypeJpeg)) {
            s_.prompts.Show(msg::kEmailEncodeFail, PromptIcon::Exclamation);
            return false;
        }
        attachment = copy.string();
    }
    if (!s_.launcher.Start({"xdg-email", "--attach", attachment})) {
        s_.prompts.Show(msg::kMailClientFail, PromptIcon::Exclamation);
        return false;
    }
    return true;
}

}  // namespace lensora
