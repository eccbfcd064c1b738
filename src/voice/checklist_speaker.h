#pragma once
#include <functional>
#include <string>

namespace vantrel {

class TMSpeech;
class ProfileFile;

// Queues the checklist file's voice settings on the speech component, ahead of the next text:
// full volume, "pitch" (default 62) and "speed" (default 145) of section "settings".
// A negative stored value counts as not stored.
void PrepareChecklistVoice(TMSpeech& speech, const ProfileFile& checklists);

// Speaks item `item` of `section` of the checklist file through `speech` without waiting.
// Returns -1 when nothing could be spoken (voice features off, no file, empty or missing item),
// 1 when a next item exists and 0 when this was the last one. An item naming a ".wav" file is a
// silent step.
int SpeakChecklistItem(TMSpeech* speech, bool checklistsDisabled, const std::string& checklistFile,
                       const std::string& section, int item);

// The same step with the text handed to `speak` (a headless session records it); the voice
// settings are the speech component's business and are not applied here.
int SpeakChecklistItem(const std::function<void(const std::string&)>& speak, bool checklistsDisabled,
                       const std::string& checklistFile, const std::string& section, int item);

} // namespace vantrel
