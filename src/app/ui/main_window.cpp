#include "app/ui/main_window.h"

#include "app/app_state.h"

namespace lensora {

MainWindow::MainWindow(AppState& app, QWidget* parent) : QWidget(parent), app_(app) {
    setFixedSize(868, 650);
}

}  // namespace lensora
