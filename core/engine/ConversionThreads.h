#pragma once

// Both conversions cut a long input in two and convert the second part on a thread of its own.
// A cut is made only where the two parts convert to exactly what the whole converts to, and the
// results are joined in order, so the conversions give the same text on one thread or two.

#include <cstddef>
#include <string>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

#include "core/engine/CodeTable.h"

namespace zelkora {

// Below this many code units of input, starting a thread costs more than it saves.
inline constexpr std::size_t kTwoThreadsFrom = std::size_t{1} << 16;

// Runs first() here and, when `parallel`, second() on a thread of its own at the same time;
// returns when both are done. Otherwise second() runs after first().
template <typename First, typename Second>
void RunBoth(bool parallel, First first, Second second) {
    if (!parallel) {
        first();
        second();
        return;
    }
    std::jthread other(second);
    first();
}

// RunBoth for two parts of one conversion: first() and second() each take the list where their
// unmatched offsets go (null when none is wanted), and the second part's are appended after the
// first's. The second part lists into storage of its own thread: two threads updating lists that
// lie side by side would slow both.
template <typename First, typename Second>
void RunBothListing(bool parallel, std::vector<std::size_t>* unmatched, First first,
                    Second second) {
    std::vector<std::size_t> secondUnmatched;
    RunBoth(
        parallel, [&] { first(unmatched); },
        [&] {
            std::vector<std::size_t> found;
            second(unmatched != nullptr ? &found : nullptr);
            secondUnmatched = std::move(found);
        });
    if (unmatched != nullptr) {
        unmatched->insert(unmatched->end(), secondUnmatched.begin(), secondUnmatched.end());
    }
}

// The first place at or after `at` where text to be converted to codes may be cut: not after a
// CR or a backslash, which may begin a CR LF pair or the backslash-n token. text.size() when
// there is none.
[[nodiscard]] std::size_t TextCut(std::u16string_view text, std::size_t at);

// fTextToCode with the text cut at `cut` (a place TextCut gave) and the part after it converted
// on a thread of its own.
[[nodiscard]] std::u16string TextToCodeCut(const CodeTable& table, std::u16string_view text,
                                           bool lineBreakOption,
                                           std::vector<std::size_t>* unmatched, std::size_t cut);

// The start of the first element, after a space at or after `at`, that no element before it can
// use as its high byte: the element before it is empty, cannot be read, or converts alone when
// followed by it. Whether an element is used depends on every element before it, so the cut is
// placed where the table decides it locally. codes.size() when there is none.
[[nodiscard]] std::size_t CodesCut(const CodeTable& table, std::u16string_view codes,
                                   std::size_t at);

// fCodeToText with the elements from `cut` on (a place CodesCut gave) converted on a thread of
// their own.
[[nodiscard]] std::u16string CodeToTextCut(const CodeTable& table, std::u16string_view codes,
                                           bool lineBreakOption,
                                           std::vector<std::size_t>* unmatched, std::size_t cut);

}  // namespace zelkora
