#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace kelmor {

// How samples are held in memory and handed to the audio device.
enum class SampleType { UInt8, Int16, Int32, Float };

struct PcmFormat {
    int rate = 22050;
    int channels = 1;
    SampleType type = SampleType::Int16;

    int bytesPerSample() const {
        switch (type) {
        case SampleType::UInt8:
            return 1;
        case SampleType::Int16:
            return 2;
        case SampleType::Int32:
        case SampleType::Float:
            return 4;
        }
        return 2;
    }
    int bytesPerFrame() const { return bytesPerSample() * channels; }
};

// The encoding a clip is written back in: its file's own PCM width, 16-bit PCM for
// compressed encodings (ADPCM, A-law, mu-law), 32-bit float for float and double.
enum class SaveEncoding { PcmU8, Pcm16, Pcm24, Pcm32, Float };

// A whole sound held in memory as interleaved PCM.
struct SoundClip {
    PcmFormat format;
    SaveEncoding saveAs = SaveEncoding::Pcm16;
    std::string encoding = "pcm-16"; // the file's encoding, such as "ima-adpcm"
    std::vector<char> pcm;

    std::size_t frames() const {
        return pcm.size() / static_cast<std::size_t>(format.bytesPerFrame());
    }
    double seconds() const { return static_cast<double>(frames()) / format.rate; }
};

} // namespace kelmor
