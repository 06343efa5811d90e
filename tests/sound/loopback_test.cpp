// The sound device on a real sound server: a tone played through one device comes
// back through the sound window's recording; then every sample type plays to its
// end. One test only, so that nothing else plays on the server while it records. `make test` runs
// it against a private server whose input hears its output.
#include "app_fixture.h"
#include "sound/qt_audio_backend.h"
#include "sound/sound_device.h"
#include "sound/sound_form.h"
#include "sound_server.h"
#include "ui/qt_text.h"
#include "wav_maker.h"

#include <QAction>
#include <QElapsedTimer>

namespace kelmor {
namespace {

const auto* settle = ::testing::AddGlobalTestEnvironment(new test::AudioSettleEnvironment);

// A mono WAV file read with libsndfile: the span between its first and last sample above
// `threshold`, the pitch from upward zero crossings within it and its root-mean-square level.
struct ToneMeasure {
    int rate = 0;
    double seconds = 0, hertz = 0, rms = 0;
};

ToneMeasure measureTone(const std::string& path, float threshold) {
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    EXPECT_NE(file, nullptr);
    if (file == nullptr)
        return {};
    std::vector<float> samples(static_cast<std::size_t>(info.frames * info.channels));
    sf_readf_float(file, samples.data(), info.frames);
    sf_close(file);
    std::size_t first = samples.size(), last = 0;
    for (std::size_t i = 0; i < samples.size(); ++i)
        if (std::fabs(samples[i]) > threshold) {
            first = std::min(first, i);
            last = i;
        }
    ToneMeasure m{info.samplerate};
    if (first >= last)
        return m;
    int crossings = 0;
    for (std::size_t i = first; i <= last; ++i) {
        crossings += i > first && samples[i - 1] < 0 && samples[i] >= 0;
        m.rms += static_cast<double>(samples[i]) * samples[i];
    }
    m.seconds = static_cast<double>(last - first) / m.rate;
    m.hertz = crossings / m.seconds;
    m.rms = std::sqrt(m.rms / static_cast<double>(last - first + 1));
    return m;
}

// The program's sound window records on the default devices while another device plays the
// tone.
using WindowLoopback = test::AppFixture;

TEST_F(WindowLoopback, AToneRecordedWithRecordSoundAndStopKeepsItsDurationAndPitch) {
    KELMOR_REQUIRE_SOUND_SERVER();
    // One second of 440 Hz and silence after it, so the tone's end is heard before
    // the player reports the end of its data.
    auto tone = test::sine(440, 1.0, 44100, 1);
    tone.resize(tone.size() + 44100 * 3 / 10);
    const std::string tonePath = toLocal(workDir()) + "/tone.wav";
    test::writeWav(tonePath, SF_FORMAT_PCM_16, 1, 44100, tone);

    start();
    auto click = [this](const char* command) {
        app->sound().findChild<QAction*>(QString::fromLatin1(command))->trigger();
    };
    click("ToolButton7");
    QTest::qWait(200);
    QtAudioBackend playerBackend;
    SoundDevice player(playerBackend);
    player.open(tonePath);
    ASSERT_TRUE(player.play());
    EXPECT_GT(playerBackend.bytesHandedToSink(), 0u); // handed over within Play itself
    QElapsedTimer clock;
    clock.start();
    while (player.isPlaying() && clock.elapsed() < 5000)
        QTest::qWait(10);
    EXPECT_FALSE(player.isPlaying());
    EXPECT_EQ(player.position(), tone.size());
    QTest::qWait(300);
    click("ToolButton5");
    EXPECT_TRUE(dialogs.errors.isEmpty()) << dialogs.errors.join(u'\n').toStdString();

    const ToneMeasure m = measureTone(toLocal(dataDir()) + "/sounds/newsound.wav", 0.1f);
    EXPECT_EQ(m.rate, 22050);
    EXPECT_NEAR(m.seconds, 1.0, 0.03);
    EXPECT_NEAR(m.hertz, 440, 5);
    EXPECT_GT(m.rms, 0.15);
    EXPECT_LT(m.rms, 0.7);

    // Stopped halfway, the player stays where it was heard.
    player.play();
    QTest::qWait(500);
    player.stop();
    EXPECT_FALSE(player.isPlaying());
    EXPECT_GT(player.position(), tone.size() / 5);
    EXPECT_LT(player.position(), tone.size() * 4 / 5);

    // Every sample type plays to its end, a clip shorter than the server's start
    // threshold too.
    for (const auto& [format, seconds] : {std::pair{SF_FORMAT_PCM_U8, 0.2},
                                          {SF_FORMAT_PCM_24, 0.2},
                                          {SF_FORMAT_FLOAT, 0.2},
                                          {SF_FORMAT_PCM_16, 0.02}}) {
        SCOPED_TRACE(format);
        test::writeWav(tonePath, format, 2, 48000, test::sine(440, seconds, 48000, 2));
        player.open(tonePath);
        ASSERT_TRUE(player.play());
        clock.restart();
        while (player.isPlaying() && clock.elapsed() < 2000)
            QTest::qWait(5);
        EXPECT_LT(clock.elapsed(), seconds * 1000 + 300);
        EXPECT_EQ(player.position(), player.clip().frames());
    }
}

} // namespace
} // namespace kelmor
