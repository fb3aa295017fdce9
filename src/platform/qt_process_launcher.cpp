#include "platform/qt_process_launcher.h"

#include <QProcess>
#include <QStringList>

namespace lensora {

bool QtProcessLauncher::Start(const std::vector<std::string>& argv) {
    if (argv.empty()) {
        return false;
    }
    QStringList arguments;
    for (std::size_t i = 1; i < argv.size(); ++i) {
        arguments << QString::fromStdString(argv[i]);
    }
    // Detached: the compose window lives on its own and Lensora does not wait for it.
    return QProcess::startDetached(QString::fromStdString(argv[0]), arguments);
}

}  // namespace lensora
