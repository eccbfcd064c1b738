#pragma once
#include <cstdint>
#include <optional>
#include <string_view>

namespace vantrel {

// Every control of the main window that holds a plan value, named as the window names it.
enum class FieldId : int {
    Edit1,
    Edit2,
    Edit3,
    Edit4,
    Edit5,
    Edit6,
    Edit7,
    Edit8,
    Edit9,
    Edit10,
    Edit11,
    Edit12,
    Edit13,
    Edit14,
    Edit15,
    Edit16,
    Edit17,
    Edit18,
    Edit19,
    Edit20,
    Edit21,
    Edit22,
    Edit23,
    Edit24,
    Edit25,
    Edit26,
    Edit27,
    Edit28,
    Edit29,
    Edit30,
    Edit31,
    Edit32,
    Edit33,
    Edit34,
    Edit35,
    Edit36,
    Edit37,
    Edit38,
    Edit39,
    Edit40,
    Edit41,
    Edit42,
    Edit43,
    Edit44,
    Edit45,
    Edit46,
    Edit47,
    Edit48,
    Edit49,
    Edit50,
    Edit51,
    Edit52,
    Edit53,
    Edit54,
    cb3,
    cbRVSM,
    rg2,
    ComboBox1,
    ComboBox2,
    ComboBox3,
    ScrollBar1,
    ScrollBar2,
    Label74,
    Label75,
    Label95,
    label87,
    Panel6,
    Count
};

constexpr int kFieldCount = static_cast<int>(FieldId::Count);

// Edit boxes EditN for N = 1..54.
constexpr FieldId EditField(int n) {
    return static_cast<FieldId>(n - 1);
}

std::string_view FieldName(FieldId id);

// Controls whose value is a choice from a list: the combo boxes and the flaps radio group.
constexpr bool IsComboBox(FieldId id) {
    return id == FieldId::cb3 || id == FieldId::ComboBox1 || id == FieldId::ComboBox2 ||
           id == FieldId::ComboBox3;
}
constexpr bool IsListField(FieldId id) {
    return IsComboBox(id) || id == FieldId::rg2;
}
constexpr bool IsScrollBar(FieldId id) {
    return id == FieldId::ScrollBar1 || id == FieldId::ScrollBar2;
}
std::optional<FieldId> FieldByName(std::string_view name);

// How many characters the main window's edit box takes (its length limit); 0 for no limit.
// A text from a file is cut to it before it reaches the box, as typing would stop there.
int MaxTextLength(FieldId id);

// Colours as 0xRRGGBB.
namespace colors {
constexpr std::uint32_t Red = 0xFF0000;
constexpr std::uint32_t Lime = 0x00FF00;
constexpr std::uint32_t Yellow = 0xFFFF00;
constexpr std::uint32_t White = 0xFFFFFF;
constexpr std::uint32_t Silver = 0xC0C0C0;
constexpr std::uint32_t Cream = 0xFFF0CA;
constexpr std::uint32_t Fuchsia = 0xFF00FF;
} // namespace colors

} // namespace vantrel
