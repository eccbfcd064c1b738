#pragma once
#include <functional>
#include <string>

namespace vantrel {

// Where sound really comes out: one sound at a time, a new one replaces what plays. The program
// plays through the toolkit's multimedia; a headless session records the calls. A file that is
// missing or not a wave file plays nothing.
class WaveOutput {
public:
    virtual ~WaveOutput() = default;
    virtual void Play(const std::string& path, bool loop) = 0;
    virtual void Stop() = 0;
};

// The sound player component: SoundFile, LoopSound, Play, Stop with its notifications.
class TWaveSound {
public:
    explicit TWaveSound(WaveOutput& output) : output_(output) {}

    std::string SoundFile;
    bool LoopSound = false; // takes effect at the next Play
    std::function<void(TWaveSound&)> OnPlay;
    std::function<void(TWaveSound&)> OnStop; // only after OnPlay ran once
    std::string Version = "2.1";

    void Play();
    void Stop();

private:
    WaveOutput& output_;
    bool played_ = false;
};

} // namespace vantrel
