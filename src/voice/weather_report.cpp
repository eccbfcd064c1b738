#include "voice/weather_report.h"

#include "voice/text_positions.h"
#include "voice/weather_phrases.h"

#include <initializer_list>

namespace vantrel {
namespace {

using namespace text;
namespace phrases = weather_phrases;

constexpr long kMaxPiece = 255; // the longest piece any step copies out of a text

bool ContainsAny(std::string_view s, std::initializer_list<std::string_view> codes) {
    for (auto c : codes)
        if (Contains(s, c)) return true;
    return false;
}

bool IsCloudGroup(std::string_view t) {
    return ContainsAny(t, {"FEW", "SCT", "BKN", "OVC", "SKC", "CLR", "VV"});
}

// Digits one by one after a blank, leading zeros left out: "0800" gives " 8 0 0".
std::string SpellDigits(std::string_view s) {
    std::string out;
    bool written = false;
    for (char c : s) {
        if (c == '0' && !written) continue;
        out += ' ';
        out += c;
        written = true;
    }
    return out;
}

std::string ReplaceAll(std::string_view s, char what, std::string_view with) {
    std::string out;
    out.reserve(s.size() + s.size() / 4);
    for (char c : s) {
        if (c == what)
            out += with;
        else
            out += c;
    }
    return out;
}

// One left-to-right pass over the groups: S is the sentence, P the phrase of the section at
// hand, R the groups not yet consumed and T the current group.
class Decoder {
public:
    explicit Decoder(std::string_view report) : report_(report) {}

    std::optional<std::string> Run(std::string_view airportLine) {
        const std::string name(Trim(AsciiLower(Copy(airportLine, 6, kMaxPiece))));
        S = "this is " + name + " airport information";
        ObservationTime();
        R = std::string(Copy(report_, 31, kMaxPiece)) + " =";
        NextToken();
        ReportKind();
        if (T.size() < 7) return std::nullopt;
        Wind();
        Visibility();
        RunwayVisualRange();
        PresentWeather();
        Clouds();
        Temperature();
        Pressure();
        RecentWeather();
        WindShear();
        Trend();
        P = name + " airport information , out,, ";
        AppendSection();
        return ReplaceAll(ReplaceAll(S, '3', " tree "), '9', " niner ");
    }

private:
    // T becomes the next blank-delimited group; without a blank left, T is empty and R stays.
    void NextToken() {
        const long p = Pos(" ", R);
        if (p == 0) {
            T.clear();
            return;
        }
        T = std::string(Trim(Copy(R, 1, p - 1)));
        R = std::string(Trim(Copy(R, p, kMaxPiece)));
    }

    // The group NextToken would give, without consuming it.
    std::string Peek() const {
        const long p = Pos(" ", R);
        if (p == 0) return {};
        return std::string(Trim(Copy(R, 1, p - 1)));
    }

    void AppendSection() {
        S += ' ';
        S += P;
    }

    void ObservationTime() {
        P = ",,time of met report ";
        P += At(report_, 25);
        P += ' ';
        P += At(report_, 26);
        P += ' ';
        P += At(report_, 27);
        P += ' ';
        P += At(report_, 28);
        P += " zulu,, ";
        AppendSection();
    }

    void ReportKind() {
        if (T != "AUTO" && T != "COR") return;
        P = T == "AUTO" ? "automatic observation," : "corrected observation,";
        AppendSection();
        NextToken();
    }

    void Wind() {
        if (Copy(T, 1, 5) == "00000") {
            P = " wind calm,, ";
        } else {
            if (At(T, 1) == "V") {
                P = "wind variable at ";
                if (At(T, 4) != "0") (P += ' ') += At(T, 4);
                P += At(T, 5);
            } else {
                P = "wind ";
                ((((P += At(T, 1)) += ' ') += At(T, 2)) += ' ') += At(T, 3);
                P += " at ";
                if (At(T, 4) != "0") (P += At(T, 4)) += ' ';
                (P += ' ') += At(T, 5);
            }
            long i = 6;
            if (At(T, 6) == "G") {
                (((P += ", gusts ") += At(T, 7)) += ' ') += At(T, 8);
                i = 9;
            }
            if (At(T, i) == "M")
                P += " meters per second";
            else if (Copy(T, i, 2) == "KM")
                P += " kilometers per hour";
            else if (Copy(T, i, 2) == "KT")
                P += " knots";
            VariableDirection();
        }
        AppendSection();
        NextToken();
    }

    void VariableDirection() {
        const std::string v = Peek();
        if (v.size() != 7 || At(v, 4) != "V") return;
        P += ", variable ";
        ((((P += ' ') += At(v, 1)) += ' ') += At(v, 2)) += ' ';
        ((P += At(v, 3)) += " to, ") += At(v, 5);
        ((((P += ' ') += At(v, 6)) += ' ') += At(v, 7)) += " degrees,";
        NextToken();
    }

