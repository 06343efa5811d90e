#include "sound/sound_file.h"

#include "base/atomic_file.h"
#include "base/error.h"
#include "base/messages.h"
#include "base/read_file.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <memory>
#include <sndfile.h>
#include <sys/stat.h>

namespace kelmor {

namespace {

using SoundFilePtr = std::unique_ptr<SNDFILE, decltype(&sf_close)>;

[[noreturn]] void cannotOpen(const std::string& path, const std::string& reason) {
    throw Error(msg::soundOpenFailed(path, reason));
}

// How a libsndfile encoding is held in memory, written back and named.
struct Layout {
    SampleType type;
    SaveEncoding saveAs;
    const char* name;
};

Layout layoutOf(int subformat) {
    switch (subformat) {
    case SF_FORMAT_PCM_U8:
    case SF_FORMAT_PCM_S8:
        return {SampleType::UInt8, SaveEncoding::PcmU8, "pcm-8"};
    case SF_FORMAT_PCM_16:
        return {SampleType::Int16, SaveEncoding::Pcm16, "pcm-16"};
    case SF_FORMAT_PCM_24:
        return {SampleType::Int32, SaveEncoding::Pcm24, "pcm-24"};
    case SF_FORMAT_PCM_32:
        return {SampleType::Int32, SaveEncoding::Pcm32, "pcm-32"};
    case SF_FORMAT_FLOAT:
        return {SampleType::Float, SaveEncoding::Float, "float"};
    case SF_FORMAT_DOUBLE:
        return {SampleType::Float, SaveEncoding::Float, "double"};
    case SF_FORMAT_IMA_ADPCM:
        return {SampleType::Int16, SaveEncoding::Pcm16, "ima-adpcm"};
    case SF_FORMAT_MS_ADPCM:
        return {SampleType::Int16, SaveEncoding::Pcm16, "ms-adpcm"};
    case SF_FORMAT_ALAW:
        return {SampleType::Int16, SaveEncoding::Pcm16, "a-law"};
    case SF_FORMAT_ULAW:
        return {SampleType::Int16, SaveEncoding::Pcm16, "mu-law"};
    case SF_FORMAT_GSM610:
        return {SampleType::Int16, SaveEncoding::Pcm16, "gsm610"};
    default:
        return {SampleType::Int16, SaveEncoding::Pcm16, "other"};
    }
}

bool isWavContainer(int format) {
    const int container = format & SF_FORMAT_TYPEMASK;
    return container == SF_FORMAT_WAV || container == SF_FORMAT_WAVEX ||
           container == SF_FORMAT_RF64;
}

// 8-bit WAV samples are unsigned; libsndfile hands them over as signed 16-bit.
char toUnsigned8(short sample) {
    return static_cast<char>(static_cast<std::uint8_t>((sample >> 8) + 128));
}
short fromUnsigned8(char sample) {
    return static_cast<short>((static_cast<std::uint8_t>(sample) - 128) * 256);
}

// Reads up to `frames` frames into `pcm` (room for them) and returns how many came.
sf_count_t readFrames(SNDFILE* file, SampleType type, sf_count_t frames, int channels, char* pcm) {
    switch (type) {
    case SampleType::UInt8: {
        std::vector<short> wide(static_cast<std::size_t>(frames * channels));
        const sf_count_t got = sf_readf_short(file, wide.data(), frames);
        std::transform(wide.begin(), wide.begin() + std::max<sf_count_t>(got, 0) * channels, pcm,
                       toUnsigned8);
        return got;
    }
    case SampleType::Int16:
        return sf_readf_short(file, reinterpret_cast<short*>(pcm), frames);
    case SampleType::Int32:
        return sf_readf_int(file, reinterpret_cast<int*>(pcm), frames);
    case SampleType::Float:
        return sf_readf_float(file, reinterpret_cast<float*>(pcm), frames);
    }
    return 0;
}

// Reads the `frames` frames libsndfile counts, or as many as come, onto the clip's PCM. The
// memory grows with what is read, so a header claiming more than the file holds costs nothing.
void readClip(SNDFILE* file, sf_count_t frames, int channels, SoundClip& clip) {
    constexpr sf_count_t kChunkFrames = 1 << 16;
    const auto bytesPerFrame = static_cast<std::size_t>(clip.format.bytesPerFrame());
    clip.pcm.reserve(static_cast<std::size_t>(frames) * bytesPerFrame);
    for (sf_count_t done = 0; done < frames;) {
        const sf_count_t want = std::min(kChunkFrames, frames - done);
        const std::size_t at = clip.pcm.size();
        clip.pcm.resize(at + static_cast<std::size_t>(want) * bytesPerFrame);
        const sf_count_t got = std::max<sf_count_t>(
            0, readFrames(file, clip.format.type, want, channels, clip.pcm.data() + at));
        clip.pcm.resize(at + static_cast<std::size_t>(got) * bytesPerFrame);
        if (got < want)
            return;
        done += got;
    }
}

// A growable in-memory file for libsndfile's virtual I/O, so a WAV file is assembled
// in memory and then written in one piece through the replacing writer.
struct MemoryFile {
    std::string bytes;
    sf_count_t at = 0;

