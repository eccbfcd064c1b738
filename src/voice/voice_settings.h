#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "speech_backend.h"

namespace vantrel {

// Pitch, speed and volume in the units callers use (the classic desktop speech interface's):
// pitch on a scale whose natural middle is 62, speed in words per minute (145 is a calm,
// natural reading pace), volume 0..65535.
struct VoiceSettings {
    std::uint32_t pitch = 62;
    std::uint32_t speed = 145;
    std::uint32_t volume = 65535;
};

// The ranges the engine accepts; values outside are clamped to them.
inline constexpr std::uint32_t kMinPitch = 0, kMaxPitch = 124;
inline constexpr std::uint32_t kMinSpeed = 67, kMaxSpeed = 372;
inline constexpr std::uint32_t kMaxVolume = 65535;

VoiceSettings Clamped(VoiceSettings s);

// Conversions onto the espeak-ng scales: pitch 62 -> 50 (the voice's own pitch), speed 145 ->
// 175 (the engine's normal pace), volume 65535 -> 100 (full volume without distortion).
int EnginePitch(std::uint32_t pitch);
int EngineRate(std::uint32_t speed);
int EngineVolume(std::uint32_t volume);

// Splits a text at the control tags "\Pit=v\", "\Spd=v\" and "\Vol=n\" (letter case ignored);
// each tag changes its setting for the text after it. The tags themselves are not spoken.
// Starting settings are `start`; byte offsets refer to `text`.
std::vector<SynthSegment> SplitAtControlTags(const std::string& text, VoiceSettings start);

// Applies the tags found in `text` to `settings` (used when a tag is injected on its own).
VoiceSettings ApplyControlTags(const std::string& text, VoiceSettings settings);

} // namespace vantrel
