#pragma once

// The conversions of to-codes, to-text and auto, reading their input a block at a time: line by
// line (the default), or the whole input as one text as the window's box holds it (--whole) or
// exactly as given (--raw).

#include <cstddef>
#include <functional>
#include <string_view>

#include "cli/CliIo.h"
#include "cli/ConversionReport.h"
#include "cli/TextInput.h"
#include "core/common/TextLines.h"
#include "core/engine/CodeTable.h"

namespace zelkora::cli {

enum class Direction { ToCodes, ToText, Auto };

// What the input is converted with, and what --report gathers on the way.
struct Conversion {
    const CodeTable& table;
    bool lineBreak;  // --line-break
    bool report;     // --report
    TextOutput& out;
    UnmatchedCharactersReport unmatchedCharacters{};
    UnmatchedCodesReport unmatchedCodes{};
    bool convertedText = false;
    bool convertedCodes = false;
};

// Each line on its own, its result followed by its own line end, so that codes spread over lines
// read back and text keeps its lines through to-codes and to-text. A report names characters by
// their line and column, and codes by their line. False after a message.
[[nodiscard]] bool ConvertLines(Conversion& c, Direction direction, TextInput& input);

// The input as one text: as the window's box would hold it when `box` (each line end CR LF, the
// final one written back as it is), else exactly as given. False after a message.
[[nodiscard]] bool ConvertWhole(Conversion& c, Direction direction, TextInput& input, bool box);

// Takes the next piece of a text to be converted to codes; false to stop.
using TextPieceSink = std::function<bool(std::u16string_view piece)>;

// The text of the input, as ConvertWhole converts it to codes, handed over a piece at a time:
// each piece converts to codes alone as it does within the whole. False when the input cannot
// be read (after a message) or the sink said to stop.
[[nodiscard]] bool ForEachTextPiece(TextInput& input, bool box, const TextPieceSink& sink);

}  // namespace zelkora::cli
