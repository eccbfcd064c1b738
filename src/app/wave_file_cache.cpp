#include "wave_file_cache.h"

#include <QFile>
#include <QFileInfo>

namespace vantrel {

namespace {
// The shipped sounds are a few hundred kilobytes; anything far larger is not one of them.
constexpr qint64 kMaxWaveBytes = 16 * 1024 * 1024;
// Only the few files the program plays are kept decoded.
constexpr std::size_t kMaxCachedFiles = 16;
} // namespace

std::shared_ptr<const PcmAudio> WaveFileCache::Load(const std::string& path) {
    const QString name = QString::fromStdString(path);
    const QFileInfo info(name);
    if (!info.isFile() || info.size() > kMaxWaveBytes) return nullptr;
    auto hit = cache_.find(path);
    if (hit != cache_.end() && hit->second.modified == info.lastModified() && hit->second.size == info.size())
        return hit->second.audio;
    if (hit != cache_.end()) cache_.erase(hit);

    QFile file(name);
    if (!file.open(QIODevice::ReadOnly)) return nullptr;
    const QByteArray bytes = file.read(kMaxWaveBytes);
    auto audio = std::make_shared<PcmAudio>();
    if (!DecodeWave(bytes.toStdString(), *audio) || audio->samples.empty()) return nullptr;
    if (audio->sampleRate < 8000 || audio->sampleRate > 192000) return nullptr;
    if (cache_.size() >= kMaxCachedFiles) cache_.clear();
    CachedWave wave{info.lastModified(), info.size(), std::move(audio)};
    return cache_.emplace(path, std::move(wave)).first->second.audio;
}

} // namespace vantrel
