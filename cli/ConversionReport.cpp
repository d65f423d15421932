#include "cli/ConversionReport.h"

#include "core/common/TextLines.h"
#include "tools/common/QuoteText.h"

namespace zelkora::cli {

namespace {

std::string Heading(std::size_t count, std::string_view noun, std::string_view what,
                    std::size_t shown) {
    std::string out = std::to_string(count) + " " + std::string(noun) + (count == 1 ? "" : "s") +
                      " " + std::string(what);
    if (count > shown) {
        out += ", the first " + std::to_string(shown);
    }
    return out + ":\n";
}

}  // namespace

void UnmatchedCharactersReport::Add(std::u16string_view text, std::span<const std::size_t> offsets,
                                    TextPosition start) {
    TextWalker walker(text);
    std::size_t previous = text.size();  // the last character counted in this piece
    for (const std::size_t at : offsets) {
        if (at >= text.size()) {
            continue;
        }
        // Text to codes looks up each half of a pair on its own and writes "??" twice; the
        // user sees one character.
        if (previous + 1 == at && CharacterAt(text, previous).size() == 2) {
            continue;
        }
        previous = at;
        if (++count_ > shown_) {
            continue;
        }
        const TextPosition p = Continued(start, walker.At(at));
        entries_ += "  line " + std::to_string(p.line) + ", column " + std::to_string(p.column) +
                    ": " + QuoteText(CharacterAt(text, at)) + "\n";
    }
}

std::string UnmatchedCharactersReport::Text() const {
    return count_ == 0 ? std::string()
                       : Heading(count_, "character", "had no code", shown_) + entries_;
}

void UnmatchedCodesReport::Add(std::u16string_view codes, std::span<const std::size_t> offsets,
                               std::string_view where) {
    where_ = where;
    elementsBefore_ = 0;
    Continue(codes, offsets);
}

void UnmatchedCodesReport::Continue(std::u16string_view codes,
                                    std::span<const std::size_t> offsets) {
    const auto startsElement = [&](std::size_t at) {
        return codes[at] != u' ' && (at == 0 || codes[at - 1] == u' ');
    };
    std::size_t element = elementsBefore_;  // non-empty elements that start before `scanned`
    std::size_t scanned = 0;
    for (const std::size_t at : offsets) {
        if (at >= codes.size()) {
            continue;
        }
        if (++count_ > shown_) {
            continue;
        }
        for (; scanned <= at; ++scanned) {
            element += startsElement(scanned) ? 1 : 0;
        }
        std::size_t end = codes.find(u' ', at);
        if (end == std::u16string_view::npos) {
            end = codes.size();
        }
        entries_ += "  " + where_ + "element " + std::to_string(element) + ": " +
                    QuoteText(codes.substr(at, end - at)) + "\n";
    }
    for (; scanned < codes.size(); ++scanned) {
        element += startsElement(scanned) ? 1 : 0;
    }
    elementsBefore_ = element;
}

std::string UnmatchedCodesReport::Text() const {
    return count_ == 0 ? std::string() : Heading(count_, "code", "had no entry", shown_) + entries_;
}

}  // namespace zelkora::cli
