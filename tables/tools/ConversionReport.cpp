#include "tables/tools/ConversionReport.h"

#include <vector>

#include "tables/tools/QuoteText.h"

namespace zelkora {

namespace {

bool IsHigh(char16_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}
bool IsLow(char16_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

bool SecondHalf(std::u16string_view text, std::size_t at) {
    return at > 0 && at < text.size() && IsLow(text[at]) && IsHigh(text[at - 1]);
}

// The character at the offset: both halves when it starts a surrogate pair.
std::u16string_view CharacterAt(std::u16string_view text, std::size_t at) {
    const bool pair = at + 1 < text.size() && IsHigh(text[at]) && IsLow(text[at + 1]);
    return text.substr(at, pair ? 2 : 1);
}

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

TextPosition PositionOf(std::u16string_view text, std::size_t offset) {
    TextPosition position;
    for (std::size_t i = 0; i < offset && i < text.size(); ++i) {
        const char16_t c = text[i];
        // A CR LF pair is one line end: its CR ends no line and takes no column, its LF ends
        // the line.
        const bool pairedCr = c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n';
        if (c == u'\n' || (c == u'\r' && !pairedCr)) {
            ++position.line;
            position.column = 1;
        } else if (!pairedCr && !SecondHalf(text, i)) {
            ++position.column;
        }
    }
    return position;
}

std::string ReportUnmatchedCharacters(std::u16string_view text,
                                      std::span<const std::size_t> offsets, std::size_t shown) {
    // Text to codes looks up each half of a pair on its own and writes "??" twice; the user
    // sees one character.
    std::vector<std::size_t> characters;
    for (const std::size_t at : offsets) {
        if (at >= text.size()) {
            continue;
        }
        if (SecondHalf(text, at) && !characters.empty() && characters.back() == at - 1) {
            continue;
        }
        characters.push_back(at);
    }
    if (characters.empty()) {
        return {};
    }
    std::string out = Heading(characters.size(), "character", "had no code", shown);
    for (std::size_t i = 0; i < characters.size() && i < shown; ++i) {
        const TextPosition p = PositionOf(text, characters[i]);
        out += "  line " + std::to_string(p.line) + ", column " + std::to_string(p.column) + ": " +
               QuoteText(CharacterAt(text, characters[i])) + "\n";
    }
    return out;
}

void UnmatchedCodesReport::Add(std::u16string_view codes, std::span<const std::size_t> offsets,
                               std::string_view where) {
    std::size_t element = 0;  // non-empty elements that start before the scan position
    std::size_t scanned = 0;
    for (const std::size_t at : offsets) {
        if (at >= codes.size()) {
            continue;
        }
        if (++count_ > shown_) {
            continue;
        }
        for (; scanned <= at; ++scanned) {
            const bool starts =
                codes[scanned] != u' ' && (scanned == 0 || codes[scanned - 1] == u' ');
            element += starts ? 1 : 0;
        }
        std::size_t end = codes.find(u' ', at);
        if (end == std::u16string_view::npos) {
            end = codes.size();
        }
        entries_ += "  " + std::string(where) + "element " + std::to_string(element) + ": " +
                    QuoteText(codes.substr(at, end - at)) + "\n";
    }
}

std::string UnmatchedCodesReport::Text() const {
    return count_ == 0 ? std::string() : Heading(count_, "code", "had no entry", shown_) + entries_;
}

}  // namespace zelkora
