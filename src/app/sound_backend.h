#pragma once

#include <QByteArray>

#include <memory>

namespace faultward {

// Plays one wave image at a time, asynchronously. Play_Sound and Stop_Sound
// talk to the platform only through this, so tests can put a recorder in its
// place.
class SoundBackend {
public:
    virtual ~SoundBackend() = default;
    // Starts playing and returns at once. The caller keeps the bytes alive and
    // unchanged until stop() has returned or the next play() starts.
    virtual void play(const QByteArray& waveImage) = 0;
    // Ends the current playback, if any; afterwards the bytes are no longer read.
    virtual void stop() = 0;
};

// Replaces the player used from now on; nullptr brings back the default one.
// Whatever plays at that moment is stopped first.
void setSoundBackend(std::unique_ptr<SoundBackend> backend);

// The bytes of the cue most recently started, as stored in the resources.
const QByteArray& currentSoundData();

} // namespace faultward
