#include "parked_aircraft.h"

#include "ipc/offsets.h"

#include <cmath>

namespace vantrel {

namespace {

constexpr double kQnhHpa = 1013.25;
constexpr double kOutsideCelsius = 15.0;
constexpr double kPoundsPerGallon = 6.7;
constexpr std::uint32_t kTankGallons = 846;
constexpr std::uint32_t kFuelGallons = 500;

void Set8(OffsetSpace& space, const offsets::Offset& at, int value) {
    const std::uint8_t byte = std::uint8_t(value);
    space.WriteOffsets(at.address, &byte, 1);
}

} // namespace

void ServeParkedAircraft(OffsetSpace& space, const UtcTime& now) {
    space.SetU16(offsets::kOnGround.address, 1);
    space.SetU32(offsets::kAltitudeMetres.address, 0);
    space.SetU16(offsets::kQnh.address, std::uint16_t(std::lround(kQnhHpa * 16.0)));
    space.SetU16(offsets::kOutsideAirTemperature.address,
                 std::uint16_t(std::lround(kOutsideCelsius * 256.0)));
    space.SetU16(offsets::kFuelWeight.address, std::uint16_t(std::lround(kPoundsPerGallon * 256.0)));
    const auto level = std::uint32_t(std::llround(double(kFuelGallons) / kTankGallons * offsets::kTankFull));
    for (const auto& [level_at, capacity_at] :
         {std::pair{offsets::kLeftMainLevel, offsets::kLeftMainCapacity},
          std::pair{offsets::kRightMainLevel, offsets::kRightMainCapacity}}) {
        space.SetU32(level_at.address, level);
        space.SetU32(capacity_at.address, kTankGallons);
    }
    // The stand-in keeps no time zone: local time is UTC.
    Set8(space, offsets::kClockHourLocal, now.hour);
    Set8(space, offsets::kClockMinuteLocal, now.minute);
    Set8(space, offsets::kClockSecondUtc, now.second);
    Set8(space, offsets::kClockHourUtc, now.hour);
    Set8(space, offsets::kClockMinuteUtc, now.minute);
    space.SetU16(offsets::kDayOfYearUtc.address, std::uint16_t(now.day_of_year));
}

} // namespace vantrel
