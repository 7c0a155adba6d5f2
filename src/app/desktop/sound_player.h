#pragma once

namespace faultward {

// The two recorded cues: a click at the start of every command, a chime when
// Insert or Remove has finished.
inline constexpr int kClickCue = 11;
inline constexpr int kCompletionCue = 12;

// Plays the cues. Play_Sound throws when the cue cannot be loaded, which ends
// the command that asked for it.
class SoundPlayer {
public:
    virtual ~SoundPlayer() = default;
    // Starts a cue and returns while it plays; the next cue ends the current one.
    virtual void Play_Sound(int id) = 0;
    // Ends whatever cue is playing; harmless when none is.
    virtual void Stop_Sound() = 0;
};

} // namespace faultward
