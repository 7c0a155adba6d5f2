#include "ui/qt_sound_output.h"

#include "ui/wave_image.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QCoreApplication>
#include <QFile>
#include <QMediaDevices>

#include <optional>
#include <stdexcept>

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

std::string QtCueStore::load(int id) {
    QFile resource(QStringLiteral(":/ATM_SOUND/%1").arg(id));
    if (!resource.open(QIODevice::ReadOnly))
        throw std::runtime_error("no sound cue " + std::to_string(id) + " in the resources");
    return resource.readAll().toStdString();
}

QtSoundOutput::QtSoundOutput() = default;

QtSoundOutput::~QtSoundOutput() {
    stop();
}

void QtSoundOutput::play(std::string_view waveImage) {
    stop();
    if (!QCoreApplication::instance())
        return;
    const auto wave = parseWave(waveImage);
    if (!wave)
        return;
    const auto format = formatOf(*wave);
    if (!format)
        return;
    const QAudioDevice device = defaultOutput();
    if (device.isNull())
        return;

    // Plays straight from the caller's bytes; they outlive this playback.
    samples_.setData(QByteArray::fromRawData(waveImage.data() + wave->dataOffset,
                                             static_cast<qsizetype>(wave->dataSize)));
    samples_.open(QIODevice::ReadOnly);
    // The sink stays open after the cue has run out: it reports running out as
    // soon as the sound server has taken the last bytes, long before they have
    // been heard, and stopping it then would cut the cue short.
    sink_ = std::make_unique<QAudioSink>(device, *format);
    sink_->start(&samples_);
}

void QtSoundOutput::processPendingEvents() {
    if (QCoreApplication::instance())
        QCoreApplication::processEvents();
}

void QtSoundOutput::stop() {
    if (sink_) {
        sink_->stop();
        sink_.reset();
    }
    samples_.close();
    samples_.setData(QByteArray());
}

} // namespace faultward
