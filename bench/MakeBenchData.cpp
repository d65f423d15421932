// zelkora-bench-data FOLDER: writes the benchmark tables and the 1 MiB text into FOLDER (created
// if missing), so whole processes can be timed on the same data as the benchmarks.

#include <cstdio>
#include <filesystem>

#include "bench/BenchData.h"

int main(int argc, char** argv) {
    using namespace zelkora::bench;
    if (argc != 2) {
        std::fprintf(stderr, "usage: zelkora-bench-data FOLDER\n");
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    const auto tables = AllTables();
    if (!tables) {
        std::fprintf(stderr, "zelkora-bench-data: ICU has no windows-31j converter\n");
        return 1;
    }
    if (error || !WriteTables(folder, *tables) ||
        !WriteUtf8(folder / kTextFileName, MixedJapaneseText())) {
        std::fprintf(stderr, "zelkora-bench-data: cannot write into %s\n", folder.c_str());
        return 1;
    }
    for (const BenchTable& table : *tables) {
        std::printf("%s\t%zu lines\t%zu bytes\n", table.name.c_str(), table.lines,
                    table.bytes.size());
    }
    std::printf("%s\t%zu bytes\n", kTextFileName, kTextBytes);
    return 0;
}
