// Runs a fuzz target once over every file of the folders (or files) named on
// the command line, without libFuzzer: the test build replays the committed
// corpora this way, so that a change that makes a saved input crash or break
// a target's property fails the tests. A folder without inputs is an error,
// so that a lost corpus cannot pass unnoticed.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);
// Defined only by the targets that set something up once.
extern "C" __attribute__((weak)) int LLVMFuzzerInitialize(int* argc, char*** argv);

namespace
{

bool inputsOf(const std::filesystem::path& where, std::vector<std::filesystem::path>& out)
{
    std::error_code error;
    if (!std::filesystem::is_directory(where, error)) {
        if (!std::filesystem::is_regular_file(where, error))
            return false;
        out.push_back(where);
        return true;
    }
    const size_t before = out.size();
    for (const auto& entry : std::filesystem::directory_iterator(where, error)) {
        if (entry.is_regular_file())
            out.push_back(entry.path());
    }
    // The same order on every machine, so that a failure repeats.
    std::sort(out.begin() + static_cast<std::ptrdiff_t>(before), out.end());
    return !error && out.size() > before;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FOLDER|FILE...\n", argv[0]);
        return 2;
    }
    std::vector<std::filesystem::path> inputs;
    for (int i = 1; i < argc; ++i) {
        if (!inputsOf(argv[i], inputs)) {
            std::fprintf(stderr, "%s: no inputs in %s\n", argv[0], argv[i]);
            return 2;
        }
    }
    if (LLVMFuzzerInitialize) {
        int initArgc = 1;
        char** initArgv = argv;
        LLVMFuzzerInitialize(&initArgc, &initArgv);
    }
    for (const auto& path : inputs) {
        std::ifstream in(path, std::ios::binary);
        const std::vector<char> bytes { std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>() };
        if (!in.good() && !in.eof()) {
            std::fprintf(stderr, "%s: cannot read %s\n", argv[0], path.c_str());
            return 2;
        }
        // A copy of exactly the input's size, so that a read past its end
        // is caught as libFuzzer would catch it.
        std::vector<uint8_t> data(bytes.begin(), bytes.end());
        const uint8_t* start = data.empty() ? nullptr : data.data();
        std::fprintf(stderr, "%s\n", path.c_str());
        LLVMFuzzerTestOneInput(start, data.size());
    }
    std::printf("%zu inputs run\n", inputs.size());
    return 0;
}
