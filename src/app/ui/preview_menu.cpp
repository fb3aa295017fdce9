// The preview's context menu and the overlay switches it holds, the snapshot file type, and the
// zoom pad that follows the pointer over the live picture.
#include <QAction>
#include <QLineEdit>
#include <QMenu>

#include "app/app_state.h"
#include "app/ui/main_window.h"
#include "app/ui/main_window_layout.h"
#include "app/ui/snapshot_controller.h"
#include "base/persisted_settings.h"
#include "base/text_keys.h"
#include "base/ui/skin.h"
#include "base/ui/ui_text.h"
#include "live/live_session.h"
#include "live/ui/live_canvas.h"
#include "live/ui/zoom_pad.h"
#include "measure/calibration.h"

namespace lensora {
namespace {

constexpr TextKey kMenuCancel{"Cancel", "Cancel"};
constexpr TextKey kMenuCross{"Cross", "Cross Line"};
constexpr TextKey kMenuScale{"Scale", "Scale"};
constexpr TextKey kMenuCircle{"Circle", "Circle"};
constexpr TextKey kMenuTime{"Time", "Time"};
constexpr TextKey kMenuFormat{"Format", "Format"};
constexpr TextKey kMenuBmp{"BMP", "BMP"};
constexpr TextKey kMenuJpg{"JPG", "JPG"};

}  // namespace

using namespace main_layout;

void MainWindow::SetUpPreviewMenu() {
    connect(liveCanvas_, &LiveCanvas::contextMenuWanted, this, &MainWindow::ShowPreviewMenu);
}

QMenu* MainWindow::BuildPreviewMenu() {
    auto* menu = new QMenu(this);
    menu->setObjectName(QStringLiteral("previewMenu"));
    const auto add = [this](QMenu* to, const TextKey& text, int command, std::optional<bool> on) {
        QAction* action = to->addAction(UiText(text));
        action->setData(command);
        if (on) {
            action->setCheckable(true);
            action->setChecked(*on);
        }
        connect(action, &QAction::triggered, this, [this, command] { OnCommand(command); });
        return action;
    };
    add(menu, kMenuCancel, preview_command::kCancel, std::nullopt);
    menu->addSeparator();
    add(menu, kMenuCross, preview_command::kCross, session_->IsOn(LiveOverlay::WhiteCross));
    add(menu, kMenuScale, preview_command::kScale, session_->IsOn(LiveOverlay::CrossRuler));
    add(menu, kMenuCircle, preview_command::kCircle, session_->IsOn(LiveOverlay::Rings));
    add(menu, kMenuTime, preview_command::kTime, session_->IsOn(LiveOverlay::DateTime));
    menu->addSeparator();
    QMenu* format = menu->addMenu(UiText(kMenuFormat));
    format->setObjectName(QStringLiteral("formatMenu"));
    // 1 is BMP; any other value writes JPEG.
    const bool bmp = app_.Settings().imageFormat == 1;
    add(format, kMenuBmp, preview_command::kBmp, bmp);
    add(format, kMenuJpg, preview_command::kJpg, !bmp);
    return menu;
}

void MainWindow::ShowPreviewMenu(const QPoint& globalPos) {
    QMenu* menu = BuildPreviewMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(globalPos);
}

bool MainWindow::ToggleOverlay(LiveOverlay overlay) {
    if (!cameraConnected_) {
        return session_->IsOn(overlay);
    }
    const bool scaleOverlay = overlay == LiveOverlay::CrossRuler || overlay == LiveOverlay::Rings;
    if (scaleOverlay && !session_->IsOn(overlay)) {
        // The ruler and the rings need a rate to space their marks; without one the user is
        // asked to type a magnification.
        const std::string magnification = magnificationBox_->text().toStdString();
        const std::string rate = calibratedRateBox_->text().toStdString();
        if (!session_->Calibration().PrepareRate({magnification, rate}, Prompts())) {
            return false;
        }
        RefreshScaleOverlays();
    }
    const bool on = session_->Toggle(overlay);
    liveCanvas_->Refresh();
    return on;
}

void MainWindow::SetSnapshotFileType(int type) {
    snapshots_->SetSnapshotFileType(type);
}

void MainWindow::ShowZoom(QPoint client) {
    if (fullScreen_ || !QRect(QPoint(0, 0), kPreviewRect.size()).contains(client)) {
        return;
    }
    zoomPad_->ShowAround(session_->HeldPicture(), {client.x(), client.y()});
}

}  // namespace lensora
