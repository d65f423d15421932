#include "cli/ConvertModes.h"

#include <unicode/utf16.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "cli/LineEnds.h"
#include "core/encoding/Utf8.h"
#include "core/engine/CodeToText.h"
#include "core/engine/ConversionThreads.h"
#include "core/engine/Spacing.h"
#include "core/engine/TextToCode.h"

namespace zelkora::cli {
namespace {

// The input as one text, read a block at a time into Ready(): as the box holds it (each line end
// CR LF, the final one kept apart), or exactly as given. The caller takes what it converts from
// the front of Ready().
class WholeText {
public:
    WholeText(TextInput& input, bool box) : input_(input), box_(box) {}

    // Reads the next block; false once the input is all read (then FinalLineEnd() is known), or
    // when it cannot be (then Failed()).
    [[nodiscard]] bool ReadMore() {
        more_ = input_.ReadMore(read_);
        // A line end at the end may be the final one, or the first half of a CR LF.
        const Line split = box_ ? SplitFinalLineEnd(read_) : Line{read_, {}};
        if (!lineBreak_) {
            SettleLineBreak(split);
        }
        ready_ += box_ ? AsBoxText(split.text, boxed_) : split.text;
        read_.erase(0, split.text.size());
        return more_;
    }
    [[nodiscard]] bool More() const { return more_; }
    [[nodiscard]] bool Failed() { return input_.Failed(); }
    [[nodiscard]] std::u16string& Ready() { return ready_; }
    [[nodiscard]] std::u16string_view FinalLineEnd() const { return read_; }

    // How the input's line ends are written back, once that is known: like the first of them.
    [[nodiscard]] const std::optional<std::u16string>& LineBreak() const { return lineBreak_; }
    // Looks for the first line end in what is still to be read, when it is not known yet.
    void LookAhead() {
        if (!lineBreak_ && more_ && read_.empty() && !lookedAhead_) {
            lookedAhead_ = true;
            lineBreak_ = input_.LineEndAhead();
        }
    }

private:
    void SettleLineBreak(const Line& split) {
        const std::size_t at = FindLineEnd(split.text, 0);
        if (at != std::u16string_view::npos) {
            lineBreak_ = split.text.substr(at, LineEndAt(split.text, at));
        } else if (!more_) {
            lineBreak_ = split.end.empty() ? u"\n" : split.end;
        } else if (split.end.ends_with(u'\n')) {
            lineBreak_ = split.end;  // a CR alone may yet be followed by LF
        }
    }

