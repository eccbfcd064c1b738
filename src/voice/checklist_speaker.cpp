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

namespace {

// Reads the item; -1 when there is nothing to speak, else whether a next item exists (1) or
// not (0). spoken is empty for an item that names a ".wav" file (a silent step).
int ReadChecklistItem(const ProfileFile& file, const std::string& section, int item, std::string& spoken) {
    const std::string text = file.ReadString(section, IntToStr(item), "");
    if (text.empty()) return -1;
    std::string lower = text;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    spoken = lower.find(".wav") == std::string::npos ? text : std::string();
    return file.ReadString(section, IntToStr(item + 1), "").empty() ? 0 : 1;
}

bool Usable(bool checklistsDisabled, const std::string& checklistFile) {
    std::error_code ec;
    return !checklistsDisabled && std::filesystem::is_regular_file(checklistFile, ec);
}

} // namespace

int SpeakChecklistItem(TMSpeech* speech, bool checklistsDisabled, const std::string& checklistFile,
                       const std::string& section, int item) {
    if (!speech || !Usable(checklistsDisabled, checklistFile)) return -1;
    const ProfileFile file(checklistFile);
    std::string spoken;
    const int result = ReadChecklistItem(file, section, item, spoken);
    PrepareChecklistVoice(*speech, file);
    if (!spoken.empty()) {
        speech->SetText(spoken);
        speech->Speak();
    }
    return result;
}

int SpeakChecklistItem(const std::function<void(const std::string&)>& speak, bool checklistsDisabled,
                       const std::string& checklistFile, const std::string& section, int item) {
    if (!Usable(checklistsDisabled, checklistFile)) return -1;
    std::string spoken;
    const int result = ReadChecklistItem(ProfileFile(checklistFile), section, item, spoken);
    if (!spoken.empty() && speak) speak(spoken);
    return result;
}

} // namespace vantrel
