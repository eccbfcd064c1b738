#pragma once

namespace vantrel::cli {

// vantrel-cli plan --program-dir DIR [--edit NAME=VALUE]... [--answer-no] [--save] [--print-pdf FILE]
// Runs the start-up sequence headless, applies the edits as a user would make them and prints
// the plan as one JSON object;
// with --print-pdf, the ops flight plan page as the print window would print it goes into FILE. Returns 2
// when the command line is wrong, else 0.
int RunPlanCommand(int argc, char** argv);

} // namespace vantrel::cli
