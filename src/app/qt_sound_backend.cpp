#include "qt_sound_backend.h"

#include "wave_image.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QCoreApplication>
#include <QMediaDevices>

#include <optional>

namespace faultward {
namespace {

std::optional<QAudioFormat> formatOf(const WaveLayout& wave) {
    QAudioFormat format;
    switch (wave.bitsPerSample) {
    case 8:
        format.setSampleFormat(QAudioFormat::UInt8);
        break;
    case 16:
        format.setSampleFormat(QAudioFormat::Int16);
        break;
    case 32:
        format.setSampleFormat(QAudioFormat::Int32);
        break;
    default:
        return std::nullopt;
    }
    if (wave.channels == 0 || wave.sampleRate == 0)
        return std::nullopt;
    format.setChannelCount(wave.channels);
    format.setSampleRate(static_cast<int>(wave.sampleRate));
    return format;
}

QtMessageHandler previousHandler = nullptr;

// The first look at the audio devices makes the sound server client complain
// when no server runs. A machine without sound is normal here, so that one
// complaint is dropped; everything else passes on.
void dropSoundServerComplaint(QtMsgType type, const QMessageLogContext& context,
                              const QString& message) {
    if (type == QtWarningMsg && message.startsWith(QLatin1String("PulseAudioService:")))
        return;
    if (previousHandler)
        previousHandler(type, context, message);
}

QAudioDevice defaultOutput() {
    previousHandler = qInstallMessageHandler(dropSoundServerComplaint);
    QAudioDevice device = QMediaDevices::defaultAudioOutput();
    qInstallMessageHandler(previousHandler);
    return device;
}

} // namespace

QtSoundBackend::QtSoundBackend() = default;

QtSoundBackend::~QtSoundBackend() {
    stop();
}

void QtSoundBackend::play(const QByteArray& waveImage) {
    stop();
    if (!QCoreApplication::instance())
        return;
    const auto wave =
        parseWave({waveImage.constData(), static_cast<std::size_t>(waveImage.size())});
    if (!wave)
        return;
    const auto format = formatOf(*wave);
    if (!format)
        return;
    const QAudioDevice device = defaultOutput();
    if (device.isNull())
        return;

    // Plays straight from the caller's bytes; they outlive this playback.
    samples_.setData(QByteArray::fromRawData(waveImage.constData() + wave->dataOffset,
                                             static_cast<qsizetype>(wave->dataSize)));
    samples_.open(QIODevice::ReadOnly);
    // The sink stays open after the cue has run out: it reports running out as
    // soon as the sound server has taken the last bytes, long before they have
    // been heard, and stopping it then would cut the cue short.
    sink_ = std::make_unique<QAudioSink>(device, *format);
    sink_->start(&samples_);
}

void QtSoundBackend::stop() {
    if (sink_) {
        sink_->stop();
        sink_.reset();
    }
    samples_.close();
    samples_.setData(QByteArray());
}

} // namespace faultward
