#pragma once
#include <string>

namespace vantrel::wine {

// The target of a Windows shortcut (.lnk, the shell link binary format): the local path its
// location information names, else its relative path as written; "" when the bytes are no
// shortcut or name neither.
std::string ShellLinkTarget(const std::string& lnk);

// A path of the Wine prefix's drive C: ("C:\users\me\x.exe") as the Linux path under the prefix
// (PREFIX/drive_c/users/me/x.exe), "." and ".." resolved; "" for another drive.
std::string LinuxPathOf(const std::string& windowsPath, const std::string& prefix);

} // namespace vantrel::wine
