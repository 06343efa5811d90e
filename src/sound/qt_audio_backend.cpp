#include "sound/qt_audio_backend.h"

#include <QAudioDevice>
#include <QAudioSink>
#include <QAudioSource>
#include <QIODevice>
#include <QMediaDevices>
#include <algorithm>
#include <cstring>

namespace kelmor {

// The sink pulls the clip's bytes from here without a copy.
class PcmReader : public QIODevice {
public:
    explicit PcmReader(std::span<const char> pcm) : pcm_(pcm) { open(QIODevice::ReadOnly); }

    std::size_t handedOut() const { return at_; }
    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override {
        return static_cast<qint64>(pcm_.size() - at_) + QIODevice::bytesAvailable();
    }
    bool atEnd() const override { return at_ == pcm_.size(); }

protected:
    qint64 readData(char* data, qint64 maxSize) override {
        const std::size_t n = std::min(pcm_.size() - at_, static_cast<std::size_t>(maxSize));
        std::memcpy(data, pcm_.data() + at_, n);
        at_ += n;
        return static_cast<qint64>(n);
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    std::span<const char> pcm_;
    std::size_t at_ = 0;
};

// The source pushes what it captures into here.
class PcmCollector : public QIODevice {
public:
    PcmCollector() { open(QIODevice::WriteOnly); }

    std::vector<char> take() { return std::move(bytes_); }
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override {
        bytes_.insert(bytes_.end(), data, data + size);
        return size;
    }

private:
    std::vector<char> bytes_;
};

namespace {

QAudioFormat toQt(const PcmFormat& format) {
    QAudioFormat qt;
    qt.setSampleRate(format.rate);
    qt.setChannelCount(format.channels);
    switch (format.type) {
    case SampleType::UInt8:
        qt.setSampleFormat(QAudioFormat::UInt8);
        break;
    case SampleType::Int16:
        qt.setSampleFormat(QAudioFormat::Int16);
        break;
    case SampleType::Int32:
        qt.setSampleFormat(QAudioFormat::Int32);
        break;
    case SampleType::Float:
        qt.setSampleFormat(QAudioFormat::Float);
        break;
    }
    return qt;
}

} // namespace

QtAudioBackend::QtAudioBackend() = default;

QtAudioBackend::~QtAudioBackend() {
    stopPlayback();
    stopRecording();
}

bool QtAudioBackend::hasOutputDevice() {
    return !QMediaDevices::defaultAudioOutput().isNull();
}

bool QtAudioBackend::startPlayback(const PcmFormat& format, std::span<const char> pcm) {
    stopPlayback();
    playedAtStop_ = 0;
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull())
        return false;
    playFormat_ = toQt(format);
    reader_ = std::make_unique<PcmReader>(pcm);
    sink_ = std::make_unique<QAudioSink>(device, playFormat_);
    sink_->start(reader_.get());
    if (sink_->error() != QAudio::NoError || sink_->state() == QAudio::StoppedState) {
        stopPlayback();
        return false;
    }
    return true;
}

std::size_t QtAudioBackend::playedBytes() {
    if (!sink_)
        return playedAtStop_;
    if (!isPlaying())
        return reader_->handedOut();
    const auto processed = static_cast<std::size_t>(
        std::max(0, playFormat_.bytesForDuration(sink_->processedUSecs())));
    return std::min(processed, reader_->handedOut());
}

// An idle sink with bytes left is starved, not finished.
bool QtAudioBackend::isPlaying() {
    if (!sink_)
        return false;
    const QAudio::State state = sink_->state();
    return state == QAudio::ActiveState || (state == QAudio::IdleState && !reader_->atEnd());
}

void QtAudioBackend::stopPlayback() {
    if (!sink_)
        return;
    playedAtStop_ = playedBytes();
    sink_->stop();
    sink_.reset();
    reader_.reset();
}

std::size_t QtAudioBackend::bytesHandedToSink() const {
    return reader_ ? reader_->handedOut() : 0;
}

bool QtAudioBackend::startRecording(const PcmFormat& format) {
    stopRecording();
    const QAudioDevice device = QMediaDevices::defaultAudioInput();
    if (device.isNull())
        return false;
    collector_ = std::make_unique<PcmCollector>();
    recorder_ = std::make_unique<QAudioSource>(device, toQt(format));
    recorder_->start(collector_.get());
    if (recorder_->error() != QAudio::NoError || recorder_->state() == QAudio::StoppedState) {
        stopRecording();
        return false;
    }
    return true;
}

std::vector<char> QtAudioBackend::stopRecording() {
    if (!recorder_)
        return {};
    recorder_->stop();
    recorder_.reset();
    std::vector<char> captured = collector_->take();
    collector_.reset();
    return captured;
}

} // namespace kelmor
