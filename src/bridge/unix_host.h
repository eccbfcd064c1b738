#pragma once
#include <cstdint>
#include <string>

// The few Unix file operations the bridge needs where Wine's own file calls fall short: Wine
// gives a new file its owner's permissions for the group as well, but the bridge's token
// must be readable by its user only. They are made as Linux system calls, which a program
// under Wine on Linux reaches directly; anywhere else HostIsLinux() is false and nothing here
// may be called.
namespace vantrel::unix_host {

// True when this program runs under Wine on Linux (x86-64 or i386 build).
bool HostIsLinux();

std::uint32_t UserId();

// Creates the folder (mode 0700) when missing; false with a reason when it is missing and
// cannot be created, or exists but belongs to another user or has any group or other bits.
bool PreparePrivateFolder(const std::string& path, std::string& reason);

// Writes the file with mode 0600 through a temporary file and a rename.
bool WritePrivateFile(const std::string& path, const std::string& content);

// Up to max_size bytes of a regular file that is not a link; false when there is none.
bool ReadSmallFile(const std::string& path, std::size_t max_size, std::string& content);

void RemoveFile(const std::string& path);

} // namespace vantrel::unix_host
