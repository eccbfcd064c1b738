#include "shell/ops_sheet.h"

#include "core/convert.h"

#include <cctype>

namespace vantrel {

namespace {

// Which field fills which value label, row by row.
struct Source {
    const char* label;
    FieldId field;
};
constexpr Source kSources[] = {
    {"st22", FieldId::Edit53}, {"st23", FieldId::Edit54},                            // operator, flight
    {"st1", FieldId::Edit1},                                                         // origin
    {"st5", FieldId::Edit2},   {"st6", FieldId::Edit4},   {"st7", FieldId::Edit36},  // destination leg
    {"st8", FieldId::Edit7},   {"st9", FieldId::Edit11},                             //
    {"st15", FieldId::Edit3},  {"st16", FieldId::Edit5},  {"st17", FieldId::Edit35}, // alternate leg
    {"st18", FieldId::Edit8},  {"st19", FieldId::Edit12},                            //
    {"st30", FieldId::Edit13}, {"st31", FieldId::Edit15}, {"st32", FieldId::Edit50}, // load
    {"st40", FieldId::Edit17}, {"st41", FieldId::Edit16}, {"st42", FieldId::Edit23}, // weights
    {"st43", FieldId::Edit24}, {"st44", FieldId::Edit25}, {"st45", FieldId::Edit26}, //
    {"st70", FieldId::Edit18}, {"st71", FieldId::Edit19}, {"st72", FieldId::Edit20}, // fuel
    {"st73", FieldId::Edit21}, {"st74", FieldId::Edit22}, {"st75", FieldId::Edit29}, //
};

std::string FileNamePart(const std::string& code) {
    std::string out;
    for (const char c : code)
        if (std::isalnum(static_cast<unsigned char>(c))) out += c;
    return out;
}

} // namespace

CivilDate UtcDateOf(const CivilTime& local, int utcBiasMinutes) {
    const CivilTime utc = ToCivil(FromCivil(local) + std::int64_t{utcBiasMinutes} * 60'000);
    return {utc.year, utc.month, utc.day};
}

std::string DayMonthText(const CivilDate& date) {
    return ZeroPad(date.day, 2) + "/" + ZeroPad(date.month, 2);
}

const std::string& OpsSheet::Text(std::string_view label) const {
    static const std::string none;
    for (const OpsSheetValue& v : values)
        if (v.label == label) return v.text;
    return none;
}

OpsSheet MakeOpsSheet(const FlightPlan& plan, const CivilDate& utcDate) {
    OpsSheet sheet;
    sheet.date = utcDate;
    sheet.origin = plan.Text(FieldId::Edit1);
    sheet.destination = plan.Text(FieldId::Edit2);
    auto add = [&sheet](const char* label, std::string text) {
        sheet.values.push_back({label, std::move(text)});
    };
    for (const Source& s : kSources) {
        add(s.label, plan.Text(s.field));
        if (s.field == FieldId::Edit54) add("st24", DayMonthText(utcDate)); // the date ends the first row
    }
    add("st62", plan.values.WeightsInKg ? "kgs" : "lbs");
    add("st100", plan.Text(FieldId::cb3));
    return sheet;
}

std::string OpsSheetPdfName(const OpsSheet& sheet) {
    std::string route = FileNamePart(sheet.origin);
    const std::string destination = FileNamePart(sheet.destination);
    if (!destination.empty()) route += (route.empty() ? "" : "-") + destination;
    const CivilDate& d = sheet.date;
    std::string name =
        "Ops flight plan " + ZeroPad(d.year, 4) + "-" + ZeroPad(d.month, 2) + "-" + ZeroPad(d.day, 2);
    if (!route.empty()) name += " " + route;
    return name + ".pdf";
}

} // namespace vantrel
