#include "shell_link.h"

#include <cstdint>
#include <filesystem>

namespace vantrel::wine {
namespace {

// Little-endian fields; zero past the end, so a cut file reads as no shortcut.
std::uint32_t U32(const std::string& b, std::size_t at) {
    if (at + 4 > b.size()) return 0;
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = (v << 8) | static_cast<unsigned char>(b[at + static_cast<std::size_t>(i)]);
    return v;
}

std::uint16_t U16(const std::string& b, std::size_t at) {
    if (at + 2 > b.size()) return 0;
    return static_cast<std::uint16_t>(static_cast<unsigned char>(b[at]) |
                                      (static_cast<unsigned char>(b[at + 1]) << 8));
}

std::string CString(const std::string& b, std::size_t at) {
    if (at >= b.size()) return {};
    const std::size_t end = b.find('\0', at);
    return b.substr(at, end == std::string::npos ? std::string::npos : end - at);
}

constexpr std::uint32_t kHasIdList = 0x1, kHasLinkInfo = 0x2, kHasName = 0x4, kHasRelativePath = 0x8,
                        kIsUnicode = 0x80;
constexpr std::uint32_t kLocalPath = 0x1; // LinkInfo flag: volume and local base path present
constexpr std::size_t kHeaderSize = 0x4C;

} // namespace

std::string ShellLinkTarget(const std::string& lnk) {
    if (U32(lnk, 0) != kHeaderSize) return {};
    const std::uint32_t flags = U32(lnk, 0x14);
    std::size_t at = kHeaderSize;
    if (flags & kHasIdList) at += 2 + U16(lnk, at);
    if (flags & kHasLinkInfo) {
        const std::size_t info = at;
        if (U32(lnk, info + 8) & kLocalPath) {
            std::string path = CString(lnk, info + U32(lnk, info + 0x10));
            path += CString(lnk, info + U32(lnk, info + 0x18)); // the common path suffix
            if (!path.empty()) return path;
        }
        at += U32(lnk, info);
    }
    // The string data: the description, then the relative path.
    const bool unicode = flags & kIsUnicode;
    auto next = [&](std::string* text) {
        const std::size_t count = U16(lnk, at);
        at += 2;
        for (std::size_t i = 0; i < count && at < lnk.size(); ++i, at += unicode ? 2 : 1)
            if (text) *text += static_cast<char>(unicode ? U16(lnk, at) & 0x7F : lnk[at]);
    };
    if (flags & kHasName) next(nullptr);
    std::string relative;
    if (flags & kHasRelativePath) next(&relative);
    return relative;
}

std::string LinuxPathOf(const std::string& windowsPath, const std::string& prefix) {
    if (windowsPath.size() < 3 || (windowsPath[0] != 'C' && windowsPath[0] != 'c') || windowsPath[1] != ':')
        return {};
    std::string rest = windowsPath.substr(2);
    for (char& c : rest)
        if (c == '\\') c = '/';
    return std::filesystem::path(prefix + "/drive_c" + rest).lexically_normal().string();
}

} // namespace vantrel::wine
