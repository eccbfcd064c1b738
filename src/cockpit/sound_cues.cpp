#include "cockpit/sound_cues.h"

namespace vantrel {

SoundCues::SoundCues(TWaveSound& player, CockpitClock& clock, std::string programDir, const bool& soundOn)
    : player_(player), clock_(clock), programDir_(std::move(programDir)), soundOn_(soundOn) {}

void SoundCues::PlayCue() {
    if (soundOn_) player_.Play();
}

void SoundCues::StartBackground() {
    player_.SoundFile = PathOf(kBackground);
    player_.LoopSound = true;
    PlayCue();
}

void SoundCues::Cue(const char* file, int holdMs) {
    player_.Stop();
    player_.LoopSound = false;
    player_.SoundFile = PathOf(file);
    player_.Play();
    clock_.Wait(holdMs);
    StartBackground();
}

} // namespace vantrel
