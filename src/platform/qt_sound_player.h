// The program's sounds over Qt Multimedia: <resources>/sounds/180.wav, 181.wav and 182.wav,
// each loaded once on first use and played asynchronously. Without an audio output, or when a
// file is missing, it stays silent. UI thread only.
#pragma once

#include <QObject>
#include <QString>
#include <map>

#include "base/sound_player.h"

class QSoundEffect;

namespace lensora {

class QtSoundPlayer final : public QObject, public SoundPlayer {
  public:
    explicit QtSoundPlayer(const QString& resourceFolder, QObject* parent = nullptr);
    ~QtSoundPlayer() override;

    void Play(Sound sound) override;
    // The file of a sound.
    QString FileOf(Sound sound) const;

  private:
    QString folder_;
    std::map<Sound, QSoundEffect*> effects_;
};

}  // namespace lensora
