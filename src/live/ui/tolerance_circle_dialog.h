// The tolerance circle's dialog: the nominal radius and the plus and minus tolerances, each in
// the current unit, whose name stands beside the fields. OK keeps the dialog open with
// "Please enter digital!" while any of the three numbers is zero or not a number, and while
// `accept` refuses them. UI thread only.
#pragma once

#include <QDialog>

#include <functional>

class QLineEdit;

namespace lensora {

class LiveSession;
class UserPrompts;

class ToleranceCircleDialog : public QDialog {
    Q_OBJECT
  public:
    // `prompts` shows the refusal and outlives the dialog.
    ToleranceCircleDialog(const QString& unitName, UserPrompts& prompts, QWidget* parent = nullptr);

    // Makes the shape from three non-zero numbers; false keeps the dialog open (the shape's
    // maker has said why). Unset: all such numbers are taken.
    std::function<bool(double radius, double tolerancePlus, double toleranceMinus)> accept;

    double Radius() const { return radius_; }
    double TolerancePlus() const { return plus_; }
    double ToleranceMinus() const { return minus_; }
    QLineEdit* RadiusBox() const { return radiusBox_; }
    QLineEdit* PlusBox() const { return plusBox_; }
    QLineEdit* MinusBox() const { return minusBox_; }

    void done(int result) override;

  private:
    UserPrompts& prompts_;
    QLineEdit* radiusBox_ = nullptr;
    QLineEdit* plusBox_ = nullptr;
    QLineEdit* minusBox_ = nullptr;
    double radius_ = 0.0;
    double plus_ = 0.0;
    double minus_ = 0.0;
};

// The tolerance circle command: runs the live view's rate check, as choosing a measuring tool
// does, and then opens the dialog window-modally over `parent` (it deletes itself when
// closed); OK with usable numbers adds the circle, centred in the video area, to `session`
// and turns the shape-editing mode on. nullptr when the rate check refused.
ToleranceCircleDialog* OpenToleranceCircleDialog(LiveSession& session, UserPrompts& prompts,
                                                 const QString& unitName, QWidget* parent);

}  // namespace lensora
