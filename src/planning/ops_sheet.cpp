#include "planning/ops_sheet.h"

#include "core/convert.h"

#include <cctype>

namespace vantrel {

namespace {

// Days since 1970-01-01 of a proleptic Gregorian date, and back (H. Hinnant's algorithms).
long long DaysFromCivil(int y, int m, int d) {
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const long long yoe = y - era * 400;
    const long long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

CivilDate CivilFromDays(long long z) {
    z += 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const long long doe = z - era * 146097;
    const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long long mp = (5 * doy + 2) / 153;
    const int day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    const int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    const int year = static_cast<int>(yoe + era * 400 + (month <= 2));
    return {year, month, day};
}

long long FloorDiv(long long a, long long b) {
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
}

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

CivilDate UtcDateOf(const CivilDateTime& local, int utcBiasMinutes) {
    const long long minutes = DaysFromCivil(local.year, local.month, local.day) * 1440 + local.hour * 60LL +
                              local.minute + utcBiasMinutes;
    return CivilFromDays(FloorDiv(minutes, 1440));
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
