// The sound device when the sound server cannot be reached: ctest points this
// program at a server that does not exist.
#include "base/error.h"
#include "base/messages.h"
#include "sound/qt_audio_backend.h"
#include "sound/sound_device.h"
#include "sound_server.h"
#include "wav_maker.h"

namespace kelmor {
namespace {

const auto* settle = ::testing::AddGlobalTestEnvironment(new test::AudioSettleEnvironment);

using NoDevice = test::TempFolderTest;

TEST_F(NoDevice, OpeningASoundFileFailsAndLeavesNothingOpenAndTheBackendRefusesAtOnce) {
    ASSERT_FALSE(test::soundServerPresent()) << "run this test with PULSE_SERVER unreachable";
    test::writeWav(path("tone.wav"), SF_FORMAT_PCM_16, 1, 22050, test::sine(440, 0.2, 22050, 1));
    QtAudioBackend backend;
    SoundDevice device(backend);
    try {
        device.open(path("tone.wav"));
        ADD_FAILURE() << "opened";
    } catch (const Error& e) {
        EXPECT_EQ(e.what(), msg::soundOpenFailed(path("tone.wav"), msg::kNoSoundDevice));
    }
    EXPECT_FALSE(device.isOpen());

    const std::vector<char> silence(4410);
    EXPECT_FALSE(backend.startPlayback(PcmFormat{}, silence));
    EXPECT_FALSE(backend.isPlaying());
    EXPECT_FALSE(backend.startRecording(PcmFormat{}));
    EXPECT_TRUE(backend.stopRecording().empty());
}

} // namespace
} // namespace kelmor
