// kelmor-cli sound info, run as the built program, against what libsndfile reports.
#include "base/messages.h"
#include "wav_maker.h"

#include <cstdio>
#include <fstream>
#include <sstream>

namespace kelmor {
namespace {

struct CliRun {
    int status;
    std::string out;
    std::string err;
};

class CliSound : public test::TempFolderTest {
protected:
    CliRun run(const std::string& arguments) const {
        const std::string err = path("stderr.txt");
        FILE* pipe =
            ::popen((std::string(KELMOR_CLI) + " " + arguments + " 2>" + err).c_str(), "r");
        std::string out;
        char buffer[4096];
        std::size_t n = 0;
        while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
            out.append(buffer, n);
        const int status = ::pclose(pipe);
        std::stringstream errText;
        errText << std::ifstream(err).rdbuf();
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, out, errText.str()};
    }
};

TEST_F(CliSound, InfoPrintsWhatLibsndfileReads) {
    struct Case {
        int format;
        int channels;
        int rate;
        const char* encoding;
    };
    for (const Case& c :
         {Case{SF_FORMAT_IMA_ADPCM, 2, 44100, "ima-adpcm"},
          Case{SF_FORMAT_PCM_U8, 1, 11025, "pcm-8"}, Case{SF_FORMAT_ULAW, 1, 8000, "mu-law"}}) {
        const std::string file = path(std::string(c.encoding) + ".wav");
        test::writeWav(file, c.format, c.channels, c.rate,
                       test::sine(440, 0.6, c.rate, c.channels));
        SF_INFO info{};
        sf_close(sf_open(file.c_str(), SFM_READ, &info));
        char duration[32];
        std::snprintf(duration, sizeof duration, "%.3f", static_cast<double>(info.frames) / c.rate);

        const CliRun result = run("sound info " + file);
        EXPECT_EQ(result.status, 0);
        EXPECT_EQ(result.out, "encoding: " + std::string(c.encoding) + "\nchannels: " +
                                  std::to_string(c.channels) + "\nrate: " + std::to_string(c.rate) +
                                  "\nframes: " + std::to_string(info.frames) +
                                  "\nduration: " + duration + " s\n");
    }
}

TEST_F(CliSound, AFileThatCannotBeOpenedGivesTheOpenErrorAndStatusOne) {
    std::ofstream(path("text.wav")) << "not a sound";
    const CliRun result = run("sound info " + path("text.wav"));
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, msg::soundOpenFailed(path("text.wav"), msg::kNotWavSound) + "\n");
    EXPECT_EQ(run("sound info").status, 1);
}

} // namespace
} // namespace kelmor
