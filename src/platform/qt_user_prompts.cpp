#include "platform/qt_user_prompts.h"

#include <QMessageBox>

#include "base/text_keys.h"

namespace lensora {
namespace {

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

}  // namespace lensora
