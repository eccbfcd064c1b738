// vantrel-cli session: the whole program without windows, driven line by line on standard input.
#include "json_writer.h"
#include "plan_edits.h"
#include "program_log.h"
#include "session.h"

#include "cockpit/cockpit_clock.h"
#include "cockpit/cockpit_timer.h"
#include "core/convert.h"
#include "core/event_log.h"
#include "ipc/simulator_window.h"
#include "planning/flight_plan.h"
#include "shell/startup.h"
#include "shell/support_report.h"

#include <QCoreApplication>
#include <QJsonDocument>

#include <cmath>
#include <ctime>
#include <iostream>
#include <memory>
#include <optional>
#include <sstream>

namespace vantrel::cli {

namespace {

struct SessionOptions {
    std::string programDir;
    std::optional<LocalMs> now;
    std::optional<int> utcBias;
    bool answerNo = false;
};

bool ParseOptions(int argc, char** argv, SessionOptions& options, std::string& problem) {
    for (int i = 2; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--program-dir" && hasValue) {
            options.programDir = argv[++i];
        } else if (arg == "--now" && hasValue) {
            LocalMs ms = 0;
            if (!ParseIso(argv[++i], ms)) {
                problem = std::string("--now needs YYYY-MM-DDTHH:MM:SS: ") + argv[i];
                return false;
            }
            options.now = ms;
        } else if (arg == "--utc-bias" && hasValue) {
            try {
                options.utcBias = StrToInt(argv[++i]);
            } catch (const ConvertError&) {
                problem = std::string("--utc-bias needs whole minutes: ") + argv[i];
                return false;
            }
        } else if (arg == "--answer-no") {
            options.answerNo = true;
        } else if (arg == "--log-level" && hasValue) {
            if (!ParseLogLevel(argv[++i])) {
                problem = std::string("--log-level needs off, info or detail: ") + argv[i];
                return false;
            }
        } else {
            problem = "unknown or incomplete option: " + arg;
            return false;
        }
    }
    return CheckProgramDir(options.programDir, problem);
}

LocalMs RealLocalNow() {
    const std::time_t t = std::time(nullptr);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &t);
#else
    localtime_r(&t, &local);
#endif
    CivilTime c;
    c.year = local.tm_year + 1900;
    c.month = local.tm_mon + 1;
    c.day = local.tm_mday;
    c.hour = local.tm_hour;
    c.minute = local.tm_min;
    c.second = local.tm_sec;
    return FromCivil(c);
}

// The wave player's calls, with the file relative to the program folder and "/" separators.
class RecordingWave : public WaveOutput {
public:
    RecordingWave(std::string programDir, QJsonArray& log) : programDir_(std::move(programDir)), log_(log) {}
    void Play(const std::string& path, bool loop) override {
        std::string file = path;
        if (file.rfind(programDir_, 0) == 0) file.erase(0, programDir_.size());
        for (char& c : file)
            if (c == '\\') c = '/';
        log_.append(QJsonObject{{"play", JsonText(file)}, {"loop", loop}});
    }
    void Stop() override { log_.append(QJsonObject{{"stop", true}}); }

private:
    std::string programDir_;
    QJsonArray& log_;
};

void Refuse(const std::string& command, const std::string& reason) {
    PrintJson(QJsonObject{{"command", JsonText(command)}, {"refused", JsonText(reason)}});
}

std::optional<MouseButton> ParseMouseButton(const std::string& text) {
    if (text == "left") return MouseButton::Left;
    if (text == "right") return MouseButton::Right;
    if (text == "middle") return MouseButton::Middle;
    return std::nullopt;
}

