#include "cli/LineEnds.h"

namespace zelkora::cli {
namespace {

// The first CR or LF at or after `from`, npos when there is none. An input of megabytes may
// have no line end at all (a line of codes), so blocks of 16 units are looked at whole first: that
// loop vectorises, where a search for one of two characters goes unit by unit.
std::size_t FindLineEnd(std::u16string_view text, std::size_t from) {
    constexpr std::size_t kBlock = 16;
    for (; from + kBlock <= text.size(); from += kBlock) {
        const char16_t* block = text.data() + from;
        // Kept a loop, so that GCC vectorises it instead of unrolling it into 16 tests; a bool
        // or || in place of | stops it as well.
        unsigned found = 0;
#pragma GCC unroll 1
        for (std::size_t k = 0; k < kBlock; ++k) {
            found |= (block[k] == u'\r') | (block[k] == u'\n');
        }
        if (found != 0) {
            break;
        }
    }
    for (; from < text.size(); ++from) {
        if (text[from] == u'\r' || text[from] == u'\n') {
            return from;
        }
    }
    return std::u16string_view::npos;
}

}  // namespace

std::size_t LineEndAt(std::u16string_view text, std::size_t at) {
    if (at >= text.size()) {
        return 0;
    }
    if (text[at] == u'\r') {
        return at + 1 < text.size() && text[at + 1] == u'\n' ? 2 : 1;
    }
    return text[at] == u'\n' ? 1 : 0;
}

Line LineAt(std::u16string_view text, std::size_t from) {
    std::size_t end = FindLineEnd(text, from);
    if (end == std::u16string_view::npos) {
        end = text.size();
    }
    return {text.substr(from, end - from), text.substr(end, LineEndAt(text, end))};
}

Line SplitFinalLineEnd(std::u16string_view text) {
    std::size_t length = 0;
    if (text.ends_with(kBoxLineBreak)) {
        length = 2;
    } else if (text.ends_with(u'\n') || text.ends_with(u'\r')) {
        length = 1;
    }
    const std::size_t body = text.size() - length;
    return {text.substr(0, body), text.substr(body)};
}

std::u16string_view LineBreakStyle(std::u16string_view text) {
    const std::size_t first = FindLineEnd(text, 0);
    return first == std::u16string_view::npos ? u"\n" : text.substr(first, LineEndAt(text, first));
}

std::u16string_view AsBoxText(std::u16string_view text, std::u16string& storage) {
    std::size_t at = FindLineEnd(text, 0);
    while (at != std::u16string_view::npos && LineEndAt(text, at) == 2) {
        at = FindLineEnd(text, at + 2);
    }
    if (at == std::u16string_view::npos) {
        return text;
    }
    storage.assign(text.substr(0, at));
    while (at < text.size()) {
        const Line line = LineAt(text, at);
        storage += line.text;
        if (!line.end.empty()) {
            storage += kBoxLineBreak;
        }
        at += line.text.size() + line.end.size();
    }
    return storage;
}

void WriteBoxLineBreaksAs(std::string& utf8, std::string_view lineBreak) {
    constexpr std::string_view kCrLf = "\r\n";
    if (lineBreak == kCrLf) {
        return;
    }
    // Never longer than what it replaces, so what is written never overtakes what is read: the
    // text between two line breaks moves down as a whole.
    std::size_t to = 0;
    std::size_t from = 0;
    for (std::size_t at = utf8.find(kCrLf); at != std::string::npos; at = utf8.find(kCrLf, from)) {
        std::char_traits<char>::move(&utf8[to], &utf8[from], at - from);
        to += at - from;
        std::char_traits<char>::copy(&utf8[to], lineBreak.data(), lineBreak.size());
        to += lineBreak.size();
        from = at + kCrLf.size();
    }
    if (from == 0) {
        return;
    }
    std::char_traits<char>::move(&utf8[to], &utf8[from], utf8.size() - from);
    utf8.resize(to + utf8.size() - from);
}

}  // namespace zelkora::cli
