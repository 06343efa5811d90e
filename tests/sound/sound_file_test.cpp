// WAV files in and out of memory: every encoding the device reads, compared with the
// signal the file was made from, written back and read again; damaged files. The shipped
// empty default.wav is checked through the sound window's recording.
#include "base/error.h"
#include "base/messages.h"
#include "base/read_file.h"
#include "sound/sound_file.h"
#include "wav_maker.h"

#include <cstring>
#include <functional>
#include <sys/stat.h>

namespace kelmor {
namespace {

using test::sine;
using test::writeWav;

template <class T> float sampleOf(const char* at, float scale) {
    T v;
    std::memcpy(&v, at, sizeof v);
    return static_cast<float>(v) / scale;
}

float sampleAt(const SoundClip& clip, std::size_t i) {
    const char* at = clip.pcm.data() + i * static_cast<std::size_t>(clip.format.bytesPerSample());
    switch (clip.format.type) {
    case SampleType::UInt8:
        return sampleOf<unsigned char>(at, 128) - 1;
    case SampleType::Int16:
        return sampleOf<std::int16_t>(at, 32768);
    case SampleType::Int32:
        return sampleOf<std::int32_t>(at, 2147483648.0f);
    case SampleType::Float:
        return sampleOf<float>(at, 1);
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

const Encoding kEncodings[] = {
    {"pcm-8", SF_FORMAT_WAV | SF_FORMAT_PCM_U8, 1, 8000, SampleType::UInt8, "pcm-8", 0.005},
    {"pcm-16", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 2, 44100, SampleType::Int16, "pcm-16", 1e-4},
    {"pcm-24", SF_FORMAT_WAV | SF_FORMAT_PCM_24, 1, 48000, SampleType::Int32, "pcm-24", 1e-6},
    {"pcm-32", SF_FORMAT_WAV | SF_FORMAT_PCM_32, 2, 96000, SampleType::Int32, "pcm-32", 1e-6},
    {"float", SF_FORMAT_WAV | SF_FORMAT_FLOAT, 1, 22050, SampleType::Float, "float", 1e-7},
    {"double", SF_FORMAT_WAV | SF_FORMAT_DOUBLE, 2, 11025, SampleType::Float, "float", 1e-7},
    {"ima-adpcm", SF_FORMAT_WAV | SF_FORMAT_IMA_ADPCM, 2, 44100, SampleType::Int16, "pcm-16", 0.02},
    {"ms-adpcm", SF_FORMAT_WAV | SF_FORMAT_MS_ADPCM, 1, 22050, SampleType::Int16, "pcm-16", 0.02},
    {"a-law", SF_FORMAT_WAV | SF_FORMAT_ALAW, 1, 8000, SampleType::Int16, "pcm-16", 0.01},
    {"mu-law", SF_FORMAT_WAV | SF_FORMAT_ULAW, 2, 8000, SampleType::Int16, "pcm-16", 0.01},
    {"pcm-16", SF_FORMAT_WAVEX | SF_FORMAT_PCM_16, 2, 32000, SampleType::Int16, "pcm-16", 1e-4}};

class SoundFileEncodings : public test::TempFolderTest,
                           public ::testing::WithParamInterface<Encoding> {};

TEST_P(SoundFileEncodings, ReadsTheSignalAndWritesItBackUnchanged) {
    const Encoding& e = GetParam();
    const auto source = sine(440, 0.3, e.rate, e.channels);
    writeWav(path("in.wav"), e.format & SF_FORMAT_SUBMASK, e.channels, e.rate, source,
             e.format & SF_FORMAT_TYPEMASK);

    const SoundClip clip = readSoundFile(path("in.wav"));
    EXPECT_EQ(clip.encoding, e.name);
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
    for (const SoundClip* read : {&clip, &again}) {
        EXPECT_EQ(read->format.rate, e.rate);
        EXPECT_EQ(read->format.channels, e.channels);
        EXPECT_EQ(read->format.type, e.type);
    }
    EXPECT_TRUE(again.pcm == clip.pcm);
}

INSTANTIATE_TEST_SUITE_P(AllEncodings, SoundFileEncodings, ::testing::ValuesIn(kEncodings));

std::string validWav(const std::string& path) {
    writeWav(path, SF_FORMAT_PCM_16, 1, 22050, sine(440, 0.1, 22050, 1));
    return readWholeFile(path);
}

// Files the device cannot open, each with the reason its message gives (a named pipe without
// waiting for a writer, a sound past the memory budget without reading it); a file cut short,
// or claiming nearly 4 GiB of data, gives the frames it holds.
using SoundFile = test::TempFolderTest;

TEST_F(SoundFile, DamagedFilesGiveTheOpenMessageOrTheFramesTheyHold) {
    const std::string file = path("bad.wav");
    const std::pair<std::function<void()>, const char*> cases[] = {
        {[] {}, msg::kSoundFileMissing},
        {[&] { writeFile("bad.wav", ""); }, msg::kNotWavSound},
        {[&] { writeFile("bad.wav", "<html>not a sound</html>\n"); }, msg::kNotWavSound},
        {[&] { writeFile("bad.wav", validWav(file).substr(0, 30)); }, msg::kNotWavSound},
        {[&] {
             std::string bytes = validWav(file);
             bytes[22] = bytes[23] = 0; // channel count of the fmt chunk
             writeFile("bad.wav", bytes);
         },
         msg::kNotWavSound},
        {[&] {
             writeWav(file, SF_FORMAT_PCM_16, 1, 22050, sine(440, 0.1, 22050, 1), SF_FORMAT_AIFF);
         },
         msg::kNotWavSound},
        {[&] { std::filesystem::create_directory(file); }, msg::kNotWavSound},
        {[&] { ASSERT_EQ(::mkfifo(file.c_str(), 0600), 0); }, msg::kNotWavSound},
        {[&] {
             // One 16-bit frame past the budget, in a sparse file.
             std::string bytes = validWav(file);
             std::memcpy(bytes.data() + 40, "\x02\x00\x00\x10", 4);
             writeFile("bad.wav", bytes);
             std::filesystem::resize_file(file, 44 + kMaxSoundBytes + 2);
         },
         msg::kSoundTooLong}};
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(i);
        std::filesystem::remove_all(file);
        cases[i].first();
        try {
            readSoundFile(file);
            ADD_FAILURE() << "opened";
        } catch (const Error& e) {
            EXPECT_EQ(e.what(), msg::soundOpenFailed(file, cases[i].second));
        }
    }

    std::string bytes = validWav(path("cut.wav"));
    ASSERT_EQ(bytes.size(), 44u + 2 * 2205);
    bytes.resize(44 + 2 * 1000);
    writeFile("cut.wav", bytes);
    EXPECT_EQ(readSoundFile(path("cut.wav")).frames(), 1000u);
    std::memset(bytes.data() + 40, 0xF0, 4); // the data chunk's size
    writeFile("huge.wav", bytes);
    EXPECT_EQ(readSoundFile(path("huge.wav")).frames(), 1000u);
}

} // namespace
} // namespace kelmor
