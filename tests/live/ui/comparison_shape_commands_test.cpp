// The main window's comparison shape commands: the angle line and the tolerance circle
// buttons open their dialogs over the window and the shapes they make land in the live
// session with the shape-editing mode on; the length line button selects its tool and turns
// that mode off.
#include <gtest/gtest.h>

#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <memory>

#include "app/app_state.h"
#include "app/main_buttons.h"
#include "app/ui/main_window.h"
#include "live/live_session.h"
#include "live/ui/angle_line_dialog.h"
#include "live/ui/tolerance_circle_dialog.h"
#include "platform/qt_settings_store.h"
#include "support/event_loop.h"
#include "support/started_app.h"
#include "support/temp_dir.h"

namespace lensora {
namespace {

template <class Dialog>
Dialog* OpenDialog(MainWindow& window) {
    Dialog* found = nullptr;
    test::WaitUntil(
        [&] {
            found = window.findChild<Dialog*>();
            return found != nullptr && found->isVisible();
        },
        1000);
    return found;
}

TEST(ComparisonShapeCommands, ButtonsOpenTheDialogsAndTheShapesReachTheSession) {
    test::TempDir dir;
    std::unique_ptr<QtSettingsStore> store;
    std::unique_ptr<AppState> app;
    test::StartApp(dir, store, app);
    MainWindow window(*app);
    window.show();
    window.EnableCaptureControls();
    LiveSession& session = window.Session();

    window.OnCommand(command::kAngleLine);
    auto* angle = OpenDialog<AngleLineDialog>(window);
    ASSERT_NE(angle, nullptr);
    EXPECT_EQ(angle->windowModality(), Qt::WindowModal);
    angle->XBox()->setText(QStringLiteral("200"));
    angle->YBox()->setText(QStringLiteral("250"));
    angle->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
    ASSERT_EQ(session.Shapes().size(), 1u);
    EXPECT_EQ(session.Shapes()[0].points[0], (PixelPoint{200, 250}));
    EXPECT_TRUE(session.Interaction()->ShapeEditing());

    // The window starts at magnification 60: the tolerance circle's rate check passes.
    window.OnCommand(command::kToleranceCircle);
    auto* circle = OpenDialog<ToleranceCircleDialog>(window);
    ASSERT_NE(circle, nullptr);
    circle->RadiusBox()->setText(QStringLiteral("0.5"));
    circle->PlusBox()->setText(QStringLiteral("0.05"));
    circle->MinusBox()->setText(QStringLiteral("0.05"));
    circle->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
    ASSERT_EQ(session.Shapes().size(), 2u);
    EXPECT_EQ(session.Shapes()[1].kind, ReferenceKind::kToleranceCircle);
    EXPECT_GT(session.Shapes()[1].radiusPx, 0);

    window.OnCommand(command::kLengthLine);
    EXPECT_EQ(session.Interaction()->CurrentTool(), LiveKind::kLengthLine);
    EXPECT_FALSE(session.Interaction()->ShapeEditing());

    window.OnCommand(command::kUndo);
    EXPECT_EQ(session.Shapes().size(), 1u);
    window.OnCommand(command::kDeleteAll);
    EXPECT_TRUE(session.Shapes().empty());
}

}  // namespace
}  // namespace lensora
