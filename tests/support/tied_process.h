#pragma once
// A QProcess helper that dies with the test program, however the test program ends.
#include "support/helper_reaper.h"

#include <QProcess>

#include <unistd.h>

namespace vantrel::test {

// Call before start(); the program is killed when the test program goes.
inline void TieToTestProgram(QProcess& process) {
    const pid_t parent = getpid();
    process.setChildProcessModifier([parent] { DieWith(parent); });
}

} // namespace vantrel::test
