#pragma once

#include <span>
#include <string_view>

namespace zelkora::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;  // a table, the input or the output failed
inline constexpr int kExitUsage = 2;    // unknown command or option, missing argument

// What a command receives: its usage line (for messages) and the arguments after its name.
struct Invocation {
    std::string_view usage;  // "check-table FILE [--quiet]"
    std::span<const std::string_view> args;
};

using Handler = int (*)(const Invocation&);

// ConvertCommands.cpp
int RunToCodes(const Invocation& invocation);
int RunToText(const Invocation& invocation);
int RunAuto(const Invocation& invocation);

// TableInfoCommands.cpp
int RunDetect(const Invocation& invocation);
int RunDump(const Invocation& invocation);

// TableToolCommands.cpp
int RunMakeTable(const Invocation& invocation);
int RunCheckTable(const Invocation& invocation);
int RunImportTbl(const Invocation& invocation);
int RunSwapCodes(const Invocation& invocation);

// FindCommand.cpp
int RunFind(const Invocation& invocation);

}  // namespace zelkora::cli
