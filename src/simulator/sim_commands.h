#pragma once
#include "simulator/aircraft_model.h"

#include <string>

namespace vantrel::sim {

// What a command asks of the main loop beyond changing the model.
struct CommandEffect {
    bool quit = false;
    double new_scale = 0.0;  // > 0: change the time scale
    int pause = 0;           // 1: stop the simulated clock, -1: let it run with real time again
    double step_seconds = 0; // > 0: move the clock on by exactly this much now
};

// Runs one command line (from standard input or a scenario) against the model and the
// offset space. Unknown or malformed commands print an error line and change nothing.
//   throttle PERCENT          both levers, -100 (full reverse) .. 100
//   climb FEET FPM            climb or descend to FEET at FPM feet per minute
//   ground 0|1                lift off / touch down
//   elevation FEET            the ground's elevation here
//   oat CELSIUS   qnh HPA     weather at the ground
//   fuel LEFT_LB RIGHT_LB     tank contents
//   engines on|off
//   set OFFSET SIZE VALUE     store a raw value (hex offset, 1/2/4 bytes)
//   get OFFSET SIZE           print a raw value
//   versions FSUIPC SIMULATOR served version values (hex)
//   speed KNOTS               indicated airspeed at once, the engines settled at the levers
//   pause   resume            stop / restart the clock that follows real time
//   step SECONDS              move the clock on by SECONDS at once (prints "time T", the
//                             simulated seconds so far), so a client can run in lock step
//   status   say TEXT   scale FACTOR   quit
CommandEffect RunCommand(const std::string& line, AircraftModel& model, OffsetSpace& space);

// The line printed for a client write: "write 0x0B7C 4 00 00 80 00 = 8388608".
std::string DescribeWrite(std::uint32_t offset, const std::uint8_t* data, std::uint32_t size);

} // namespace vantrel::sim
