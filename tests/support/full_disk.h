#pragma once
// A disk that a test fills and frees while a program writes to it. Run as root, it is a real
// small tmpfs mounted on a folder, filled with a filler file until the system says "No space
// left on device". Otherwise (or where mounting is not allowed) it is the program's file-size
// limit (RLIMIT_FSIZE, with SIGXFSZ ignored so a write fails with "File too large" instead of
// killing the program), lowered to nothing and lifted again with prlimit.
#include <QProcess>
#include <QString>
#include <QStringList>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace vantrel::test {

enum class FullDiskKind { Tmpfs, FileSizeLimit };

inline const char* KindName(FullDiskKind kind) {
    return kind == FullDiskKind::Tmpfs ? "tmpfs" : "file-size limit";
}

// The kinds this run can make: a tmpfs needs root.
inline std::vector<FullDiskKind> AvailableFullDiskKinds() {
    if (geteuid() == 0) return {FullDiskKind::Tmpfs, FullDiskKind::FileSizeLimit};
    return {FullDiskKind::FileSizeLimit};
}

class FullDisk {
public:
    // folder: an empty folder that becomes the disk (mounted over for a tmpfs).
    FullDisk(FullDiskKind kind, std::string folder) : kind_(kind), folder_(std::move(folder)) {
        if (kind_ == FullDiskKind::Tmpfs)
            mounted_ =
                Run("mount", {"-t", "tmpfs", "-o", "size=2m", "tmpfs", QString::fromStdString(folder_)});
    }
    ~FullDisk() {
        if (mounted_) Run("umount", {"-l", QString::fromStdString(folder_)});
    }
    FullDisk(const FullDisk&) = delete;
    FullDisk& operator=(const FullDisk&) = delete;

    // False when the disk could not be made (the test then cannot run on it).
    bool Ready() const { return kind_ == FullDiskKind::FileSizeLimit || mounted_; }

    // The program line that starts a writer on this disk: SIGXFSZ ignored for the limit.
    QStringList Wrap(const QString& program, const QStringList& arguments) const {
        if (kind_ == FullDiskKind::Tmpfs) return QStringList{program} + arguments;
        return QStringList{"/bin/sh", "-c", "trap '' XFSZ; exec \"$0\" \"$@\"", program} + arguments;
    }

    // Fills the disk for the writer with process id pid.
    bool Fill(qint64 pid) {
        if (kind_ == FullDiskKind::FileSizeLimit) return Limit(pid, "0:");
        std::FILE* filler = std::fopen((folder_ + "/filler").c_str(), "wb");
        if (!filler) return false;
        static const char block[4096] = {};
        while (std::fwrite(block, 1, sizeof block, filler) == sizeof block) {
        }
        const bool full = errno == ENOSPC;
        std::fclose(filler);
        return full;
    }
    bool Free(qint64 pid) {
        if (kind_ == FullDiskKind::FileSizeLimit) return Limit(pid, "unlimited:");
        std::error_code ec;
        return std::filesystem::remove(folder_ + "/filler", ec);
    }

private:
    static bool Run(const QString& program, const QStringList& arguments) {
        QProcess p;
        p.start(program, arguments);
        return p.waitForFinished(10000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    }
    static bool Limit(qint64 pid, const QString& softColonHard) {
        return Run("prlimit", {"--pid", QString::number(pid), "--fsize=" + softColonHard});
    }

    FullDiskKind kind_;
    std::string folder_;
    bool mounted_ = false;
};

} // namespace vantrel::test
