#pragma once

#include "app/desktop/sound_cues.h"

#include <windows.h>

#include <functional>

namespace faultward::win {

// The cues in the program's resources, type "ATM_SOUND", by their number.
class ResourceCueStore final : public CueStore {
public:
    explicit ResourceCueStore(HMODULE module = nullptr) : module_(module) {}
    std::string load(int id) override;

private:
    HMODULE module_;
};

// The system's player of wave images in memory: asynchronous, silent when
// the image cannot be played (no default sound).
class SystemWaveOutput final : public WaveOutput {
public:
    // pending handles the windows' waiting messages while a cue starts.
    explicit SystemWaveOutput(std::function<void()> pending) : pending_(std::move(pending)) {}

    void play(std::string_view waveImage) override;
    void stop() override;
    void processPendingEvents() override;

private:
    std::function<void()> pending_;
};

} // namespace faultward::win
