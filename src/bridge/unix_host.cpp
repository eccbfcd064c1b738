#include "unix_host.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <cstring>

namespace vantrel::unix_host {

namespace {

#if defined(__x86_64__)
constexpr bool kLinuxCalls = true;

long long Call(long long number, long long a = 0, long long b = 0, long long c = 0) {
    long long result;
    asm volatile("syscall" : "=a"(result) : "a"(number), "D"(a), "S"(b), "d"(c) : "rcx", "r11", "memory");
    return result;
}

// x86-64 Linux system call numbers.
constexpr long long kRead = 0, kWrite = 1, kOpen = 2, kClose = 3, kLstat = 6, kFsync = 74, kRename = 82,
                    kMkdir = 83, kUnlink = 87, kGetuid = 102;
// The kernel's struct stat: mode at byte 24, uid at 28, size at 48.
constexpr int kModeAt = 24, kUidAt = 28, kSizeAt = 48;
#elif defined(__i386__)
// The 32-bit bridge (FS2004's own bitness) reaches the kernel through its 32-bit entry, in a
// 32-bit Wine process and in a WoW64 one alike (its memory lies below 4 GiB).
constexpr bool kLinuxCalls = true;

long long Call(long long number, long long a = 0, long long b = 0, long long c = 0) {
    long result;
    asm volatile("int $0x80"
                 : "=a"(result)
                 : "a"(long(number)), "b"(long(a)), "c"(long(b)), "d"(long(c))
                 : "memory");
    return result;
}

// i386 Linux system call numbers: lstat64 and getuid32 for full sizes and user ids.
constexpr long long kRead = 3, kWrite = 4, kOpen = 5, kClose = 6, kLstat = 196, kFsync = 118, kRename = 38,
                    kMkdir = 39, kUnlink = 10, kGetuid = 199;
// The kernel's struct stat64: mode at byte 16, uid at 24, size at 44.
constexpr int kModeAt = 16, kUidAt = 24, kSizeAt = 44;
#else
constexpr bool kLinuxCalls = false;

long long Call(long long, long long = 0, long long = 0, long long = 0) {
    return -38; // ENOSYS
}

constexpr long long kRead = 0, kWrite = 0, kOpen = 0, kClose = 0, kLstat = 0, kFsync = 0, kRename = 0,
                    kMkdir = 0, kUnlink = 0, kGetuid = 0;
constexpr int kModeAt = 0, kUidAt = 0, kSizeAt = 0;
#endif

// Open flags and errors, the same on both.
constexpr long long kReadOnly = 0, kWriteOnly = 1, kCreate = 0100, kExclusive = 0200, kNoFollow = 0400000,
                    kCloseOnExec = 02000000;
constexpr long long kExists = -17;
constexpr std::uint32_t kTypeMask = 0170000, kDirectory = 0040000, kRegular = 0100000;

long long Arg(const std::string& text) {
    return (long long)(std::uintptr_t)text.c_str();
}

struct Status {
    std::uint32_t mode = 0;
    std::uint32_t uid = 0;
    long long size = 0;
};

bool Lstat(const std::string& path, Status& status) {
    alignas(8) unsigned char st[144] = {};
    if (Call(kLstat, Arg(path), (long long)(std::uintptr_t)st) != 0) return false;
    std::memcpy(&status.mode, st + kModeAt, 4);
    std::memcpy(&status.uid, st + kUidAt, 4);
    std::memcpy(&status.size, st + kSizeAt, 8);
    return true;
}

} // namespace

bool HostIsLinux() {
    if (!kLinuxCalls) return false;
    using HostVersion = void (*)(const char**, const char**);
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    auto host_version = ntdll == nullptr ? nullptr
                                         : reinterpret_cast<HostVersion>(reinterpret_cast<void*>(
                                               GetProcAddress(ntdll, "wine_get_host_version")));
    if (host_version == nullptr) return false;
    const char* system = nullptr;
    const char* release = nullptr;
    host_version(&system, &release);
    return system != nullptr && std::strcmp(system, "Linux") == 0;
}

std::uint32_t UserId() {
    return std::uint32_t(Call(kGetuid));
}

bool PreparePrivateFolder(const std::string& path, std::string& reason) {
    const long long made = Call(kMkdir, Arg(path), 0700);
    if (made != 0 && made != kExists) {
        reason = "cannot create " + path + " (error " + std::to_string(-made) + ")";
        return false;
    }
    Status status;
    if (!Lstat(path, status) || (status.mode & kTypeMask) != kDirectory || status.uid != UserId() ||
        (status.mode & 077) != 0) {
        reason = path + " must be a folder of this user that nobody else may use (mode 0700)";
        return false;
    }
    return true;
}

bool WritePrivateFile(const std::string& path, const std::string& content) {
    const std::string temporary = path + ".new-" + std::to_string(GetCurrentProcessId());
    Call(kUnlink, Arg(temporary));
    const long long fd =
        Call(kOpen, Arg(temporary), kWriteOnly | kCreate | kExclusive | kNoFollow | kCloseOnExec, 0600);
    if (fd < 0) return false;
    const bool written =
        Call(kWrite, fd, Arg(content), (long long)content.size()) == (long long)content.size() &&
        Call(kFsync, fd) == 0;
    Call(kClose, fd);
    if (!written || Call(kRename, Arg(temporary), Arg(path)) != 0) {
        Call(kUnlink, Arg(temporary));
        return false;
    }
    return true;
}

bool ReadSmallFile(const std::string& path, std::size_t max_size, std::string& content) {
    Status status;
    if (!Lstat(path, status) || (status.mode & kTypeMask) != kRegular || status.size > (long long)max_size)
        return false;
    const long long fd = Call(kOpen, Arg(path), kReadOnly | kNoFollow | kCloseOnExec);
    if (fd < 0) return false;
    std::string buffer(max_size, '\0');
    const long long n = Call(kRead, fd, (long long)(std::uintptr_t)buffer.data(), (long long)max_size);
    Call(kClose, fd);
    if (n < 0) return false;
    content = buffer.substr(0, std::size_t(n));
    return true;
}

void RemoveFile(const std::string& path) {
    Call(kUnlink, Arg(path));
}

} // namespace vantrel::unix_host
