#include <malloc.h>

#include <algorithm>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "cli/CliIo.h"
#include "cli/Commands.h"

namespace zelkora::cli {
namespace {

constexpr std::string_view kVersion = "1.1.2";

struct Command {
    std::string_view name;
    Handler handler;
    std::string_view usage;
    std::string_view summary;
};

// One line per command: its handler lives in a file of its family.
constexpr Command kCommands[] = {
    {"to-codes", RunToCodes, "to-codes [--table FILE] [--line-break]", "text to codes"},
    {"to-text", RunToText, "to-text [--table FILE] [--line-break]",
     "codes to text; unspaced codes are cut into pairs first"},
    {"auto", RunAuto, "auto [--table FILE] [--line-break]",
     "to-text if the input starts with a hex digit, else to-codes"},
    {"detect", RunDetect, "detect FILE", "print the encoding of a table file"},
    {"dump", RunDump, "dump FILE", "print the entries read from a table file"},
    {"make-table", RunMakeTable, "make-table --charset NAME [OPTIONS]",
     "write a table of a charset the converter library knows"},
    {"check-table", RunCheckTable, "check-table FILE [--quiet]",
     "report what silently changes a table file"},
    {"import-tbl", RunImportTbl, "import-tbl FILE [--encoding ENC]",
     "convert a \"XX=char\" table to this program's format"},
};

constexpr std::string_view kGeneralUsage = "COMMAND [OPTIONS]";

std::string HelpText() {
    std::string text =
        "usage: zelkora-cli COMMAND [OPTIONS]\n"
        "\n"
        "Converts between text and hexadecimal codes through a code table. Standard input\n"
        "and output are UTF-8 and pass through unchanged: a CR LF stays a CR LF, and nothing\n"
        "is added to the result.\n"
        "\n"
        "Commands:\n";
    std::size_t width = 0;
    for (const Command& command : kCommands) {
        width = std::max(width, command.usage.size());
    }
    for (const Command& command : kCommands) {
        text += "  " + std::string(command.usage) +
                std::string(width - command.usage.size() + 3, ' ') + std::string(command.summary) +
                "\n";
    }
    text +=
        "  --help, --version\n"
        "\n"
        "Options:\n"
        "  --table FILE   the table file to use. Without it, the table the window uses:\n"
        "                 the file named by \"File\" in setting.ini beside the program if\n"
        "                 settings/ beside the program holds it, else the first file there.\n"
        "  --line-break   a CR LF in the text converts as the table's \"\\n\" entry, and\n"
        "                 \"\\n\" in converted text becomes CR LF.\n"
        "  --report       also print on standard error how many characters had no code\n"
        "                 (or codes no entry) and where the first 10 are.\n"
        "\n"
        "dump prints one line per table line that holds an entry, tab-separated: the line\n"
        "number (from 1), the code as written, its value in hexadecimal, and the character,\n"
        "with \\\\, \\x20 (space), \\r, \\n, \\t, \\xHH and \\uHHHH escapes.\n"
        "\n"
        "make-table writes one line per one- or two-byte code that decodes to one character\n"
        "and back (control characters other than LF left out). Options: --range FROM-TO\n"
        "(hexadecimal codes), --encoding ENC (SJIS, EUC, JIS, UTF7, UTF8 or UNICODE; default\n"
        "UTF8), --title TEXT (first header line), --private-use (keep private-use characters),\n"
        "--alternatives (also the codes a character does not convert back to, each after the\n"
        "code it does, so that codes to text reads every code and text to codes is unchanged).\n"
        "check-table exits 1 when something changes what the table does. import-tbl writes\n"
        "the table on standard output and what it could not carry over on standard error.\n"
        "\n"
        "Exit status: 0 done, 1 a table, the input or the output failed, 2 usage error.\n";
    return text;
}

int Main(std::span<const std::string_view> args) {
    if (args.empty()) {
        return UsageError(kGeneralUsage, "missing command");
    }
    const std::string_view name = args.front();
    if (name == "--help" || name == "-h") {
        return WriteStandardOutput(HelpText()) ? kExitOk : kExitFailure;
    }
    if (name == "--version") {
        return WriteStandardOutput("zelkora-cli " + std::string(kVersion) + "\n") ? kExitOk
                                                                                  : kExitFailure;
    }
    const auto command = std::find_if(std::begin(kCommands), std::end(kCommands),
                                      [&](const Command& c) { return c.name == name; });
    if (command == std::end(kCommands)) {
        return UsageError(kGeneralUsage, "unknown command '" + std::string(name) + "'");
    }
    return command->handler(Invocation{command->usage, args.subspan(1)});
}

}  // namespace
}  // namespace zelkora::cli

int main(int argc, char** argv) {
    // One conversion allocates and frees several buffers of a megabyte or more: the table file,
    // its text, the list of its lines, the input. Kept in the heap instead of being mapped for
    // each and unmapped after, a freed buffer serves the next one, whose pages would otherwise
    // be faulted in afresh; on this program's scale that is a good part of its running time.
    mallopt(M_MMAP_THRESHOLD, 256 << 20);
    mallopt(M_TRIM_THRESHOLD, 1 << 30);
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    return zelkora::cli::Main(args);
}
