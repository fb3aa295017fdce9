#include "platform/qt_sound_player.h"

#include <QAudioDevice>
#include <QFileInfo>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>

namespace lensora {

QtSoundPlayer::QtSoundPlayer(const QString& resourceFolder, QObject* parent)
    : QObject(parent), folder_(resourceFolder + QStringLiteral("/sounds")) {}

QtSoundPlayer::~QtSoundPlayer() = default;

QString QtSoundPlayer::FileOf(Sound sound) const {
    return folder_ + QStringLiteral("/%1.wav").arg(static_cast<int>(sound));
}

void QtSoundPlayer::Play(Sound sound) {
    // A machine without audio plays nothing; that is not worth a message.
    if (QMediaDevices::defaultAudioOutput().isNull()) {
        return;
    }
    QSoundEffect*& effect = effects_[sound];
    if (effect == nullptr) {
        const QString file = FileOf(sound);
        if (!QFileInfo(file).isFile()) {
            return;
        }
        effect = new QSoundEffect(this);
        effect->setSource(QUrl::fromLocalFile(file));
    }
    // play() returns at once; a sound still playing starts again from its beginning.
    effect->play();
}

}  // namespace lensora
