// Feeds arbitrary bytes to the weather report decoder. The input is "airport line" SOH
// "reply"; without SOH all of it is the reply. The decoder must neither throw nor read outside
// its input, and the sentence must never hold a line break.
#include "voice/weather_report.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const auto split = input.find('\x01');
    const std::string_view line = split == input.npos ? std::string_view{} : input.substr(0, split);
    const std::string_view reply = split == input.npos ? input : input.substr(split + 1);

    const auto viaButton = vantrel::SentenceFromReply(reply, line);
    const auto direct = vantrel::DecodeWeatherReport(reply, line);
    for (const auto& sentence : {viaButton, direct}) {
        if (sentence && sentence->find('\n') != std::string::npos && reply.find('\n') == reply.npos &&
            line.find('\n') == line.npos)
            std::abort();
    }
    return 0;
}
