#pragma once
#include "ipc/offset_space.h"

#include <cstdint>

namespace vantrel {

// What a simulator shows for an aircraft parked at a sea-level airport in standard weather,
// as vantrel-sim starts: on the ground, QNH 1013.25 hPa, 15 degrees Celsius, some fuel in the
// main tanks, the clock at the given UTC time. A program linking to a fresh stand-in thus sees
// usable data at once, as it would with the simulator.
struct UtcTime {
    int hour = 12;
    int minute = 0;
    int second = 0;
    int day_of_year = 1;
};

void ServeParkedAircraft(OffsetSpace& space, const UtcTime& now);

} // namespace vantrel
