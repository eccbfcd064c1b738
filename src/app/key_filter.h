#pragma once
#include <QChar>
#include <QString>

namespace vantrel {

// Where a typed character goes on the main window.
enum class KeyTarget {
    FreeText,    // registration, operator, flight of the active-flight strip
    AirportCode, // origin, destination, alternate
    Other,       // every other control: numbers only
};

struct KeyDecision {
    bool accept = false;    // the character reaches the control
    bool switchCue = false; // the switch click sounds
    QChar key;              // the character as it reaches the control (upper case)
};

// The main window's key filter: every character is turned to upper case; the free-text
// fields take it as it is, without the switch click; elsewhere the click sounds, backspace
// passes, airport codes take digits and the letters A to Z, and every other control takes
// digits only. Control characters (Enter, clipboard shortcuts) are discarded outside the
// free-text fields.
KeyDecision FilterPlanKey(QChar typed, KeyTarget target);

struct PasteDecision {
    QString text;           // what reaches the control
    bool switchCue = false; // the switch click sounds, once for the whole paste
};

// Pasted text goes through the same rules as typed keys, character by character: upper case,
// digits and A to Z in airport codes, digits only elsewhere. Line breaks and other control
// characters never reach a field; in the free-text fields they become blanks.
PasteDecision FilterPastedText(const QString& pasted, KeyTarget target);

} // namespace vantrel
