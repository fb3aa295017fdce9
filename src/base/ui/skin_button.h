// A flat panel button that shows an SVG icon of the skin, with hover, pressed, checked and
// disabled looks. Without its icon file it shows a short text instead.
#pragma once

#include <QAbstractButton>

namespace lensora {

class SkinButton : public QAbstractButton {
    Q_OBJECT
  public:
    SkinButton(int command, const QString& iconName, QWidget* parent = nullptr);

    int Command() const { return command_; }
    void SetIconName(const QString& iconName);
    // Buttons of the window frame (close, minimise) have no background until hovered.
    void SetFlat(bool flat) {
        flat_ = flat;
        update();
    }
    void SetDanger(bool danger) {
        danger_ = danger;
        update();
    }
    QSize sizeHint() const override { return {32, 32}; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

  private:
    int command_;
    QString iconName_;
    bool hovered_ = false;
    bool flat_ = false;
    bool danger_ = false;
};

}  // namespace lensora