    TextInput& input_;
    bool box_;
    bool more_ = true;
    bool lookedAhead_ = false;
    std::u16string read_;  // read and not yet in ready_: a line end that may be the final one
    std::u16string ready_;
    std::u16string boxed_;
    std::optional<std::u16string> lineBreak_;
};

// Text to codes of a piece, which begins at `start` of the text as converted; `start` is moved
// on to its end. A slice is converted at a time, so the codes of a long line, about three times
// as long as its text, are never held whole; a slice ends where the conversion may cut the text,
// and never inside a surrogate pair, which a report counts as one character.
bool WriteTextAsCodes(Conversion& c, std::u16string_view text, TextPosition& start) {
    constexpr std::size_t kSlice = std::size_t{1} << 20;
    c.convertedText = true;
    std::vector<std::size_t> unmatched;
    for (std::size_t from = 0; from < text.size();) {
        std::size_t end = TextCut(text, std::min(from + kSlice, text.size()));
        end += end < text.size() && U16_IS_LEAD(text[end - 1]) ? 1 : 0;
        const std::u16string_view slice = text.substr(from, end - from);
        unmatched.clear();
        const std::u16string codes =
            fTextToCode(c.table, slice, c.lineBreak, c.report ? &unmatched : nullptr);
        if (c.report) {
            c.unmatchedCharacters.Add(slice, unmatched, start);
            start = Continued(start, PositionOf(slice, slice.size()));
        }
        if (!c.out.Result(codes)) {
            return false;
        }
        from = end;
    }
    return true;
}

// Codes to text of one line. The codes-to-text button spaces an unspaced input into byte pairs
// before converting; only a spaced copy is made. A report names the elements as converted, after
// spacing; `where` says which line they are on.
bool WriteCodesAsText(Conversion& c, std::u16string_view codes, std::string_view where) {
    c.convertedCodes = true;
    std::vector<std::size_t> unmatched;
    const auto convert = [&](std::u16string_view spaced) {
        const std::u16string text =
            fCodeToText(c.table, spaced, c.lineBreak, c.report ? &unmatched : nullptr);
        if (c.report) {
            c.unmatchedCodes.Add(spaced, unmatched, where);
        }
        return c.out.Result(text);
    };
    return NeedsSpacing(codes) ? convert(fSplitPairs(codes)) : convert(codes);
}

bool ReadsAsCodes(Direction direction, std::u16string_view text) {
    return direction == Direction::ToText || (direction == Direction::Auto && LooksLikeCodes(text));
}

// The direction of a whole input: known once a character that is not a space is read, or at
// the end.
std::optional<bool> WholeReadsAsCodes(Direction direction, std::u16string_view ready, bool more) {
    if (direction != Direction::Auto) {
        return direction == Direction::ToText;
    }
    const bool decided = !more || ready.find_first_not_of(u' ') != std::u16string_view::npos;
    return decided ? std::optional(LooksLikeCodes(ready)) : std::nullopt;
}

bool ConvertWholeCodes(Conversion& c, WholeText& whole) {
    c.convertedCodes = true;
    CodeToTextStream stream(c.table, c.lineBreak);
    std::u16string text;
    std::vector<std::size_t> unmatched;
    std::size_t searchedForSpace = 0;
    bool spaced = false;  // a space was read: the codes need no spacing
    for (bool more = whole.More(); true; more = whole.ReadMore()) {
        if (!more && whole.Failed()) {
            return false;
        }
        std::u16string& ready = whole.Ready();
        if (!spaced) {
            spaced = ready.find(u' ', searchedForSpace) != std::u16string::npos;
            searchedForSpace = ready.size();
        }
        // Codes without a space are spaced as a whole: an odd length shifts every pair.
        if (!spaced && more) {
            continue;
        }
        if (!more && NeedsSpacing(ready)) {
            ready = fSplitPairs(ready);
        }
        // A result holding a line break waits for the input's first line end.
        if (!c.out.KnowsLineBreak()) {
            whole.LookAhead();
            if (whole.LineBreak()) {
                c.out.SetLineBreak(Utf16ToUtf8(*whole.LineBreak()));
            }
        }
        text.clear();
        unmatched.clear();
        const std::size_t taken =
            stream.Convert(ready, !more, text, c.report ? &unmatched : nullptr);
        if (c.report) {
            c.unmatchedCodes.Continue(std::u16string_view(ready).substr(0, taken), unmatched);
        }
        ready.erase(0, taken);
        if (!c.out.Result(text)) {
            return false;
        }
        if (!more) {
            return true;
        }
    }
}

// Hands over the text a piece at a time, as it is read; a piece converts to codes alone as it
// does within the whole.
bool ForEachPiece(WholeText& whole, const TextPieceSink& sink) {
    for (bool more = whole.More(); true; more = whole.ReadMore()) {
        if (!more && whole.Failed()) {
            return false;
        }
        std::u16string& ready = whole.Ready();
        const std::size_t taken = more ? TextBeforeMore(ready) : ready.size();
        if (!sink(std::u16string_view(ready).substr(0, taken))) {
            return false;
        }
        ready.erase(0, taken);
        if (!more) {
            return true;
        }
    }
}

bool ConvertWholeText(Conversion& c, WholeText& whole) {
    TextPosition start;
    return ForEachPiece(
        whole, [&](std::u16string_view piece) { return WriteTextAsCodes(c, piece, start); });
}

}  // namespace

bool ConvertLines(Conversion& c, Direction direction, TextInput& input) {
    std::u16string text;
    std::size_t number = 1;
    for (bool more = true; more;) {
        more = input.ReadMore(text);
        if (!more && input.Failed()) {
            return false;
        }
        std::size_t from = 0;
        while (from < text.size()) {
            // A line, or a CR LF, may go on in the next block.
            const std::size_t end = FindLineEnd(text, from);
            if (more &&
                (end == std::u16string::npos || (end + 1 == text.size() && text[end] == u'\r'))) {
                break;
            }
            const Line line = LineAt(text, from);
            // Line breaks in a result come out like the input's first line end.
            if (!c.out.KnowsLineBreak()) {
                c.out.SetLineBreak(Utf16ToUtf8(line.end.empty() ? u"\n" : line.end));
            }
            TextPosition start{number, 1};
            const bool written =
                ReadsAsCodes(direction, line.text)
                    ? WriteCodesAsText(c, line.text,
                                       c.report ? "line " + std::to_string(number) + ", " : "")
                    : WriteTextAsCodes(c, line.text, start);
            if (!written || !c.out.Exactly(line.end)) {
                return false;
            }
            from += line.text.size() + line.end.size();
            ++number;
        }
        text.erase(0, from);
    }
    return true;
}

bool ConvertWhole(Conversion& c, Direction direction, TextInput& input, bool box) {
    WholeText whole(input, box);
    std::optional<bool> codes;
    for (bool more = true; !codes;) {
        more = whole.ReadMore();
        if (!more && whole.Failed()) {
            return false;
        }
        codes = WholeReadsAsCodes(direction, whole.Ready(), more);
    }
    const bool converted = *codes ? ConvertWholeCodes(c, whole) : ConvertWholeText(c, whole);
    if (!converted) {
        return false;
    }
    if (!c.out.KnowsLineBreak()) {
        c.out.SetLineBreak(Utf16ToUtf8(whole.LineBreak().value_or(u"\n")));
    }
    return c.out.Exactly(whole.FinalLineEnd());
}

bool ForEachTextPiece(TextInput& input, bool box, const TextPieceSink& sink) {
    WholeText whole(input, box);
    return (whole.ReadMore() || !whole.Failed()) && ForEachPiece(whole, sink);
}

}  // namespace zelkora::cli
