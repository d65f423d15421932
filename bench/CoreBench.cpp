// Benchmarks of the core on generated data: table reads, encoding detection, both conversions,
// and a whole button press (table read and conversion) on 1 MiB of text. Before measuring, it
// checks that the data converts as it must and exits with 1 if not, so a one-iteration run
// under ctest catches a broken conversion as well as a broken build.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/BenchData.h"
#include "core/encoding/modJudge.h"
#include "core/engine/CodeToText.h"
#include "core/engine/Spacing.h"
#include "core/engine/TextToCode.h"
#include "core/tables/TableReader.h"

namespace zelkora::bench {
namespace {

namespace fs = std::filesystem;

// Every conversion runs with the line-break option on, so CR LF meets the table's "\n" entry.
constexpr bool kLineBreakOption = true;

// A folder of its own under the temporary folder, removed with everything in it.
class TemporaryFolder {
public:
    TemporaryFolder() {
        std::string pattern = (fs::temp_directory_path() / "zelkora-bench-XXXXXX").string();
        if (::mkdtemp(pattern.data()) != nullptr) {
            path_ = pattern;
        }
    }
    ~TemporaryFolder() {
        std::error_code ignored;
        if (!path_.empty()) {
            fs::remove_all(path_, ignored);
        }
    }
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    [[nodiscard]] const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

struct Prepared {
    std::vector<BenchTable> tables;
    std::vector<fs::path> paths;  // where each table was written
    std::u16string text;
    std::vector<std::u16string> codes;               // the text through each table
    std::vector<std::vector<std::uint8_t>> samples;  // one per entry of kEncodings
};

// The codes-to-text button spaces an unspaced input into byte pairs before converting it.
std::u16string PressCodesToText(const CodeTable& table, std::u16string_view codes) {
    if (NeedsSpacing(codes)) {
        return fCodeToText(table, fSplitPairs(codes), kLineBreakOption);
    }
    return fCodeToText(table, codes, kLineBreakOption);
}

bool Fail(const std::string& what) {
    std::fprintf(stderr, "zelkora-bench: %s\n", what.c_str());
    return false;
}

// Reads every table back and converts the text with it, checking what a benchmark would
// otherwise measure blindly: the detected encoding, slot counts, that every character is found,
// that the three storages of Windows-31J convert alike, and that the whole-plane table gives the
// text back.
bool Prepare(const fs::path& folder, Prepared& data) {
    auto tables = AllTables();
    if (!tables) {
        return Fail("ICU has no windows-31j converter");
    }
    data.tables = std::move(*tables);
    data.text = MixedJapaneseText();
    if (!WriteTables(folder, data.tables)) {
        return Fail("cannot write the data under " + folder.string());
    }
    for (const BenchTable& table : data.tables) {
        // Read through another decoder, the table would not be the one named in the figures.
        if (DetectEncoding(table.bytes) != table.encoding) {
            return Fail(table.name + " is not detected as " + EncodingName(table.encoding));
        }
        const fs::path path = folder / table.name;
        CodeTable read;
        if (ReadTableFile(path, read) != ReadStatus::Ok || read.size() != table.lines) {
            return Fail(table.name + " does not read back with " + std::to_string(table.lines) +
                        " slots");
        }
        std::u16string codes = fTextToCode(read, data.text, kLineBreakOption);
        if (codes.find(u"??") != std::u16string::npos) {
            return Fail(table.name + " lacks a character of the text");
        }
        data.paths.push_back(path);
        data.codes.push_back(std::move(codes));
    }
    for (std::size_t t = 2; t < data.codes.size(); ++t) {
        if (data.codes[t] != data.codes[1]) {
            return Fail(data.tables[t].name + " converts unlike " + data.tables[1].name);
        }
    }
    CodeTable plane;
    if (ReadTableFile(data.paths[0], plane) != ReadStatus::Ok ||
        fCodeToText(plane, data.codes[0], kLineBreakOption) != data.text) {
        return Fail(data.tables[0].name + " does not give the text back");
    }
    for (const EncodingInfo& info : kEncodings) {
        const Encoding encoding = info.encoding;
        auto sample = DetectionSample(encoding);
        if (!sample || DetectEncoding(*sample) != encoding) {
            return Fail(std::string("the 1000-byte sample in ") + EncodingName(encoding) +
                        " is not detected as such");
        }
        data.samples.push_back(std::move(*sample));
    }
    return true;
}

void Register(const Prepared& data) {
    const auto textBytes = static_cast<std::int64_t>(kTextBytes);
    for (std::size_t t = 0; t < data.tables.size(); ++t) {
        const std::string& name = data.tables[t].name;
        const fs::path& path = data.paths[t];
        const auto fileBytes = static_cast<std::int64_t>(data.tables[t].bytes.size());
        const std::u16string& codes = data.codes[t];
        CodeTable table;
        (void)ReadTableFile(path, table);

        benchmark::RegisterBenchmark(("ReadTable/" + name).c_str(), [=](benchmark::State& state) {
            CodeTable read;
            for (auto _ : state) {
                benchmark::DoNotOptimize(ReadTableFile(path, read));
            }
            state.SetBytesProcessed(state.iterations() * fileBytes);
            state.counters["slots"] = static_cast<double>(read.size());
        })->Unit(benchmark::kMillisecond);

        benchmark::RegisterBenchmark(("TextToCode/" + name).c_str(), [table, &data, textBytes](
                                                                         benchmark::State& state) {
            for (auto _ : state) {
                benchmark::DoNotOptimize(fTextToCode(table, data.text, kLineBreakOption));
            }
            state.SetBytesProcessed(state.iterations() * textBytes);
        })->Unit(benchmark::kMillisecond);

        benchmark::RegisterBenchmark(("CodeToText/" + name).c_str(), [table, &codes](
                                                                         benchmark::State& state) {
            for (auto _ : state) {
                benchmark::DoNotOptimize(fCodeToText(table, codes, kLineBreakOption));
            }
            state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(codes.size()));
        })->Unit(benchmark::kMillisecond);

        // As a button press runs them: the table is read again before every conversion.
        benchmark::RegisterBenchmark(
            ("ButtonToCodes/" + name).c_str(),
            [path, &data, textBytes](benchmark::State& state) {
                CodeTable read;
                for (auto _ : state) {
                    benchmark::DoNotOptimize(ReadTableFile(path, read));
                    benchmark::DoNotOptimize(fTextToCode(read, data.text, kLineBreakOption));
                }
                state.SetBytesProcessed(state.iterations() * textBytes);
            })
            ->Unit(benchmark::kMillisecond);

        benchmark::RegisterBenchmark(("ButtonToText/" + name).c_str(), [path,
                                                                        &codes](benchmark::State&
                                                                                    state) {
            CodeTable read;
            for (auto _ : state) {
                benchmark::DoNotOptimize(ReadTableFile(path, read));
                benchmark::DoNotOptimize(PressCodesToText(read, codes));
            }
            state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(codes.size()));
        })->Unit(benchmark::kMillisecond);
    }

    for (std::size_t e = 0; e < kEncodings.size(); ++e) {
        const std::vector<std::uint8_t>& sample = data.samples[e];
        benchmark::RegisterBenchmark(
            (std::string("DetectEncoding/") + kEncodings[e].detectionName).c_str(),
            [&sample](benchmark::State& state) {
                for (auto _ : state) {
                    benchmark::DoNotOptimize(DetectEncoding(sample));
                }
                state.SetBytesProcessed(state.iterations() *
                                        static_cast<std::int64_t>(sample.size()));
            })
            ->Unit(benchmark::kMicrosecond);
    }
}

}  // namespace
}  // namespace zelkora::bench

int main(int argc, char** argv) {
    using namespace zelkora::bench;
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 2;
    }
    const TemporaryFolder folder;
    if (folder.path().empty()) {
        std::fprintf(stderr, "zelkora-bench: cannot create a temporary folder\n");
        return 1;
    }
    static Prepared data;  // referenced by the registered benchmarks until they have run
    if (!Prepare(folder.path(), data)) {
        return 1;
    }
    Register(data);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
