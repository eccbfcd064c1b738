// Select all, copy, cut, paste, undo and redo in the plan's edit boxes. Pasted text obeys the
// rules of typed keys, whether it comes by key or from the edit box's menu.
#include "form1.h"

#include "key_filter.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>

// The keys of select all, copy, cut, paste, undo and redo, as the platform binds them.
bool TForm1::IsEditKey(const QKeyEvent* event) {
    for (const auto standard : {QKeySequence::SelectAll, QKeySequence::Copy, QKeySequence::Cut,
                                QKeySequence::Paste, QKeySequence::Undo, QKeySequence::Redo})
        if (event->matches(standard)) return true;
    return false;
}

// A paste is carried out here (true: the edit box must not paste again); the other editing
// keys make the click that every key outside the free-text fields makes, and go on to the
// edit box itself (false).
bool TForm1::EditKey(QLineEdit* edit, const QKeyEvent* event) {
    if (event->matches(QKeySequence::Paste)) {
        PasteInto(edit);
        return true;
    }
    if (!IsFreeText(edit)) PlaySwitchCue();
    return false;
}

void TForm1::PasteInto(QLineEdit* edit) {
    const vantrel::PasteDecision paste =
        vantrel::FilterPastedText(QGuiApplication::clipboard()->text(), KeyTargetOf(edit));
    if (paste.switchCue) PlaySwitchCue();
    if (edit->isReadOnly() || paste.text.isEmpty()) return;
    // A full airport code is replaced, as by a typed character.
    if (IsAirportCode(edit) && edit->text().size() >= 4) edit->selectAll();
    edit->insert(paste.text);
}

// The edit box's own menu, with its Paste going through the same rules as Ctrl+V. Shown
// without waiting for it, so the window thread goes on.
void TForm1::ShowEditMenu(QLineEdit* edit, const QPoint& globalPos) {
    QMenu* menu = edit->createStandardContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    for (QAction* action : menu->actions()) {
        // Named "edit-paste" by newer Qt versions; older ones are known by their own caption.
        if (action->objectName() != QLatin1String("edit-paste") &&
            !action->text().startsWith(QLineEdit::tr("&Paste")))
            continue;
        disconnect(action, &QAction::triggered, nullptr, nullptr);
        connect(action, &QAction::triggered, this, [this, edit] { PasteInto(edit); });
    }
    menu->popup(globalPos);
}
