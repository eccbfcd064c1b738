#include "checklist_file_check.h"

#include "core/convert.h"
#include "core/profile_file.h"

#include <cerrno>
#include <cstring>

namespace vantrel {

namespace {

// A checklist file is a few kilobytes; one far larger is not read.
constexpr std::size_t kMaxChecklistBytes = 1u << 20;

// The sections of the eleven checklist panels, in the order of the flight.
constexpr const char* kChecklistSections[] = {"ic", "bs", "bt", "to", "at", "cr",
                                              "de", "bl", "al", "sd", "te"};

void AddProblem(ChecklistFileCheck& check, const std::string& path, const std::string& what) {
    if (!check.problems.empty()) check.problems += '\n';
    check.problems += "The checklist file \"" + path + "\" " + what;
}

void CheckChecklists(ChecklistFileCheck& check, const ProfileFile& file) {
    std::string missing;
    int present = 0;
    for (const char* section : kChecklistSections) {
        if (!file.ReadString(section, "1", "").empty()) {
            ++present;
            continue;
        }
        std::string upper = section;
        for (char& c : upper)
            c = static_cast<char>(c - 'a' + 'A');
        missing += (missing.empty() ? "" : ", ") + upper;
    }
    if (present == 0)
        AddProblem(check, file.Path(), "holds no checklists: the checklist panels say nothing.");
    else if (!missing.empty())
        AddProblem(check, file.Path(),
                   "has no items for the checklists " + missing + ": those panels say nothing.");
}

void CheckVoice(ChecklistFileCheck& check, const ProfileFile& file, std::size_t voiceCount) {
    if (voiceCount == 0) {
        check.voiceFound = false;
        AddProblem(check, file.Path(),
                   "cannot be spoken: no text-to-speech voice is installed. The checklists and the spoken "
                   "weather are switched off.");
        return;
    }
    const std::string text = file.ReadString("settings", "voice", "");
    if (text.empty()) return;
    try {
        const int voice = StrToInt(text);
        if (voice >= 0 && static_cast<std::size_t>(voice) < voiceCount) {
            check.voice = voice;
            return;
        }
    } catch (const ConvertError&) {
    }
    AddProblem(check, file.Path(),
               "names voice \"" + text + "\", but the installed voices are numbered 0 to " +
                   IntToStr(static_cast<std::int64_t>(voiceCount) - 1) + ": the first voice is used.");
}

// "pitch" and "speed": a value that is not a whole number of 0 or more is not used.
void CheckVoiceSetting(ChecklistFileCheck& check, const ProfileFile& file, const char* key, int fallback) {
    const std::string text = file.ReadString("settings", key, "");
    if (text.empty() || StrToIntDef(text, -1) >= 0) return;
    AddProblem(check, file.Path(),
               "gives " + std::string(key) + " \"" + text +
                   "\", which is not a whole number of 0 or more: " + IntToStr(fallback) + " is used.");
}

} // namespace

ChecklistFileCheck CheckChecklistFile(const std::string& path, std::size_t voiceCount) {
    ChecklistFileCheck check;
    std::string content;
    bool tooLarge = false;
    if (!ReadFileUpTo(path, kMaxChecklistBytes, content, tooLarge) || tooLarge) {
        AddProblem(check, path,
                   std::string("cannot be read (") +
                       (tooLarge ? "far too large for a checklist file" : std::strerror(errno)) +
                       "): the checklist panels say nothing.");
    }
    const ProfileFile file(path);
    if (check.problems.empty()) CheckChecklists(check, file);
    CheckVoice(check, file, voiceCount);
    CheckVoiceSetting(check, file, "pitch", 62);
    CheckVoiceSetting(check, file, "speed", 145);
    return check;
}

} // namespace vantrel
