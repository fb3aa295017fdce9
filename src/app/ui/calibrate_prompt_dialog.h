// The small question shown once after start: calibrate before measuring, with a check box
// that decides whether it appears again at the next start.
#pragma once

#include <QDialog>

class QCheckBox;

namespace lensora {

class CalibratePromptDialog : public QDialog {
    Q_OBJECT
  public:
    explicit CalibratePromptDialog(QWidget* parent = nullptr);
    bool ShowNextTime() const;
    QCheckBox* CheckBox() const { return checkBox_; }

  private:
    QCheckBox* checkBox_;
};

}  // namespace lensora