    static sf_count_t length(void* self) { return static_cast<sf_count_t>(get(self).bytes.size()); }
    static sf_count_t seek(sf_count_t offset, int whence, void* self) {
        MemoryFile& f = get(self);
        const sf_count_t base = whence == SEEK_SET   ? 0
                                : whence == SEEK_CUR ? f.at
                                                     : static_cast<sf_count_t>(f.bytes.size());
        f.at = std::max<sf_count_t>(0, base + offset);
        return f.at;
    }
    static sf_count_t read(void* data, sf_count_t count, void* self) {
        MemoryFile& f = get(self);
        const sf_count_t size = static_cast<sf_count_t>(f.bytes.size());
        const sf_count_t n = std::clamp<sf_count_t>(size - f.at, 0, count);
        std::memcpy(data, f.bytes.data() + f.at, static_cast<std::size_t>(n));
        f.at += n;
        return n;
    }
    static sf_count_t write(const void* data, sf_count_t count, void* self) {
        MemoryFile& f = get(self);
        const auto end = static_cast<std::size_t>(f.at + count);
        if (end > f.bytes.size())
            f.bytes.resize(end);
        std::memcpy(f.bytes.data() + f.at, data, static_cast<std::size_t>(count));
        f.at += count;
        return count;
    }
    static sf_count_t tell(void* self) { return get(self).at; }
    static MemoryFile& get(void* self) { return *static_cast<MemoryFile*>(self); }
};

int subformatOf(SaveEncoding encoding) {
    switch (encoding) {
    case SaveEncoding::PcmU8:
        return SF_FORMAT_PCM_U8;
    case SaveEncoding::Pcm16:
        return SF_FORMAT_PCM_16;
    case SaveEncoding::Pcm24:
        return SF_FORMAT_PCM_24;
    case SaveEncoding::Pcm32:
        return SF_FORMAT_PCM_32;
    case SaveEncoding::Float:
        return SF_FORMAT_FLOAT;
    }
    return SF_FORMAT_PCM_16;
}

bool writeFrames(SNDFILE* file, const SoundClip& clip) {
    const auto frames = static_cast<sf_count_t>(clip.frames());
    switch (clip.format.type) {
    case SampleType::UInt8: {
        std::vector<short> wide(clip.pcm.size());
        std::transform(clip.pcm.begin(), clip.pcm.end(), wide.begin(), fromUnsigned8);
        return sf_writef_short(file, wide.data(), frames) == frames;
    }
    case SampleType::Int16:
        return sf_writef_short(file, reinterpret_cast<const short*>(clip.pcm.data()), frames) ==
               frames;
    case SampleType::Int32:
        return sf_writef_int(file, reinterpret_cast<const int*>(clip.pcm.data()), frames) == frames;
    case SampleType::Float:
        return sf_writef_float(file, reinterpret_cast<const float*>(clip.pcm.data()), frames) ==
               frames;
    }
    return false;
}

} // namespace

SoundClip readSoundFile(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        cannotOpen(path, errno == ENOENT || errno == ENOTDIR ? msg::kSoundFileMissing
                                                             : msg::kSoundFileUnreadable);
    if (!S_ISREG(info.st_mode))
        cannotOpen(path, msg::kNotWavSound);
    // The open itself checks again, without blocking: the name may have become a pipe since.
    FileDescriptor descriptor;
    try {
        descriptor = openRegularFile(path);
    } catch (const Error&) {
        cannotOpen(path, msg::kSoundFileUnreadable);
    }

    SF_INFO sfInfo{};
    const SoundFilePtr file(sf_open_fd(descriptor.get(), SFM_READ, &sfInfo, SF_FALSE), &sf_close);
    if (!file) {
        if (sf_error(nullptr) == SF_ERR_SYSTEM)
            cannotOpen(path, msg::kSoundFileUnreadable);
        cannotOpen(path, msg::kNotWavSound);
    }
    if (!isWavContainer(sfInfo.format) || sfInfo.channels < 1 || sfInfo.samplerate < 1)
        cannotOpen(path, msg::kNotWavSound);

    const Layout layout = layoutOf(sfInfo.format & SF_FORMAT_SUBMASK);
    SoundClip clip;
    clip.format = {sfInfo.samplerate, sfInfo.channels, layout.type};
    clip.saveAs = layout.saveAs;
    clip.encoding = layout.name;
    // libsndfile counts the frames from the encoding's block layout (GSM 6.10 packs 320
    // samples into 65 bytes) and the data the file really holds.
    if (sfInfo.frames > static_cast<sf_count_t>(kMaxSoundBytes) / clip.format.bytesPerFrame())
        cannotOpen(path, msg::kSoundTooLong);
    readClip(file.get(), std::max<sf_count_t>(sfInfo.frames, 0), sfInfo.channels, clip);
    return clip;
}

void writeSoundFile(const std::string& path, const SoundClip& clip) {
    checkPathName(path, msg::kCannotCreateFile);
    MemoryFile memory;
    SF_VIRTUAL_IO io{&MemoryFile::length, &MemoryFile::seek, &MemoryFile::read, &MemoryFile::write,
                     &MemoryFile::tell};
    SF_INFO info{};
    info.samplerate = clip.format.rate;
    info.channels = clip.format.channels;
    info.format = SF_FORMAT_WAV | subformatOf(clip.saveAs);
    bool written = false;
    if (sf_format_check(&info)) {
        SoundFilePtr file(sf_open_virtual(&io, SFM_WRITE, &info, &memory), &sf_close);
        written = file && writeFrames(file.get(), clip);
    }
    if (!written)
        throw Error(format(msg::kCannotCreateFile, path));
    writeFileReplacing(path, memory.bytes);
}

} // namespace kelmor
