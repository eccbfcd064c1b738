#include "wave_file.h"

#include <cstring>

namespace vantrel {
namespace {

void Put32(std::string& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

void Put16(std::string& out, std::uint16_t v) {
    out.push_back(static_cast<char>(v & 0xFF));
    out.push_back(static_cast<char>(v >> 8));
}

std::uint32_t Get32(const std::string& s, std::size_t at) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = (v << 8) | static_cast<unsigned char>(s[at + static_cast<std::size_t>(i)]);
    return v;
}

std::uint16_t Get16(const std::string& s, std::size_t at) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(s[at]) |
                                      (static_cast<unsigned char>(s[at + 1]) << 8));
}

} // namespace

std::string EncodeWave(const PcmAudio& audio) {
    const auto dataBytes = static_cast<std::uint32_t>(audio.samples.size() * 2);
    std::string out;
    out.reserve(44 + dataBytes);
    out += "RIFF";
    Put32(out, 36 + dataBytes);
    out += "WAVEfmt ";
    Put32(out, 16);
    Put16(out, 1); // PCM
    Put16(out, 1); // mono
    Put32(out, static_cast<std::uint32_t>(audio.sampleRate));
    Put32(out, static_cast<std::uint32_t>(audio.sampleRate) * 2);
    Put16(out, 2);
    Put16(out, 16);
    out += "data";
    Put32(out, dataBytes);
    for (std::int16_t s : audio.samples)
        Put16(out, static_cast<std::uint16_t>(s));
    return out;
}

bool DecodeWave(const std::string& bytes, PcmAudio& audio) {
    if (bytes.size() < 12 || bytes.compare(0, 4, "RIFF") != 0 || bytes.compare(8, 4, "WAVE") != 0)
        return false;
    int channels = 0;
    std::size_t at = 12;
    while (at + 8 <= bytes.size()) {
        const std::uint32_t size = Get32(bytes, at + 4);
        const std::size_t body = at + 8;
        if (size > bytes.size() - body) return false;
        if (bytes.compare(at, 4, "fmt ") == 0 && size >= 16) {
            if (Get16(bytes, body) != 1 || Get16(bytes, body + 14) != 16) return false;
            channels = Get16(bytes, body + 2);
            audio.sampleRate = static_cast<int>(Get32(bytes, body + 4));
        } else if (bytes.compare(at, 4, "data") == 0) {
            if (channels < 1 || channels > 2) return false;
            audio.samples.clear();
            for (std::size_t i = 0; i + 2 * static_cast<std::size_t>(channels) <= size;
                 i += 2 * static_cast<std::size_t>(channels)) {
                int sum = 0;
                for (int c = 0; c < channels; ++c)
                    sum +=
                        static_cast<std::int16_t>(Get16(bytes, body + i + 2 * static_cast<std::size_t>(c)));
                audio.samples.push_back(static_cast<std::int16_t>(sum / channels));
            }
            return true;
        }
        at = body + size + (size & 1);
    }
    return false;
}

} // namespace vantrel
