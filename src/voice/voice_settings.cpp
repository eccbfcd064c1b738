#include "voice_settings.h"

#include "core/rounding.h"

#include <algorithm>
#include <cctype>

namespace vantrel {

VoiceSettings Clamped(VoiceSettings s) {
    s.pitch = std::clamp(s.pitch, kMinPitch, kMaxPitch);
    s.speed = std::clamp(s.speed, kMinSpeed, kMaxSpeed);
    s.volume = std::min(s.volume, kMaxVolume);
    return s;
}

int EnginePitch(std::uint32_t pitch) {
    return static_cast<int>(RoundHalfEven(std::min(pitch, kMaxPitch) * 50.0 / 62.0));
}

int EngineRate(std::uint32_t speed) {
    return static_cast<int>(RoundHalfEven(std::clamp(speed, kMinSpeed, kMaxSpeed) * 175.0 / 145.0));
}

int EngineVolume(std::uint32_t volume) {
    return static_cast<int>(RoundHalfEven(std::min(volume, kMaxVolume) * 100.0 / 65535.0));
}

namespace {

// Reads a tag "\Name=digits\" at text[pos]; on success sets the setting and returns its length.
std::size_t ReadTag(const std::string& text, std::size_t pos, VoiceSettings& s) {
    if (text.size() - pos < 7 || text[pos] != '\\' || text[pos + 4] != '=') return 0;
    std::string name = text.substr(pos + 1, 3);
    for (char& c : name)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    std::size_t end = pos + 5;
    std::uint64_t value = 0;
    while (end < text.size() && std::isdigit(static_cast<unsigned char>(text[end]))) {
        value = std::min<std::uint64_t>(value * 10 + static_cast<unsigned>(text[end] - '0'), 0xFFFFFFFFu);
        ++end;
    }
    if (end == pos + 5 || end >= text.size() || text[end] != '\\') return 0;
    const auto v = static_cast<std::uint32_t>(value);
    if (name == "pit")
        s.pitch = v;
    else if (name == "spd")
        s.speed = v;
    else if (name == "vol")
        s.volume = v;
    else
        return 0;
    s = Clamped(s);
    return end + 1 - pos;
}

SynthSegment MakeSegment(const std::string& text, std::size_t offset, const VoiceSettings& s) {
    SynthSegment seg;
    seg.text = text;
    seg.byteOffset = offset;
    seg.pitch = EnginePitch(s.pitch);
    seg.rate = EngineRate(s.speed);
    seg.volume = EngineVolume(s.volume);
    return seg;
}

} // namespace

std::vector<SynthSegment> SplitAtControlTags(const std::string& text, VoiceSettings start) {
    std::vector<SynthSegment> segments;
    VoiceSettings s = Clamped(start);
    std::size_t runStart = 0;
    for (std::size_t pos = 0; pos < text.size(); ++pos) {
        if (text[pos] != '\\') continue;
        VoiceSettings next = s;
        const std::size_t len = ReadTag(text, pos, next);
        if (len == 0) continue;
        if (pos > runStart)
            segments.push_back(MakeSegment(text.substr(runStart, pos - runStart), runStart, s));
        s = next;
        pos += len - 1;
        runStart = pos + 1;
    }
    if (runStart < text.size() || segments.empty())
        segments.push_back(MakeSegment(text.substr(std::min(runStart, text.size())), runStart, s));
    return segments;
}

VoiceSettings ApplyControlTags(const std::string& text, VoiceSettings settings) {
    for (std::size_t pos = 0; pos < text.size(); ++pos) {
        const std::size_t len = ReadTag(text, pos, settings);
        if (len > 0) pos += len - 1;
    }
    return settings;
}

} // namespace vantrel
