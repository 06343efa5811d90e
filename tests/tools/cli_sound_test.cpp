// kelmor-cli sound info, run as the built program, against what libsndfile reports.
#include "base/messages.h"
#include "sound/wav_maker.h"

#include <sys/wait.h>

namespace kelmor {
namespace {

class CliSound : public test::TempFolderTest {
protected:
    // Runs kelmor-cli; returns the exit status, stdout and stderr.
    std::tuple<int, std::string, std::string> run(const std::string& arguments) const {
        const std::string command = std::string(KELMOR_CLI) + " " + arguments + " >" +
                                    path("out.txt") + " 2>" + path("err.txt");
        const int status = std::system(command.c_str());
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, readFile("out.txt"),
                readFile("err.txt")};
    }
};

TEST_F(CliSound, InfoPrintsWhatLibsndfileReadsAndAFileThatCannotBeOpenedGivesStatusOne) {
    const std::tuple<int, int, int, std::string> cases[] = {
        {SF_FORMAT_IMA_ADPCM, 2, 44100, "ima-adpcm"},
        {SF_FORMAT_PCM_U8, 1, 11025, "pcm-8"},
        {SF_FORMAT_ULAW, 1, 8000, "mu-law"}};
    for (const auto& [format, channels, rate, encoding] : cases) {
        const std::string file = path(encoding + ".wav");
        test::writeWav(file, format, channels, rate, test::sine(440, 0.6, rate, channels));
        SF_INFO info{};
        sf_close(sf_open(file.c_str(), SFM_READ, &info));
        char duration[32];
        std::snprintf(duration, sizeof duration, "%.3f", static_cast<double>(info.frames) / rate);
        EXPECT_EQ(run("sound info " + file),
                  std::tuple(0,
                             "encoding: " + encoding + "\nchannels: " + std::to_string(channels) +
                                 "\nrate: " + std::to_string(rate) + "\nframes: " +
                                 std::to_string(info.frames) + "\nduration: " + duration + " s\n",
                             std::string()));
    }

    const std::string text = writeFile("text.wav", "not a sound");
    EXPECT_EQ(run("sound info " + text),
              std::tuple(1, std::string(), msg::soundOpenFailed(text, msg::kNotWavSound) + "\n"));
    EXPECT_EQ(std::get<0>(run("sound info")), 1);
}

} // namespace
} // namespace kelmor
