// A main for compilers without libFuzzer: runs the target once on every file named on the
// command line, or on every file inside each folder named, so ctest replays the corpora.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

namespace fs = std::filesystem;

bool Replay(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "cannot read %s\n", file.c_str());
        return false;
    }
    // An allocation of exactly the input's size, so a read past its end is caught by ASan.
    const std::vector<std::uint8_t> input{std::istreambuf_iterator<char>(in), {}};
    LLVMFuzzerTestOneInput(input.data(), input.size());
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    std::size_t replayed = 0;
    bool ok = true;
    for (int i = 1; i < argc; ++i) {
        const fs::path path = argv[i];
        if (fs::is_directory(path)) {
            for (const fs::directory_entry& entry : fs::recursive_directory_iterator(path)) {
                if (entry.is_regular_file()) {
                    ok = Replay(entry.path()) && ok;
                    ++replayed;
                }
            }
        } else {
            ok = Replay(path) && ok;
            ++replayed;
        }
    }
    std::printf("replayed %zu inputs\n", replayed);
    return ok && replayed > 0 ? 0 : 1;
}
