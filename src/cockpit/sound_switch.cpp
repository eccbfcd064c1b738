#include "cockpit/sound_switch.h"

namespace vantrel {

void Panel5Click(FlightPlan& plan) {
    if (plan.onSwitchCue) plan.onSwitchCue();
    plan.values.SoundOn = !plan.values.SoundOn;
    if (plan.onSoundSwitched) plan.onSoundSwitched(plan.values.SoundOn);
}

} // namespace vantrel
