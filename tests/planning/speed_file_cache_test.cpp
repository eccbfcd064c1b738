#include "core/convert.h"
#include "planning/speed_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

using namespace vantrel;
namespace fs = std::filesystem;

// Speed files are read on every computation; an edited file must be seen at once, even when
// its size stays the same.
TEST(SpeedFileReads, AnEditedFileIsReadAfresh) {
    const fs::path path = fs::temp_directory_path() / ("speeds-" + std::to_string(::getpid()) + ".txt");
    std::ofstream(path, std::ios::binary) << "//AV1\n130\n129\n";
    EXPECT_EQ(SpeedFile(path.string()).Lookup("//AV1", 1), "129");

    std::ofstream(path, std::ios::binary) << "//AV1\n131\n128\n";
    fs::last_write_time(path, fs::last_write_time(path) + std::chrono::seconds(2));
    EXPECT_EQ(SpeedFile(path.string()).Lookup("//AV1", 1), "128");

    fs::remove(path);
    EXPECT_THROW(SpeedFile(path.string()), UserError);
}
