#include "core/durable_file.h"

#include <atomic>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <optional>
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
int CreateNew(const std::string& path) {
    return ::_open(path.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
}
int OpenForRead(const std::string& path) {
    return ::_open(path.c_str(), _O_RDONLY | _O_BINARY);
}
long long ReadSome(int fd, char* data, std::size_t size) {
    return ::_read(fd, data, static_cast<unsigned>(size));
}
long long SizeOf(int fd) {
    return ::_lseeki64(fd, 0, SEEK_END);
}
long long WriteSome(int fd, const char* data, std::size_t size) {
    return ::_write(fd, data, static_cast<unsigned>(size));
}
bool Sync(int fd) {
    return ::_commit(fd) == 0;
}
void CutTo(int fd, long long size) {
    ::_chsize_s(fd, size);
}
bool CloseFile(int fd) {
    return ::_close(fd) == 0;
}
int ProcessId() {
    return ::_getpid();
}
#else
int OpenForAppend(const std::string& path) {
    return ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
}
int CreateNew(const std::string& path) {
    return ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
}
int OpenForRead(const std::string& path) {
    return ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
}
long long ReadSome(int fd, char* data, std::size_t size) {
    return ::read(fd, data, size);
}
long long SizeOf(int fd) {
    struct stat st {};
    return ::fstat(fd, &st) == 0 ? static_cast<long long>(st.st_size) : -1;
}
long long WriteSome(int fd, const char* data, std::size_t size) {
    return ::write(fd, data, size);
}
bool Sync(int fd) {
    return ::fsync(fd) == 0;
}
void CutTo(int fd, long long size) {
    if (::ftruncate(fd, size) == 0) ::fsync(fd);
}
bool CloseFile(int fd) {
    return ::close(fd) == 0;
}
int ProcessId() {
    return static_cast<int>(::getpid());
}
#endif

// Keeps the first reason of a failed operation for the caller.
bool Fail(std::string* reason, const std::string& why) {
    if (reason) *reason = why;
    return false;
}
bool FailWithErrno(std::string* reason, int error) {
    return Fail(reason, error != 0 ? std::strerror(error) : "the data was not written whole");
}

// Writes all bytes, in as many calls as the system needs; the errno of a failed call is kept.
bool WriteAll(int fd, const std::string& bytes, int& error) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        errno = 0;
        const long long n = WriteSome(fd, bytes.data() + done, bytes.size() - done);
        if (n <= 0) {
            if (n < 0 && errno == EINTR) continue;
            error = errno;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// A name of its own per write beside the target, so two writers (two program instances, or the
// command line beside the window) never write into one temporary file.
std::filesystem::path TemporaryBeside(const std::filesystem::path& target) {
    static std::atomic<unsigned> writes{0};
    std::ostringstream suffix;
    suffix << '.' << ProcessId() << '-' << ++writes << ".tmp~";
    std::filesystem::path temp = target;
    temp += suffix.str();
    return temp;
}

void RemoveQuietly(const std::filesystem::path& path) {
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
}

} // namespace

bool AppendDurably(const std::string& path, const std::string& bytes, std::string* reason) {
    const int fd = OpenForAppend(path);
    if (fd < 0) return FailWithErrno(reason, errno);
    const long long oldSize = SizeOf(fd);
    if (oldSize < 0) {
        const int error = errno;
        CloseFile(fd);
        return FailWithErrno(reason, error);
    }
    // A line of a log is a few hundred bytes, which the kernel writes whole in the first call,
    // even when the process is killed meanwhile.
    int error = 0;
    const bool written = WriteAll(fd, bytes, error);
    if (written && !Sync(fd)) error = errno;
    const bool ok = written && error == 0;
    if (!ok) CutTo(fd, oldSize);
    CloseFile(fd);
    return ok || FailWithErrno(reason, error);
}

namespace {

// Fills a fresh temporary file beside target through fill(fd, error), makes it durable, gives it
// perms when there are any and puts it in target's place; on any failure the temporary file goes
// and target is untouched.
template <class Fill>
bool WriteThroughTemporary(const std::filesystem::path& target, Fill fill, std::string* reason,
                           std::optional<std::filesystem::perms> perms = std::nullopt) {
    namespace fs = std::filesystem;
    const fs::path temp = TemporaryBeside(target);
    const int fd = CreateNew(temp.string());
    if (fd < 0) return FailWithErrno(reason, errno);
    int error = 0;
    bool ok = fill(fd, error);
    if (ok && !Sync(fd)) {
        error = errno;
        ok = false;
    }
    if (!CloseFile(fd) && ok) {
        error = errno;
        ok = false;
    }
    if (!ok) {
        RemoveQuietly(temp);
        return FailWithErrno(reason, error);
    }
    std::error_code ec;
    if (perms) fs::permissions(temp, *perms, fs::perm_options::replace, ec);
    fs::rename(temp, target, ec);
    if (ec) {
        RemoveQuietly(temp);
        return Fail(reason, ec.message());
    }
    return true;
}

} // namespace

bool CopyFileAtomically(const std::string& from, const std::string& to, std::string* reason) {
    const int source = OpenForRead(from);
    if (source < 0) return FailWithErrno(reason, errno);
    const bool copied = WriteThroughTemporary(
        to,
        [source](int fd, int& error) {
            std::string chunk(64 * 1024, '\0');
            for (;;) {
                errno = 0;
                const long long n = ReadSome(source, chunk.data(), chunk.size());
                if (n == 0) return true;
                if (n < 0) {
                    if (errno == EINTR) continue;
                    error = errno;
                    return false;
                }
                if (!WriteAll(fd, chunk.substr(0, static_cast<std::size_t>(n)), error)) return false;
            }
        },
        reason);
    CloseFile(source);
    return copied;
}

bool ReplaceFileDurably(const std::string& path, const std::string& content, std::string* reason) {
    namespace fs = std::filesystem;
    std::error_code ec;
    // A linked file is replaced at the link's target, so the link keeps pointing at the data.
    fs::path target(path);
    if (fs::symlink_status(target, ec).type() == fs::file_type::symlink) {
        target = fs::weakly_canonical(target, ec);
        if (ec) return Fail(reason, ec.message());
    }
    // The new file keeps the old one's permissions.
    std::error_code statusError;
    const fs::file_status oldStatus = fs::status(target, statusError);
    std::optional<fs::perms> perms;
    if (!statusError && fs::exists(oldStatus)) perms = oldStatus.permissions();
    return WriteThroughTemporary(
        target, [&content](int fd, int& error) { return WriteAll(fd, content, error); }, reason, perms);
}

} // namespace vantrel
