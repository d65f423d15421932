#include <algorithm>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "cli/CliIo.h"
#include "cli/CliTable.h"
#include "cli/Commands.h"
#include "cli/Heap.h"
#include "core/common/AppInfo.h"
#include "core/encoding/EncodingRegistry.h"

namespace zelkora::cli {
namespace {

struct Command {
    std::string_view name;
    Handler handler;
    std::string_view syntax;  // what follows the name in its usage line: every option it takes
    std::string_view summary;

    [[nodiscard]] std::string Usage() const {
        return std::string(name) + " " + std::string(syntax);
    }
};

constexpr std::string_view kConvertSyntax =
    "[-t|--table FILE] [--line-break] [--lines | --whole | --raw] [--report] [FILE...]";

// One line per command: its handler lives in a file of its family.
constexpr Command kCommands[] = {
    {"to-codes", RunToCodes,
     "[-t|--table FILE] [--line-break] [--lines | --whole | --raw] [--report] [--binary] "
     "[FILE...]",
     "text to codes; with --binary, to the codes' bytes"},
    {"to-text", RunToText,
     "[-t|--table FILE] [--line-break] [--lines | --whole | --raw] [--report] "
     "[--binary [--offset N] [--length N]] [FILE...]",
     "codes to text; unspaced codes are cut into pairs first; with --binary, bytes to text"},
    {"auto", RunAuto, kConvertSyntax,
     "to-text if the input starts with a hex digit, else to-codes"},
    {"detect", RunDetect, "FILE", "print the encoding of a table file"},
    {"dump", RunDump, "FILE", "print the entries read from a table file"},
    {"make-table", RunMakeTable,
     "--charset NAME [--range FROM-TO] [--encoding ENC] [--title TEXT] [--private-use] "
     "[--alternatives] [--lead-byte-first]",
     "write a table of a charset the converter library knows"},
    {"check-table", RunCheckTable, "FILE [--quiet]", "report what silently changes a table file"},
    {"import-tbl", RunImportTbl, "FILE [--encoding ENC] [--lead-byte-first]",
     "convert a \"XX=char\" table to this program's format"},
    {"swap-codes", RunSwapCodes, "FILE",
     "write the table with each two-byte code's bytes swapped (82A0 becomes A082)"},
    {"find", RunFind,
     "[-t|--table FILE] [-c|--count] [--context N] TEXT [FILE...] | "
     "--relative [-c|--count] [--make-table [--hit K]] WORD [FILE...]",
     "search binary files for a text's bytes through a table, or for a word without one"},
};

constexpr std::string_view kGeneralUsage = "COMMAND [OPTIONS] [FILE...]";

std::string HelpText() {
    std::string text =
        "usage: zelkora-cli COMMAND [OPTIONS] [FILE...]\n"
        "\n"
        "Converts between text and hexadecimal codes through a code table. to-codes, to-text\n"
        "and auto read the FILEs one after another, as cat does (\"-\" is standard input, as\n"
        "is no FILE at all), and write the result on standard output, both in UTF-8.\n"
        "\n"
        "Each line is converted on its own and its result written followed by that line's own\n"
        "line end (LF, CR LF or a lone CR), so text keeps its lines through to-codes and back\n"
        "through to-text. A UTF-8 byte-order mark at the start of each FILE is dropped.\n"
        "\n"
        "Codes are two-digit byte groups, each followed by a space; a table's code is written\n"
        "lowest byte first, so the code A082 gives 82 A0. The shipped tables write each two-byte\n"
        "code with its bytes reversed, so that the codes come in the order a file holds the\n"
        "bytes: with the Windows-31J table, printf 'USBメ\\n' | zelkora-cli to-codes prints\n"
        "55 53 42 83 81, as iconv -f UTF-8 -t CP932 | xxd -p prints 5553428381. The Windows-31J,\n"
        "EUC-JP, JIS X 0201 and UTF-16 (UTF-16LE) tables all give file order. Through them, text\n"
        "converted to codes and back comes out as it went in, but for characters a table lacks\n"
        "(\"??\") and for a second spelling listed after the charset's own character (the JIS\n"
        "forms 〜 and − give the codes of ～ and －, and come back as those). Codes converted to\n"
        "text and back come out the same, but for a code listed after the one its character\n"
        "converts to (the NEC and IBM duplicates).\n"
        "\n"
        "Commands:\n";
    for (const Command& command : kCommands) {
        text += "  " + command.Usage() + "\n      " + std::string(command.summary) + "\n";
    }
    text +=
        "  -h, --help\n"
        "      this text; COMMAND --help prints that command's usage\n"
        "  --version\n"
        "  --paths\n"
        "      the layout (portable or installed) and the folders in use, one per line:\n"
        "      program, settings (setting.ini) and tables\n"
        "\n"
        "Options of to-codes, to-text and auto:\n"
        "  -t, --table FILE  the table file to use; a name without \"/\" that names no file\n"
        "                    from the current folder is a table of the tables folder\n"
        "                    (-t \"CP932 Windows-31J.txt\"). FILE may be a pipe: <(command),\n"
        "                    or /dev/stdin when the input is a FILE. Without it, the table\n"
        "                    the window uses: the file named by \"File\" in setting.ini, which\n"
        "                    the tables folder must hold (else an error), or the first file\n"
        "                    there when setting.ini names none. --paths shows both folders.\n"
        "  --line-break      a line break in the text converts as the table's \"\\n\" entry,\n"
        "                    and \"\\n\" in converted text becomes a line break.\n"
        "  --lines           each line on its own: the default.\n"
        "  --whole           converts the whole input as the window's input box would hold\n"
        "                    it: every line end inside it (LF, CR LF or a lone CR) becomes\n"
        "                    the box's line break, CR LF, which --line-break converts; a final\n"
        "                    line end is not converted but written again after the result;\n"
        "                    line breaks in the result are written like the input's first\n"
        "                    line end, or as LF when it has none.\n"
        "  --raw             converts the input exactly as given, byte-order mark and line\n"
        "                    ends included, and writes the result exactly as converted: what\n"
        "                    the window gives for that very text.\n"
        "  --report          also print on standard error how many characters had no code\n"
        "                    (or codes no entry) and where the first 10 are.\n"
        "  --binary          to-codes writes the codes as raw bytes (what xxd -r -p makes of\n"
        "                    them), converting the text as --whole does: a line end inside\n"
        "                    it converts as the table's \"\\n\" entry with --line-break, and\n"
        "                    the final one is not data (with --raw, the text exactly as\n"
        "                    given is converted). A character without a code (or whose\n"
        "                    code is not hexadecimal) ends the output there with exit status\n"
        "                    1 and a message naming its line and column: never a \"??\".\n"
        "                    to-text reads raw bytes from one FILE (or standard input) and\n"
        "                    converts them as the codes of those bytes.\n"
        "  --offset N        to-text --binary starts N bytes in (decimal, or hexadecimal\n"
        "                    with 0x); an offset beyond the end is an error.\n"
        "  --length N        to-text --binary reads N bytes at most.\n"
        "\n"
        "find TEXT converts TEXT through the table (-t, as above) to its bytes and prints every\n"
        "place the FILEs (standard input when none) hold them, overlapping ones included, as\n"
        "grep -b would: the offset in hexadecimal (0x1a2b0), \"FILE:\" first when there are\n"
        "several FILEs, then \": \" and the text around the hit: --context N bytes either side\n"
        "(default 16, at most 4096, fewer at the ends of the file), the bytes before, the hit\n"
        "and the bytes after each converted as to-text --binary converts them. A character\n"
        "that would break the line is shown as \\xHH (control characters) or \\uHHHH (U+2028,\n"
        "U+2029). -c prints each FILE's count instead. Exit status as grep's: 0 found, 1 none,\n"
        "2 an error (a character of TEXT without a code is one, named). Any size of file is\n"
        "searched in the same memory.\n"
        "find --relative WORD looks for WORD in data whose encoding is unknown but keeps an\n"
        "order of its characters: wherever consecutive units differ as WORD's characters do.\n"
        "WORD is three or more characters, not all the same, all hiragana, all katakana, all\n"
        "lower case, all upper case or all digits. Units are read at every byte offset: 1 byte,\n"
        "2 bytes LE and 2 bytes BE. Orders: for kana jis (Unicode's, small and voiced kana\n"
        "included, ぁ to ん and ァ to ヶ) and gojuon (あいうえお ... わをん, 46 kana, when WORD\n"
        "has no small or voiced kana); a-z, A-Z and 0-9 for the others. Each hit line gives the\n"
        "offset, the unit, the order and the code of the order's first character:\n"
        "0x1a2b0: 1 byte, gojuon, あ=0x20. --make-table writes, instead, a starter table for\n"
        "the only hit, or for hit K (counting those lines from 1) with --hit K: the whole order\n"
        "at the codes the hit implies, in UTF-8 with a byte-order mark, codes that do not fit\n"
        "the unit left out, so that to-text --binary -t TABLE reads the data.\n"
        "\n"
        "dump prints one line per table line that holds an entry, tab-separated: the line\n"
        "number (from 1), the code as written, its value in hexadecimal, and the character,\n"
        "with \\\\, \\x20 (space), \\r, \\n, \\t, \\xHH and \\uHHHH escapes.\n"
        "\n"
        "make-table writes one line per one- or two-byte code that decodes to one character\n"
        "and back (control characters other than LF left out). Options: --range FROM-TO\n"
        "(hexadecimal codes), --encoding ENC (" +
        EncodingNameList() +
        "; default\n"
        "UTF8), --title TEXT (first header line), --private-use (keep private-use characters),\n"
        "--alternatives (also the codes a character does not convert back to, each after the\n"
        "code it does, so that codes to text reads every code and text to codes is unchanged).\n"
        "Each two-byte code is written with its bytes reversed, so the table gives the\n"
        "charset's bytes in file order; --range takes codes as charts print them (82A0-82FF).\n"
        "--lead-byte-first writes codes as charts print them (82A0 for あ in Shift_JIS), which\n"
        "the conversions give lowest byte first (A0 82), as a little-endian 16-bit value. A\n"
        "charset that holds only the JIS or only the Microsoft form of the seven characters\n"
        "Japanese text spells both ways (〜 ～, ¢ ￠, £ ￡, ¬ ￢, − －, — ―, ‖ ∥) also gets the\n"
        "other form, on the line after its own, with the same code.\n"
        "check-table exits 1 when something changes what the table does. import-tbl writes\n"
        "the table on standard output and what it could not carry over on standard error; a\n"
        "\"XX=char\" code is bytes in file order, so each two-byte code is written reversed\n"
        "(8391 becomes 9183) unless --lead-byte-first keeps codes as written. swap-codes\n"
        "writes the table on standard output with each two-byte code's byte groups swapped,\n"
        "everything else byte for byte, for a table written lead byte first; it refuses a file\n"
        "whose encoding does not give back its bytes exactly.\n"
        "\n"
        "Files: with a folder settings/ beside the program, the tables are there and\n"
        "setting.ini beside the program. Installed (../share/zelkora/settings from the\n"
        "program's folder), setting.ini is in $XDG_CONFIG_HOME/zelkora (~/.config/zelkora)\n"
        "and the tables in $XDG_DATA_HOME/zelkora/settings (~/.local/share/zelkora/settings),\n"
        "a folder made with a copy of the installed tables when it does not exist.\n"
        "\n"
        "Exit status: 0 done, 1 a table, the input or the output failed, 2 usage error (find:\n"
        "see above).\n";
    return text;
}

int Main(std::span<const std::string_view> args) {
    if (args.empty()) {
        return UsageError(kGeneralUsage, "missing command");
    }
    const std::string_view name = args.front();
    const bool generalOption =
        name == "--help" || name == "-h" || name == "--version" || name == "--paths";
    if (generalOption && args.size() > 1) {
        return UsageError(kGeneralUsage, "unexpected argument '" + std::string(args[1]) +
                                             "' after " + std::string(name));
    }
    if (name == "--help" || name == "-h") {
        return WriteStandardOutput(HelpText()) ? kExitOk : kExitFailure;
    }
    if (name == "--version") {
        return WriteStandardOutput("zelkora-cli " + std::string(kVersionText) + "\n")
                   ? kExitOk
                   : kExitFailure;
    }
    if (name == "--paths") {
        return PrintPaths();
    }
    const auto command = std::find_if(std::begin(kCommands), std::end(kCommands),
                                      [&](const Command& c) { return c.name == name; });
    if (command == std::end(kCommands)) {
        return UsageError(kGeneralUsage, "unknown command '" + std::string(name) + "'");
    }
    const std::string usage = command->Usage();
    if (AsksForHelp(args.subspan(1))) {
        return WriteStandardOutput("usage: zelkora-cli " + usage + "\n" +
                                   std::string(command->summary) +
                                   "\nTry 'zelkora-cli --help' for more.\n")
                   ? kExitOk
                   : kExitFailure;
    }
    return command->handler(Invocation{usage, args.subspan(1)});
}

}  // namespace
}  // namespace zelkora::cli

int main(int argc, char** argv) {
    zelkora::cli::PrepareHeap();
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    return zelkora::cli::Main(args);
}
