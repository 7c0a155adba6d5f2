#include "sound.h"

#include "qt_sound_backend.h"
#include "sound_backend.h"

#include <QCoreApplication>
#include <QFile>

#include <stdexcept>

namespace faultward {
namespace {

// The cue that is playing (or last played). The backend plays straight from
// these bytes, so they are only replaced after the backend has stopped.
QByteArray Sound_Data;

std::unique_ptr<SoundBackend>& backendSlot() {
    static std::unique_ptr<SoundBackend> slot;
    return slot;
}

void releaseBackend() {
    if (auto& slot = backendSlot()) {
        slot->stop();
        slot.reset();
    }
}

SoundBackend& backend() {
    auto& slot = backendSlot();
    if (!slot) {
        slot = std::make_unique<QtSoundBackend>();
        // The audio objects must go before the application object they belong to.
        static const bool releaseRegistered = (qAddPostRoutine(releaseBackend), true);
        (void)releaseRegistered;
    }
    return *slot;
}

QByteArray loadCue(int id) {
    QFile resource(QStringLiteral(":/ATM_SOUND/%1").arg(id));
    if (!resource.open(QIODevice::ReadOnly))
        throw std::runtime_error("no sound cue " + std::to_string(id) + " in the resources");
    return resource.readAll();
}

} // namespace

void setSoundBackend(std::unique_ptr<SoundBackend> replacement) {
    if (auto& slot = backendSlot())
        slot->stop();
    backendSlot() = std::move(replacement);
}

const QByteArray& currentSoundData() {
    return Sound_Data;
}

void Play_Sound(int id) {
    QByteArray cue = loadCue(id);
    SoundBackend& player = backend();
    player.stop();
    Sound_Data = std::move(cue);
    player.play(Sound_Data);
    // Lets the window repaint while the cue starts.
    if (QCoreApplication::instance())
        QCoreApplication::processEvents();
}

void Stop_Sound() {
    backend().stop();
}

} // namespace faultward
