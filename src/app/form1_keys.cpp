// The main window sees every key first: upper case everywhere, numbers only in the plan
// fields, letters in the airport codes, free text in the active-flight strip.
#include "form1.h"

#include "key_filter.h"
#include "ui_form1.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLineEdit>

namespace {

// Keys that move the focus or the cursor produce no character and are never filtered.
bool ProducesCharacter(const QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Delete:
        return false;
    default:
        break;
    }
    if (event->modifiers() & Qt::ControlModifier)
        return event->key() >= Qt::Key_A && event->key() <= Qt::Key_Z;
    return !event->text().isEmpty();
}

// The character a key produces; with Ctrl held a letter gives its control character, as the
// clipboard shortcuts do.
QChar TypedCharacter(const QKeyEvent* event) {
    if (event->modifiers() & Qt::ControlModifier)
        return QChar(static_cast<char16_t>(event->key() - Qt::Key_A + 1));
    if (event->key() == Qt::Key_Backspace) return QChar(u'\b');
    return event->text().at(0);
}

} // namespace

bool TForm1::IsAirportCode(const QObject* watched) const {
    return watched == ui->Edit1 || watched == ui->Edit2 || watched == ui->Edit3;
}

bool TForm1::IsFreeText(const QObject* watched) const {
    return watched == ui->Edit51 || watched == ui->Edit53 || watched == ui->Edit54;
}

vantrel::KeyTarget TForm1::KeyTargetOf(const QObject* watched) const {
    return IsFreeText(watched)      ? vantrel::KeyTarget::FreeText
           : IsAirportCode(watched) ? vantrel::KeyTarget::AirportCode
                                    : vantrel::KeyTarget::Other;
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) return FormKeyPress(watched, static_cast<QKeyEvent*>(event));
    if (event->type() == QEvent::MouseButtonRelease && IsAirportCode(watched)) Edit2Click(watched);
    if (event->type() == QEvent::ContextMenu)
        if (auto* edit = qobject_cast<QLineEdit*>(watched)) {
            ShowEditMenu(edit, static_cast<QContextMenuEvent*>(event)->globalPos());
            return true;
        }
    return QWidget::eventFilter(watched, event);
}

// Returns true when the key is discarded or already entered.
bool TForm1::FormKeyPress(QObject* watched, QKeyEvent* event) {
    if (auto* edit = qobject_cast<QLineEdit*>(watched); edit && IsEditKey(event)) return EditKey(edit, event);
    if (!ProducesCharacter(event)) return false;
    const QChar typed = TypedCharacter(event);
    const vantrel::KeyTarget target = KeyTargetOf(watched);
    const vantrel::KeyDecision decision = vantrel::FilterPlanKey(typed, target);
    if (decision.switchCue) PlaySwitchCue();
    if (!decision.accept) return true;

    auto* edit = qobject_cast<QLineEdit*>(watched);
    // Edit1KeyPress: a full airport code is selected, so the next character replaces it.
    if (edit && IsAirportCode(watched) && edit->text().size() >= 4) edit->selectAll();
    if (edit && decision.key != typed && decision.key.isPrint()) {
        edit->insert(QString(decision.key));
        return true;
    }
    return false;
}

// Edit2Click: a click in an airport code selects the whole code.
void TForm1::Edit2Click(QObject* watched) {
    if (auto* edit = qobject_cast<QLineEdit*>(watched)) edit->selectAll();
}