// Runs one command line; false when the session ends. An empty refusal means it ran.
bool RunLine(Session& s, const std::string& line, std::string& refusal) {
    const SessionCommands& commands = TheSessionCommands();
    std::istringstream in(line);
    std::string verb;
    in >> verb;
    std::string rest;
    std::getline(in, rest);
    if (!rest.empty() && rest.front() == ' ') rest.erase(0, rest.find_first_not_of(' '));
    std::istringstream words(rest);
    std::string first, second, extra;
    words >> first >> second >> extra;

    if (verb == "state" && rest.empty()) return true;
    if (verb == "close" && rest.empty()) {
        SavePlanSettings(s.plan);
        s.cockpit.Close();
        return false;
    }
    if (verb == "tick" && rest.empty()) {
        s.cockpit.linkWindow.Timer1Timer();
        return true;
    }
    if (verb == "advance") {
        char* end = nullptr;
        const double seconds = std::strtod(rest.c_str(), &end);
        if (rest.empty() || *end != '\0' || !std::isfinite(seconds) || seconds < 0 || seconds > 1e9) {
            refusal = "advance needs a number of seconds: " + rest;
            return true;
        }
        s.timers.AdvanceBy(std::llround(seconds * 1000));
        return true;
    }
    if (verb == "edit") {
        PlanEdit edit;
        if (!ParsePlanEdit(rest, edit, refusal)) return true;
        ApplyPlanEdit(s.plan, edit, s.answer);
        return true;
    }
    if (verb == "click" && !first.empty() && second.empty()) {
        const auto it = commands.clicks.find(first);
        if (it == commands.clicks.end()) {
            refusal = "no such control: " + first;
            return true;
        }
        it->second(s);
        return true;
    }
    if (verb == "mouse" && !first.empty() && extra.empty()) {
        const auto it = commands.mice.find(first);
        if (it == commands.mice.end()) {
            refusal = "no such control: " + first;
            return true;
        }
        const auto button = ParseMouseButton(second);
        if (!button) {
            refusal = "mouse needs left, right or middle: " + second;
            return true;
        }
        it->second(s, *button);
        return true;
    }
    if (verb == "key" && !first.empty() && !second.empty() && extra.empty()) {
        TypeKey(s, first, second, refusal);
        return true;
    }
    if (verb == "close" && !first.empty() && second.empty()) {
        const auto it = commands.closes.find(first);
        if (it == commands.closes.end()) {
            refusal = "no such window: " + first;
            return true;
        }
        it->second(s);
        return true;
    }
    refusal = "unknown command: " + line;
    return true;
}

} // namespace

int RunSessionCommand(int argc, char** argv) {
    SessionOptions options;
    std::string problem;
    if (!ParseOptions(argc, argv, options, problem)) {
        std::cerr << "vantrel-cli session: " << problem << "\n"
                  << "usage: vantrel-cli session --program-dir DIR [--now YYYY-MM-DDTHH:MM:SS] "
                     "[--utc-bias MINUTES] [--answer-no] [--log-level off|info|detail]\n";
        return 2;
    }

    // The speech engine's voice list wants an application object.
    std::unique_ptr<QCoreApplication> app;
    if (!QCoreApplication::instance()) app = std::make_unique<QCoreApplication>(argc, argv);
    const ProgramLogScope programLog(options.programDir, kCliLogFile, "vantrel-cli", argc, argv);

    FlightPlan plan;
    VirtualClock clock(options.now ? *options.now : RealLocalNow());
    VirtualTimers timers(clock);
    SessionLog log;
    RecordingWave wave(options.programDir, log.sounds);
    LinkThread linkThread; // the session waits for each exchange's answer
    CockpitSeams seams{clock,
                       timers,
                       wave,
                       [&log](const std::string& text) { log.spoken.append(JsonText(text)); },
                       [](const std::string& windowClass) { return SimulatorWindowExists(windowClass); },
                       [] {},
                       [&log] { ++log.beeps; },
                       &linkThread};
    Cockpit cockpit(plan, seams, options.programDir);
    UtcClock utcClock(plan, seams);
    Session session{plan, clock, timers, cockpit, log, utcClock, true, {}, {}, {}, {}, {}};
    session.answer = !options.answerNo;
    plan.onError = [&log](const std::string& text) { log.errors.append(JsonText(text)); };

    StartupHooks hooks;
    const bool answer = session.answer;
    hooks.ask = [answer](const std::string& text) {
        LogQuestion(text, answer); // in the log as a window's answer would be
        return answer;
    };
    hooks.startBackgroundSound = [&cockpit] { cockpit.cues.StartBackground(); };
    hooks.colorCfgLamp = [&cockpit](std::uint32_t color) { cockpit.controls.SetColor("Panel7", color); };
    const StartupResult started = RunStartupSequence(plan, options.programDir, hooks);
    plan.values.UtcBiasMinutes = options.utcBias ? *options.utcBias : ReadUtcBiasMinutes();
    if (started != StartupResult::StoppedByUser) {
        // The windows in the order the program creates them.
        utcClock.Start();
        for (const auto& start : TheSessionCommands().starts)
            start(session);
        cockpit.Start();
        CreateChecklistWindow(session);
    }

    PrintJson(SessionLine("start", session));
    if (started == StartupResult::StoppedByUser) return 0;

    std::string line;
    while (std::getline(std::cin, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::string refusal;
        const bool goOn = RunLine(session, line, refusal);
        if (!refusal.empty()) {
            Refuse(line, refusal);
        } else {
            PrintJson(SessionLine(line, session));
        }
        if (!goOn) break;
    }
    return 0;
}

} // namespace vantrel::cli
