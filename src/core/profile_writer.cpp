#include "core/profile_writer.h"

#include "core/convert.h"

namespace vantrel {

ReportedProfileWrites::ReportedProfileWrites(std::string path, std::function<void(const std::string&)> report)
    : file_(std::move(path)), report_(std::move(report)) {
    file_.DeferWrites();
}

ReportedProfileWrites::~ReportedProfileWrites() {
    Attempt([this] { file_.CommitWrites(); });
    if (!failure_.empty() && report_) report_(failure_);
}

template <class Action> void ReportedProfileWrites::Attempt(Action action) {
    try {
        action();
    } catch (const UserError& e) {
        if (failure_.empty()) failure_ = e.what();
    }
}

void ReportedProfileWrites::Write(const std::string& section, const std::string& key,
                                  const std::string& value) {
    Attempt([&] { file_.WriteString(section, key, value); });
}

} // namespace vantrel
