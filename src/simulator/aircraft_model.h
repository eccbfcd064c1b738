#pragma once
#include "ipc/offset_space.h"

#include <string>

namespace vantrel::sim {

// A small aircraft behind the offsets: two main tanks, altitude, indicated airspeed that
// answers the throttle levers as a jet does (engines spooling up, drag rising with speed, a
// climb slowing it and a descent speeding it up), on-ground flag and the weather. Client writes to the
// tank levels and throttle levers take effect at the next step; other writes are just stored.
class AircraftModel {
public:
    explicit AircraftModel(OffsetSpace& space);

    // Advances the model by the given simulated seconds and publishes the offsets.
    void Step(double seconds);
    void Publish();
    // Takes over the tank levels and throttle lever a client wrote since the last publish.
    void TakeClientWrites();

    void SetThrottlePercent(double percent);
    void SetTarget(double altitude_ft, double feet_per_minute);
    void SetOnGround(bool on_ground);
    void SetElevation(double feet);
    void SetSurfaceTemperature(double celsius) { surface_oat_c_ = celsius; }
    void SetQnh(double hpa) { qnh_hpa_ = hpa; }
    void SetFuelPounds(double left, double right);
    void SetEnginesRunning(bool running) { engines_running_ = running; }
    // The indicated airspeed at once, the engines settled at the levers' thrust.
    void SetSpeed(double knots);

    double AltitudeFeet() const { return altitude_ft_; }
    double IasKnots() const { return ias_kt_; }
    bool OnGround() const { return on_ground_; }
    double LeftFuelPounds() const { return left_gal_ * pounds_per_gallon_; }
    double RightFuelPounds() const { return right_gal_ * pounds_per_gallon_; }
    double OutsideTemperature() const;
    std::string Describe() const;

private:
    double ThrottleFraction() const;
    double ThrustFraction(double lever) const;
    void RollStep(double dt, double lever);
    void AirStep(double dt, double climb_fpm);

    OffsetSpace& space_;
    double capacity_gal_ = 846.0; // each main tank
    double pounds_per_gallon_ = 6.7;
    double left_gal_ = 500.0;
    double right_gal_ = 500.0;
    double altitude_ft_ = 0.0;
    double elevation_ft_ = 0.0;
    double target_ft_ = 0.0;
    double vertical_fpm_ = 0.0;
    double ias_kt_ = 0.0;
    double thrust_ = 0.0; // of full thrust, as the engines have spooled
    bool on_ground_ = true;
    bool engines_running_ = true;
    double surface_oat_c_ = 15.0;
    double qnh_hpa_ = 1013.25;
    std::int16_t lever_ = 0; // engine 1 throttle lever as last seen
};

} // namespace vantrel::sim
