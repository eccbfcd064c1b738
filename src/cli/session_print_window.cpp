// The print window in a session: Button51 fills the ops flight plan sheet from the plan (the UTC
// date from the session's clock) and shows it until "close Form3"; the sheet's value labels
// print as "Form3.st1" ... "Form3.st100" from then on.
#include "json_writer.h"
#include "session.h"

#include "cockpit/cockpit_clock.h"
#include "planning/flight_plan.h"

namespace vantrel::cli {

void RegisterPrintWindow(SessionCommands& commands) {
    commands.clicks["Button51"] = [](Session& s) {
        s.cockpit.cues.PlaySwitchCue();
        s.plan.Guarded([&] {
            s.opsSheet =
                MakeOpsSheet(s.plan, UtcDateOf(ToCivil(s.clock.Now()), s.plan.values.UtcBiasMinutes));
        });
        s.shownForms.insert("Form3");
    };
    commands.closes["Form3"] = [](Session& s) { s.shownForms.erase("Form3"); };
    commands.fields.push_back([](const Session& s, QJsonObject& fields) {
        if (!s.opsSheet) return;
        for (const OpsSheetValue& value : s.opsSheet->values)
            fields[QString::fromStdString("Form3." + value.label)] =
                QJsonObject{{"text", JsonText(value.text)}, {"color", "#ffffff"}};
    });
}

} // namespace vantrel::cli
