#pragma once

namespace vantrel {

// "vantrel-cli ipc": opens the simulator link, queues the given reads and writes in order,
// runs one exchange and prints the values as JSON. Without requests it reads what the
// connection monitor's data load reads. Returns the exit code (2 for a wrong command line).
int RunIpcCommand(int argc, char** argv);

} // namespace vantrel
