// The comparison shapes from the operator's side: the three dialogs refuse zero and
// unreadable numbers and stay open, accept usable ones (read with a decimal point whatever
// the locale), the shapes they make carry the pixel radii of the live rate, the length line
// takes its length from its dialog after two clicks on the live canvas, and each kind of
// shape is dragged with the mouse on the canvas.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

#include <functional>

#include "live/live_session.h"
#include "live/ui/angle_line_dialog.h"
#include "live/ui/length_line_dialog.h"
#include "live/ui/live_canvas.h"
#include "live/ui/tolerance_circle_dialog.h"
#include "support/event_loop.h"
#include "support/fake_prompts.h"

namespace lensora {
namespace {

using Points = std::vector<PixelPoint>;
using Texts = std::vector<std::string>;

constexpr const char* kEnterDigital = "Please enter digital!";
constexpr const char* kEnterDigitalXY = "Please enter digital X[0--640],Y[0--480]!";

void PressOk(QDialog& dialog) {
    dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
}

class ComparisonShapeUiTest : public ::testing::Test {
  protected:
    ComparisonShapeUiTest() {
        canvas.resize(640, 480);
        // Magnification 50 and no calibrated rate: the live view measures at rate 50.
        canvas.rateCheck = [this] {
            return session.Calibration().PrepareRate({"50", ""}, prompts);
        };
    }

    void Send(QEvent::Type type, PixelPoint p) {
        const QPointF local(p.x, p.y);
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        const Qt::MouseButtons held =
            type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, local, canvas.mapToGlobal(local), button, held, Qt::NoModifier);
        QCoreApplication::sendEvent(&canvas, &event);
    }
    void Click(PixelPoint p) {
        Send(QEvent::MouseButtonPress, p);
        Send(QEvent::MouseButtonRelease, p);
    }
    void Drag(PixelPoint from, PixelPoint to) {
        Send(QEvent::MouseButtonPress, from);
        dragCursor = canvas.cursor().shape();
        Send(QEvent::MouseMove, {(from.x + to.x) / 2, (from.y + to.y) / 2});
        Send(QEvent::MouseMove, to);
        Send(QEvent::MouseButtonRelease, to);
    }
    // Answers the length dialog that the next click opens (modally) with `answer`.
    void AnswerLengthDialog(std::function<void(LengthLineDialog&)> answer) {
        QTimer::singleShot(0, &canvas, [this, answer] {
            auto* dialog = canvas.findChild<LengthLineDialog*>();
            ASSERT_NE(dialog, nullptr);
            answer(*dialog);
            if (dialog->isVisible()) {
                dialog->reject();  // never leave a test hanging in the dialog
            }
        });
    }

    AppSettings settings;
    CalibrationState shared;
    LabelCounters counters;
    LiveSession session{settings, shared, counters};
    test::FakePrompts prompts;
    LiveCanvas canvas{session, settings, prompts};
    Qt::CursorShape dragCursor = Qt::ArrowCursor;
};

TEST_F(ComparisonShapeUiTest, LengthDialogShowsTheUnitAndRefusesZeroAndText) {
    LengthLineDialog dialog(QStringLiteral("mil"), prompts);
    EXPECT_EQ(dialog.findChild<QLabel*>(QStringLiteral("unitName"))->text(), "mil");
    dialog.show();
    for (const char* refused : {"0", "", "abc", "-0.0", "1e999"}) {
        dialog.LengthBox()->setText(QString::fromLatin1(refused));
        PressOk(dialog);
        EXPECT_TRUE(dialog.isVisible()) << refused;
    }
    EXPECT_EQ(prompts.shown, Texts(5, kEnterDigital));
    // A decimal comma ends the number, whatever the locale says.
    dialog.LengthBox()->setText(QStringLiteral(" 1,5"));
    PressOk(dialog);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_DOUBLE_EQ(dialog.Length(), 1.0);
    EXPECT_EQ(prompts.shown.size(), 5u);
}

TEST_F(ComparisonShapeUiTest, AngleLineDialogRefusesZeroesAndMakesTheShape) {
    AngleLineDialog* dialog = OpenAngleLineDialog(session, prompts, &canvas);
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->isVisible());
    const std::pair<const char*, const char*> refused[] = {
        {"0", "300"}, {"100", ""}, {"x", "300"}, {"0.7", "300"}, {"100", "9e99"}};
    for (const auto& [x, y] : refused) {
        dialog->XBox()->setText(QString::fromLatin1(x));
        dialog->YBox()->setText(QString::fromLatin1(y));
        PressOk(*dialog);
        EXPECT_TRUE(dialog->isVisible()) << x << "," << y;
    }
    EXPECT_EQ(prompts.shown, Texts(5, kEnterDigitalXY));
    EXPECT_TRUE(session.Shapes().empty());

