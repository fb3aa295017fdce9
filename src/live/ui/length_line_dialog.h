// The length line's dialog: asks for the line's length in the current unit, whose name stands
// beside the entry field. OK keeps the dialog open with "Please enter digital!" while the
// typed number is zero or not a number. UI thread only.
#pragma once

#include <QDialog>

#include <optional>

class QLineEdit;

namespace lensora {

class UserPrompts;

class LengthLineDialog : public QDialog {
    Q_OBJECT
  public:
    // `prompts` shows the refusal and outlives the dialog.
    LengthLineDialog(const QString& unitName, UserPrompts& prompts, QWidget* parent = nullptr);

    // Runs the dialog modally: the accepted length, nullopt for Cancel.
    static std::optional<double> Ask(const QString& unitName, UserPrompts& prompts,
                                     QWidget* parent);

    double Length() const { return length_; }
    QLineEdit* LengthBox() const { return box_; }

    // OK: takes a usable number only.
    void done(int result) override;

  private:
    UserPrompts& prompts_;
    QLineEdit* box_ = nullptr;
    double length_ = 0.0;
};

}  // namespace lensora
