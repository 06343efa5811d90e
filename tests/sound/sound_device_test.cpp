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

std::vector<char> bytesOf(const std::vector<short>& samples) {
    std::vector<char> bytes(samples.size() * 2);
    std::memcpy(bytes.data(), samples.data(), bytes.size());
    return bytes;
}

std::vector<short> ramp(short from, short to) {
    std::vector<short> samples;
    for (short v = from; v < to; ++v)
        samples.push_back(v);
    return samples;
}

class SoundDeviceTest : public test::TempFolderTest {
protected:
    // A 16-bit mono 8000 Hz file whose samples are 0, 1, ... frames - 1.
    std::string rampFile(short frames) {
        const std::string file = path("ramp.wav");
        SF_INFO info{};
        info.samplerate = 8000;
        info.channels = 1;
        info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
        SNDFILE* out = sf_open(file.c_str(), SFM_WRITE, &info);
        const auto samples = ramp(0, frames);
        sf_writef_short(out, samples.data(), frames);
        sf_close(out);
        return file;
    }

    test::FakeAudioBackend backend;
    SoundDevice device{backend};
};

TEST_F(SoundDeviceTest, EveryOperationButOpenNeedsAnOpenFile) {
    const std::vector<std::function<void()>> operations = {
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
    device.open(rampFile(100));
    EXPECT_TRUE(device.play());
    EXPECT_EQ(backend.played, bytesOf(ramp(0, 100)));
    EXPECT_EQ(backend.playFormat.rate, 8000);
    backend.progress = 2 * 20;
    EXPECT_EQ(device.position(), 20u);

    device.stop();
    EXPECT_FALSE(backend.playbackRunning);
    EXPECT_EQ(device.position(), 20u);
    device.play();
    EXPECT_EQ(backend.played, bytesOf(ramp(20, 100)));

    backend.finishPlayback();
    EXPECT_FALSE(device.isPlaying());
    EXPECT_EQ(device.position(), 100u);
    device.play();
    EXPECT_EQ(backend.played, bytesOf(ramp(0, 100)));
}

TEST_F(SoundDeviceTest, RecordingIsInsertedAtThePositionInTheFilesFormat) {
    device.open(rampFile(100));
    device.play();
    backend.progress = 2 * 30;
    device.stop();

    EXPECT_TRUE(device.startRecording());
    EXPECT_TRUE(device.isRecording());
    EXPECT_EQ(backend.recordFormat.rate, 8000);
    EXPECT_EQ(backend.recordFormat.channels, 1);
    EXPECT_EQ(backend.recordFormat.type, SampleType::Int16);
    backend.capture = bytesOf(std::vector<short>(10, 7777));
    backend.capture.push_back(1); // half a frame, cut off
    device.stop();

    auto expected = ramp(0, 30);
    expected.insert(expected.end(), 10, 7777);
    const auto rest = ramp(30, 100);
    expected.insert(expected.end(), rest.begin(), rest.end());
    EXPECT_EQ(device.clip().pcm, bytesOf(expected));
    EXPECT_EQ(device.position(), 40u);
    EXPECT_FALSE(backend.recordingRunning);

    // A save during recording keeps what was recorded so far and ends the recording.
    device.startRecording();
    backend.capture = bytesOf(ramp(0, 10));
    device.save(path("saved.wav"));
    EXPECT_FALSE(device.isRecording());
    EXPECT_EQ(readSoundFile(path("saved.wav")).frames(), 120u);
}

TEST_F(SoundDeviceTest, ARefusingDeviceIsReportedOnlyByTheResult) {
    device.open(rampFile(100));
    backend.refusePlayback = true;
    backend.refuseRecording = true;
    EXPECT_FALSE(device.play());
    EXPECT_FALSE(device.isPlaying());
    EXPECT_FALSE(device.startRecording());
    EXPECT_FALSE(device.isRecording());
    EXPECT_NO_THROW(device.stop());
}

TEST_F(SoundDeviceTest, ClosingTheDeviceStopsTheBackend) {
    const std::string file = rampFile(100);
    {
        SoundDevice recorder(backend);
        recorder.open(file);
        recorder.startRecording();
    }
    EXPECT_FALSE(backend.recordingRunning);
    {
        SoundDevice player(backend);
        player.open(file);
        player.play();
    }
    EXPECT_FALSE(backend.playbackRunning);
}

} // namespace
} // namespace kelmor
