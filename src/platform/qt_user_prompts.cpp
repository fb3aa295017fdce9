#include "platform/qt_user_prompts.h"

#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QStringList>

#include "base/text_keys.h"

namespace lensora {
namespace {

QString FromUtf8(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

// File names travel as bytes; Qt decodes them the way the file system does.
QString FromPath(const std::filesystem::path& path) {
    return QFile::decodeName(QByteArray::fromStdString(path.native()));
}

std::filesystem::path ToPath(const QString& name) {
    return std::filesystem::path(QFile::encodeName(name).toStdString());
}

QStringList FilterList(std::span<const FileFilter> filters) {
    QStringList list;
    for (const FileFilter& f : filters) {
        list << FromUtf8(f.name) + QStringLiteral("(") + FromUtf8(f.pattern) + QStringLiteral(")");
    }
    return list;
}

QMessageBox::Icon ToQt(PromptIcon icon) {
    switch (icon) {
        case PromptIcon::Information:
            return QMessageBox::Information;
        case PromptIcon::Exclamation:
            return QMessageBox::Warning;
        case PromptIcon::Question:
            return QMessageBox::Question;
        case PromptIcon::Error:
            return QMessageBox::Critical;
        case PromptIcon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons ToQt(PromptButtons buttons) {
    switch (buttons) {
        case PromptButtons::Ok:
            return QMessageBox::Ok;
        case PromptButtons::OkCancel:
            return QMessageBox::Ok | QMessageBox::Cancel;
        case PromptButtons::YesNo:
            return QMessageBox::Yes | QMessageBox::No;
        case PromptButtons::YesNoCancel:
            return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

QString ToQString(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

}  // namespace

void QtUserPrompts::Show(std::string_view text, PromptIcon icon) {
    QMessageBox box(ToQt(icon), QString::fromStdString(GetText(text::kMsgTitle)), ToQString(text),
                    QMessageBox::Ok, parent_);
    box.exec();
}

PromptAnswer QtUserPrompts::Ask(std::string_view text, PromptButtons buttons, PromptIcon icon) {
    QMessageBox box(ToQt(icon), QString::fromStdString(GetText(text::kMsgTitle)), ToQString(text),
                    ToQt(buttons), parent_);
    switch (box.exec()) {
        case QMessageBox::Ok:
            return PromptAnswer::Ok;
        case QMessageBox::Yes:
            return PromptAnswer::Yes;
        case QMessageBox::No:
            return PromptAnswer::No;
        default:
            break;
    }
    return buttons == PromptButtons::YesNo ? PromptAnswer::No : PromptAnswer::Cancel;
}

std::optional<std::filesystem::path> QtUserPrompts::AskOpenPath(
    std::string_view title, const std::filesystem::path& start,
    std::span<const FileFilter> filters) {
    const QString name = QFileDialog::getOpenFileName(
        parent_, FromUtf8(title), FromPath(start), FilterList(filters).join(QStringLiteral(";;")));
    if (name.isEmpty()) {
        return std::nullopt;
    }
    return ToPath(name);
}

std::optional<std::filesystem::path> QtUserPrompts::AskFolder(std::string_view title,
                                                              const std::filesystem::path& start) {
    const QString name = QFileDialog::getExistingDirectory(
        parent_, FromUtf8(title), FromPath(start), QFileDialog::ShowDirsOnly);
    if (name.isEmpty()) {
        return std::nullopt;
    }
    return ToPath(name);
}

std::optional<ChosenPath> QtUserPrompts::AskSavePath(std::string_view title,
                                                     const std::filesystem::path& start,
                                                     std::span<const FileFilter> filters) {
    const QStringList list = FilterList(filters);
    QString selected;
    // ChooseSavePath asks before a file is replaced, after the extension is settled.
    const QString name = QFileDialog::getSaveFileName(parent_, FromUtf8(title), FromPath(start),
                                                      list.join(QStringLiteral(";;")), &selected,
                                                      QFileDialog::DontConfirmOverwrite);
    if (name.isEmpty()) {
        return std::nullopt;
    }
    const qsizetype index = list.indexOf(selected);
    return ChosenPath{ToPath(name), index < 0 ? 0 : static_cast<std::size_t>(index)};
}

}  // namespace lensora
