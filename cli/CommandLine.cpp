#include "cli/CommandLine.h"

#include "core/common/FileNames.h"

namespace zelkora::cli {

std::u16string CommandLine(std::string_view command, std::span<const std::string_view> args) {
    // Arguments are UTF-8 on any sane system; bytes that are not still reach the header intact.
    std::u16string line = u"zelkora-cli " + FileNameToText(command);
    for (const std::string_view arg : args) {
        const bool quote = arg.empty() || arg.find(' ') != std::string_view::npos;
        line += quote ? u" \"" + FileNameToText(arg) + u"\"" : u" " + FileNameToText(arg);
    }
    return line;
}

}  // namespace zelkora::cli
