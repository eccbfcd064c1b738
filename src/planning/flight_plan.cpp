#include "planning/flight_plan.h"

#include "core/convert.h"
#include "core/rounding.h"

namespace vantrel {

namespace {

struct FieldDefault {
    FieldId id;
    const char* text;
    std::uint32_t color;
};

// Texts before start-up loading, and the colours that say what kind of field each one is:
// typed inputs white, aircraft data cream, derived silver, limits lime, actual values silver.
constexpr FieldDefault kDefaults[] = {
    {FieldId::Edit1, "EDDV", colors::White},
    {FieldId::Edit2, "EDDM", colors::White},
    {FieldId::Edit3, "EDDN", colors::White},
    {FieldId::Edit4, "400", colors::Silver},
    {FieldId::Edit5, "89", colors::Silver},
    {FieldId::Edit6, "10", colors::White},
    {FieldId::Edit7, "330", colors::Silver},
    {FieldId::Edit8, "120", colors::Silver},
    {FieldId::Edit9, "0", colors::White},
    {FieldId::Edit10, "0", colors::White},
    {FieldId::Edit11, "400", colors::Silver},
    {FieldId::Edit12, "89", colors::Silver},
    {FieldId::Edit36, "89", colors::Silver},
    {FieldId::Edit35, "89", colors::Silver},
    {FieldId::Edit46, "181", colors::Silver},
    {FieldId::Edit47, "181", colors::Silver},
    {FieldId::Edit13, "50", colors::White},
    {FieldId::Edit14, "190", colors::Cream},
    {FieldId::Edit15, "500", colors::White},
    {FieldId::Edit16, "89", colors::Silver},
    {FieldId::Edit17, "27337", colors::Cream},
    {FieldId::Edit49, "2", colors::Silver},
    {FieldId::Edit50, "2", colors::Silver},
    {FieldId::Edit18, "500", colors::White},
    {FieldId::Edit19, "7000", colors::Silver},
    {FieldId::Edit20, "1000", colors::Silver},
    {FieldId::Edit21, "1000", colors::Silver},
    {FieldId::Edit22, "500", colors::White},
    {FieldId::Edit29, "9500", colors::Silver},
    {FieldId::Edit23, "39000", colors::Silver},
    {FieldId::Edit24, "48500", colors::Silver},
    {FieldId::Edit25, "48000", colors::Silver},
    {FieldId::Edit26, "41000", colors::Silver},
    {FieldId::Edit27, "39462", colors::Lime},
    {FieldId::Edit31, "48721", colors::Lime},
    {FieldId::Edit32, "48501", colors::Lime},
    {FieldId::Edit34, "42549", colors::Lime},
    {FieldId::Edit33, "11398", colors::Lime},
    {FieldId::Edit52, "39462", colors::Lime},
    {FieldId::Edit48, "=====", colors::Silver},
    {FieldId::Edit28, "=====", colors::Silver},
    {FieldId::Edit30, "=====", colors::Silver},
    {FieldId::Edit51, "", colors::White},
    {FieldId::Edit53, "", colors::White},
    {FieldId::Edit54, "", colors::White},
    {FieldId::Label74, "1013/2991", colors::Silver},
    {FieldId::Label75,
     "15\xC2\xB0"
     "C/59\xC2\xB0"
     "F",
     colors::Silver},
    {FieldId::Label95, "Gross weight: PLAN", colors::Silver},
    {FieldId::label87, "", colors::Silver},
    {FieldId::Panel6, "5000", colors::Silver},
};

struct Range {
    int min, max;
};
constexpr Range kOatRange{-50, 50};
constexpr Range kQnhRange{950, 1060};

} // namespace

FlightPlan::FlightPlan() {
    for (int n = 37; n <= 45; ++n)
        fields_[Index(EditField(n))] = {"130", colors::Silver, -1, {}};
    for (const auto& d : kDefaults) {
        fields_[Index(d.id)].text = d.text;
        fields_[Index(d.id)].color = d.color;
    }
    auto list = [this](FieldId id, std::vector<std::string> items, int index, std::uint32_t color) {
        Field& f = fields_[Index(id)];
        f.items = std::move(items);
        f.itemIndex = index;
        f.text = index >= 0 ? f.items[static_cast<std::size_t>(index)] : "";
        f.color = color;
    };
    list(FieldId::cb3, {"FAA DOM", "FAA INT", "NBAA", "NO ALTN"}, 3, colors::Cream);
    list(FieldId::ComboBox1, {"+", "-"}, 0, colors::White);
    list(FieldId::ComboBox2, {"+", "-"}, 0, colors::White);
    list(FieldId::ComboBox3, {}, -1, colors::White);
    list(FieldId::rg2, {"22\xC2\xB0", "45\xC2\xB0"}, 1, colors::White);
    fields_[Index(FieldId::cbRVSM)] = {"1", colors::White, 1, {}};
    fields_[Index(FieldId::ScrollBar1)] = {"15", colors::White, 15, {}};
    fields_[Index(FieldId::ScrollBar2)] = {"1013", colors::White, 1013, {}};
}

// ---- Writes

void FlightPlan::SetText(FieldId id, const std::string& text) {
    Field& f = fields_[Index(id)];
    if (f.text == text) return;
    f.text = text;
    Notify(id);
    RunTextHandler(id);
}

void FlightPlan::SetColor(FieldId id, std::uint32_t color) {
    Field& f = fields_[Index(id)];
    if (f.color == color) return;
    f.color = color;
    Notify(id);
}

void FlightPlan::SetItems(FieldId id, std::vector<std::string> items) {
    Field& f = fields_[Index(id)];
    f.items = std::move(items);
    f.itemIndex = -1;
    f.text.clear();
    Notify(id);
}

void FlightPlan::SetItemIndex(FieldId id, int index) {
    Field& f = fields_[Index(id)];
    if (index < 0 || index >= static_cast<int>(f.items.size())) index = -1;
    const bool changed = f.itemIndex != index;
    f.itemIndex = index;
    f.text = index >= 0 ? f.items[static_cast<std::size_t>(index)] : "";
    if (changed) Notify(id);
    // Selecting a combo box item from the program runs nothing; the radio group clicks.
    if (id == FieldId::rg2 && changed) rg2Click();
}

void FlightPlan::SetChecked(FieldId id, bool checked) {
    Field& f = fields_[Index(id)];
    const int value = checked ? 1 : 0;
    if (f.itemIndex == value) return;
    f.itemIndex = value;
    f.text.assign(1, checked ? '1' : '0'); // (a literal here trips a false -Wrestrict of MinGW g++ 12 at -O3)
    Notify(id);
    if (id == FieldId::cbRVSM) Edit1Change(id);
}

void FlightPlan::SetPosition(FieldId id, int position) {
    // A stored or typed value outside the bar's range is clamped rather than refused.
    const Range range = id == FieldId::ScrollBar1 ? kOatRange : kQnhRange;
    if (position < range.min) position = range.min;
    if (position > range.max) position = range.max;
    Field& f = fields_[Index(id)];
    if (f.itemIndex == position) return;
    f.itemIndex = position;
    f.text = IntToStr(position);
    Notify(id);
    if (id == FieldId::ScrollBar1) ScrollBar1Change();
    if (id == FieldId::ScrollBar2) ScrollBar2Change();
}

// ---- User actions

bool FlightPlan::Guarded(const std::function<void()>& fn) {
    try {
        fn();
        return true;
    } catch (const ConvertError& e) {
        if (onError) onError(e.what());
    } catch (const UserError& e) {
        if (onError) onError(e.what());
    }
    return false;
}

void FlightPlan::UserSetText(FieldId id, const std::string& text) {
    Guarded([&] { SetText(id, text); });
}

void FlightPlan::UserSelect(FieldId id, int index) {
    Guarded([&] {
        if (id == FieldId::rg2) {
            SetItemIndex(id, index);
            return;
        }
        SetItemIndex(id, index);
        if (!IsComboBox(id)) return;
        // A selection by the user fires the box's change event.
        if (id == FieldId::ComboBox1 || id == FieldId::ComboBox2) Edit1Change(id);
        if (id == FieldId::cb3) Edit18Change();
        if (id == FieldId::ComboBox3 && onComboBox3Change) onComboBox3Change();
    });
}

void FlightPlan::UserSetChecked(FieldId id, bool checked) {
    Guarded([&] { SetChecked(id, checked); });
}

void FlightPlan::UserSetPosition(FieldId id, int position) {
    Guarded([&] {
        if (IsScrollBar(id)) SetPosition(id, position);
    });
}

// ---- Dispatch of text changes to their handlers

void FlightPlan::RunTextHandler(FieldId id) {
    switch (id) {
    case FieldId::Edit1:
    case FieldId::Edit2:
    case FieldId::Edit3:
    case FieldId::Edit6:
    case FieldId::Edit9:
    case FieldId::Edit10:
        Edit1Change(id);
        break;
    case FieldId::Edit13:
    case FieldId::Edit15:
    case FieldId::Edit17:
    case FieldId::Edit18:
    case FieldId::Edit19:
    case FieldId::Edit20:
    case FieldId::Edit21:
    case FieldId::Edit22:
    case FieldId::Edit49:
    case FieldId::Edit50:
        Edit18Change();
        break;
    // A limit check runs when its value changes and when its limit changes, so the limit's
    // colour never shows a comparison with an older limit.
    case FieldId::Edit16:
    case FieldId::Edit52:
        Edit16Change();
        break;
    case FieldId::Edit23:
    case FieldId::Edit37:
    case FieldId::Edit42:
    case FieldId::Edit27:
        Edit23Change();
        break;
    case FieldId::Edit24:
    case FieldId::Edit38:
    case FieldId::Edit43:
    case FieldId::Edit31:
        Edit24Change();
        break;
    case FieldId::Edit25:
    case FieldId::Edit39:
    case FieldId::Edit44:
    case FieldId::Edit32:
        Edit25Change();
        break;
    case FieldId::Edit26:
    case FieldId::Edit40:
    case FieldId::Edit41:
    case FieldId::Edit45:
    case FieldId::Edit48:
    case FieldId::Edit28:
    case FieldId::Edit30:
    case FieldId::Edit34:
        Edit26Change();
        break;
    case FieldId::Edit29:
    case FieldId::Edit33:
        Edit29Change();
        break;
    default:
        break;
    }
}

// ---- Units

std::int64_t FlightPlan::ToPounds(std::int64_t display) const {
    return RoundHalfEven(static_cast<double>(display) * values.WeightUnitFactor);
}

std::int64_t FlightPlan::ToDisplay(double pounds) const {
    return RoundHalfEven(pounds / values.WeightUnitFactor);
}

int FlightPlan::IntOf(FieldId id) const {
    return StrToInt(Text(id));
}

} // namespace vantrel
