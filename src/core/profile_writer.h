#pragma once
#include "core/profile_file.h"

#include <functional>
#include <string>

namespace vantrel {

// Writes keys into a profile file as one replacement of the file, made when the writer goes
// away (also when an error ends the writing early, so the keys written so far are kept). A file
// that cannot be written is left whole, and the first failure's text ("Unable to write to
// <path>: <reason>") goes to report once, at the end; nothing is thrown for it.
class ReportedProfileWrites {
public:
    ReportedProfileWrites(std::string path, std::function<void(const std::string&)> report);
    ~ReportedProfileWrites();
    ReportedProfileWrites(const ReportedProfileWrites&) = delete;
    ReportedProfileWrites& operator=(const ReportedProfileWrites&) = delete;

    void Write(const std::string& section, const std::string& key, const std::string& value);

private:
    template <class Action> void Attempt(Action action);

    ProfileFile file_;
    std::function<void(const std::string&)> report_;
    std::string failure_;
};

} // namespace vantrel
