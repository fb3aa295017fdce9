// Watches logind's PrepareForSleep signal on the system bus and reports the wake-up. Without a
// system bus (a CI container) it stays idle, silently. UI thread.
#pragma once

#include <QObject>

namespace lensora {

class LogindWatcher : public QObject {
    Q_OBJECT
  public:
    explicit LogindWatcher(QObject* parent = nullptr);
    bool Listening() const { return listening_; }

  signals:
    void resumed();

  private slots:
    void OnPrepareForSleep(bool sleeping);

  private:
    bool listening_ = false;
};

}  // namespace lensora
