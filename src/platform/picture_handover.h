// Hands a picture from a second start of the program to the running instance, over a local
// socket beside the single-instance lock. The running instance listens with
// PictureHandoverServer; a second start calls SendPicture and ends. A message is the four
// bytes "LNSP", the path's length as four big-endian bytes, then the path's bytes (paths are
// bytes, so names that are not UTF-8 pass unchanged); the server answers "OK" when it has the
// whole message. UI thread only, except SendPicture, which blocks and may run on any thread.
#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

#include <optional>

class QLocalServer;

namespace lensora {

// The socket's path: beside the lock file, in `folder` or, when that is empty,
// $XDG_RUNTIME_DIR, else the temporary folder.
QString HandoverSocketPath(const QString& folder = {});

// The bytes of one message carrying `path`.
QByteArray EncodeHandover(const QByteArray& path);

// Reading a message as it arrives: Complete with the path once the buffer holds all of it,
// Incomplete while bytes are missing, Invalid for anything that is not a message (a wrong
// mark, or a path longer than kMaxHandoverPath).
inline constexpr int kMaxHandoverPath = 64 * 1024;
enum class HandoverRead { Incomplete, Complete, Invalid };
HandoverRead DecodeHandover(const QByteArray& buffer, QByteArray& path);

// Sends `path` to the running instance; true when it confirmed receipt within `timeoutMs`.
bool SendPicture(const QString& socketPath, const QByteArray& path, int timeoutMs = 3000);

class PictureHandoverServer : public QObject {
    Q_OBJECT
  public:
    explicit PictureHandoverServer(QObject* parent = nullptr);
    ~PictureHandoverServer() override;

    // Listens at `socketPath`, replacing a socket left behind by an instance that ended without
    // removing it (the lock guarantees no other instance is listening). False on failure.
    bool Listen(const QString& socketPath);

  signals:
    // A second start handed over this picture (bytes of the path as given, made absolute).
    void PictureReceived(const QByteArray& path);

  private:
    void OnNewConnection();

    QLocalServer* server_ = nullptr;
};

}  // namespace lensora
