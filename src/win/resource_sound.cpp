#include "win/resource_sound.h"

#include <mmsystem.h>

#include <stdexcept>

namespace faultward::win {

std::string ResourceCueStore::load(int id) {
    HMODULE module = module_ ? module_ : GetModuleHandleW(nullptr);
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id), L"ATM_SOUND");
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes)
        throw std::runtime_error("no sound cue " + std::to_string(id) + " in the resources");
    return std::string(static_cast<const char*>(bytes), SizeofResource(module, found));
}

void SystemWaveOutput::play(std::string_view waveImage) {
    // The image is read from memory while it plays; SoundCues keeps it alive.
    // With SND_MEMORY the name is the image itself, so the ANSI entry point
    // takes it as well as the wide one.
    sndPlaySoundA(waveImage.data(), SND_ASYNC | SND_NODEFAULT | SND_MEMORY);
}

void SystemWaveOutput::stop() {
    sndPlaySoundA(nullptr, 0);
}

void SystemWaveOutput::processPendingEvents() {
    if (pending_)
        pending_();
}

} // namespace faultward::win
