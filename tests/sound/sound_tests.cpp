#include "qt_sound_backend.h"
#include "sound.h"
#include "sound_backend.h"

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
class RecordingBackend final : public SoundBackend {
public:
    explicit RecordingBackend(std::vector<std::string>& log) : log_(log) {}

    void play(const QByteArray& image) override {
        playing_ = &image;
        snapshot_ = QByteArray(image.constData(), image.size()); // a deep copy
        log_.push_back("play " + std::to_string(image.size()));
    }
    void stop() override {
        if (playing_ && *playing_ != snapshot_)
            log_.push_back("bytes changed while playing");
        playing_ = nullptr;
        log_.push_back("stop");
    }

private:
    std::vector<std::string>& log_;
    const QByteArray* playing_ = nullptr;
    QByteArray snapshot_;
};

class SoundCues : public testing::Test {
protected:
    void SetUp() override { setSoundBackend(std::make_unique<RecordingBackend>(log)); }
    void TearDown() override { setSoundBackend(nullptr); }

    std::vector<std::string> log;
};

TEST_F(SoundCues, nextCue_endsThePlayingOneBeforeItsBytesAreReplaced) {
    Play_Sound(kClickCue);
    Play_Sound(kClickCue);
    Play_Sound(kCompletionCue);

    const std::vector<std::string> expected = {"stop",      "play 3176", "stop",
                                               "play 3176", "stop",      "play 66256"};
    EXPECT_EQ(log, expected);
    EXPECT_EQ(currentSoundData(), cueBytes(kCompletionCue));
}

TEST_F(SoundCues, stopSound_endsTheCueAndIsHarmlessWhenNothingPlays) {
    Stop_Sound();
    Play_Sound(kClickCue);
    Stop_Sound();
    Stop_Sound();
    const std::vector<std::string> expected = {"stop", "stop", "play 3176", "stop", "stop"};
    EXPECT_EQ(log, expected);
}

TEST_F(SoundCues, unknownCue_throwsAndLeavesThePlayingCueAlone) {
    Play_Sound(kClickCue);
    log.clear();
    EXPECT_THROW(Play_Sound(13), std::runtime_error);
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(currentSoundData(), cueBytes(kClickCue));
}

TEST_F(SoundCues, playSound_letsPendingEventsRunOnce) {
    bool repainted = false;
    QTimer::singleShot(0, [&] { repainted = true; });
    Play_Sound(kClickCue);
    EXPECT_TRUE(repainted);
}

// On a machine without an audio device (the test machines) the real player
// must stay silent: no exception, no warning, no waiting.
TEST(QtSoundBackendWithoutDevice, playReplaceAndStop_returnQuietlyAndAtOnce) {
    static QStringList warnings;
    warnings.clear();
    const QtMessageHandler previous =
        qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
            if (type != QtDebugMsg && type != QtInfoMsg)
                warnings << text;
        });

    setSoundBackend(nullptr);
    QElapsedTimer timer;
    timer.start();
    Play_Sound(kClickCue);
    Play_Sound(kClickCue);
    Play_Sound(kCompletionCue);
    Stop_Sound();
    Play_Sound(kCompletionCue);
    Stop_Sound();
    const qint64 elapsed = timer.elapsed();
    qInstallMessageHandler(previous);

    EXPECT_LT(elapsed, 500);
    EXPECT_TRUE(warnings.isEmpty()) << warnings.join('\n').toStdString();
}

TEST(QtSoundBackendWithoutDevice, unplayableImage_isIgnored) {
    QtSoundBackend player;
    const QByteArray garbage("RIFF\x04\0\0\0WAVE", 12);
    player.play(garbage);
    player.play(QByteArray());
    player.stop();
    SUCCEED();
}

} // namespace
} // namespace faultward
