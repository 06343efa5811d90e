#pragma once

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <gtest/gtest.h>
#include <numbers>
#include <sndfile.h>
#include <string>
#include <vector>

namespace kelmor::test {

// Interleaved samples of a sine of `hz` and `amplitude`, the same on every channel.
inline std::vector<float> sine(double hz, double seconds, int rate, int channels,
                               double amplitude = 0.5) {
    const auto frames = static_cast<std::size_t>(std::lround(seconds * rate));
    std::vector<float> samples(frames * static_cast<std::size_t>(channels));
    for (std::size_t i = 0; i < frames; ++i)
        for (int c = 0; c < channels; ++c)
            samples[i * static_cast<std::size_t>(channels) + static_cast<std::size_t>(c)] =
                static_cast<float>(amplitude * std::sin(2 * std::numbers::pi * hz *
                                                        static_cast<double>(i) / rate));
    return samples;
}

// Writes a WAV file of the given libsndfile encoding directly with libsndfile.
inline void writeWav(const std::string& path, int subformat, int channels, int rate,
                     const std::vector<float>& samples, int container = SF_FORMAT_WAV) {
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = channels;
    info.format = container | subformat;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    ASSERT_NE(file, nullptr) << sf_strerror(nullptr);
    sf_writef_float(file, samples.data(), static_cast<sf_count_t>(samples.size()) / channels);
    sf_close(file);
}

// A fresh folder per test, removed afterwards.
class TempFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        std::replace(name.begin(), name.end(), '/', '_');
        folder_ = std::filesystem::temp_directory_path() / ("kelmor-sound-" + name);
        std::filesystem::remove_all(folder_);
        std::filesystem::create_directories(folder_);
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }
    std::string path(const std::string& name) const { return (folder_ / name).string(); }

    std::filesystem::path folder_;
};

} // namespace kelmor::test
