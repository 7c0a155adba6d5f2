#pragma once

namespace faultward {

// The two recorded cues: a click at the start of every command, a chime when
// Insert or Remove has finished.
inline constexpr int kClickCue = 11;
inline constexpr int kCompletionCue = 12;

// Starts a cue and returns while it plays; the next cue ends the current one.
void Play_Sound(int id);
// Ends whatever cue is playing; harmless when none is.
void Stop_Sound();

} // namespace faultward
