#include "simulator/aircraft_model.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace vantrel::sim {

namespace {

constexpr double kFullLevel = 128.0 * 65536.0;
constexpr double kFullLever = 16383.0;
constexpr double kSpeedLagSeconds = 8.0;
constexpr double kPieceSeconds = 0.1;
constexpr double kIdleThrust = 0.06;      // of full thrust, levers at idle
constexpr double kSpoolFastSeconds = 1.5; // near full power
constexpr double kSpoolSlowSeconds = 4.0; // added toward idle
constexpr double kRollSpeedAtFullThrust = 170.0;
constexpr double kFullThrustKtPerS = 6.0; // acceleration of full thrust at sea level
constexpr double kTopSpeedKt = 330.0;     // where full thrust at sea level meets the drag
constexpr double kThrustLapseFeet = 80000.0;
constexpr double kGravityKtPerS = 19.07; // 9.81 m/s2
constexpr double kFpmPerKnot = 101.27;
constexpr double kLowestAirKt = 110.0;
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
    return std::clamp(lever_ / kFullLever, -1.0, 1.0);
}

// A client may have loaded fuel or moved the levers since the last step.
void AircraftModel::TakeClientWrites() {
    left_gal_ = space_.GetU32(kLeftLevel) / kFullLevel * capacity_gal_;
    right_gal_ = space_.GetU32(kRightLevel) / kFullLevel * capacity_gal_;
    left_gal_ = std::min(left_gal_, capacity_gal_);
    right_gal_ = std::min(right_gal_, capacity_gal_);
    lever_ = std::int16_t(space_.GetU16(kLever1));
}

// The engines' thrust follows the levers with a spool lag, slower from low power; on the
// ground the roll follows the thrust with the wheels' lag, in the air the speed comes from
// thrust, drag rising with the square of the speed, and the climb or descent.
void AircraftModel::Step(double seconds) {
    TakeClientWrites();
    const double throttle = ThrottleFraction();
    const double before_ft = altitude_ft_;

    if (!on_ground_) {
        const double step = vertical_fpm_ * seconds / 60.0;
        if (altitude_ft_ < target_ft_)
            altitude_ft_ = std::min(target_ft_, altitude_ft_ + step);
        else
            altitude_ft_ = std::max(target_ft_, altitude_ft_ - step);
    }
    const double climb_fpm = seconds > 0 ? (altitude_ft_ - before_ft) / seconds * 60.0 : 0.0;

    // Small pieces keep the spool-up and the speed smooth over a long step.
    const int pieces = std::max(1, int(std::ceil(seconds / kPieceSeconds)));
    const double dt = seconds / pieces;
    const double commanded = engines_running_ ? ThrustFraction(throttle) : 0.0;
    for (int i = 0; i < pieces; ++i) {
        const double spool = kSpoolFastSeconds + kSpoolSlowSeconds * (1.0 - std::clamp(thrust_, 0.0, 1.0));
        thrust_ += (commanded - thrust_) * (1.0 - std::exp(-dt / spool));
        if (on_ground_)
            RollStep(dt, throttle);
        else
            AirStep(dt, climb_fpm);
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

double AircraftModel::ThrustFraction(double lever) const {
    return kIdleThrust + (1.0 - kIdleThrust) * std::clamp(lever, 0.0, 1.0);
}

// On the ground the speed settles toward what the thrust gives on the roll; reverse thrust
// brakes three times faster.
void AircraftModel::RollStep(double dt, double lever) {
    const double forward = std::max(0.0, (thrust_ - kIdleThrust) / (1.0 - kIdleThrust));
    const double target_kt = engines_running_ ? forward * kRollSpeedAtFullThrust : 0.0;
    const double lag = lever < 0 ? kSpeedLagSeconds / 3 : kSpeedLagSeconds;
    ias_kt_ += (target_kt - ias_kt_) * (1.0 - std::exp(-dt / lag));
}

// In the air: thrust (less with height) against drag, which grows with the square of the
// indicated speed, and against the climb (gravity along a path of climb rate over true speed).
void AircraftModel::AirStep(double dt, double climb_fpm) {
    const double lapse = std::max(0.3, 1.0 - altitude_ft_ / kThrustLapseFeet);
    const double thrust = kFullThrustKtPerS * lapse * std::max(0.0, thrust_);
    const double drag = kFullThrustKtPerS * (ias_kt_ / kTopSpeedKt) * (ias_kt_ / kTopSpeedKt);
    const double true_kt = std::max(ias_kt_, 1.0) * (1.0 + 0.02 * altitude_ft_ / 1000.0);
    const double path = std::clamp(climb_fpm / kFpmPerKnot / true_kt, -1.0, 1.0);
    ias_kt_ += (thrust - drag - kGravityKtPerS * path) * dt;
    // The pilot lowers the nose rather than stall.
    ias_kt_ = std::max(ias_kt_, kLowestAirKt);
}

void AircraftModel::SetSpeed(double knots) {
    ias_kt_ = std::max(0.0, knots);
    thrust_ = engines_running_ ? ThrustFraction(ThrottleFraction()) : 0.0;
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
