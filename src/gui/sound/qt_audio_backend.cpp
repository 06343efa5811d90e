#include "sound/qt_audio_backend.h"

#include <QAudioDevice>
#include <QAudioSink>
#include <QAudioSource>
#include <QCoreApplication>
#include <QEventLoop>
#include <QIODevice>
#include <QMediaDevices>
#include <algorithm>
#include <cstring>

namespace kelmor {

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

namespace {
// How often the sink is topped up; its buffer holds over 100 ms.
constexpr int kFeedIntervalMs = 10;
// How long the ending program lets the sound server's client thread settle.
constexpr int kSettleMs = 200;
} // namespace

QtAudioBackend::QtAudioBackend() {
    feeder_.setInterval(kFeedIntervalMs);
    QObject::connect(&feeder_, &QTimer::timeout, [this] { feed(); });
}

QtAudioBackend::~QtAudioBackend() {
    stopPlayback();
    stopRecording();
    // Qt's PulseAudio backend can crash when the program ends while the sound
    // server's client thread still handles the closed streams; giving the event
    // loop a moment to let them finish avoids it.
    if (deviceUsed_ && QCoreApplication::instance()) {
        QEventLoop settle;
        QTimer::singleShot(kSettleMs, &settle, &QEventLoop::quit);
        settle.exec();
    }
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
    pcm_ = pcm;
    handedOut_ = 0;
    sink_ = std::make_unique<QAudioSink>(device, playFormat_);
    deviceUsed_ = true;
    sinkInput_ = sink_->start();
    if (sinkInput_ == nullptr || sink_->error() != QAudio::NoError) {
        stopPlayback();
        return false;
    }
    feed();
    feeder_.start();
    return true;
}

// Writes as much of the rest of the clip as the sink has room for, then one buffer of
// silence: the server starts a stream only once it holds enough, so a clip shorter
// than that would otherwise never sound, and the clip's end is heard before the
// sink runs dry.
void QtAudioBackend::feed() {
    if (!sink_)
        return;
    if (handedOut_ == pcm_.size()) {
        feeder_.stop();
        const int frame = playFormat_.bytesPerFrame();
        const qsizetype padding = sink_->bufferSize() / frame * frame;
        const char silence = playFormat_.sampleFormat() == QAudioFormat::UInt8 ? '\x80' : '\0';
        sinkInput_->write(QByteArray(padding, silence));
        return;
    }
    const auto room = static_cast<std::size_t>(std::max<qsizetype>(sink_->bytesFree(), 0));
    const std::size_t n = std::min(room, pcm_.size() - handedOut_);
    if (n == 0)
        return;
    const qint64 written = sinkInput_->write(pcm_.data() + handedOut_, static_cast<qint64>(n));
    if (written > 0)
        handedOut_ += static_cast<std::size_t>(written);
    if (handedOut_ == pcm_.size())
        feed();
}

std::size_t QtAudioBackend::playedBytes() {
    if (!sink_)
        return playedAtStop_;
    if (!isPlaying())
        return handedOut_;
    const qint64 frames = sink_->processedUSecs() * playFormat_.sampleRate() / 1'000'000;
    const auto bytes = static_cast<std::size_t>(std::max<qint64>(frames, 0)) *
                       static_cast<std::size_t>(playFormat_.bytesPerFrame());
    return std::min(bytes, handedOut_);
}

// Playing until every byte is written and the sink has played the clip's last one.
bool QtAudioBackend::isPlaying() {
    if (!sink_ || sink_->state() == QAudio::StoppedState)
        return false;
    if (handedOut_ < pcm_.size())
        return true;
    const auto frames = static_cast<qint64>(pcm_.size()) / playFormat_.bytesPerFrame();
    const qint64 clipUSecs = frames * 1'000'000 / playFormat_.sampleRate();
    return sink_->state() == QAudio::ActiveState && sink_->processedUSecs() < clipUSecs;
}

void QtAudioBackend::stopPlayback() {
    if (!sink_)
        return;
    playedAtStop_ = playedBytes();
    feeder_.stop();
    sink_->stop();
    sink_.reset();
    sinkInput_ = nullptr;
    pcm_ = {};
}

std::size_t QtAudioBackend::bytesHandedToSink() const {
    return handedOut_;
}

bool QtAudioBackend::startRecording(const PcmFormat& format) {
    stopRecording();
    const QAudioDevice device = QMediaDevices::defaultAudioInput();
    if (device.isNull())
        return false;
    collector_ = std::make_unique<PcmCollector>();
    recorder_ = std::make_unique<QAudioSource>(device, toQt(format));
    deviceUsed_ = true;
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
