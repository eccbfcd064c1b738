#pragma once
#include "voice/wave_file.h"

#include <QDateTime>

#include <map>
#include <memory>
#include <string>

namespace vantrel {

// The few wave files the sound player plays, decoded once and read again only when they change
// on disk. A file that is missing, too large or not a 16-bit PCM wave gives null.
class WaveFileCache {
public:
    std::shared_ptr<const PcmAudio> Load(const std::string& path);

private:
    struct CachedWave {
        QDateTime modified;
        qint64 size = 0;
        std::shared_ptr<const PcmAudio> audio;
    };
    std::map<std::string, CachedWave> cache_;
};

} // namespace vantrel