    QPointer<AngleLineDialog> open = dialog;
    dialog->XBox()->setText(QStringLiteral("100.9"));  // a whole pixel: the fraction is dropped
    dialog->YBox()->setText(QStringLiteral("300"));
    PressOk(*dialog);
    ASSERT_EQ(session.Shapes().size(), 1u);
    EXPECT_EQ(session.Shapes()[0].kind, ReferenceKind::kAngleLine);
    EXPECT_EQ(session.Shapes()[0].points, (Points{{100, 300}, {100, 100}, {300, 300}}));
    EXPECT_TRUE(session.Interaction()->ShapeEditing());
    EXPECT_TRUE(test::WaitUntil([&] { return open.isNull(); }));  // deleted when closed

    // Cancel makes nothing.
    dialog = OpenAngleLineDialog(session, prompts, &canvas);
    dialog->XBox()->setText(QStringLiteral("50"));
    dialog->YBox()->setText(QStringLiteral("50"));
    dialog->reject();
    EXPECT_EQ(session.Shapes().size(), 1u);
}

TEST_F(ComparisonShapeUiTest, ToleranceCircleDialogTakesThreeNonZeroNumbersAtTheLiveRate) {
    ToleranceCircleDialog* dialog =
        OpenToleranceCircleDialog(session, prompts, QStringLiteral("mm"), &canvas);
    ASSERT_NE(dialog, nullptr);
    const char* const refused[][3] = {
        {"0", "0.1", "0.2"}, {"1", "", "0.2"}, {"1", "0.1", "zero"}, {"", "", ""}};
    for (const auto& numbers : refused) {
        dialog->RadiusBox()->setText(QString::fromLatin1(numbers[0]));
        dialog->PlusBox()->setText(QString::fromLatin1(numbers[1]));
        dialog->MinusBox()->setText(QString::fromLatin1(numbers[2]));
        PressOk(*dialog);
        EXPECT_TRUE(dialog->isVisible()) << numbers[0] << numbers[1] << numbers[2];
    }
    EXPECT_EQ(prompts.shown, Texts(4, kEnterDigital));
    EXPECT_TRUE(session.Shapes().empty());

    // The default camera (80 um per pixel) at rate 50: 0.016 mm per pixel, so 1 mm is 62.5
    // pixels, 0.1 mm 6.25 and 0.2 mm 12.5, halves rounded up.
    dialog->RadiusBox()->setText(QStringLiteral("1"));
    dialog->PlusBox()->setText(QStringLiteral("0.1"));
    dialog->MinusBox()->setText(QStringLiteral("0.2mm"));
    PressOk(*dialog);
    ASSERT_EQ(session.Shapes().size(), 1u);
    const ReferenceShape& circle = session.Shapes()[0];
    EXPECT_EQ(circle.kind, ReferenceKind::kToleranceCircle);
    EXPECT_EQ(circle.points, Points{kToleranceCircleCentre});
    EXPECT_DOUBLE_EQ(circle.radius, 1.0);
    EXPECT_DOUBLE_EQ(circle.tolerancePlus, 0.1);
    EXPECT_DOUBLE_EQ(circle.toleranceMinus, 0.2);
    EXPECT_EQ(circle.radiusPx, 63);
    EXPECT_EQ(circle.tolerancePlusPx, 6);
    EXPECT_EQ(circle.toleranceMinusPx, 13);
    EXPECT_TRUE(session.Interaction()->ShapeEditing());

    // A radius too large to draw is refused by the shape itself; the dialog stays open.
    dialog = OpenToleranceCircleDialog(session, prompts, QStringLiteral("mm"), &canvas);
    dialog->RadiusBox()->setText(QStringLiteral("1e300"));
    dialog->PlusBox()->setText(QStringLiteral("1"));
    dialog->MinusBox()->setText(QStringLiteral("1"));
    PressOk(*dialog);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(prompts.shown.back(), kEnterDigital);
    EXPECT_EQ(session.Shapes().size(), 1u);
    dialog->reject();

    // Without a magnification or a rate the dialog does not open.
    canvas.rateCheck = [this] { return session.Calibration().PrepareRate({"", ""}, prompts); };
    EXPECT_EQ(OpenToleranceCircleDialog(session, prompts, QStringLiteral("mm"), &canvas), nullptr);
    EXPECT_EQ(prompts.shown.back(), "Please input the zoomIn scale!");
}

