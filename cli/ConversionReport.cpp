#include "cli/ConversionReport.h"

#include <vector>

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

std::string ReportUnmatchedCharacters(std::u16string_view text,
                                      std::span<const std::size_t> offsets, std::size_t shown) {
    // Text to codes looks up each half of a pair on its own and writes "??" twice; the user
    // sees one character.
    std::vector<std::size_t> characters;
    for (const std::size_t at : offsets) {
        if (at >= text.size()) {
            continue;
        }
        if (!characters.empty() && characters.back() == at - 1 &&
            CharacterAt(text, at - 1).size() == 2) {
            continue;
        }
        characters.push_back(at);
    }
    if (characters.empty()) {
        return {};
    }
    std::string out = Heading(characters.size(), "character", "had no code", shown);
    TextWalker walker(text);
    for (std::size_t i = 0; i < characters.size() && i < shown; ++i) {
        const TextPosition p = walker.At(characters[i]);
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

}  // namespace zelkora::cli
