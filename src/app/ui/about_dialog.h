// The About box: product, version, what the program does and its licence.
#pragma once

#include <QDialog>

namespace lensora {

class AboutDialog : public QDialog {
    Q_OBJECT
  public:
    explicit AboutDialog(QWidget* parent = nullptr);
};

}  // namespace lensora
