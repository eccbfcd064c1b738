// The sound player on Windows plays through PlaySound: Qt's audio sink finds no device under
// Wine, while PlaySound plays everywhere.
#ifdef _WIN32
#include "device_wave_output.h"
#include "wave_file_cache.h"

// clang-format off
#include <windows.h>
#include <mmsystem.h>
// clang-format on

namespace vantrel {
namespace {

// One sound at a time, asynchronous; a new Play or Stop ends what plays at once. The file is
// decoded first (so that what the other platforms refuse plays nothing here too) and handed
// over as a wave image in memory, which stays alive until the sound is stopped or replaced.
class Win32WaveOutput final : public WaveOutput {
public:
    ~Win32WaveOutput() override { Stop(); }

    void Play(const std::string& path, bool loop) override {
        Stop();
        const std::shared_ptr<const PcmAudio> audio = files_.Load(path);
        if (!audio) return;
        image_ = EncodeWave(*audio);
        const DWORD flags = SND_MEMORY | SND_ASYNC | SND_NODEFAULT | (loop ? SND_LOOP : 0);
        if (!PlaySoundA(image_.data(), nullptr, flags)) image_.clear();
    }

    void Stop() override {
        PlaySoundA(nullptr, nullptr, 0);
        image_.clear();
    }

private:
    WaveFileCache files_;
    std::string image_;
};

} // namespace

std::unique_ptr<WaveOutput> CreateDeviceWaveOutput() {
    return std::make_unique<Win32WaveOutput>();
}

} // namespace vantrel
#endif
