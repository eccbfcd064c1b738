#pragma once
#include "cockpit/wave_sound.h"

#include <memory>

namespace vantrel {

// The sound player's way out to this machine's sound device: Qt Multimedia, or on Windows the
// Win32 sound API.
std::unique_ptr<WaveOutput> CreateDeviceWaveOutput();

} // namespace vantrel