    void Visibility() {
        const std::string next = Peek();
        if (Contains(next, "SM")) {
            const std::string joined = T + ' ' + next;
            NextToken();
            T = joined;
        }
        if (Contains(T, "CAVOK")) {
            P = ",,cav ok,,";
        } else {
            P = ",,visibility ";
            if (Contains(T, "SM"))
                StatuteMiles();
            else
                Metres();
        }
        S += ' ';
        S += P;
        S += ',';
        P = " ";
        NextToken();
    }

    void StatuteMiles() {
        std::string_view n = Copy(T, 1, Pos("SM", T) - 1);
        if (At(n, 1) == "M") {
            P += " less than ";
            n.remove_prefix(1);
        }
        if (n == "1") {
            P += " 1 mile,,";
        } else if (n == "0") {
            P += " 0,,";
        } else if (n.size() == 1) {
            ((P += ' ') += n) += " miles,,";
        } else if (n.size() == 2) {
            ((((P += ' ') += At(n, 1)) += ' ') += At(n, 2)) += " miles,,";
        } else if (n.size() > 2) {
            if (At(n, 2) == " ") {
                ((P += ' ') += At(n, 1)) += ", and, ";
                n = Copy(n, 3, kMaxPiece);
            }
            if (n.size() == 3 || n.size() == 4) P += phrases::MileFraction(n);
            P += ',';
        }
    }

    void MetricVisibility(std::string_view group) {
        const std::string_view d = Copy(group, 1, 4);
        const std::string_view known = phrases::KnownVisibility(d);
        if (!known.empty())
            P += known;
        else
            (P += SpellDigits(d)) += " meters,";
        if (group.size() == 5 || group.size() == 6) {
            P += " direction ";
            phrases::AppendDirections(Copy(group, 5, 2), P);
            P += ',';
        }
    }

    void Metres() {
        MetricVisibility(T);
        const std::string w = Peek();
        if (!IsDigit(At(w, 1))) return;
        NextToken();
        P += " visibility ";
        MetricVisibility(w);
    }

    void RunwayVisualRange() {
        const std::string_view second = At(T, 2);
        if (At(T, 1) != "R" || second.empty() || second[0] < '0' || second[0] > '3') return;
        const long p = Pos("/", T);
        P = "RVR runway ";
        for (char c : Copy(T, 2, p - 1)) {
            if (c >= '0' && c <= '9')
                (P += ' ') += c;
            else if (c == 'R')
                P += " right ";
            else if (c == 'L')
                P += " left ";
            else if (c == 'C')
                P += " center ";
        }
        std::string_view v = Copy(T, p + 1, kMaxPiece);
        if (Contains(v, "FT")) {
            if (At(v, 1) == "M") {
                P += " less than ";
                v.remove_prefix(1);
            }
            if (At(v, 1) == "P") {
                P += " more than ";
                v.remove_prefix(1);
            }
            v = Copy(v, 1, Pos("FT", v) - 1);
            (P += SpellDigits(Copy(v, 1, 4))) += " feet,";
            if (v.size() > 8 && At(v, 5) == "V")
                ((P += " minimum, ") += SpellDigits(Copy(v, 6, 4))) += " feet maximum, ";
        } else {
            (P += SpellDigits(Copy(v, 1, 4))) += " meters,";
            if (v.size() == 5) {
                Tendency(At(v, 5));
            } else if ((v.size() == 9 || v.size() == 10) && At(v, 5) == "V") {
                ((P += " minimum, ") += SpellDigits(Copy(v, 6, 4))) += " meters maximum, ";
                if (v.size() == 10) Tendency(At(v, 10));
            }
        }
        NextToken();
        AppendSection();
    }

    void Tendency(std::string_view c) {
        if (c == "U")
            P += " increasing ";
        else if (c == "D")
            P += " decreasing ";
    }

    void PresentWeather() {
        P = " ";
        // A group with "/" is the temperature (or a runway range), never weather: "M02/M05"
        // after CAVOK would otherwise be taken for weather, and the pressure for the temperature.
        if (IsCloudGroup(T) || IsDigit(At(T, 1)) || Contains(T, "/")) return;
        if (T == "NSC") {
            P = "no significant clouds ";
        } else if (T == "NSW") {
            P = "no significant weather ";
        } else {
            long s = 1;
            if (T.size() == 3 || T.size() == 5) {
                if (At(T, 1) == "+") P = "heavy ";
                if (At(T, 1) == "-") P = "light ";
                s = 2;
            }
            if (Copy(T, 1, 2) == "VC") {
                P = "vicinity ";
                s = 3;
            }
            std::string_view w = Copy(T, s, 5);
            if (w.size() == 4) {
                P += phrases::Descriptor(Copy(w, 1, 2), false);
                w = Copy(w, 3, 2);
            }
            P += phrases::Phenomenon(w, false);
        }
        P += ',';
        AppendSection();
        NextToken();
    }

