// For benchmarks that paint through QPainter: the GUI application text drawing needs, on the
// offscreen platform (no display), created once.
#pragma once

#include <QGuiApplication>

namespace lensora {

inline void EnsureGuiApplication() {
    static int argc = 1;
    static char name[] = "lensora_bench";
    static char* argv[] = {name, nullptr};
    if (QGuiApplication::instance() == nullptr) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        static QGuiApplication app(argc, argv);
    }
}

}  // namespace lensora
