// The weight unit on the main window: unit captions and the planning panel's colour.
#include "form1.h"

#include "app_context.h"
#include "color_style.h"
#include "ui_form1.h"

#include "planning/flight_plan.h"

#include <QLabel>

namespace {

// The captions that name the weight unit ("lbs" or "lbs <=" in pound mode).
constexpr const char* kWeightUnitLabels[] = {
    "Label16", "Label18", "Label20", "Label22", "Label24", "Label26", "Label31", "Label32",
    "Label33", "Label35", "Label37", "Label39", "Label41", "Label42", "Label43", "Label47",
    "Label49", "Label53", "Label54", "Label85", "Label90", "Label91", "Label97", "Label101"};

constexpr std::uint32_t kKilogramPanelColor = 0xD2D5C8; // RGB (210, 213, 200)

} // namespace

void TForm1::ApplyWeightUnit() {
    if (!ctx_.plan->values.WeightsInKg) return;
    for (const char* name : kWeightUnitLabels)
        if (auto* label = findChild<QLabel*>(QLatin1String(name))) label->setText(QStringLiteral("kgs"));
    // The light panel colour needs dark captions to stay readable.
    const QString text = vantrel::ReadableTextColor(kKilogramPanelColor).name();
    ui->Panel1->setStyleSheet(
        QStringLiteral("QFrame#Panel1 { background-color: %1; }"
                       "QFrame#Panel1 QLabel, QFrame#Panel1 QCheckBox,"
                       "QFrame#Panel1 QRadioButton, QFrame#Panel1 QGroupBox#rg2 { color: %2; }"
                       "QFrame#Panel1 QGroupBox { color: #1c4a7a; border-color: #8a9099; }")
            .arg(vantrel::ToQColor(kKilogramPanelColor).name(), text));
}
