#pragma once

#include <QAudioDevice>
#include <QMediaDevices>
#include <QTest>
#include <gtest/gtest.h>

namespace kelmor::test {

// True when a sound server with an output and an input is there. Without one a test
// skips, unless the test run started its own server (KELMOR_SOUND_SERVER), where a
// missing device is a broken set-up and fails.
inline bool soundServerPresent() {
    return !QMediaDevices::defaultAudioOutput().isNull() &&
           !QMediaDevices::defaultAudioInput().isNull();
}

#define KELMOR_REQUIRE_SOUND_SERVER()                                                              \
    do {                                                                                           \
        if (!::kelmor::test::soundServerPresent()) {                                               \
            if (qEnvironmentVariableIsSet("KELMOR_SOUND_SERVER"))                                  \
                FAIL() << "the test sound server was started but no audio device is seen";         \
            GTEST_SKIP() << "no sound server";                                                     \
        }                                                                                          \
    } while (false)

// Qt's PulseAudio backend can crash when the program ends while libpulse still works;
// letting the event loop run a little before the end avoids it.
class AudioSettleEnvironment : public ::testing::Environment {
public:
    void TearDown() override { QTest::qWait(200); }
};

} // namespace kelmor::test
