// vantrel-cli: the headless front end of Vantrel Suite. Prints one JSON object on stdout.
#include "plan_command.h"

#include <iostream>
#include <string>

int main(int argc, char** argv) {
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "plan") return vantrel::cli::RunPlanCommand(argc, argv);
    std::cerr << "usage: vantrel-cli plan --program-dir DIR [--edit NAME=VALUE]... [--answer-no] [--save]\n";
    return 2;
}