TEST_F(ComparisonShapeUiTest, LengthLineTakesTwoClicksAndItsDialogsLength) {
    ASSERT_TRUE(session.CreateAngleLine(500, 400));
    ASSERT_TRUE(session.Interaction()->ShapeEditing());
    ASSERT_TRUE(session.ChooseCommand(1212));
    EXPECT_FALSE(session.Interaction()->ShapeEditing());
    Click({100, 100});
    QString unitShown;
    AnswerLengthDialog([&](LengthLineDialog& dialog) {
        unitShown = dialog.findChild<QLabel*>(QStringLiteral("unitName"))->text();
        dialog.LengthBox()->setText(QStringLiteral("0"));
        PressOk(dialog);
        EXPECT_TRUE(dialog.isVisible());
        dialog.LengthBox()->setText(QStringLiteral("2"));  // 125 pixels at 0.016 mm
        PressOk(dialog);
    });
    Click({200, 130});  // more across than down: a horizontal line
    EXPECT_EQ(unitShown, "mm");
    EXPECT_EQ(prompts.shown, Texts{kEnterDigital});
    ASSERT_EQ(session.Shapes().size(), 2u);
    EXPECT_EQ(session.Shapes()[1].kind, ReferenceKind::kLengthLine);
    EXPECT_EQ(session.Shapes()[1].points, (Points{{100, 100}, {225, 100}}));
    EXPECT_EQ(session.Shapes()[1].flag, 0);

    // Cancel in the dialog makes nothing.
    Click({300, 300});
    AnswerLengthDialog([](LengthLineDialog& dialog) { dialog.reject(); });
    Click({310, 400});
    EXPECT_EQ(session.Shapes().size(), 2u);
    EXPECT_TRUE(session.Records().empty());
}

TEST_F(ComparisonShapeUiTest, EachKindIsDraggedOnTheCanvasAndUndoTakesTheNewestShape) {
    ASSERT_TRUE(session.ChooseCommand(1212));
    Click({100, 100});
    AnswerLengthDialog([](LengthLineDialog& dialog) {
        dialog.LengthBox()->setText(QStringLiteral("1.6"));  // 100 pixels
        PressOk(dialog);
    });
    Click({110, 300});  // more down than across: a vertical line
    ASSERT_EQ(session.Shapes().size(), 1u);
    ASSERT_EQ(session.Shapes()[0].points, (Points{{100, 100}, {100, 200}}));
    ASSERT_TRUE(session.CreateAngleLine(400, 300));
    ASSERT_TRUE(session.CreateToleranceCircle(1.0, 0.1, 0.2));
    ASSERT_EQ(session.Shapes().size(), 3u);

    Drag({102, 104}, {150, 120});  // the length line's start: the whole line moves
    EXPECT_EQ(dragCursor, Qt::SizeAllCursor);
    EXPECT_EQ(canvas.cursor().shape(), Qt::ArrowCursor);
    EXPECT_EQ(session.Shapes()[0].points, (Points{{150, 120}, {150, 220}}));
    Drag({150, 222}, {190, 260});  // its end: stretched down only
    EXPECT_EQ(session.Shapes()[0].points, (Points{{150, 120}, {150, 260}}));

    Drag({403, 297}, {420, 320});  // the angle line's vertex: the whole shape moves
    EXPECT_EQ(session.Shapes()[1].points, (Points{{420, 320}, {420, 120}, {620, 320}}));
    Drag({420, 200}, {380, 150});  // its first arm
    EXPECT_EQ(session.Shapes()[1].points, (Points{{420, 320}, {380, 150}, {620, 320}}));

    Drag({330, 250}, {300, 200});  // inside the tolerance circle: its centre follows
    EXPECT_EQ(session.Shapes()[2].points, (Points{{300, 200}}));
    EXPECT_TRUE(session.Records().empty());

    // Undo takes back the newest shape; Delete All removes every one.
    EXPECT_TRUE(session.Undo());
    ASSERT_EQ(session.Shapes().size(), 2u);
    EXPECT_EQ(session.Shapes()[1].kind, ReferenceKind::kAngleLine);
    EXPECT_TRUE(session.DeleteAll());
    EXPECT_TRUE(session.Shapes().empty());
    EXPECT_FALSE(session.Redo());
}

}  // namespace
}  // namespace lensora
