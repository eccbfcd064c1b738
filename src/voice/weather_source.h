#pragma once
#include <string>
#include <string_view>

namespace vantrel {

class ProfileFile;

// The METAR request address, "%1" standing for the station code. The server answers with a
// line of date and time, a line feed and the METAR line.
inline constexpr const char* kDefaultWeatherUrl =
    "https://tgftp.nws.noaa.gov/data/observations/metar/stations/%1.TXT";

// Settings key [Weather] Url; a missing or empty value gives the default.
std::string LoadWeatherUrl(const ProfileFile& ini);
void SaveWeatherUrl(ProfileFile& ini, const std::string& url);

// A station code goes into an address only when it is 3 or 4 ASCII letters or digits, so no
// pasted text (blanks, "/", "?", "%", control characters) ever reaches a URL.
bool IsStationCode(std::string_view code);

// The request address for a station: every "%1" of the template replaced by the code.
std::string WeatherUrlFor(std::string_view urlTemplate, std::string_view station);

// The line of the airport name file whose first four characters equal the station code
// (case-sensitive), read line by line in file order; empty when the file or the station is
// missing. Lines end at LF; a CR before it is dropped. Lines are capped at 4 KiB.
std::string FindAirportLine(const std::string& icaoFilePath, std::string_view station);

} // namespace vantrel
