// A titled frame drawn behind a group of panel controls ("Measure", "Calibration", ...).
#pragma once

#include <QWidget>

namespace lensora {

class GroupFrame : public QWidget {
    Q_OBJECT
  public:
    explicit GroupFrame(int controlId, QWidget* parent = nullptr);
    void SetTitle(const QString& title);
    QString Title() const { return title_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QString title_;
};

}  // namespace lensora
