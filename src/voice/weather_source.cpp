#include "voice/weather_source.h"

#include "core/profile_file.h"

#include <fstream>

namespace vantrel {

std::string LoadWeatherUrl(const ProfileFile& ini) {
    std::string url = ini.ReadString("Weather", "Url", kDefaultWeatherUrl);
    return url.empty() ? std::string(kDefaultWeatherUrl) : url;
}

void SaveWeatherUrl(ProfileFile& ini, const std::string& url) {
    ini.WriteString("Weather", "Url", url);
}

bool IsStationCode(std::string_view code) {
    if (code.size() != 3 && code.size() != 4) return false;
    for (char c : code) {
        const bool ok = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
        if (!ok) return false;
    }
    return true;
}

std::string WeatherUrlFor(std::string_view urlTemplate, std::string_view station) {
    std::string url;
    for (std::size_t i = 0; i < urlTemplate.size(); ++i) {
        if (urlTemplate.compare(i, 2, "%1") == 0) {
            url += station;
            ++i;
        } else {
            url += urlTemplate[i];
        }
    }
    return url;
}

std::string FindAirportLine(const std::string& icaoFilePath, std::string_view station) {
    constexpr std::size_t kMaxLine = 4096;
    std::ifstream in(icaoFilePath, std::ios::binary);
    if (!in) return {};
    std::string line;
    while (true) {
        line.clear();
        char c;
        bool any = false;
        while (in.get(c)) {
            any = true;
            if (c == '\n') break;
            if (line.size() < kMaxLine) line += c;
        }
        if (!any) return {};
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (std::string_view(line).substr(0, 4) == station) return line;
    }
}

} // namespace vantrel
