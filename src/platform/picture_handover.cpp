#include "platform/picture_handover.h"

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QPointer>
#include <QtEndian>

#include <algorithm>
#include <memory>

#include "platform/single_instance.h"

namespace lensora {
namespace {

constexpr char kMark[] = "LNSP";
constexpr int kMarkSize = 4;
constexpr int kHeaderSize = kMarkSize + 4;
const QByteArray kReceipt = QByteArrayLiteral("OK");

}  // namespace

QString HandoverSocketPath(const QString& folder) {
    QString dir = folder;
    if (dir.isEmpty()) {
        const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
        dir = runtime.isEmpty() ? QDir::tempPath() : QFile::decodeName(runtime);
    }
    return dir + QLatin1Char('/') + QLatin1String(kInstanceLockName) + QStringLiteral(".sock");
}

QByteArray EncodeHandover(const QByteArray& path) {
    QByteArray message(kMark, kMarkSize);
    char length[4];
    qToBigEndian(static_cast<quint32>(path.size()), length);
    message.append(length, 4);
    message.append(path);
    return message;
}

HandoverRead DecodeHandover(const QByteArray& buffer, QByteArray& path) {
    // A wrong mark is refused as soon as its first bytes differ.
    const int markBytes = std::min<int>(static_cast<int>(buffer.size()), kMarkSize);
    if (buffer.left(markBytes) != QByteArray(kMark, markBytes)) {
        return HandoverRead::Invalid;
    }
    if (buffer.size() < kHeaderSize) {
        return HandoverRead::Incomplete;
    }
    const quint32 length = qFromBigEndian<quint32>(buffer.constData() + kMarkSize);
    if (length > static_cast<quint32>(kMaxHandoverPath)) {
        return HandoverRead::Invalid;
    }
    if (buffer.size() < kHeaderSize + static_cast<qsizetype>(length)) {
        return HandoverRead::Incomplete;
    }
    if (buffer.size() > kHeaderSize + static_cast<qsizetype>(length)) {
        return HandoverRead::Invalid;  // one message per connection
    }
    path = buffer.mid(kHeaderSize, length);
    return HandoverRead::Complete;
}

bool SendPicture(const QString& socketPath, const QByteArray& path, int timeoutMs) {
    QLocalSocket socket;
    socket.connectToServer(socketPath);
    if (!socket.waitForConnected(timeoutMs)) {
        return false;
    }
    socket.write(EncodeHandover(path));
    if (!socket.waitForBytesWritten(timeoutMs)) {
        return false;
    }
    QByteArray answer;
    while (answer.size() < kReceipt.size() && socket.waitForReadyRead(timeoutMs)) {
        answer += socket.readAll();
    }
    return answer == kReceipt;
}

PictureHandoverServer::PictureHandoverServer(QObject* parent)
    : QObject(parent), server_(new QLocalServer(this)) {
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    connect(server_, &QLocalServer::newConnection, this, &PictureHandoverServer::OnNewConnection);
}

PictureHandoverServer::~PictureHandoverServer() = default;

bool PictureHandoverServer::Listen(const QString& socketPath) {
    QLocalServer::removeServer(socketPath);
    return server_->listen(socketPath);
}

void PictureHandoverServer::OnNewConnection() {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        auto buffer = std::make_shared<QByteArray>();
        connect(socket, &QLocalSocket::readyRead, this, [this, socket, buffer] {
            *buffer += socket->readAll();
            QByteArray path;
            switch (DecodeHandover(*buffer, path)) {
                case HandoverRead::Incomplete:
                    return;
                case HandoverRead::Invalid:
                    socket->abort();
                    return;
                case HandoverRead::Complete:
                    socket->write(kReceipt);
                    socket->flush();
                    buffer->clear();
                    emit PictureReceived(path);
                    return;
            }
        });
    }
}

}  // namespace lensora
