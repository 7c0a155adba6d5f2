#pragma once

#include "app/desktop/sound_cues.h"

#include <QBuffer>

#include <memory>

class QAudioSink;

namespace faultward {

// The cues kept in the program's Qt resources, under /ATM_SOUND/<id>.
class QtCueStore final : public CueStore {
public:
    std::string load(int id) override;
};

// Plays wave images from memory through Qt Multimedia's default audio output.
// Without an output device, or with an image it cannot play, it stays silent.
class QtSoundOutput final : public WaveOutput {
public:
    QtSoundOutput();
    ~QtSoundOutput() override;

    void play(std::string_view waveImage) override;
    void stop() override;
    void processPendingEvents() override;

private:
    QBuffer samples_;
    std::unique_ptr<QAudioSink> sink_;
};

} // namespace faultward
