#include "app/ui/data_root_chooser.h"

#include <QFileDialog>

#include "base/data_folders.h"

namespace lensora {

QString ChooseDataRoot(QWidget* owner, DataFolders& folders) {
    const QString current = QString::fromStdString(folders.dataRoot);
    const QString chosen = QFileDialog::getExistingDirectory(
        owner, QStringLiteral("Please select folder"), current, QFileDialog::ShowDirsOnly);
    if (!chosen.isEmpty()) {
        SaveFolderFile(folders, chosen.toStdString());
    }
    return QString::fromStdString(folders.dataRoot);
}

}  // namespace lensora
