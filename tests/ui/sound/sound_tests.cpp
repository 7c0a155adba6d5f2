#include "app/desktop/sound_cues.h"
#include "ui/qt_sound_output.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTimer>

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace faultward {
namespace {

QByteArray cueBytes(int id) {
    QFile file(QStringLiteral(":/ATM_SOUND/%1").arg(id));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return file.readAll();
}

// Records the calls and checks that bytes being played are never changed
// underneath the player.
class RecordingOutput final : public WaveOutput {
public:
    explicit RecordingOutput(std::vector<std::string>& log) : log_(log) {}

    void play(std::string_view image) override {
        playing_ = image;
        snapshot_ = std::string(image); // a deep copy
        log_.push_back("play " + std::to_string(image.size()));
    }
    void stop() override {
        if (playing_.data() && playing_ != snapshot_)
            log_.push_back("bytes changed while playing");
        playing_ = {};
        log_.push_back("stop");
    }
    void processPendingEvents() override { QCoreApplication::processEvents(); }

private:
    std::vector<std::string>& log_;
    std::string_view playing_;
    std::string snapshot_;
};

QByteArray bytesOf(const std::string& data) {
    return QByteArray(data.data(), static_cast<qsizetype>(data.size()));
}

class SoundCuesTest : public testing::Test {
protected:
    void Play_Sound(int id) { cues.Play_Sound(id); }
    void Stop_Sound() { cues.Stop_Sound(); }
    QByteArray currentSoundData() const { return bytesOf(cues.Sound_Data()); }

    std::vector<std::string> log;
    QtCueStore store;
    RecordingOutput output{log};
    SoundCues cues{store, output};
};

TEST_F(SoundCuesTest, nextCue_endsThePlayingOneBeforeItsBytesAreReplaced) {
    Play_Sound(kClickCue);
    Play_Sound(kClickCue);
    Play_Sound(kCompletionCue);

    const std::vector<std::string> expected = {"stop",      "play 3176", "stop",
                                               "play 3176", "stop",      "play 66256"};
    EXPECT_EQ(log, expected);
    EXPECT_EQ(currentSoundData(), cueBytes(kCompletionCue));
}

TEST_F(SoundCuesTest, stopSound_endsTheCueAndIsHarmlessWhenNothingPlays) {
    Stop_Sound();
    Play_Sound(kClickCue);
    Stop_Sound();
    Stop_Sound();
    const std::vector<std::string> expected = {"stop", "stop", "play 3176", "stop", "stop"};
    EXPECT_EQ(log, expected);
}

TEST_F(SoundCuesTest, unknownCue_throwsAndLeavesThePlayingCueAlone) {
    Play_Sound(kClickCue);
    log.clear();
    EXPECT_THROW(Play_Sound(13), std::runtime_error);
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(currentSoundData(), cueBytes(kClickCue));
}

TEST_F(SoundCuesTest, playSound_letsPendingEventsRunOnce) {
    bool repainted = false;
    QTimer::singleShot(0, [&] { repainted = true; });
    Play_Sound(kClickCue);
    EXPECT_TRUE(repainted);
}

// On a machine without an audio device (the test machines) the real player
// must stay silent: no exception, no warning, no waiting.
TEST(QtSoundOutputWithoutDevice, playReplaceAndStop_returnQuietlyAndAtOnce) {
    static QStringList warnings;
    warnings.clear();
    const QtMessageHandler previous =
        qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
            if (type != QtDebugMsg && type != QtInfoMsg)
                warnings << text;
        });

    QElapsedTimer timer;
    timer.start();
    {
        QtCueStore store;
        QtSoundOutput output;
        SoundCues cues(store, output);
        cues.Play_Sound(kClickCue);
        cues.Play_Sound(kClickCue);
        cues.Play_Sound(kCompletionCue);
        cues.Stop_Sound();
        cues.Play_Sound(kCompletionCue);
        cues.Stop_Sound();
    }
    const qint64 elapsed = timer.elapsed();
    qInstallMessageHandler(previous);

    EXPECT_LT(elapsed, 500);
    EXPECT_TRUE(warnings.isEmpty()) << warnings.join('\n').toStdString();
}

TEST(QtSoundOutputWithoutDevice, unplayableImage_isIgnored) {
    QtSoundOutput player;
    const std::string garbage("RIFF\x04\0\0\0WAVE", 12);
    player.play(garbage);
    player.play({});
    player.stop();
    SUCCEED();
}

} // namespace
} // namespace faultward
