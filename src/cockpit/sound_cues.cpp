#include "cockpit/sound_cues.h"

namespace vantrel {

SoundCues::SoundCues(TWaveSound& player, CockpitClock& clock, std::string programDir, const bool& soundOn,
                     HandlerQueue& handlers)
    : player_(player), clock_(clock), programDir_(std::move(programDir)), soundOn_(soundOn),
      handlers_(handlers) {}

void SoundCues::PlayCue() {
    if (soundOn_) player_.Play();
}

void SoundCues::StartBackground() {
    player_.SoundFile = PathOf(kBackground);
    player_.LoopSound = true;
    PlayCue();
}

void SoundCues::Post(const char* file, int holdMs) {
    handlers_.Post([this, file, holdMs] { return Cue(file, holdMs); }, HandlerQueue::Lane::Quick);
}

Task<> SoundCues::Cue(const char* file, int holdMs) {
    while (holding_)
        co_await Resumption(
            [this](std::function<void()> resume) { waitingCues_.push_back(std::move(resume)); });
    holding_ = true;
    player_.Stop();
    player_.LoopSound = false;
    player_.SoundFile = PathOf(file);
    player_.Play();
    co_await clock_.Sleep(holdMs);
    StartBackground();
    holding_ = false;
    if (!waitingCues_.empty()) {
        std::function<void()> next = std::move(waitingCues_.front());
        waitingCues_.pop_front();
        next();
    }
}

} // namespace vantrel
