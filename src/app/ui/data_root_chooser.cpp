#include "app/ui/data_root_chooser.h"

#include <QFile>

#include "base/data_folders.h"
#include "base/user_prompts.h"

namespace lensora {

QString ChooseDataRoot(UserPrompts& prompts, DataFolders& folders) {
    const std::optional<std::filesystem::path> chosen =
        prompts.AskFolder("Please select folder", std::filesystem::path(folders.dataRoot));
    if (chosen) {
        SaveFolderFile(folders, chosen->native());
    }
    return QFile::decodeName(QByteArray::fromStdString(folders.dataRoot));
}

}  // namespace lensora
