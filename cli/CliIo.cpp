#include "cli/CliIo.h"

#include <sys/stat.h>
#include <unicode/utf16.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "cli/LineEnds.h"
#include "core/encoding/Utf8.h"

namespace zelkora::cli {
namespace {

void WriteStandardError(std::string_view text) {
    while (!text.empty()) {
        const ssize_t n = ::write(STDERR_FILENO, text.data(), text.size());
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return;  // nowhere left to report to
        }
        text.remove_prefix(static_cast<std::size_t>(n));
    }
}

}  // namespace

int Fail(std::string_view message) {
    WriteStandardError("zelkora-cli: " + std::string(message) + "\n");
    return kExitFailure;
}

std::string Quoted(const std::filesystem::path& path) {
    return "'" + path.string() + "'";
}

int UsageError(std::string_view usage, std::string_view message) {
    WriteStandardError("zelkora-cli: " + std::string(message) + "\nusage: zelkora-cli " +
                       std::string(usage) + "\nTry 'zelkora-cli --help' for more.\n");
    return kExitUsage;
}

namespace {

constexpr std::string_view kStandardInput = "-";

}  // namespace

bool ReadsStandardInput(std::span<const std::string_view> fileNames) {
    return fileNames.empty() ||
           std::find(fileNames.begin(), fileNames.end(), kStandardInput) != fileNames.end();
}

bool ReadsOnlyRegularFiles(std::span<const std::string_view> fileNames) {
    const std::span<const std::string_view> names =
        fileNames.empty() ? std::span(&kStandardInput, 1) : fileNames;
    return std::all_of(names.begin(), names.end(), [](std::string_view name) {
        struct stat info {};
        const int found = name == kStandardInput ? ::fstat(STDIN_FILENO, &info)
                                                 : ::stat(std::string(name).c_str(), &info);
        return found == 0 && S_ISREG(info.st_mode);
    });
}

bool WriteStandardOutput(std::string_view bytes) {
    // A pipe may take fewer bytes than offered; the rest follows until all is written.
    while (!bytes.empty()) {
        const ssize_t n = ::write(STDOUT_FILENO, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            Fail(std::string("cannot write standard output: ") + std::strerror(errno));
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

bool TextOutput::Result(std::u16string_view text) {
    return Append(text, true);
}

bool TextOutput::Exactly(std::u16string_view text) {
    return Append(text, false);
}

bool TextOutput::Append(std::u16string_view text, bool lineBreaks) {
    constexpr std::size_t kSlice = std::size_t{1} << 16;
    // Results come in pieces: a CR that ended the last one and an LF that begins this one are
    // one line break.
    if (heldCr_) {
        heldCr_ = false;
        const bool pair = lineBreaks && text.starts_with(u'\n');
        if (!Append(pair ? kBoxLineBreak : u"\r", pair)) {
            return false;
        }
        text.remove_prefix(pair ? 1 : 0);
    }
    if (lineBreaks && text.ends_with(u'\r')) {
        heldCr_ = true;
        text.remove_suffix(1);
    }
    while (!text.empty()) {
        std::size_t length = std::min(kSlice, text.size());
        // A pair cut in two would come out as two U+FFFD, and a CR LF cut in two would not be
        // seen as a line break.
        if (length < text.size() && (U16_IS_LEAD(text[length - 1]) || text[length - 1] == u'\r')) {
            --length;
        }
        std::string utf8 = Utf16ToUtf8(text.substr(0, length));
        if (lineBreaks && lineBreak_) {
            WriteBoxLineBreaksAs(utf8, *lineBreak_);
        }
        holding_ =
            holding_ || (lineBreaks && !lineBreak_ && utf8.find("\r\n") != std::string::npos);
        if (holding_) {
            pending_ += utf8;
        } else if (pending_.empty() && utf8.size() >= kSlice) {
            // A slice of a long result goes out as it is; short results are collected first.
            if (!WriteStandardOutput(utf8)) {
                return false;
            }
        } else {
            pending_ += utf8;
            if (pending_.size() >= kSlice && !WritePending()) {
                return false;
            }
        }
        text.remove_prefix(length);
    }
    return true;
}

void TextOutput::SetLineBreak(std::string lineBreak) {
    if (holding_) {
        WriteBoxLineBreaksAs(pending_, lineBreak);
        holding_ = false;
    }
    lineBreak_ = std::move(lineBreak);
}

bool TextOutput::Flush() {
    if (heldCr_) {
        heldCr_ = false;
        pending_ += '\r';
    }
    return WritePending();
}

bool TextOutput::WritePending() {
    const bool written = WriteStandardOutput(pending_);
    pending_.clear();
    return written;
}

bool ParsedArgs::Has(std::string_view option) const {
    return Value(option).has_value();
}

std::optional<std::string_view> ParsedArgs::Value(std::string_view option) const {
    const auto last = std::find_if(options.rbegin(), options.rend(),
                                   [&](const auto& given) { return given.first == option; });
    return last != options.rend() ? std::optional(last->second) : std::nullopt;
}

std::optional<ParsedArgs> ParseArgs(const Invocation& invocation,
                                    std::span<const OptionSpec> options, std::size_t minOperands,
                                    std::size_t maxOperands) {
    ParsedArgs parsed;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < invocation.args.size(); ++i) {
        const std::string_view arg = invocation.args[i];
        if (optionsEnded || arg == "-" || !arg.starts_with('-')) {
            parsed.operands.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        const auto equals = arg.find('=');
        const std::string_view name = arg.substr(0, equals);
        const auto spec = std::find_if(options.begin(), options.end(), [&](const OptionSpec& s) {
            return s.name == name || (!s.shortName.empty() && s.shortName == name);
        });
        if (spec == options.end()) {
            UsageError(invocation.usage, "unknown option '" + std::string(name) + "'");
            return std::nullopt;
        }
        if (!spec->takesValue && equals != std::string_view::npos) {
            UsageError(invocation.usage, "option '" + std::string(name) + "' takes no value");
            return std::nullopt;
        }
        std::string_view value;
        if (spec->takesValue && equals != std::string_view::npos) {
            value = arg.substr(equals + 1);
        } else if (spec->takesValue) {
            if (i + 1 == invocation.args.size()) {
                UsageError(invocation.usage, "option '" + std::string(name) + "' needs a value");
                return std::nullopt;
            }
            value = invocation.args[++i];
        }
        parsed.options.emplace_back(spec->name, value);
    }
    if (parsed.operands.size() < minOperands) {
        UsageError(invocation.usage, "missing argument");
        return std::nullopt;
    }
    if (parsed.operands.size() > maxOperands) {
        UsageError(invocation.usage,
                   "unexpected argument '" + std::string(parsed.operands[maxOperands]) + "'");
        return std::nullopt;
    }
    return parsed;
}

bool AsksForHelp(std::span<const std::string_view> args) {
    const auto end = std::find(args.begin(), args.end(), "--");
    return std::find_if(args.begin(), end,
                        [](std::string_view arg) { return arg == "--help" || arg == "-h"; }) != end;
}

}  // namespace zelkora::cli
