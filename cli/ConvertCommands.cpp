#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "cli/CliIo.h"
#include "cli/CliTable.h"
#include "cli/Commands.h"
#include "encoding/Utf8.h"
#include "engine/CodeToText.h"
#include "engine/Spacing.h"
#include "engine/TextToCode.h"
#include "tables/tools/ConversionReport.h"

namespace zelkora::cli {
namespace {

enum class Direction { ToCodes, ToText, Auto };

constexpr OptionSpec kOptions[] = {{"--table", true}, {"--line-break", false}, {"--report", false}};

// The codes-to-text button spaces an unspaced input into byte pairs before converting.
// Only a spaced copy is made: codes already spaced are converted where they are. A report
// names the elements as converted, after spacing.
std::u16string CodesToText(const CodeTable& table, const std::u16string& codes, bool lineBreak,
                           std::string* report) {
    std::vector<std::size_t> unmatched;
    std::vector<std::size_t>* list = report != nullptr ? &unmatched : nullptr;
    const auto convert = [&](const std::u16string& spaced) {
        std::u16string text = fCodeToText(table, spaced, lineBreak, list);
        if (report != nullptr) {
            *report = ReportUnmatchedCodes(spaced, unmatched);
        }
        return text;
    };
    return NeedsSpacing(codes) ? convert(fSplitPairs(codes)) : convert(codes);
}

// Converts and writes a slice of the text at a time, so the codes, about three times as long as
// the text, are never held whole. A slice never ends on a CR or a backslash, which may begin a
// CR LF pair or the backslash-n token, so it ends between two groups and the codes are those of
// the whole text. Unmatched offsets are counted from the start of the text.
bool WriteTextAsCodes(const CodeTable& table, std::u16string_view text, bool lineBreak,
                      std::vector<std::size_t>* unmatched) {
    constexpr std::size_t kSlice = std::size_t{1} << 16;
    std::vector<std::size_t> inSlice;
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = std::min(start + kSlice, text.size());
        while (end < text.size() && (text[end - 1] == u'\r' || text[end - 1] == u'\\')) {
            ++end;
        }
        inSlice.clear();
        const std::u16string codes = fTextToCode(table, text.substr(start, end - start), lineBreak,
                                                 unmatched != nullptr ? &inSlice : nullptr);
        if (unmatched != nullptr) {
            for (const std::size_t at : inSlice) {
                unmatched->push_back(start + at);
            }
        }
        if (!WriteStandardOutputText(codes)) {
            return false;
        }
        start = end;
    }
    return true;
}

int Convert(const Invocation& invocation, Direction direction) {
    const auto args = ParseArgs(invocation, kOptions, 0, 0);
    if (!args) {
        return kExitUsage;
    }
    std::filesystem::path tablePath;
    if (const auto given = args->Value("--table")) {
        tablePath = std::string(*given);
    } else if (const auto found = DefaultTablePath()) {
        tablePath = *found;
    } else {
        return kExitFailure;
    }
    CodeTable table;
    if (!LoadTable(tablePath, table)) {
        return kExitFailure;
    }
    const auto input = ReadStandardInput();
    if (!input) {
        return kExitFailure;
    }
    std::size_t badOffset = 0;
    const auto text = Utf8ToUtf16Strict(*input, &badOffset);
    if (!text) {
        return Fail("standard input is not valid UTF-8 (byte offset " + std::to_string(badOffset) +
                    ")");
    }

    const bool lineBreak = args->Has("--line-break");
    const bool codes =
        direction == Direction::ToText || (direction == Direction::Auto && LooksLikeCodes(*text));
    std::string report;
    std::string* wanted = args->Has("--report") ? &report : nullptr;
    if (codes) {
        if (!WriteStandardOutputText(CodesToText(table, *text, lineBreak, wanted))) {
            return kExitFailure;
        }
    } else {
        std::vector<std::size_t> unmatched;
        if (!WriteTextAsCodes(table, *text, lineBreak, wanted != nullptr ? &unmatched : nullptr)) {
            return kExitFailure;
        }
        if (wanted != nullptr) {
            report = ReportUnmatchedCharacters(*text, unmatched);
        }
    }
    // The conversion succeeded whatever the report says, as it does in the window.
    if (wanted != nullptr) {
        const std::string none = codes ? "0 codes had no entry\n" : "0 characters had no code\n";
        std::fputs(("zelkora-cli: " + (report.empty() ? none : report)).c_str(), stderr);
    }
    return kExitOk;
}

}  // namespace

int RunToCodes(const Invocation& invocation) {
    return Convert(invocation, Direction::ToCodes);
}
int RunToText(const Invocation& invocation) {
    return Convert(invocation, Direction::ToText);
}
int RunAuto(const Invocation& invocation) {
    return Convert(invocation, Direction::Auto);
}

}  // namespace zelkora::cli
