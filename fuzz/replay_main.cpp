// Runs every file of the given folders through a fuzz target's entry point, once each, so the
// inputs that once made a target fail are tried again by every normal test run. A target
// reports a fault by aborting; a folder that cannot be read fails the run.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

int main(int argc, char** argv) {
    namespace fs = std::filesystem;
    int replayed = 0;
    for (int a = 1; a < argc; ++a) {
        std::error_code ec;
        std::vector<fs::path> inputs;
        for (const auto& entry : fs::directory_iterator(argv[a], ec))
            if (entry.is_regular_file()) inputs.push_back(entry.path());
        if (ec) {
            std::fprintf(stderr, "cannot read the folder %s: %s\n", argv[a], ec.message().c_str());
            return 1;
        }
        for (const fs::path& path : inputs) {
            std::ifstream in(path, std::ios::binary);
            const std::vector<char> bytes((std::istreambuf_iterator<char>(in)),
                                          std::istreambuf_iterator<char>());
            if (!in.eof() && in.fail()) {
                std::fprintf(stderr, "cannot read %s\n", path.string().c_str());
                return 1;
            }
            std::printf("%s\n", path.filename().string().c_str());
            std::fflush(stdout);
            // An empty input comes as a null pointer, as the fuzzer may hand it over.
            LLVMFuzzerTestOneInput(
                bytes.empty() ? nullptr : reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
            ++replayed;
        }
    }
    std::printf("%d inputs replayed\n", replayed);
    return replayed > 0 ? 0 : 1;
}
