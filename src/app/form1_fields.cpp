// The main window as a view of the flight plan: every plan field has one widget; the plan's
// changes are shown as they happen, and the user's edits go to the plan.
#include "form1.h"

#include "app_context.h"
#include "color_style.h"
#include "message_boxes.h"
#include "panel_widget.h"
#include "ui_form1.h"

#include "planning/flight_plan.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>

using vantrel::FieldId;

namespace {

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

QRadioButton* FlapsItem(QWidget* group, int index) {
    return group->findChild<QRadioButton*>(QStringLiteral("rg2Item%1").arg(index));
}

} // namespace

void TForm1::BindFields() {
    for (int i = 0; i < vantrel::kFieldCount; ++i) {
        const auto id = static_cast<FieldId>(i);
        const QString name = QString::fromLatin1(vantrel::FieldName(id).data(),
                                                 static_cast<qsizetype>(vantrel::FieldName(id).size()));
        if (QWidget* w = findChild<QWidget*>(name)) BindField(id, w);
    }
    vantrel::FlightPlan& plan = *ctx_.plan;
    plan.onFieldChanged = [this](FieldId id) { RefreshField(id); };
    plan.onError = [this](const std::string& text) { vantrel::ShowError(ctx_, text, this); };
    RefreshAll();
}

void TForm1::BindField(FieldId id, QWidget* widget) {
    fieldWidgets_[static_cast<std::size_t>(id)] = widget;
    shownColors_[static_cast<std::size_t>(id)] = 0xFFFFFFFF; // nothing shown yet
    vantrel::FlightPlan& plan = *ctx_.plan;
    // Widgets updated from the plan have their signals blocked, so only the user's own
    // edits arrive here and go back to the plan.
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        connect(edit, &QLineEdit::textChanged, this,
                [&plan, id](const QString& text) { plan.UserSetText(id, text.toStdString()); });
        edit->installEventFilter(this);
        // Dropped text would bypass the key rules that typed and pasted text obey.
        edit->setAcceptDrops(false);
    } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        connect(combo, &QComboBox::activated, this, [&plan, id](int index) { plan.UserSelect(id, index); });
        combo->installEventFilter(this);
    } else if (auto* check = qobject_cast<QCheckBox*>(widget)) {
        connect(check, &QCheckBox::clicked, this,
                [&plan, id](bool checked) { plan.UserSetChecked(id, checked); });
        check->installEventFilter(this);
    } else if (auto* bar = qobject_cast<QScrollBar*>(widget)) {
        connect(bar, &QScrollBar::valueChanged, this,
                [&plan, id](int value) { plan.UserSetPosition(id, value); });
        bar->installEventFilter(this);
    } else if (id == FieldId::rg2) {
        for (int index = 0; index < 2; ++index) {
            QRadioButton* item = FlapsItem(widget, index);
            connect(item, &QRadioButton::clicked, this,
                    [&plan, index] { plan.UserSelect(FieldId::rg2, index); });
            item->installEventFilter(this);
        }
    }
}

void TForm1::RefreshAll() {
    for (int i = 0; i < vantrel::kFieldCount; ++i)
        RefreshField(static_cast<FieldId>(i));
}

void TForm1::RefreshField(FieldId id) {
    QWidget* widget = FieldWidget(id);
    if (!widget) return;
    const vantrel::FlightPlan& plan = *ctx_.plan;
    const QSignalBlocker block(widget);
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        // Rewriting an unchanged text would move the cursor of the box being typed in.
        if (edit->text() != Q(plan.Text(id))) edit->setText(Q(plan.Text(id)));
        std::uint32_t& shown = shownColors_[static_cast<std::size_t>(id)];
        if (shown != plan.Color(id)) {
            shown = plan.Color(id);
            edit->setStyleSheet(vantrel::FieldStyle("QLineEdit", shown));
        }
    } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        QStringList items;
        for (const auto& item : plan.Items(id))
            items << Q(item);
        QStringList shownItems;
        for (int i = 0; i < combo->count(); ++i)
            shownItems << combo->itemText(i);
        if (items != shownItems) {
            combo->clear();
            combo->addItems(items);
        }
        combo->setCurrentIndex(plan.ItemIndex(id));
    } else if (auto* check = qobject_cast<QCheckBox*>(widget)) {
        check->setChecked(plan.Checked(id));
    } else if (auto* bar = qobject_cast<QScrollBar*>(widget)) {
        bar->setValue(plan.Position(id));
    } else if (id == FieldId::rg2) {
        const int index = plan.ItemIndex(id);
        for (int i = 0; i < 2; ++i) {
            QRadioButton* item = FlapsItem(widget, i);
            const QSignalBlocker blockItem(item);
            item->setAutoExclusive(false); // allows showing "no selection"
            item->setChecked(i == index);
            item->setAutoExclusive(true);
        }
    } else if (auto* panel = qobject_cast<TPanel*>(widget)) {
        panel->setText(Q(plan.Text(id)));
        panel->SetColor(plan.Color(id));
    } else if (auto* label = qobject_cast<QLabel*>(widget)) {
        label->setText(Q(plan.Text(id)));
    }
}
