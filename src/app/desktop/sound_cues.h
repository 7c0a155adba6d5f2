#pragma once

#include "app/desktop/sound_player.h"

#include <string>
#include <string_view>

namespace faultward {

// Where the recorded cues are kept: the program's resources.
class CueStore {
public:
    virtual ~CueStore() = default;
    // The bytes of a wave image, as stored; throws std::runtime_error when
    // there is no such cue.
    virtual std::string load(int id) = 0;
};

// The platform's player of wave images held in memory.
class WaveOutput {
public:
    virtual ~WaveOutput() = default;
    // Starts playing and returns at once. The bytes stay alive and unchanged
    // until stop() has returned or the next play() starts.
    virtual void play(std::string_view waveImage) = 0;
    // Ends the current playback, if any; afterwards the bytes are not read.
    virtual void stop() = 0;
    // Lets the windows handle what is pending while a cue starts.
    virtual void processPendingEvents() {}
};

// The cue routines: the playing cue's bytes are kept here, and replaced only
// after the output has stopped reading them.
class SoundCues final : public SoundPlayer {
public:
    SoundCues(CueStore& store, WaveOutput& output) : store_(store), output_(output) {}
    ~SoundCues() override { output_.stop(); }

    void Play_Sound(int id) override;
    void Stop_Sound() override;
    // The bytes of the cue most recently started.
    const std::string& Sound_Data() const { return soundData_; }

private:
    CueStore& store_;
    WaveOutput& output_;
    std::string soundData_;
};

} // namespace faultward
