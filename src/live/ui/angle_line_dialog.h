// The angle line's dialog: the X and Y of the angle's vertex in pixels of the 640 x 480 video
// area. OK keeps the dialog open with "Please enter digital X[0--640],Y[0--480]!" while
// either number is zero or not a number, and while `accept` refuses the pair.
// UI thread only.
#pragma once

#include <QDialog>

#include <cstdint>
#include <functional>

class QLineEdit;

namespace lensora {

class LiveSession;
class UserPrompts;

class AngleLineDialog : public QDialog {
    Q_OBJECT
  public:
    // `prompts` shows the refusal and outlives the dialog.
    explicit AngleLineDialog(UserPrompts& prompts, QWidget* parent = nullptr);

    // Makes the shape from two non-zero numbers; false keeps the dialog open (the shape's
    // maker has said why). Unset: every such pair is taken.
    std::function<bool(std::int32_t x, std::int32_t y)> accept;

    std::int32_t X() const { return x_; }
    std::int32_t Y() const { return y_; }
    QLineEdit* XBox() const { return xBox_; }
    QLineEdit* YBox() const { return yBox_; }

    void done(int result) override;

  private:
    UserPrompts& prompts_;
    QLineEdit* xBox_ = nullptr;
    QLineEdit* yBox_ = nullptr;
    std::int32_t x_ = 0;
    std::int32_t y_ = 0;
};

// The angle line command: opens the dialog window-modally over `parent` (it deletes itself
// when closed); OK with usable numbers adds the shape to `session` and turns the
// shape-editing mode on. Returns the open dialog.
AngleLineDialog* OpenAngleLineDialog(LiveSession& session, UserPrompts& prompts, QWidget* parent);

}  // namespace lensora
