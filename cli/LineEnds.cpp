#include "cli/LineEnds.h"

namespace zelkora::cli {
namespace {

constexpr std::u16string_view kLineEndCharacters = u"\r\n";

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
    std::size_t end = text.find_first_of(kLineEndCharacters, from);
    if (end == std::u16string_view::npos) {
        end = text.size();
    }
    return {text.substr(from, end - from), text.substr(end, LineEndAt(text, end))};
}

std::u16string_view WithoutByteOrderMark(std::u16string_view text) {
    return text.starts_with(u'\uFEFF') ? text.substr(1) : text;
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
    const std::size_t first = text.find_first_of(kLineEndCharacters);
    return first == std::u16string_view::npos ? u"\n" : text.substr(first, LineEndAt(text, first));
}

std::u16string_view AsBoxText(std::u16string_view text, std::u16string& storage) {
    std::size_t at = text.find_first_of(kLineEndCharacters);
    while (at != std::u16string_view::npos && LineEndAt(text, at) == 2) {
        at = text.find_first_of(kLineEndCharacters, at + 2);
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
    std::size_t from = utf8.find("\r\n");
    if (lineBreak == "\r\n" || from == std::string::npos) {
        return;
    }
    // Never longer than what it replaces, so what is written never overtakes what is read.
    std::size_t to = from;
    while (from < utf8.size()) {
        if (utf8.compare(from, 2, "\r\n") == 0) {
            utf8.replace(to, lineBreak.size(), lineBreak);
            to += lineBreak.size();
            from += 2;
        } else {
            utf8[to++] = utf8[from++];
        }
    }
    utf8.resize(to);
}

}  // namespace zelkora::cli
