// zelkora-bench-data FOLDER [--text-mib N] [--large-table MB]: writes the benchmark tables and
// the text (1 MiB unless N is given) into FOLDER (created if missing), so whole processes can be
// timed on the same data as the benchmarks; with --large-table also a table of about MB
// megabytes (10^6 bytes), the whole-plane table repeated.

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string_view>

#include "bench/BenchData.h"

int main(int argc, char** argv) {
    using namespace zelkora::bench;
    const auto usage = [] {
        std::fprintf(stderr,
                     "usage: zelkora-bench-data FOLDER [--text-mib N] [--large-table MB]\n");
        return 2;
    };
    if (argc < 2 || argc % 2 != 0) {
        return usage();
    }
    std::size_t textBytes = kTextBytes;
    std::size_t largeTableBytes = 0;
    for (int i = 2; i + 1 < argc; i += 2) {
        const std::string_view option = argv[i];
        const std::size_t count = std::strtoull(argv[i + 1], nullptr, 10);
        if (option == "--text-mib" && count > 0) {
            textBytes = count << 20;
        } else if (option == "--large-table" && count > 0) {
            largeTableBytes = count * 1000 * 1000;
        } else {
            return usage();
        }
    }
    const std::filesystem::path folder = argv[1];
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    auto tables = AllTables();
    if (!tables) {
        std::fprintf(stderr, "zelkora-bench-data: ICU has no windows-31j converter\n");
        return 1;
    }
    if (largeTableBytes > 0) {
        tables->push_back(RepeatedBmpTable(largeTableBytes));
    }
    if (error || !WriteTables(folder, *tables) ||
        !WriteMixedJapaneseText(folder / kTextFileName, textBytes)) {
        std::fprintf(stderr, "zelkora-bench-data: cannot write into %s\n", folder.c_str());
        return 1;
    }
    for (const BenchTable& table : *tables) {
        std::printf("%s\t%zu lines\t%zu bytes\n", table.name.c_str(), table.lines,
                    table.bytes.size());
    }
    std::printf("%s\t%zu bytes\n", kTextFileName, textBytes);
    return 0;
}
