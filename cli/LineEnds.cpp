#include "cli/LineEnds.h"

namespace zelkora::cli {

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
