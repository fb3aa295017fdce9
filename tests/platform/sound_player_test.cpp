// The program's sounds: the three WAV files are short PCM sounds that Qt can play, and a player
// whose files or audio output are missing stays silent without an error.
#include "platform/qt_sound_player.h"

#include <gtest/gtest.h>

#include <QFile>
#include <cstring>

namespace lensora {
namespace {

const QString kResources = QStringLiteral(LENSORA_TEST_DATA "/../../resources");

std::uint32_t Le32(const QByteArray& b, int at) {
    std::uint32_t v = 0;
    std::memcpy(&v, b.constData() + at, 4);
    return v;
}

TEST(SoundPlayer, EachSoundIsAShortPcmWave) {
    QtSoundPlayer player(kResources);
    for (Sound sound : {Sound::Recording, Sound::Shutter, Sound::TimeLimit}) {
        QFile file(player.FileOf(sound));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << file.fileName().toStdString();
        const QByteArray bytes = file.readAll();
        ASSERT_GE(bytes.size(), 44);
        EXPECT_EQ(bytes.left(4), "RIFF");
        EXPECT_EQ(bytes.mid(8, 8), "WAVEfmt ");
        EXPECT_EQ(bytes[20], 1);  // PCM
        const std::uint32_t byteRate = Le32(bytes, 28);
        ASSERT_GT(byteRate, 0u);
        const double seconds = double(Le32(bytes, 40)) / byteRate;
        EXPECT_GT(seconds, 0.03);
        EXPECT_LT(seconds, 0.6);  // a click or a beep, never in the way
    }
}

TEST(SoundPlayer, MissingFilesStaySilent) {
    QtSoundPlayer player(QStringLiteral("/nonexistent"));
    player.Play(Sound::Shutter);
    player.Play(Sound::Shutter);
    EXPECT_TRUE(player.FileOf(Sound::Shutter).endsWith(QStringLiteral("/sounds/181.wav")));
}

}  // namespace
}  // namespace lensora
