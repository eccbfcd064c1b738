// "key NAME CHAR": the main window's key filter on a plan control, as the window applies it.
#include "session.h"

#include "key_filter.h"
#include "plan_json.h"

#include "core/convert.h"
#include "planning/flight_plan.h"

namespace vantrel::cli {

namespace {

KeyTarget TargetOf(FieldId id) {
    if (id == FieldId::Edit51 || id == FieldId::Edit53 || id == FieldId::Edit54) return KeyTarget::FreeText;
    if (id == FieldId::Edit1 || id == FieldId::Edit2 || id == FieldId::Edit3) return KeyTarget::AirportCode;
    return KeyTarget::Other;
}

// One character (UTF-8), or #N for the character with code N.
bool ParseCharacter(const std::string& text, QChar& typed) {
    if (text.size() > 1 && text[0] == '#') {
        try {
            const int code = StrToInt(text.substr(1));
            if (code < 0 || code > 0xFFFF) return false;
            typed = QChar(char16_t(code));
            return true;
        } catch (const ConvertError&) {
            return false;
        }
    }
    const QString chars = QString::fromUtf8(text.data(), qsizetype(text.size()));
    if (chars.size() != 1) return false;
    typed = chars.at(0);
    return true;
}

} // namespace

bool TypeKey(Session& s, const std::string& control, const std::string& character, std::string& refusal) {
    const auto field = FieldByName(control);
    if (!field || static_cast<int>(*field) >= 54 || IsListField(*field) || IsScrollBar(*field) ||
        *field == FieldId::cbRVSM) {
        refusal = "no such edit box: " + control;
        return false;
    }
    QChar typed;
    if (!ParseCharacter(character, typed)) {
        refusal = "key needs one character or #N: " + character;
        return false;
    }
    const KeyTarget target = TargetOf(*field);
    const KeyDecision decision = FilterPlanKey(typed, target);
    if (decision.switchCue) s.cockpit.cues.PlaySwitchCue();
    if (!decision.accept) return true;

    // The cursor stands at the end of the text; a full airport code is selected, so the next
    // character replaces it. Control characters other than backspace enter nothing.
    QString text = JsonText(s.plan.Text(*field));
    if (decision.key == QChar(u'\b')) {
        if (target == KeyTarget::AirportCode && text.size() >= 4)
            text.clear();
        else
            text.chop(1);
    } else if (decision.key.isPrint()) {
        if (target == KeyTarget::AirportCode && text.size() >= 4) text.clear();
        text += decision.key;
    } else {
        return true;
    }
    s.plan.UserSetText(*field, text.toStdString());
    return true;
}

} // namespace vantrel::cli
