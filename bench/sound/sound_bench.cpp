// The sound device against its baselines.
//
// SoundOpen: opening a 10-minute 44.1 kHz 16-bit stereo WAV file (about 106 MB, made
// once in the temporary folder and read from the page cache), that is decoding it
// into memory, against libsndfile reading the same file into a buffer on its own.
//
// SoundStart/kelmor: from the sound device's Play on an open file to the moment the
// audio sink first takes samples from it (the Qt backend's bytesHandedToSink()
// turning non-zero), on the default audio output; the event loop runs while waiting.
// This is the program's share of the start: the sound server's own buffering comes
// after it. Without an audio output it reports an error instead of a figure.
#include "sound/qt_audio_backend.h"
#include "sound/sound_device.h"

#include <QCoreApplication>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <numbers>
#include <sndfile.h>
#include <unistd.h>
#include <vector>

namespace {

// A device with an output and nothing behind it, so that opening measures the reading.
class SilentBackend : public kelmor::AudioBackend {
public:
    bool hasOutputDevice() override { return true; }
    bool startPlayback(const kelmor::PcmFormat&, std::span<const char>) override { return true; }
    std::size_t playedBytes() override { return 0; }
    bool isPlaying() override { return false; }
    void stopPlayback() override {}
    bool startRecording(const kelmor::PcmFormat&) override { return true; }
    std::vector<char> stopRecording() override { return {}; }
};

// Writes `seconds` of a stereo 440 Hz tone, 16-bit at 44.1 kHz, once per run.
std::string toneFile(int seconds) {
    const auto path =
        std::filesystem::temp_directory_path() /
        ("kelmor-bench-" + std::to_string(seconds) + "s-" + std::to_string(::getpid()) + ".wav");
    if (std::filesystem::exists(path))
        return path.string();
    SF_INFO info{};
    info.samplerate = 44100;
    info.channels = 2;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    std::vector<short> second(2 * 44100);
    for (std::size_t i = 0; i < 44100; ++i)
        second[2 * i] = second[2 * i + 1] = static_cast<short>(
            12000 * std::sin(2 * std::numbers::pi * 440 * static_cast<double>(i) / 44100));
    for (int s = 0; s < seconds; ++s)
        sf_writef_short(file, second.data(), 44100);
    sf_close(file);
    return path.string();
}

const std::string& longFile() {
    static const std::string path = toneFile(600);
    return path;
}

void soundOpenKelmor(benchmark::State& state) {
    SilentBackend backend;
    kelmor::SoundDevice device(backend);
    for (auto _ : state) {
        device.open(longFile());
        benchmark::DoNotOptimize(device.clip().pcm.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(device.clip().pcm.size()));
}

void soundOpenBaseline(benchmark::State& state) {
    std::size_t bytes = 0;
    for (auto _ : state) {
        SF_INFO info{};
        SNDFILE* file = sf_open(longFile().c_str(), SFM_READ, &info);
        std::vector<short> samples(static_cast<std::size_t>(info.frames * info.channels));
        sf_readf_short(file, samples.data(), info.frames);
        sf_close(file);
        benchmark::DoNotOptimize(samples.data());
        bytes = samples.size() * sizeof(short);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(bytes));
}

void soundStartKelmor(benchmark::State& state) {
    kelmor::QtAudioBackend backend;
    kelmor::SoundDevice device(backend);
    try {
        device.open(toneFile(1));
    } catch (const std::exception& error) {
        state.SkipWithError(error.what());
        return;
    }
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        if (!device.play()) {
            state.SkipWithError("the audio output refused to play");
            break;
        }
        while (backend.bytesHandedToSink() == 0 &&
               std::chrono::steady_clock::now() - start < std::chrono::seconds(2))
            QCoreApplication::processEvents();
        const auto elapsed = std::chrono::steady_clock::now() - start;
        if (backend.bytesHandedToSink() == 0) {
            state.SkipWithError("the audio sink took nothing within 2 s");
            break;
        }
        state.SetIterationTime(std::chrono::duration<double>(elapsed).count());
        device.seekToStart();
    }
}

} // namespace

BENCHMARK(soundOpenKelmor)->Name("SoundOpen/kelmor")->Unit(benchmark::kMillisecond);
BENCHMARK(soundOpenBaseline)->Name("SoundOpen/baseline")->Unit(benchmark::kMillisecond);
BENCHMARK(soundStartKelmor)
    ->Name("SoundStart/kelmor")
    ->UseManualTime()
    ->Iterations(50)
    ->Unit(benchmark::kMillisecond);

int main(int count, char** arguments) {
    QCoreApplication application(count, arguments);
    benchmark::Initialize(&count, arguments);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    // Let the audio backend finish its work before the program ends.
    QCoreApplication::processEvents();
    for (const std::string& file : {longFile(), toneFile(1)})
        std::filesystem::remove(file);
    return 0;
}
