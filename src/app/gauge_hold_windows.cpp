#include "gauge_hold_windows.h"

#include "app_context.h"
#include "form1.h"
#include "form4.h"
#include "form7.h"

#include "cockpit/cockpit.h"
#include "voice/mspeech.h"

#include <QPointer>

#include <algorithm>

namespace vantrel {

void ConnectSpeedHoldAndGauge(Cockpit& cockpit, AppContext& ctx) {
    WindowSet& w = ctx.windows;
    if (w.Form4) {
        w.Form4->Attach(cockpit.gauge, cockpit.controls,
                        [&cockpit](std::function<void()> action) { cockpit.QuickClick(std::move(action)); });
        const QRect main = w.Form1 ? w.Form1->frameGeometry() : QRect();
        cockpit.gauge.FormCreate(main.left(), main.top(), main.width());
        w.Form4->PlaceFirstTime(w.Form7);
    }
    if (w.Form7) {
        QPointer<TForm7> form7(w.Form7);
        form7->pnatClick = [&cockpit] { cockpit.PnatClick(); };
        form7->pnrevClick = [&cockpit] { cockpit.PnrevClick(); };
        ControlBoard& controls = cockpit.controls;
        controls.onChanged = [previous = controls.onChanged, form7, &controls](const std::string& name) {
            if (previous) previous(name);
            if (form7 && name.rfind("Form7.", 0) == 0) form7->ShowControl(controls, name);
        };
        form7->ShowControl(controls, "Form7.pnat");
        form7->ShowControl(controls, "Form7.pnrev");
    }
    cockpit.hold.voice = [&ctx](int volume, int pitch, int speed, const std::string& text) {
        TMSpeech* speech = ctx.ChecklistSpeech;
        if (!speech || ctx.ChecklistsDisabled) return;
        try {
            speech->SetVolume(volume);
            speech->SetPitch(static_cast<std::uint16_t>(std::clamp(pitch, 0, 65535)));
            speech->SetSpeed(static_cast<std::uint32_t>(speed));
            speech->Text = {text};
            speech->Speak();
        } catch (const EMSpeechException&) {
            // A voice that fails to speak leaves the warning silent; the hold is already off.
        }
    };
}

} // namespace vantrel
