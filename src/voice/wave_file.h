#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace vantrel {

// 16-bit mono PCM and its RIFF/WAVE file form.
struct PcmAudio {
    int sampleRate = 22050;
    std::vector<std::int16_t> samples;
};

std::string EncodeWave(const PcmAudio& audio);

// Reads a 16-bit mono or stereo PCM wave (stereo is mixed down); false when the bytes are not one.
bool DecodeWave(const std::string& bytes, PcmAudio& audio);

} // namespace vantrel
