#include "checklist_speaker.h"

#include "core/convert.h"
#include "core/profile_file.h"
#include "mspeech.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

namespace vantrel {

void PrepareChecklistVoice(TMSpeech& speech, const ProfileFile& checklists) {
    const int pitch = checklists.ReadInteger("settings", "pitch", 62);
    const int speed = checklists.ReadInteger("settings", "speed", 145);
    speech.SetVolume(100);
    speech.SetPitch(static_cast<std::uint16_t>(pitch < 0 ? 62 : std::min(pitch, 0xFFFF)));
    speech.SetSpeed(static_cast<std::uint32_t>(speed < 0 ? 145 : speed));
}

int SpeakChecklistItem(TMSpeech* speech, bool checklistsDisabled, const std::string& checklistFile,
                       const std::string& section, int item) {
    std::error_code ec;
    if (checklistsDisabled || !speech || !std::filesystem::is_regular_file(checklistFile, ec)) return -1;
    const ProfileFile file(checklistFile);
    const std::string text = file.ReadString(section, IntToStr(item), "");
    PrepareChecklistVoice(*speech, file);
    if (text.empty()) return -1;
    std::string lower = text;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (lower.find(".wav") == std::string::npos) {
        speech->SetText(text);
        speech->Speak();
    }
    return file.ReadString(section, IntToStr(item + 1), "").empty() ? 0 : 1;
}

} // namespace vantrel
