#pragma once
#include <cstddef>
#include <string>

namespace vantrel {

// What the checklist window can use of its file, and what the user must be told about it.
struct ChecklistFileCheck {
    bool voiceFound = true; // false: no voice is installed at all
    int voice = 0;          // the voice to select; the first one when the file names none that exists
    std::string problems;   // one line per problem, each naming the file; empty when all is well
};

// Checks the checklist file at `path` against the number of installed voices: that it can be
// read, that it holds checklists, that its voice exists and that its pitch and speed are
// numbers. A voice number that does not exist falls back to the first voice.
ChecklistFileCheck CheckChecklistFile(const std::string& path, std::size_t voiceCount);

} // namespace vantrel
