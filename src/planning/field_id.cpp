#include "planning/field_id.h"

#include <array>
#include <string>

namespace vantrel {

namespace {

const std::array<std::string, kFieldCount>& Names() {
    static const std::array<std::string, kFieldCount> names = [] {
        std::array<std::string, kFieldCount> n;
        for (int i = 1; i <= 54; ++i)
            n[static_cast<std::size_t>(i - 1)] = "Edit" + std::to_string(i);
        const char* rest[] = {"cb3",       "cbRVSM",     "rg2",        "ComboBox1", "ComboBox2",
                              "ComboBox3", "ScrollBar1", "ScrollBar2", "Label74",   "Label75",
                              "Label95",   "label87",    "Panel6"};
        for (std::size_t i = 0; i < std::size(rest); ++i)
            n[54 + i] = rest[i];
        return n;
    }();
    return names;
}

} // namespace

std::string_view FieldName(FieldId id) {
    return Names()[static_cast<std::size_t>(id)];
}

std::optional<FieldId> FieldByName(std::string_view name) {
    const auto& names = Names();
    for (std::size_t i = 0; i < names.size(); ++i)
        if (names[i] == name) return static_cast<FieldId>(i);
    return std::nullopt;
}

int MaxTextLength(FieldId id) {
    switch (id) {
    case FieldId::Edit1:
    case FieldId::Edit2:
    case FieldId::Edit3:
    case FieldId::Edit15:
        return 4;
    case FieldId::Edit9:
    case FieldId::Edit10:
    case FieldId::Edit14:
        return 3;
    case FieldId::Edit6:
    case FieldId::Edit13:
        return 2;
    case FieldId::Edit17:
    case FieldId::Edit18:
    case FieldId::Edit22:
        return 5;
    case FieldId::Edit51:
        return 20;
    case FieldId::Edit53:
        return 40;
    case FieldId::Edit54:
        return 10;
    default:
        return 0;
    }
}

} // namespace vantrel
