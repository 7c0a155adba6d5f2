#include "sound.h"

namespace faultward {

// Silent until the recorded cues are built in.
void Play_Sound(int) {}
void Stop_Sound() {}

} // namespace faultward
