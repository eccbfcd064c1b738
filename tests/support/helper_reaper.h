#pragma once
// Every helper a test program starts (display and sound servers, simulators, Wine programs,
// their own children) ends when the test program ends, however it ends: a crash, an abort, a
// time-out's SIGKILL. Linked into every test program (helper_reaper.cpp), it
// - puts the test program into a process group of its own, which its helpers inherit,
// - ends the test program when whatever started it (ctest) goes,
// - starts a reaper process that outlives the test program and then kills that group, and,
//   when the test program did not end normally, ends the Wine prefixes it used.
// Direct children also get DieWith() between fork and exec, so they go at once.
#include <string>
#include <sys/types.h>

namespace vantrel::test {

// For a child between fork and exec (async-signal-safe): killed when the test program (parent)
// goes; ends at once when it went already.
void DieWith(pid_t parent);

// Has the reaper end the prefix's processes (`wineserver -k`) if this test program is killed or
// crashes; a wineserver daemonises, so neither the group nor DieWith reaches it.
void EndWinePrefixIfKilled(const std::string& wineserver, const std::string& prefix);

} // namespace vantrel::test
