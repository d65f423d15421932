#include "core/encoding/EncodingRegistry.h"

#include <algorithm>

namespace zelkora {
namespace {

constexpr bool InEnumerationOrder() {
    for (std::size_t i = 0; i < kEncodings.size(); ++i) {
        if (static_cast<std::size_t>(kEncodings[i].encoding) != i) {
            return false;
        }
    }
    return true;
}
static_assert(InEnumerationOrder());

constexpr bool TieBreaksDiffer() {
    for (const EncodingInfo& a : kEncodings) {
        for (const EncodingInfo& b : kEncodings) {
            if (&a != &b && a.tieBreak == b.tieBreak) {
                return false;
            }
        }
    }
    return true;
}
static_assert(TieBreaksDiffer(), "a tie must go to one encoding");

}  // namespace

bool SameCharsetName(std::string_view a, std::string_view b) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [&](char x, char y) { return lower(x) == lower(y); });
}

const char* EncodingName(Encoding encoding) {
    const EncodingInfo* info = FindEncoding(encoding);
    return info != nullptr ? info->detectionName : "SJIS";
}

std::string EncodingNameList() {
    std::string list;
    for (const EncodingInfo& info : kEncodings) {
        if (!list.empty()) {
            list += &info == &kEncodings.back() ? " or " : ", ";
        }
        list += info.detectionName;
    }
    return list;
}

const EncodingInfo* FindEncoding(Encoding encoding) {
    const auto index = static_cast<std::size_t>(encoding);
    return index < kEncodings.size() ? &kEncodings[index] : nullptr;
}

std::string_view CharsetName(Encoding encoding) {
    const EncodingInfo* info = FindEncoding(encoding);
    return info != nullptr ? info->charsetName : std::string_view();
}

std::optional<Encoding> ParseTableEncoding(std::string_view name) {
    for (const EncodingInfo& info : kEncodings) {
        if (SameCharsetName(name, info.detectionName) || SameCharsetName(name, info.charsetName)) {
            return info.encoding;
        }
    }
    return std::nullopt;
}

}  // namespace zelkora
