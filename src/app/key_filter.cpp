#include "key_filter.h"

namespace vantrel {

KeyDecision FilterPlanKey(QChar typed, KeyTarget target) {
    KeyDecision d;
    d.key = typed.toUpper();
    if (target == KeyTarget::FreeText) {
        d.accept = true;
        return d;
    }
    d.switchCue = true;
    const char16_t c = d.key.unicode();
    const bool digit = c >= u'0' && c <= u'9';
    const bool letter = c >= u'A' && c <= u'Z';
    if (c == u'\b')
        d.accept = true;
    else if (target == KeyTarget::AirportCode)
        d.accept = digit || letter;
    else
        d.accept = digit;
    return d;
}

PasteDecision FilterPastedText(const QString& pasted, KeyTarget target) {
    PasteDecision d;
    d.switchCue = target != KeyTarget::FreeText;
    for (const QChar c : pasted) {
        if (c.unicode() < u' ') {
            if (target == KeyTarget::FreeText) d.text += u' ';
            continue;
        }
        const KeyDecision key = FilterPlanKey(c, target);
        if (key.accept) d.text += key.key;
    }
    return d;
}

} // namespace vantrel
