#pragma once
#include <cstdint>

namespace vantrel {

// What the data load reads from the simulator and works out, kept for the parts that act on it
// (fuel panel, speed hold, recorder). Fuel figures stay unrounded until a display rounds them.
struct LinkData {
    // Raw values of the last successful exchange.
    std::uint16_t fuelWeightRaw = 0;    // 0x0AF4: pounds per gallon x 256
    std::uint32_t leftCapacityGal = 0;  // 0x0B80
    std::uint32_t rightCapacityGal = 0; // 0x0B98
    std::uint32_t leftLevel = 0;        // 0x0B7C: 8,388,608 = full
    std::uint32_t rightLevel = 0;       // 0x0B94
    std::uint32_t altitudeMetres = 0;   // 0x0574 (the data load reads its bits as signed: below sea level)
    std::int16_t throttle = 0;          // 0x088C, engine 1 lever
    std::int32_t speed = 0;             // 0x02BC, indicated airspeed in knots x 128

    // Worked out from them.
    double poundsPerGallon = 0;
    double leftCapacityLb = 0, rightCapacityLb = 0;
    double leftFuelLb = 0, rightFuelLb = 0;
    std::int32_t altitudeFeet = 0;

    // On-ground flag (0x0366) of the load before the last one and of the last one; both start at
    // 1, so a link that starts in the air counts a take-off.
    std::uint16_t onGroundPrevious = 1;
    std::uint16_t onGroundCurrent = 1;
};

} // namespace vantrel
