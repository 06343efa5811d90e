// kelmor-cli sound info: what the sound device reads from a WAV file.
#include "cli_command.h"
#include "sound/sound_file.h"

#include <cstdio>
#include <iostream>

namespace {

constexpr std::string_view kOperandsNeeded = "'info FILE' is needed";

const kelmor::cli::Syntax kSyntax{
    .command = "sound",
    .operands = "info FILE",
    .minOperands = 2,
    .maxOperands = 2,
    .operandsNeeded = kOperandsNeeded,
    .description =
        "      Reads a WAV file as the Play/Record Sound window does and prints its encoding\n"
        "      (pcm-8, pcm-16, pcm-24, pcm-32, float, double, ima-adpcm, ms-adpcm, a-law, mu-law,\n"
        "      gsm610 or other), channels, rate, frames and duration, one \"key: value\" line\n"
        "      each. Exit status: 0 read, 1 a file the sound device cannot open (its message on\n"
        "      stderr) or usage error."};

int runSound(const kelmor::cli::Arguments& arguments) {
    const std::vector<std::string>& args = arguments.operands();
    if (args[0] != "info")
        throw kelmor::cli::UsageError(std::string(kOperandsNeeded));
    const kelmor::SoundClip clip = kelmor::readSoundFile(args[1]);
    char duration[32];
    std::snprintf(duration, sizeof duration, "%.3f", clip.seconds());
    std::cout << "encoding: " << clip.encoding << '\n'
              << "channels: " << clip.format.channels << '\n'
              << "rate: " << clip.format.rate << '\n'
              << "frames: " << clip.frames() << '\n'
              << "duration: " << duration << " s\n";
    return 0;
}

const kelmor::cli::Registration registration(kSyntax, runSound);

} // namespace
