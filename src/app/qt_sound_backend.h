#pragma once

#include "sound_backend.h"

#include <QBuffer>

#include <memory>

class QAudioSink;

namespace faultward {

// Plays wave images from memory through Qt Multimedia's default audio output.
// Without an output device, or with an image it cannot play, it stays silent.
class QtSoundBackend final : public SoundBackend {
public:
    QtSoundBackend();
    ~QtSoundBackend() override;

    void play(const QByteArray& waveImage) override;
    void stop() override;

private:
    QBuffer samples_;
    std::unique_ptr<QAudioSink> sink_;
};

} // namespace faultward
