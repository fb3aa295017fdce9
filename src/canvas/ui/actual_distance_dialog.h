// The dialog that asks for the real length of a calibration line: the number with the unit
// name beside it. OK keeps the dialog open with "Please enter digital!" until `accept` takes
// the text. UI thread only.
#pragma once

#include <QDialog>

#include <functional>
#include <optional>

class QLineEdit;

namespace lensora {

class UserPrompts;

class ActualDistanceDialog : public QDialog {
    Q_OBJECT
  public:
    ActualDistanceDialog(const QString& unitName, QWidget* parent = nullptr);

    // The accepted distance for a typed text, or nullopt to refuse it.
    std::function<std::optional<double>(const QString& text)> accept;
    // Where the refusal is shown; null: a message box of this dialog.
    UserPrompts* prompts = nullptr;

    double Distance() const { return distance_; }
    QLineEdit* DistanceBox() const { return box_; }

    // OK: takes the text when `accept` does.
    void done(int result) override;

  private:
    QLineEdit* box_ = nullptr;
    double distance_ = 0.0;
};

}  // namespace lensora
