// The checklist window's start in a session: its file, its voice and the welcome item, spoken
// through the recording speech seam.
#include "json_writer.h"
#include "session.h"

#include "planning/flight_plan.h"
#include "voice/checklist_file_check.h"
#include "voice/checklist_speaker.h"
#include "voice/speech_backend.h"

#include <filesystem>

namespace vantrel::cli {

void CreateChecklistWindow(Session& s) {
    SessionChecklists& c = s.checklists;
    c.file = s.plan.paths.ProgramDir + "checklists/checklists.ini";
    c.disabled = true;
    c.visible = false;
    std::error_code ec;
    if (!std::filesystem::is_regular_file(c.file, ec)) return;
    c.disabled = false;
    const ChecklistFileCheck check = CheckChecklistFile(c.file, EspeakBackend()->Voices().size());
    if (!check.problems.empty()) s.log.errors.append(JsonText(check.problems));
    if (!check.voiceFound) {
        c.disabled = true; // no voice at all: the window stays hidden
        return;
    }
    SpeakChecklistItem(s.cockpit.seams.speak, c.disabled, c.file, "welcome", 1);
    c.visible = true;
}

void RegisterChecklistWindow(SessionCommands& commands) {
    commands.values.push_back([](const Session& s, QJsonObject& v) {
        v["ChecklistsDisabled"] = s.checklists.disabled;
        v["ChecklistWindowVisible"] = s.checklists.visible;
        v["MainWindowVisible"] = true;
    });
}

} // namespace vantrel::cli
