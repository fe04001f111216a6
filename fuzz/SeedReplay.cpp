// The driver of a fuzz target where libFuzzer is not at hand (the default
// build, GCC): it feeds the target every seed named on the command line, a
// folder standing for the files in it, each once and in name order. Nothing
// to feed is a failure, so that seeds that went missing are noticed.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);
// Only some targets set themselves up first.
extern "C" __attribute__((weak)) int LLVMFuzzerInitialize(int* argc, char*** argv);

namespace {

namespace fs = std::filesystem;

bool collect(const fs::path& named, std::vector<fs::path>& inputs)
{
    std::error_code error;
    if (fs::is_regular_file(named, error)) {
        inputs.push_back(named);
        return true;
    }
    if (!fs::is_directory(named, error))
        return false;
    for (const fs::directory_entry& entry : fs::directory_iterator(named, error)) {
        if (entry.is_regular_file())
            inputs.push_back(entry.path());
    }
    return !error;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s SEED_FILE_OR_FOLDER...\n", argv[0]);
        return 2;
    }
    if (LLVMFuzzerInitialize)
        LLVMFuzzerInitialize(&argc, &argv);
    std::vector<fs::path> inputs;
    for (int i = 1; i < argc; ++i) {
        if (!collect(argv[i], inputs)) {
            std::fprintf(stderr, "no seed file or folder: %s\n", argv[i]);
            return 2;
        }
    }
    if (inputs.empty()) {
        std::fprintf(stderr, "no seeds to replay\n");
        return 2;
    }
    std::sort(inputs.begin(), inputs.end());
    for (const fs::path& input : inputs) {
        std::ifstream file(input, std::ios::binary);
        const std::vector<char> bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
        if (!file.eof() && file.fail()) {
            std::fprintf(stderr, "cannot read %s\n", input.c_str());
            return 2;
        }
        std::fprintf(stderr, "replaying %s (%zu bytes)\n", input.c_str(), bytes.size());
        // A buffer of exactly the input's size, as libFuzzer hands over, so
        // that a sanitizer sees a read past its end.
        const auto data = std::make_unique<uint8_t[]>(std::max<size_t>(bytes.size(), 1));
        std::copy(bytes.begin(), bytes.end(), data.get());
        LLVMFuzzerTestOneInput(data.get(), bytes.size());
    }
    std::fprintf(stderr, "replayed %zu seeds\n", inputs.size());
    return 0;
}
