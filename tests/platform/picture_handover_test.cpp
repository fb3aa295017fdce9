#include "platform/picture_handover.h"

#include <gtest/gtest.h>

#include <QLocalSocket>

#include <future>
#include <vector>

#include "support/event_loop.h"
#include "support/temp_dir.h"

namespace lensora {
namespace {
using test::TempDir;
using test::WaitUntil;

TEST(PictureHandoverTest, MessagesAreReadWholeAndAnythingElseIsRefused) {
    const QByteArray path("/pictures/caf\xE9 200X.bmp");  // not UTF-8: passes as bytes
    const QByteArray message = EncodeHandover(path);
    QByteArray read;
    // Every prefix is incomplete, the whole message is complete.
    for (qsizetype n = 0; n < message.size(); ++n) {
        EXPECT_EQ(DecodeHandover(message.left(n), read), HandoverRead::Incomplete) << n;
    }
    ASSERT_EQ(DecodeHandover(message, read), HandoverRead::Complete);
    EXPECT_EQ(read, path);

    EXPECT_EQ(DecodeHandover(QByteArray("GET / HTTP/1.1\r\n"), read), HandoverRead::Invalid);
    EXPECT_EQ(DecodeHandover(QByteArray("LX"), read), HandoverRead::Invalid);
    EXPECT_EQ(DecodeHandover(message + "x", read), HandoverRead::Invalid);
    QByteArray huge = EncodeHandover(QByteArray(kMaxHandoverPath + 1, 'a')).left(8);
    EXPECT_EQ(DecodeHandover(huge, read), HandoverRead::Invalid);
}

TEST(PictureHandoverTest, ASecondStartHandsItsPictureToTheListeningInstance) {
    TempDir dir;
    const QString socketPath = HandoverSocketPath(QString::fromStdString(dir.Sub("")));
    EXPECT_TRUE(socketPath.endsWith(".sock"));
    // No instance listening: the sender says so instead of claiming success.
    EXPECT_FALSE(SendPicture(socketPath, "/a.bmp", 200));

    PictureHandoverServer server;
    ASSERT_TRUE(server.Listen(socketPath));
    std::vector<QByteArray> received;
    QObject::connect(&server, &PictureHandoverServer::PictureReceived,
                     [&](const QByteArray& p) { received.push_back(p); });

    // The sender blocks for the receipt, so it runs beside the listening event loop.
    for (const QByteArray path : {QByteArray("/data/one.bmp"), QByteArray("/data/two.jpg")}) {
        auto sent = std::async(std::launch::async, [&] { return SendPicture(socketPath, path); });
        ASSERT_TRUE(WaitUntil(
            [&] { return sent.wait_for(std::chrono::seconds(0)) == std::future_status::ready; }));
        EXPECT_TRUE(sent.get());
    }
    EXPECT_EQ(received, (std::vector<QByteArray>{"/data/one.bmp", "/data/two.jpg"}));

    // A stranger writing something else is cut off and opens nothing.
    QLocalSocket stranger;
    stranger.connectToServer(socketPath);
    ASSERT_TRUE(stranger.waitForConnected(1000));
    stranger.write("hello");
    stranger.flush();
    EXPECT_TRUE(WaitUntil([&] { return stranger.state() == QLocalSocket::UnconnectedState; }));
    EXPECT_EQ(received.size(), 2u);

    // A socket left behind by an instance that ended is replaced by the next one.
    PictureHandoverServer next;
    EXPECT_TRUE(next.Listen(socketPath));
}

}  // namespace
}  // namespace lensora
