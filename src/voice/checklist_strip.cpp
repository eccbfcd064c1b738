#include "voice/checklist_strip.h"

namespace vantrel {

const std::array<ChecklistPanel, 14>& ChecklistWindowPanels() {
    static const std::array<ChecklistPanel, 14> panels{{
        {"Panel2", "IC", "Initial checklist", "ic", "Panel1"},
        {"Panel1", "BS", "Before start-up", "bs", "Panel4"},
        {"Panel4", "BT", "Before taxi", "bt", "Panel5"},
        {"Panel5", "TO", "Take-off", "to", "Panel10"},
        {"Panel10", "AT", "After take-off", "at", "Panel12"},
        {"Panel12", "CR", "Cruise", "cr", "Panel6"},
        {"Panel6", "DE", "Descent", "de", "Panel7"},
        {"Panel7", "BL", "Before landing", "bl", "Panel8"},
        {"Panel8", "AL", "After landing", "al", "Panel9"},
        {"Panel9", "SD", "Shutdown", "sd", "Panel11"},
        {"Panel11", "TE", "Terminate", "te", "Panel2"},
        {"Panel13", ">>", "Next item", "", ""},
        {"Panel14", "<<", "Last item", "", ""},
        {"Panel3", "", "L:Toggle main window; R:hide", "", ""},
    }};
    return panels;
}

bool ChecklistStrip::StartChecklist(const std::string& panel) {
    for (const ChecklistPanel& p : ChecklistWindowPanels()) {
        if (panel != p.name || *p.section == '\0') continue;
        // The checklist marked as next stays yellow only until a panel is clicked.
        Paint(next_, kIdle);
        section_ = p.section;
        next_ = p.next;
        item_ = 1;
        StepChecklist(panel);
        return true;
    }
    return false;
}

void ChecklistStrip::StepChecklist(const std::string& panel) {
    Paint(current_, kIdle);
    Paint(next_, kIdle);
    current_ = panel;
    Paint(panel, kRunning);
    if (showNow) showNow();
    const int result = speakItem ? speakItem(section_, item_) : -1;
    if (result == 1) {
        ++item_;
    } else if (result == 0) {
        Paint(current_, kIdle);
        Paint(next_, kNextUp);
        current_.clear();
        if (showNow) showNow();
    }
}

void ChecklistStrip::NextItem() {
    if (!current_.empty()) StepChecklist(current_);
}

void ChecklistStrip::LastItem() {
    if (current_.empty() || item_ <= 1) return;
    --item_;
    StepChecklist(current_);
}

std::uint32_t ChecklistStrip::Color(const std::string& panel) const {
    const auto it = colors_.find(panel);
    return it == colors_.end() ? kIdle : it->second;
}

void ChecklistStrip::Paint(const std::string& panel, std::uint32_t color) {
    if (panel.empty()) return;
    colors_[panel] = color;
    if (onChanged) onChanged(panel);
}

} // namespace vantrel
