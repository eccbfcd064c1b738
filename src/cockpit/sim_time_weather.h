#pragma once
#include "cockpit/cockpit_clock.h"

namespace vantrel {

class FlightPlan;
class IpcClient;

// "Set UTC": writes the local hour and minute, the UTC hour, minute and second and the UTC day
// of the year (the year is not written) in one exchange; its result is not reported.
void WriteSimulatorClock(IpcClient& link, LocalMs localNow, int utcBiasMinutes);

// Reads the simulator's QNH (whole hPa) and outside air temperature (whole degrees C) in one
// exchange, rounded half to even; false when the exchange fails.
bool ReadSimulatorWeather(IpcClient& link, int& qnhHpa, int& oatCelsius);

// Puts the simulator's QNH and outside air temperature into the weather scroll bars (which keep
// them within their ranges).
void ApplySimulatorWeather(FlightPlan& plan, int qnhHpa, int oatCelsius);

// "FS Wx": copies the simulator's QNH and outside air temperature into the weather scroll
// bars (which keep them within their ranges). False, and nothing changed, when the exchange
// fails.
bool LoadSimulatorWeather(IpcClient& link, FlightPlan& plan);

} // namespace vantrel
