// The checklist window in a session: its file, its voice and the welcome item at start, its
// panels ("Form7.Panel1" ... "Form7.Panel14") stepping through the checklists, spoken through
// the recording speech seam.
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
    c.strip.speakItem = [&s](const std::string& section, int item) {
        const SessionChecklists& checklists = s.checklists;
        return SpeakChecklistItem(s.cockpit.seams.speak, checklists.disabled, checklists.file, section, item);
    };
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
    for (const ChecklistPanel& panel : ChecklistWindowPanels()) {
        const std::string name = panel.name;
        if (*panel.section != '\0')
            commands.clicks["Form7." + name] = [name](Session& s) {
                s.checklists.strip.StartChecklist(name);
            };
    }
    commands.clicks["Form7.Panel13"] = [](Session& s) { s.checklists.strip.NextItem(); };
    commands.clicks["Form7.Panel14"] = [](Session& s) { s.checklists.strip.LastItem(); };
    // Its click does nothing (the mouse-down acts): left, the main window on or off; right, the
    // checklist window hides.
    commands.clicks["Form7.Panel3"] = [](Session&) {};
    commands.mice["Form7.Panel3"] = [](Session& s, MouseButton button) {
        if (button == MouseButton::Left) s.cockpit.gauge.ToggleMainWindow();
        if (button == MouseButton::Right) s.checklists.visible = false;
    };
    commands.fields.push_back([](const Session& s, QJsonObject& fields) {
        for (const ChecklistPanel& panel : ChecklistWindowPanels())
            fields[QString("Form7.") + panel.name] = QJsonObject{
                {"text", JsonText(panel.caption)},
                {"color", QString::fromStdString(JsonColor(s.checklists.strip.Color(panel.name)))}};
    });
    commands.values.push_back([](const Session& s, QJsonObject& v) {
        v["ChecklistsDisabled"] = s.checklists.disabled;
        v["ChecklistWindowVisible"] = s.checklists.visible;
        v["ChecklistItem"] = s.checklists.strip.ChecklistItem();
    });
}

} // namespace vantrel::cli
