#include "simulator/aircraft_model.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace vantrel::sim {

namespace {

constexpr double kFullLevel = 128.0 * 65536.0;
constexpr double kFullLever = 16383.0;
constexpr double kSpeedLagSeconds = 8.0;
constexpr double kMetresPerFoot = 0.3048;

// The simulator's offsets this model serves.
enum Offset : std::uint32_t {
    kIas = 0x02BC,
    kOnGround = 0x0366,
    kAltitude = 0x0574,
    kLever1 = 0x088C,
    kLever2 = 0x0924,
    kFuelWeight = 0x0AF4,
    kLeftLevel = 0x0B7C,
    kLeftCapacity = 0x0B80,
    kRightLevel = 0x0B94,
    kRightCapacity = 0x0B98,
    kOat = 0x0E8C,
    kQnh = 0x0F48,
};

std::uint32_t LevelOf(double gallons, double capacity) {
    return std::uint32_t(std::lround(std::clamp(gallons / capacity, 0.0, 1.0) * kFullLevel));
}

} // namespace

AircraftModel::AircraftModel(OffsetSpace& space) : space_(space) {
    Publish();
}

void AircraftModel::SetThrottlePercent(double percent) {
    lever_ = std::int16_t(std::lround(std::clamp(percent, -100.0, 100.0) / 100.0 * kFullLever));
    space_.SetU16(kLever1, std::uint16_t(lever_));
    space_.SetU16(kLever2, std::uint16_t(lever_));
}

void AircraftModel::SetTarget(double altitude_ft, double feet_per_minute) {
    target_ft_ = altitude_ft;
    vertical_fpm_ = std::abs(feet_per_minute);
}

void AircraftModel::SetOnGround(bool on_ground) {
    on_ground_ = on_ground;
    if (on_ground) {
        altitude_ft_ = elevation_ft_;
        target_ft_ = elevation_ft_;
    }
    Publish();
}

void AircraftModel::SetElevation(double feet) {
    elevation_ft_ = feet;
    if (on_ground_) altitude_ft_ = target_ft_ = feet;
    Publish();
}

void AircraftModel::SetFuelPounds(double left, double right) {
    left_gal_ = std::clamp(left / pounds_per_gallon_, 0.0, capacity_gal_);
    right_gal_ = std::clamp(right / pounds_per_gallon_, 0.0, capacity_gal_);
    Publish();
}

double AircraftModel::OutsideTemperature() const {
    return surface_oat_c_ - 1.98 * (altitude_ft_ - elevation_ft_) / 1000.0;
}

double AircraftModel::ThrottleFraction() const {
    return lever_ / kFullLever;
}

// A client may have loaded fuel or moved the levers since the last step.
void AircraftModel::TakeClientWrites() {
    left_gal_ = space_.GetU32(kLeftLevel) / kFullLevel * capacity_gal_;
    right_gal_ = space_.GetU32(kRightLevel) / kFullLevel * capacity_gal_;
    left_gal_ = std::min(left_gal_, capacity_gal_);
    right_gal_ = std::min(right_gal_, capacity_gal_);
    lever_ = std::int16_t(space_.GetU16(kLever1));
}

void AircraftModel::Step(double seconds) {
    TakeClientWrites();
    const double throttle = ThrottleFraction();

    // Speed follows the levers with a first-order lag; reverse on the ground brakes harder.
    double target_kt = on_ground_ ? std::max(0.0, throttle) * 170.0 : std::max(130.0, throttle * 330.0);
    if (!engines_running_) target_kt = on_ground_ ? 0.0 : 130.0;
    const double lag = throttle < 0 && on_ground_ ? kSpeedLagSeconds / 3 : kSpeedLagSeconds;
    ias_kt_ += (target_kt - ias_kt_) * (1.0 - std::exp(-seconds / lag));

    if (!on_ground_) {
        const double step = vertical_fpm_ * seconds / 60.0;
        if (altitude_ft_ < target_ft_)
            altitude_ft_ = std::min(target_ft_, altitude_ft_ + step);
        else
            altitude_ft_ = std::max(target_ft_, altitude_ft_ - step);
    }

    if (engines_running_) {
        // Pounds per hour per engine: idle flow plus a share of the lever.
        const double per_engine = 250.0 + 1300.0 * std::abs(throttle);
        const double gallons = per_engine * seconds / 3600.0 / pounds_per_gallon_;
        left_gal_ = std::max(0.0, left_gal_ - gallons);
        right_gal_ = std::max(0.0, right_gal_ - gallons);
    }
    Publish();
}

void AircraftModel::Publish() {
    space_.SetU32(kIas, std::uint32_t(std::int32_t(std::lround(ias_kt_ * 128.0))));
    space_.SetU16(kOnGround, on_ground_ ? 1 : 0);
    // The offset is unsigned: below sea level reads as 0.
    space_.SetU32(kAltitude, std::uint32_t(std::max(0L, std::lround(altitude_ft_ * kMetresPerFoot))));
    space_.SetU16(kFuelWeight, std::uint16_t(std::lround(pounds_per_gallon_ * 256.0)));
    space_.SetU32(kLeftCapacity, std::uint32_t(capacity_gal_));
    space_.SetU32(kRightCapacity, std::uint32_t(capacity_gal_));
    space_.SetU32(kLeftLevel, LevelOf(left_gal_, capacity_gal_));
    space_.SetU32(kRightLevel, LevelOf(right_gal_, capacity_gal_));
    space_.SetU16(kOat, std::uint16_t(std::int16_t(std::lround(OutsideTemperature() * 256.0))));
    space_.SetU16(kQnh, std::uint16_t(std::int16_t(std::lround(qnh_hpa_ * 16.0))));
}

std::string AircraftModel::Describe() const {
    char text[256];
    std::snprintf(text, sizeof text,
                  "alt=%.0fft ias=%.1fkt ground=%d throttle=%.0f%% fuel=%.0f+%.0flb oat=%.1fC qnh=%.1fhPa",
                  altitude_ft_, ias_kt_, on_ground_ ? 1 : 0, ThrottleFraction() * 100.0, LeftFuelPounds(),
                  RightFuelPounds(), OutsideTemperature(), qnh_hpa_);
    return text;
}

} // namespace vantrel::sim
