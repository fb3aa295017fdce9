// The main window: the fixed-size instrument panel with the live preview, the thumbnail strip
// and the buttons of every command. Owned by the program's entry point; UI thread only.
#pragma once

#include <QWidget>

namespace lensora {

class AppState;

class MainWindow : public QWidget {
    Q_OBJECT
public:
    explicit MainWindow(AppState& app, QWidget* parent = nullptr);

private:
    AppState& app_;
};

}  // namespace lensora
