#pragma once
#include "planning/field_id.h"

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <string>

namespace vantrel {

// A panel of the checklist window: its caption and hint, and for the eleven checklist panels
// the section of the checklist file and the panel of the checklist that follows.
struct ChecklistPanel {
    const char* name;
    const char* caption;
    const char* hint;
    const char* section; // empty for the panels that start no checklist
    const char* next;
};

// The eleven checklist panels in the order of the flight, then ">>", "<<" and the window
// toggle: every panel of the window's "Panel1" ... "Panel14".
const std::array<ChecklistPanel, 14>& ChecklistWindowPanels();

// The checklist window without the window: which checklist runs, the next item to speak and
// the colour each panel shows. The window (or a headless session) forwards the clicks here
// and paints what onChanged names.
class ChecklistStrip {
public:
    static constexpr std::uint32_t kIdle = colors::Silver;
    static constexpr std::uint32_t kRunning = colors::Lime;  // the running checklist
    static constexpr std::uint32_t kNextUp = colors::Yellow; // the checklist to do next

    // A click on one of the eleven checklist panels: its checklist starts again from item 1.
    // False (and nothing happens) for any other name.
    bool StartChecklist(const std::string& panel);
    // One step of the running checklist, shown by `panel`.
    void StepChecklist(const std::string& panel);
    void NextItem(); // ">>" and the space bar
    void LastItem(); // "<<": the item just spoken again

    std::uint32_t Color(const std::string& panel) const;
    const std::string& ChecklistSection() const { return section_; }
    std::uint16_t ChecklistItem() const { return item_; }
    const std::string& CurrentChecklistPanel() const { return current_; } // empty: none
    const std::string& NextChecklistPanel() const { return next_; }       // empty: none

    // Speaks one item: -1 when nothing was spoken, 1 when a next item exists, 0 after the last.
    std::function<int(const std::string& section, int item)> speakItem;
    // A panel's colour changed.
    std::function<void(const std::string& panel)> onChanged;
    // The colours changed so far are to show now (before the speech starts, after the last item).
    std::function<void()> showNow;

private:
    void Paint(const std::string& panel, std::uint32_t color);

    std::map<std::string, std::uint32_t> colors_;
    std::string section_;
    std::uint16_t item_ = 0; // no checklist has run yet
    std::string current_;
    std::string next_;
};

} // namespace vantrel
