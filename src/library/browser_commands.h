// The commands of the strip's context menu on the selected file: Open, Save as, Save all,
// Delete, Delete all and E-mail. They ask and report through UserPrompts, choose targets
// through BrowserDialogs, touch files through FileOps and start the mail client through a
// ProcessLauncher, so that all of it runs without a window. UI thread only.
#pragma once

#include <optional>
#include <string>

#include "base/user_prompts.h"
#include "library/file_ops.h"
#include "library/media_browser.h"

namespace lensora {

// The file choosers the commands need.
class BrowserDialogs {
  public:
    virtual ~BrowserDialogs() = default;
    // Save as: the full path chosen for one file, or nullopt when cancelled.
    virtual std::optional<std::string> AskSaveAs(const std::string& defaultName, bool video) = 0;
    // Save all: the folder chosen for every file, or nullopt when cancelled.
    virtual std::optional<std::string> AskSaveAllFolder(const std::string& defaultName,
                                                        bool video) = 0;
};

struct BrowserServices {
    UserPrompts& prompts;
    BrowserDialogs& dialogs;
    FileOps& files;
    ProcessLauncher& launcher;
    std::string appFolder;  // where an e-mailed BMP's JPEG copy goes
};

enum class FileKind { Other, Picture, Video };
// By the text after the last ".": "bmp", "BMP", "jpg", "JPG" are pictures, "avi", "AVI" videos.
FileKind KindOfFile(const std::string& path);

struct OpenRequest {
    FileKind kind = FileKind::Other;  // Other: nothing to open
    std::string path;
};

// Which command of the context menu; also the order of its entries.
enum class BrowserCommand { Open, SaveAs, SaveAll, Delete, DeleteAll, Email };

class BrowserCommands {
  public:
    BrowserCommands(MediaBrowser& browser, BrowserServices services)
        : browser_(browser), s_(std::move(services)) {}

    // Runs one command on the selected item. Open only says what to open: the caller hands a
    // picture to the still window and a video to the desktop's player.
    OpenRequest Run(BrowserCommand command);

    OpenRequest Open();
    bool SaveAs();
    // Copies every listed file of the current list into a chosen folder, asking before it
    // replaces a file there, then runs Delete all. A copy that fails stops everything.
    bool SaveAll();
    bool Delete();
    // Deletes the files the current list holds (never other files of the folder).
    bool DeleteAll();
    bool Email();

  private:
    // The selected item, or null after the "select a file" notice.
    BrowserItem* Selected();

    MediaBrowser& browser_;
    BrowserServices s_;
};

}  // namespace lensora
