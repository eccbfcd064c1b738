#include "cockpit/wave_sound.h"

namespace vantrel {

void TWaveSound::Play() {
    output_.Play(SoundFile, LoopSound);
    if (OnPlay) {
        OnPlay(*this);
        played_ = true;
    }
}

void TWaveSound::Stop() {
    output_.Stop();
    if (played_ && OnStop) OnStop(*this);
}

} // namespace vantrel
