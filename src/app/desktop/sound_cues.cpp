#include "app/desktop/sound_cues.h"

namespace faultward {

void SoundCues::Play_Sound(int id) {
    std::string cue = store_.load(id);
    output_.stop();
    soundData_ = std::move(cue);
    output_.play(soundData_);
    output_.processPendingEvents();
}

void SoundCues::Stop_Sound() {
    output_.stop();
}

} // namespace faultward
