#include "plan_command.h"

#include "plan_edits.h"
#include "plan_json.h"
#include "plan_print.h"

#include "planning/flight_plan.h"
#include "shell/startup.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace vantrel::cli {

namespace {

struct PlanOptions {
    std::string programDir;
    std::vector<std::string> edits;
    bool answerNo = false;
    bool save = false;
    std::string printPdf; // --print-pdf FILE
};

bool ParseOptions(int argc, char** argv, PlanOptions& options, std::string& problem) {
    for (int i = 2; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--program-dir" && i + 1 < argc) {
            options.programDir = argv[++i];
        } else if (arg == "--edit" && i + 1 < argc) {
            options.edits.push_back(argv[++i]);
        } else if (arg == "--answer-no") {
            options.answerNo = true;
        } else if (arg == "--save") {
            options.save = true;
        } else if (arg == "--print-pdf" && i + 1 < argc && argv[i + 1][0] != '\0') {
            options.printPdf = argv[++i];
        } else {
            problem = "unknown or incomplete option: " + arg;
            return false;
        }
    }
    return CheckProgramDir(options.programDir, problem);
}

void PrintPlan(std::ostream& out, const FlightPlan& plan, const std::vector<std::string>& errors) {
    QJsonArray errorTexts;
    for (const std::string& text : errors)
        errorTexts.append(JsonText(text));
    const QJsonObject json{
        {"fields", PlanFieldsJson(plan)}, {"errors", errorTexts}, {"values", PlanValuesJson(plan)}};
    out << QJsonDocument(json).toJson(QJsonDocument::Compact).toStdString() << '\n';
}

} // namespace

int RunPlanCommand(int argc, char** argv) {
    PlanOptions options;
    std::string problem;
    if (!ParseOptions(argc, argv, options, problem)) {
        std::cerr
            << "vantrel-cli plan: " << problem << "\n"
            << "usage: vantrel-cli plan --program-dir DIR [--edit NAME=VALUE]... [--answer-no] [--save]\n"
               "       [--print-pdf FILE]\n";
        return 2;
    }
    std::vector<PlanEdit> edits;
    for (const std::string& text : options.edits) {
        PlanEdit edit;
        if (!ParsePlanEdit(text, edit, problem)) {
            std::cerr << "vantrel-cli plan: " << problem << "\n";
            return 2;
        }
        edits.push_back(edit);
    }

    FlightPlan plan;
    std::vector<std::string> errors;
    plan.onError = [&errors](const std::string& text) { errors.push_back(text); };
    const bool answer = !options.answerNo;

    StartupHooks hooks;
    hooks.ask = [answer](const std::string&) { return answer; };
    const StartupResult started = RunStartupSequence(plan, options.programDir, hooks);

    if (started != StartupResult::StoppedByUser) {
        for (const PlanEdit& edit : edits)
            ApplyPlanEdit(plan, edit, answer);
        if (options.save) SavePlanSettings(plan);
        std::string failure;
        if (!options.printPdf.empty() && !PrintPlanPdf(plan, options.printPdf, failure))
            errors.push_back(failure);
    }
    std::ostringstream json;
    PrintPlan(json, plan, errors);
    std::cout << json.str();
    return 0;
}

} // namespace vantrel::cli
