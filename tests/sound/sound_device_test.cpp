// The sound device's operations against a scripted audio backend.
#include "base/error.h"
#include "base/messages.h"
#include "sound/sound_device.h"
#include "sound/sound_file.h"
#include "support/fake_audio_backend.h"
#include "wav_maker.h"

#include <cstring>
#include <functional>

namespace kelmor {
namespace {

// The bytes of 16-bit samples from, from + 1, ... to - 1, then `count` samples `value`.
std::vector<char> ramp(short from, short to, std::size_t count = 0, short value = 0) {
    std::vector<short> samples;
    for (short v = from; v < to; ++v)
        samples.push_back(v);
    samples.insert(samples.end(), count, value);
    std::vector<char> bytes(samples.size() * 2);
    std::memcpy(bytes.data(), samples.data(), bytes.size());
    return bytes;
}

class SoundDeviceTest : public test::TempFolderTest {
protected:
    // Opens a 16-bit mono 8000 Hz file whose samples are 0, 1, ... 99.
    void openRamp() {
        SF_INFO info{0, 8000, 1, SF_FORMAT_WAV | SF_FORMAT_PCM_16, 0, 0};
        SNDFILE* out = sf_open(path("ramp.wav").c_str(), SFM_WRITE, &info);
        sf_write_raw(out, ramp(0, 100).data(), 200);
        sf_close(out);
        device.open(path("ramp.wav"));
    }

    test::FakeAudioBackend backend;
    SoundDevice device{backend};
};

TEST_F(SoundDeviceTest, EveryOperationButOpenNeedsAnOpenFile) {
    const std::function<void()> operations[] = {
        [&] { device.play(); }, [&] { device.startRecording(); }, [&] { device.stop(); },
        [&] { device.seekToStart(); }, [&] { device.save(path("x.wav")); }};
    for (const auto& operation : operations) {
        try {
            operation();
            ADD_FAILURE() << "no error";
        } catch (const Error& e) {
            EXPECT_STREQ(e.what(), msg::kNoMciDevice);
        }
    }
    EXPECT_FALSE(std::filesystem::exists(path("x.wav")));
    EXPECT_EQ(backend.playbacks, 0);
}

TEST_F(SoundDeviceTest, PlayGoesOnFromWhereItStoppedAndRewindsAtTheEnd) {
    openRamp();
    EXPECT_TRUE(device.play());
    EXPECT_EQ(backend.played, ramp(0, 100));
    EXPECT_EQ(backend.playFormat.rate, 8000);
    backend.progress = 2 * 20;
    EXPECT_EQ(device.position(), 20u);
    device.stop();
    EXPECT_FALSE(backend.playbackRunning);
    EXPECT_EQ(device.position(), 20u);
    device.play();
    EXPECT_EQ(backend.played, ramp(20, 100));
    backend.finishPlayback();
    EXPECT_FALSE(device.isPlaying());
    EXPECT_EQ(device.position(), 100u);
    device.play();
    EXPECT_EQ(backend.played, ramp(0, 100));
}

TEST_F(SoundDeviceTest, RecordingIsInsertedAtThePositionInTheFilesFormat) {
    openRamp();
    device.play();
    backend.progress = 2 * 30;
    device.stop();
    EXPECT_TRUE(device.startRecording());
    EXPECT_TRUE(device.isRecording());
    EXPECT_EQ(backend.recordFormat.rate, 8000);
    EXPECT_EQ(backend.recordFormat.channels, 1);
    EXPECT_EQ(backend.recordFormat.type, SampleType::Int16);
    backend.capture = ramp(0, 0, 10, 7777);
    backend.capture.push_back(1); // half a frame, cut off
    device.stop();
    std::vector<char> expected = ramp(0, 30, 10, 7777);
    const std::vector<char> rest = ramp(30, 100);
    expected.insert(expected.end(), rest.begin(), rest.end());
    EXPECT_EQ(device.clip().pcm, expected);
    EXPECT_EQ(device.position(), 40u);
    EXPECT_FALSE(backend.recordingRunning);

    // A save during recording keeps what was recorded so far and ends the recording.
    device.startRecording();
    backend.capture = ramp(0, 10);
    device.save(path("saved.wav"));
    EXPECT_FALSE(device.isRecording());
    EXPECT_EQ(readSoundFile(path("saved.wav")).frames(), 120u);
}

TEST_F(SoundDeviceTest, ARefusingDeviceIsReportedOnlyByTheResultAndClosingStopsTheBackend) {
    openRamp();
    backend.refusePlayback = backend.refuseRecording = true;
    EXPECT_FALSE(device.play());
    EXPECT_FALSE(device.isPlaying());
    EXPECT_FALSE(device.startRecording());
    EXPECT_FALSE(device.isRecording());
    EXPECT_NO_THROW(device.stop());

    backend.refusePlayback = backend.refuseRecording = false;
    for (bool record : {true, false}) {
        {
            SoundDevice other(backend);
            other.open(path("ramp.wav"));
            record ? other.startRecording() : other.play();
        }
        EXPECT_FALSE(backend.recordingRunning || backend.playbackRunning) << record;
    }
}

} // namespace
} // namespace kelmor
