#pragma once
#include "support/piped_child.h"

#include <string>
#include <sys/types.h>
#include <vector>

namespace vantrel::wine {

// Wine is there (the loader the build found exists); tests skip themselves otherwise.
bool Available();

// Where a Windows program runs: the prefix the test run shares (64-bit, where 32-bit programs
// run too), or the 32-bit one (WINEARCH=win32). 32-bit programs run under 32-bit Wine's loader.
enum class Prefix { kShared, kWin32 };

// The 32-bit prefix's loader is there.
bool Win32Available();

// The path of a program of the 32-bit (i686) cross build.
std::string ThirtyTwoBit(const std::string& name);

// A Windows program of the cross build (vantrel-winsim.exe, vantrel-bridge.exe,
// link-driver.exe), or a native program, as a child with pipes to its standard input and
// output. The Windows ones run under Wine in the prefix the test run shares. The child is
// killed when the object goes.
class Program {
public:
    // name: a file of the cross build's output folder (or an absolute path), run under Wine;
    // with native = true a program beside the native build's programs.
    Program(const std::string& name, std::vector<std::string> args = {}, bool native = false,
            Prefix prefix = Prefix::kShared);
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // The next line of output (without its newline); "" after timeout_ms or at the end.
    std::string Line(int timeout_ms = 15000);
    // Waits for a line that starts with the text; the whole line, or "" after timeout_ms.
    std::string WaitFor(const std::string& start, int timeout_ms = 15000);
    void Send(const std::string& line);
    // Sends a command and returns the reply line.
    std::string Ask(const std::string& line, int timeout_ms = 15000);
    void Kill();      // SIGKILL, as a crash would
    void Interrupt(); // SIGINT, as Ctrl+C in its terminal
    // Waits for the end; the exit status, or -1 when it was killed or is still running.
    int Wait(int timeout_ms = 15000);
    const std::string& Output() const { return output_; }

private:
    test::PipedChild child_;
    std::string pending_;
    std::string output_;
};

// Splits a reply line at spaces.
std::vector<std::string> Words(const std::string& line);

} // namespace vantrel::wine
