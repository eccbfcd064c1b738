// Sound through Qt Multimedia everywhere but Windows (see win32_wave_output.cpp).
#ifndef _WIN32
#include "qt_wave_output.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QIODevice>
#include <QMediaDevices>

#include <algorithm>
#include <vector>

namespace vantrel {

namespace {
constexpr int kPumpMs = 20;
} // namespace

QtWaveOutput::QtWaveOutput() {
    pump_.setInterval(kPumpMs);
    QObject::connect(&pump_, &QTimer::timeout, [this] { Pump(); });
}

QtWaveOutput::~QtWaveOutput() {
    Stop();
}

void QtWaveOutput::Play(const std::string& path, bool loop) {
    Stop();
    std::shared_ptr<const PcmAudio> audio = files_.Load(path);
    if (!audio) return;
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull()) return;
    QAudioFormat format;
    format.setSampleRate(audio->sampleRate);
    format.setChannelCount(1);
    format.setSampleFormat(QAudioFormat::Int16);
    sink_ = std::make_unique<QAudioSink>(device, format);
    // One second of buffer, kept full: with a buffer that runs low PulseAudio stalls after the
    // first fragment, and a full one carries the sound through a link exchange that holds the
    // event loop for a moment. Stop closes the stream, so a new sound still starts at once.
    sink_->setBufferSize(audio->sampleRate * 2);
    io_ = sink_->start();
    if (!io_ || sink_->error() == QAudio::OpenError) {
        Stop();
        return;
    }
    playing_ = std::move(audio);
    at_ = 0;
    loop_ = loop;
    Pump();
    pump_.start();
}

void QtWaveOutput::Pump() {
    if (!sink_ || !io_ || !playing_) return;
    const std::vector<std::int16_t>& samples = playing_->samples;
    if (at_ == samples.size() && !loop_) {
        // A single sound releases the device once it has played out.
        const qint64 lengthUs = qint64(samples.size()) * 1000000 / playing_->sampleRate;
        if (sink_->state() == QAudio::IdleState || sink_->processedUSecs() >= lengthUs) {
            Stop();
            return;
        }
        // The sound server starts a stream only once its buffer is full: a sound shorter than
        // the buffer is followed by silence, so it sounds at once.
        const std::vector<char> silence(std::size_t(sink_->bytesFree() & ~qsizetype(1)), 0);
        if (!silence.empty()) io_->write(silence.data(), qint64(silence.size()));
        return;
    }
    qsizetype room = sink_->bytesFree() / 2;
    while (room > 0) {
        if (at_ == samples.size()) {
            if (!loop_) break;
            at_ = 0; // the loop's end leads straight into its start
        }
        const std::size_t n = std::min<std::size_t>(std::size_t(room), samples.size() - at_);
        const qint64 written = io_->write(reinterpret_cast<const char*>(samples.data() + at_), qint64(n * 2));
        if (written <= 0) break;
        at_ += std::size_t(written / 2);
        room -= written / 2;
    }
    if (at_ == samples.size() && !loop_) Pump();
}

void QtWaveOutput::Stop() {
    // The stream is closed, which drops what it holds at once. The sink goes later, from the
    // event loop: its destructor lets pending events run (PulseAudio), which must never happen
    // inside a cockpit handler or while the program takes its windows down.
    pump_.stop();
    if (sink_) {
        sink_->stop();
        sink_.release()->deleteLater();
    }
    io_ = nullptr;
    playing_.reset();
    at_ = 0;
}

std::unique_ptr<WaveOutput> CreateDeviceWaveOutput() {
    return std::make_unique<QtWaveOutput>();
}

} // namespace vantrel
#endif
