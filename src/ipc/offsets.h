#pragma once
#include <cstdint>

namespace vantrel::offsets {

// Every simulator offset the program reads or writes, with the size of the exchanged value.
struct Offset {
    std::uint32_t address;
    std::uint32_t size;
};

// Clock (written by "Set UTC").
constexpr Offset kClockHourLocal{0x0238, 1};
constexpr Offset kClockMinuteLocal{0x0239, 1};
constexpr Offset kClockSecondUtc{0x023A, 1};
constexpr Offset kClockHourUtc{0x023B, 1};
constexpr Offset kClockMinuteUtc{0x023C, 1};
constexpr Offset kDayOfYearUtc{0x023E, 2}; // 1 = 1 January

// Aircraft (read by the data load; the throttles are also written by the speed hold).
constexpr Offset kIndicatedAirspeed{0x02BC, 4}; // signed, knots x 128
constexpr Offset kOnGround{0x0366, 2};          // 1 on the ground, 0 airborne
constexpr Offset kAltitudeMetres{0x0574, 4};    // whole metres
constexpr Offset kThrottle1{0x088C, 2};         // signed lever position, engine 1
constexpr Offset kThrottle2{0x0924, 2};         // signed lever position, engine 2
constexpr Offset kFuelWeight{0x0AF4, 2};        // pounds per gallon x 256
constexpr Offset kLeftMainLevel{0x0B7C, 4};     // kTankFull = full
constexpr Offset kLeftMainCapacity{0x0B80, 4};  // gallons
constexpr Offset kRightMainLevel{0x0B94, 4};    // kTankFull = full
constexpr Offset kRightMainCapacity{0x0B98, 4}; // gallons

// Weather.
constexpr Offset kOutsideAirTemperature{0x0E8C, 2}; // signed, degrees Celsius x 256
constexpr Offset kQnh{0x0F48, 2};                   // signed, hectopascals x 16

// Versions (the handshake of the client).
constexpr Offset kFsuipcVersion{0x3304, 4};
constexpr Offset kSimulatorVersion{0x3308, 4};
constexpr Offset kClientLibraryVersion{0x330A, 2}; // always 1004

// A main tank's level when it is full: 128 x 65536.
constexpr std::uint32_t kTankFull = 128u * 65536u;

} // namespace vantrel::offsets
