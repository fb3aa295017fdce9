#include "library/ui/browser_dialogs.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QStandardPaths>

namespace lensora {

namespace {

QString StartFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
}

}  // namespace

std::optional<std::string> QtBrowserDialogs::AskSaveAs(const std::string& defaultName, bool video) {
    QFileDialog dialog(parent_, QString(), StartFolder());
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
    dialog.setObjectName(QStringLiteral("saveAsDialog"));
    if (video) {
        dialog.setNameFilters({QStringLiteral("AVI Files(*.avi)")});
        dialog.setDefaultSuffix(QStringLiteral("avi"));
    } else {
        dialog.setNameFilters(
            {QStringLiteral("Bitmap Files(*.bmp)"), QStringLiteral("JPEG Files(*.jpg)")});
        dialog.setDefaultSuffix(QStringLiteral("bmp"));
        // The suffix follows the chosen filter, so choosing JPEG writes a JPEG.
        QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                         [&dialog](const QString& filter) {
                             dialog.setDefaultSuffix(filter.contains(QStringLiteral("jpg"))
                                                         ? QStringLiteral("jpg")
                                                         : QStringLiteral("bmp"));
                         });
    }
    dialog.selectFile(QString::fromStdString(defaultName));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return dialog.selectedFiles().first().toStdString();
}

std::optional<std::string> QtBrowserDialogs::AskSaveAllFolder(const std::string& defaultName,
                                                              bool video) {
    // Only the folder of the chosen path counts; the name field shows the first files.
    QFileDialog dialog(parent_, QString(), StartFolder());
    dialog.setObjectName(QStringLiteral("saveAllDialog"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    dialog.setNameFilters(
        {video ? QStringLiteral("AVI Files(*.AVI)") : QStringLiteral(" Files(*.*)")});
    dialog.selectFile(QString::fromStdString(defaultName));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return QFileInfo(dialog.selectedFiles().first()).absolutePath().toStdString();
}

}  // namespace lensora
