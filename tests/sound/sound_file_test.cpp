// WAV files in and out of memory: every encoding the device reads, compared with the
// signal the file was made from, written back and read again; damaged files.
#include "base/atomic_file.h"
#include "base/error.h"
#include "base/messages.h"
#include "base/read_file.h"
#include "sound/sound_file.h"
#include "wav_maker.h"

#include <cstring>
#include <fstream>

namespace kelmor {
namespace {

using test::sine;
using test::writeWav;

float sampleAt(const SoundClip& clip, std::size_t i) {
    const char* at = clip.pcm.data() + i * static_cast<std::size_t>(clip.format.bytesPerSample());
    switch (clip.format.type) {
    case SampleType::UInt8:
        return (static_cast<float>(static_cast<unsigned char>(*at)) - 128) / 128;
    case SampleType::Int16: {
        std::int16_t v;
        std::memcpy(&v, at, sizeof v);
        return static_cast<float>(v) / 32768;
    }
    case SampleType::Int32: {
        std::int32_t v;
        std::memcpy(&v, at, sizeof v);
        return static_cast<float>(v) / 2147483648.0f;
    }
    case SampleType::Float: {
        float v;
        std::memcpy(&v, at, sizeof v);
        return v;
    }
    }
    return 0;
}

struct Encoding {
    const char* name;
    int format; // libsndfile container and encoding
    int channels;
    int rate;
    SampleType type;
    const char* savedAs;
    double rmsError; // largest root-mean-square difference from the source signal
};

void PrintTo(const Encoding& e, std::ostream* os) {
    *os << e.name;
}

class SoundFileEncodings : public test::TempFolderTest,
                           public ::testing::WithParamInterface<Encoding> {};

TEST_P(SoundFileEncodings, ReadsTheSignalAndWritesItBackUnchanged) {
    const Encoding& e = GetParam();
    const auto source = sine(440, 0.3, e.rate, e.channels);
    writeWav(path("in.wav"), e.format & SF_FORMAT_SUBMASK, e.channels, e.rate, source,
             e.format & SF_FORMAT_TYPEMASK);

    const SoundClip clip = readSoundFile(path("in.wav"));
    EXPECT_EQ(clip.encoding, e.name);
    EXPECT_EQ(clip.format.rate, e.rate);
    EXPECT_EQ(clip.format.channels, e.channels);
    EXPECT_EQ(clip.format.type, e.type);
    // ADPCM fills its last block with silence.
    const std::size_t frames = source.size() / static_cast<std::size_t>(e.channels);
    ASSERT_GE(clip.frames(), frames);
    EXPECT_LT(clip.frames(), frames + 2048);
    double squares = 0;
    for (std::size_t i = 0; i < source.size(); ++i)
        squares += std::pow(sampleAt(clip, i) - source[i], 2);
    EXPECT_LT(std::sqrt(squares / static_cast<double>(source.size())), e.rmsError);

    writeSoundFile(path("out.wav"), clip);
    const SoundClip again = readSoundFile(path("out.wav"));
    EXPECT_EQ(again.encoding, e.savedAs);
    EXPECT_EQ(again.format.rate, e.rate);
    EXPECT_EQ(again.format.channels, e.channels);
    EXPECT_EQ(again.format.type, e.type);
    EXPECT_TRUE(again.pcm == clip.pcm);
}

INSTANTIATE_TEST_SUITE_P(AllEncodings, SoundFileEncodings,
                         ::testing::Values(Encoding{"pcm-8", SF_FORMAT_WAV | SF_FORMAT_PCM_U8, 1,
                                                    8000, SampleType::UInt8, "pcm-8", 0.005},
                                           Encoding{"pcm-16", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 2,
                                                    44100, SampleType::Int16, "pcm-16", 1e-4},
                                           Encoding{"pcm-24", SF_FORMAT_WAV | SF_FORMAT_PCM_24, 1,
                                                    48000, SampleType::Int32, "pcm-24", 1e-6},
                                           Encoding{"pcm-32", SF_FORMAT_WAV | SF_FORMAT_PCM_32, 2,
                                                    96000, SampleType::Int32, "pcm-32", 1e-6},
                                           Encoding{"float", SF_FORMAT_WAV | SF_FORMAT_FLOAT, 1,
                                                    22050, SampleType::Float, "float", 1e-7},
                                           Encoding{"double", SF_FORMAT_WAV | SF_FORMAT_DOUBLE, 2,
                                                    11025, SampleType::Float, "float", 1e-7},
                                           Encoding{"ima-adpcm",
                                                    SF_FORMAT_WAV | SF_FORMAT_IMA_ADPCM, 2, 44100,
                                                    SampleType::Int16, "pcm-16", 0.02},
                                           Encoding{"ms-adpcm", SF_FORMAT_WAV | SF_FORMAT_MS_ADPCM,
                                                    1, 22050, SampleType::Int16, "pcm-16", 0.02},
                                           Encoding{"a-law", SF_FORMAT_WAV | SF_FORMAT_ALAW, 1,
                                                    8000, SampleType::Int16, "pcm-16", 0.01},
                                           Encoding{"mu-law", SF_FORMAT_WAV | SF_FORMAT_ULAW, 2,
                                                    8000, SampleType::Int16, "pcm-16", 0.01},
                                           Encoding{"pcm-16", SF_FORMAT_WAVEX | SF_FORMAT_PCM_16, 2,
                                                    32000, SampleType::Int16, "pcm-16", 1e-4}),
                         [](const auto& param) {
                             std::string name = param.param.name;
                             std::replace(name.begin(), name.end(), '-', '_');
                             return name + "_" + std::to_string(param.index);
                         });

// A file the device cannot open, and the reason its message gives.
struct BadFile {
    const char* name;
    void (*make)(const std::string& path);
    const char* reason;
};

void PrintTo(const BadFile& b, std::ostream* os) {
    *os << b.name;
}

void writeBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string validWav(const std::string& path) {
    writeWav(path, SF_FORMAT_PCM_16, 1, 22050, sine(440, 0.1, 22050, 1));
    return readWholeFile(path);
}

class SoundFileBadInput : public test::TempFolderTest,
                          public ::testing::WithParamInterface<BadFile> {};

TEST_P(SoundFileBadInput, RaisesAMessageNamingTheFileAndTheReason) {
    const std::string file = path("bad.wav");
    GetParam().make(file);
    try {
        readSoundFile(file);
        FAIL() << "opened";
    } catch (const Error& e) {
        EXPECT_EQ(e.what(), msg::soundOpenFailed(file, GetParam().reason));
    }
}

INSTANTIATE_TEST_SUITE_P(
    DamagedFiles, SoundFileBadInput,
    ::testing::Values(
        BadFile{"Missing", [](const std::string&) {}, msg::kSoundFileMissing},
        BadFile{"Empty", [](const std::string& p) { writeBytes(p, ""); }, msg::kNotWavSound},
        BadFile{"Text", [](const std::string& p) { writeBytes(p, "<html>not a sound</html>\n"); },
                msg::kNotWavSound},
        BadFile{"HeaderCut", [](const std::string& p) { writeBytes(p, validWav(p).substr(0, 30)); },
                msg::kNotWavSound},
        BadFile{"NoChannels",
                [](const std::string& p) {
                    std::string bytes = validWav(p);
                    bytes[22] = bytes[23] = 0; // channel count of the fmt chunk
                    writeBytes(p, bytes);
                },
                msg::kNotWavSound},
        BadFile{"Aiff",
                [](const std::string& p) {
                    writeWav(p, SF_FORMAT_PCM_16, 1, 22050, sine(440, 0.1, 22050, 1),
                             SF_FORMAT_AIFF);
                },
                msg::kNotWavSound},
        BadFile{"Folder", [](const std::string& p) { std::filesystem::create_directory(p); },
                msg::kNotWavSound}),
    [](const auto& param) { return std::string(param.param.name); });

class SoundFile : public test::TempFolderTest {};

TEST_F(SoundFile, ATruncatedFileGivesTheFramesItHolds) {
    std::string bytes = validWav(path("cut.wav"));
    ASSERT_EQ(bytes.size(), 44u + 2 * 2205);
    writeBytes(path("cut.wav"), bytes.substr(0, 44 + 2 * 1000));
    EXPECT_EQ(readSoundFile(path("cut.wav")).frames(), 1000u);

    // A data chunk claiming nearly 4 GiB over the same 1000 frames.
    bytes = bytes.substr(0, 44 + 2 * 1000);
    std::memset(bytes.data() + 40, 0xF0, 4);
    writeBytes(path("huge.wav"), bytes);
    EXPECT_EQ(readSoundFile(path("huge.wav")).frames(), 1000u);
}

TEST_F(SoundFile, TheShippedDefaultIsAnEmptyMonoClip) {
    const SoundClip clip = readSoundFile(KELMOR_DEFAULT_WAV);
    EXPECT_EQ(clip.frames(), 0u);
    EXPECT_EQ(clip.format.rate, 22050);
    EXPECT_EQ(clip.format.channels, 1);
    EXPECT_EQ(clip.encoding, "pcm-16");
}

} // namespace
} // namespace kelmor
