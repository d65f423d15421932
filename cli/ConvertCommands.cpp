#include <string>

#include "cli/CliIo.h"
#include "cli/CliTable.h"
#include "cli/Commands.h"
#include "encoding/Utf8.h"
#include "engine/CodeToText.h"
#include "engine/Spacing.h"
#include "engine/TextToCode.h"

namespace zelkora::cli {
namespace {

enum class Direction { ToCodes, ToText, Auto };

constexpr OptionSpec kOptions[] = {{"--table", true}, {"--line-break", false}};

// The codes-to-text button spaces an unspaced input into byte pairs before converting.
// Only a spaced copy is made: codes already spaced are converted where they are.
std::u16string CodesToText(const CodeTable& table, const std::u16string& codes, bool lineBreak) {
    if (NeedsSpacing(codes)) {
        return fCodeToText(table, fSplitPairs(codes), lineBreak);
    }
    return fCodeToText(table, codes, lineBreak);
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
    const std::u16string result =
        codes ? CodesToText(table, *text, lineBreak) : fTextToCode(table, *text, lineBreak);
    return WriteStandardOutputText(result) ? kExitOk : kExitFailure;
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
