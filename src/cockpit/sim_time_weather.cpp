#include "cockpit/sim_time_weather.h"

#include "core/rounding.h"
#include "ipc/ipc_client.h"
#include "ipc/offsets.h"
#include "planning/flight_plan.h"

#include <cstdint>

namespace vantrel {

namespace {

void Write(IpcClient& link, offsets::Offset at, const void* value) {
    std::uint32_t result = 0;
    link.FSUIPC_Write(at.address, at.size, value, result);
}

} // namespace

void WriteSimulatorClock(IpcClient& link, LocalMs localNow, int utcBiasMinutes) {
    const CivilTime local = ToCivil(localNow);
    const CivilTime utc = ToCivil(localNow + std::int64_t(utcBiasMinutes) * 60000);
    const auto localHour = std::uint8_t(local.hour), localMinute = std::uint8_t(local.minute);
    const auto utcHour = std::uint8_t(utc.hour), utcMinute = std::uint8_t(utc.minute);
    const auto utcSecond = std::uint8_t(utc.second);
    const auto day = std::uint16_t(DayOfYear(utc));
    Write(link, offsets::kClockHourLocal, &localHour);
    Write(link, offsets::kClockMinuteLocal, &localMinute);
    Write(link, offsets::kClockHourUtc, &utcHour);
    Write(link, offsets::kClockMinuteUtc, &utcMinute);
    Write(link, offsets::kClockSecondUtc, &utcSecond);
    Write(link, offsets::kDayOfYearUtc, &day);
    std::uint32_t result = 0;
    link.FSUIPC_Process(result);
}

bool ReadSimulatorWeather(IpcClient& link, int& qnhHpa, int& oatCelsius) {
    std::int16_t qnh = 0, oat = 0;
    std::uint32_t result = 0;
    link.FSUIPC_Read(offsets::kQnh.address, offsets::kQnh.size, &qnh, result);
    link.FSUIPC_Read(offsets::kOutsideAirTemperature.address, offsets::kOutsideAirTemperature.size, &oat,
                     result);
    if (!link.FSUIPC_Process(result)) return false;
    qnhHpa = int(RoundHalfEven(qnh / 16.0));
    oatCelsius = int(RoundHalfEven(oat / 256.0));
    return true;
}

void ApplySimulatorWeather(FlightPlan& plan, int qnhHpa, int oatCelsius) {
    // Each bar takes its value even when the speeds that follow the other one cannot be computed.
    plan.Guarded([&] { plan.SetPosition(FieldId::ScrollBar2, qnhHpa); });
    plan.Guarded([&] { plan.SetPosition(FieldId::ScrollBar1, oatCelsius); });
}

bool LoadSimulatorWeather(IpcClient& link, FlightPlan& plan) {
    int qnhHpa = 0, oatCelsius = 0;
    if (!ReadSimulatorWeather(link, qnhHpa, oatCelsius)) return false;
    ApplySimulatorWeather(plan, qnhHpa, oatCelsius);
    return true;
}

} // namespace vantrel
