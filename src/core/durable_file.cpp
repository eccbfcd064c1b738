#include "core/durable_file.h"

#include <atomic>
#include <filesystem>
#include <sstream>
#include <system_error>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <process.h>
#include <sys/stat.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace vantrel {

namespace {

#ifdef _WIN32
int OpenForAppend(const std::string& path) {
    return ::_open(path.c_str(), _O_WRONLY | _O_APPEND | _O_CREAT | _O_BINARY, _S_IREAD | _S_IWRITE);
}
long long SizeOf(int fd) {
    return ::_lseeki64(fd, 0, SEEK_END);
}
long long WriteAll(int fd, const std::string& bytes) {
    return ::_write(fd, bytes.data(), static_cast<unsigned>(bytes.size()));
}
bool Sync(int fd) {
    return ::_commit(fd) == 0;
}
void CutTo(int fd, long long size) {
    ::_chsize_s(fd, size);
}
void CloseFile(int fd) {
    ::_close(fd);
}
int ProcessId() {
    return ::_getpid();
}
#else
int OpenForAppend(const std::string& path) {
    return ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
}
long long SizeOf(int fd) {
    struct stat st {};
    return ::fstat(fd, &st) == 0 ? static_cast<long long>(st.st_size) : -1;
}
// One write call: a line of a log is a few hundred bytes, which the kernel writes whole or not
// at all to a regular file, even when the process is killed meanwhile.
long long WriteAll(int fd, const std::string& bytes) {
    return ::write(fd, bytes.data(), bytes.size());
}
bool Sync(int fd) {
    return ::fsync(fd) == 0;
}
void CutTo(int fd, long long size) {
    if (::ftruncate(fd, size) == 0) ::fsync(fd);
}
void CloseFile(int fd) {
    ::close(fd);
}
int ProcessId() {
    return static_cast<int>(::getpid());
}
#endif

} // namespace

bool AppendDurably(const std::string& path, const std::string& bytes) {
    const int fd = OpenForAppend(path);
    if (fd < 0) return false;
    const long long oldSize = SizeOf(fd);
    if (oldSize < 0) {
        CloseFile(fd);
        return false;
    }
    const long long written = WriteAll(fd, bytes);
    const bool ok = written == static_cast<long long>(bytes.size()) && Sync(fd);
    if (!ok && written > 0) CutTo(fd, oldSize);
    CloseFile(fd);
    return ok;
}

bool CopyFileAtomically(const std::string& from, const std::string& to) {
    namespace fs = std::filesystem;
    static std::atomic<unsigned> copies{0};
    std::ostringstream name;
    name << to << '.' << ProcessId() << '-' << ++copies << ".tmp~";
    const std::string temp = name.str();
    std::error_code ec;
    if (!fs::copy_file(from, temp, fs::copy_options::overwrite_existing, ec) || ec) {
        std::error_code ignored;
        fs::remove(temp, ignored);
        return false;
    }
#ifndef _WIN32
    // The copy's bytes reach the disk before its name appears.
    const int fd = ::open(temp.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
#endif
    fs::rename(temp, to, ec);
    if (ec) {
        std::error_code ignored;
        fs::remove(temp, ignored);
        return false;
    }
    return true;
}

} // namespace vantrel
