#include "shell/sim_file_guard.h"

#include "core/durable_file.h"
#include "core/profile_file.h"

#include <filesystem>

namespace vantrel {

bool KeepOriginalOnce(const std::string& path, std::string* failure) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const std::string original = path + kOriginalSuffix;
    if (!fs::exists(path, ec) || fs::exists(original, ec)) return true;
    std::string reason;
    if (CopyFileAtomically(path, original, &reason)) return true;
    if (failure) *failure = UnableToWrite(original, reason);
    return false;
}

std::string WithSimFolderAdvice(const std::string& failure) {
    static const char* const refusals[] = {"Permission denied", "Operation not permitted",
                                           "Read-only file system", "Access is denied"};
    bool refused = false;
    for (const char* r : refusals)
        refused = refused || failure.find(r) != std::string::npos;
    if (!refused) return failure;
    return failure +
           "\n\nThe system does not let this program change files in the simulator's folder, so this "
           "file was left as it was. Windows protects C:\\Program Files (x86) and everything in it: "
           "either give your Windows user full control of the FS2004 folder (right-click it, "
           "Properties, Security, Edit) or install FS2004 in a folder of its own such as C:\\FS2004. "
           "Then press Save again.";
}

} // namespace vantrel