    void Clouds() {
        while (IsCloudGroup(T)) {
            if (Contains(T, "CLR") || Contains(T, "SKC")) {
                P = "sky clear,";
            } else {
                long s = 4;
                if (Contains(T, "VV")) {
                    P = "vertical visibility ";
                    s = 3;
                } else if (Contains(T, "FEW")) {
                    P = "few ";
                } else if (Contains(T, "BKN")) {
                    P = "broken ";
                } else if (Contains(T, "SCT")) {
                    P = "scattered ";
                } else {
                    P = "overcast ";
                }
                CloudHeight(Copy(T, s, 3));
                if (T.size() > 6) {
                    if (Copy(T, 7, 2) == "CB") P += ", kumulo nimbus,";
                    if (Copy(T, 7, 3) == "TCU") P += " towering cumulus,";
                }
            }
            AppendSection();
            NextToken();
        }
    }

    void CloudHeight(std::string_view h) {
        if (At(h, 1) == "0" && At(h, 2) == "0") {
            ((P += ' ') += At(h, 3)) += " 0 0 feet";
            return;
        }
        if (At(h, 1) != "0") (P += ' ') += At(h, 1);
        if (At(h, 3) == "0")
            ((P += ' ') += At(h, 2)) += " thousand feet";
        else
            ((((P += ' ') += At(h, 2)) += ' ') += At(h, 3)) += " 0 0 feet";
    }

    void Temperature() {
        P = ", ,temperature ";
        bool started = false;
        for (char c : T) {
            if (c == 'M') {
                P += "minus ";
            } else if (c == '/') {
                if (!started) P += " 0 ";
                P += ",dew point ";
                started = false;
            } else if (c == '0') {
                if (started) P += " 0 ";
            } else {
                (P += ' ') += c;
                started = true;
            }
        }
        if (!started) P += " 0 ";
        P += ',';
        AppendSection();
        P = " ";
        NextToken();
    }

    void Pressure() {
        if (T.size() != 5) return;
        const char kind = T[0];
        if (kind == 'A') P = "Altimeter ";
        if (kind == 'Q') P = "Q N H, ";
        if (T[1] >= '1' && T[1] <= '3') P += T[1];
        ((((P += ", ") += T[2]) += ", ") += T[3]) += ", ";
        P += T[4];
        if (kind == 'A') P += ", inches,";
        if (kind == 'Q') P += ", hecto pascal,";
        AppendSection();
        NextToken();
    }

    void RecentWeather() {
        P = " ";
        if (!Contains(T, "RE")) return;
        P = "recent ";
        std::string_view w = Copy(T, 3, 10);
        if (w.size() == 4) {
            P += phrases::Descriptor(Copy(w, 1, 2), true);
            w = Copy(w, 3, 2);
        }
        if (w.size() == 2) P += phrases::Phenomenon(w, true);
        P += ", ";
        AppendSection();
        NextToken();
    }

    void WindShear() {
        P = " ";
        while (T == "WS") {
            P = "windshear ";
            NextToken();
            if (T == "TKOF") P += "take off runway";
            if (T == "LDG") P += "landing runway";
            NextToken();
            for (char c : T) {
                if (c >= '0' && c <= '9')
                    (P += ' ') += c;
                else if (c == 'R')
                    P += " right";
                else if (c == 'C')
                    P += " center";
                else if (c == 'L')
                    P += " left";
            }
            P += ", ";
            AppendSection();
            NextToken();
        }
    }

    void Trend() {
        P = " ";
        if (T == "RMK") return;
        if (T == "NOSIG" || T == "BECMG" || T == "TEMPO") P = "trend no sig,";
        P += ", ";
        AppendSection();
        NextToken();
    }

    std::string_view report_;
    std::string S, P, R, T;
};

} // namespace

std::string ReportFromReply(std::string_view reply) {
    std::string report(reply);
    for (char& c : report)
        if (c == '\n') c = ' ';
    return report;
}

bool IsValidReport(std::string_view report) {
    return text::At(report, 29) == "Z";
}

std::optional<std::string> DecodeWeatherReport(std::string_view report, std::string_view airportLine) {
    return Decoder(report).Run(airportLine);
}

std::optional<std::string> SentenceFromReply(std::string_view reply, std::string_view airportLine) {
    const std::string report = ReportFromReply(reply);
    if (!IsValidReport(report)) return std::nullopt;
    return DecodeWeatherReport(report, airportLine);
}

} // namespace vantrel
