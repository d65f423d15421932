#include "tools/binary/RelativeSearch.h"

#include <unicode/utf16.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <vector>

#include "core/encoding/Utf8.h"

namespace zelkora {
namespace {

// An order that holds the word, and the place of each of its characters in it.
struct OrderPattern {
    const CharacterOrder* order;
    std::vector<std::int64_t> places;
};

std::vector<OrderPattern> PatternsFor(std::u16string_view word) {
    std::vector<OrderPattern> patterns;
    for (const CharacterOrder& order : CharacterOrders()) {
        OrderPattern pattern{&order, {}};
        for (const char16_t c : word) {
            const std::size_t place = order.characters.find(c);
            if (place == std::u16string_view::npos) {
                break;
            }
            pattern.places.push_back(static_cast<std::int64_t>(place));
        }
        if (pattern.places.size() == word.size()) {
            patterns.push_back(std::move(pattern));
        }
    }
    return patterns;
}

// The unit is a template argument: the search reads a few units at every offset, and a switch
// for each of them would cost more than the reading.
template <Unit U>
std::int64_t ValueAt(const std::uint8_t* at) {
    if constexpr (U == Unit::OneByte) {
        return at[0];
    } else if constexpr (U == Unit::TwoBytesLittleEndian) {
        return at[0] | at[1] << 8;
    } else {
        return at[0] << 8 | at[1];
    }
}

// Calls hit() for each pattern the units from `start` on fit; false when it says to stop. Most
// offsets fail at the second unit, so each unit is read only when those before it fit.
template <Unit U>
bool LookAt(const ScanWindow& window, std::size_t start, std::span<const OrderPattern> patterns,
            const std::function<bool(const RelativeHit&)>& hit) {
    constexpr std::size_t kSize = UnitSize(U);
    if (patterns.empty() || start + patterns.front().places.size() * kSize > window.bytes.size()) {
        return true;
    }
    const std::uint8_t* at = &window.bytes[start];
    for (const OrderPattern& pattern : patterns) {
        const std::int64_t shift = ValueAt<U>(at) - pattern.places[0];
        bool fits = true;
        for (std::size_t i = 1; fits && i < pattern.places.size(); ++i) {
            fits = ValueAt<U>(at + i * kSize) - pattern.places[i] == shift;
        }
        if (fits && !hit(RelativeHit{window.offset + start, U, pattern.order, shift})) {
            return false;
        }
    }
    return true;
}

}  // namespace

std::optional<std::string> RelativeWordProblem(std::u16string_view word) {
    if (word.size() < 3) {
        return "WORD needs three characters or more";
    }
    for (std::size_t i = 0; i < word.size(); ++i) {
        if (!KindOf(word[i])) {
            const bool pair = U16_IS_LEAD(word[i]) && i + 1 < word.size();
            return "WORD holds \"" + Utf16ToUtf8(word.substr(i, pair ? 2 : 1)) +
                   "\", which is not hiragana, katakana, an ASCII letter or a digit";
        }
    }
    if (std::ranges::any_of(word, [&](char16_t c) { return KindOf(c) != KindOf(word[0]); })) {
        return "WORD must be all hiragana, all katakana, all lower case, all upper case or all "
               "digits";
    }
    if (std::ranges::all_of(word, [&](char16_t c) { return c == word[0]; })) {
        return "the characters of WORD are all the same: there is no difference to look for";
    }
    return std::nullopt;
}

bool FindRelative(const ByteSource& source, std::u16string_view word, std::size_t blockSize,
                  const std::function<bool(const RelativeHit&)>& hit) {
    const std::vector<OrderPattern> patterns = PatternsFor(word);
    const ScanLimits limits{blockSize, word.size() * 2, 0};
    return ScanBlocks(source, limits, [&](const ScanWindow& window) {
        for (std::size_t start = window.from; start < window.to; ++start) {
            if (!LookAt<Unit::OneByte>(window, start, patterns, hit) ||
                !LookAt<Unit::TwoBytesLittleEndian>(window, start, patterns, hit) ||
                !LookAt<Unit::TwoBytesBigEndian>(window, start, patterns, hit)) {
                return false;
            }
        }
        return true;
    });
}

std::u16string FirstCharacterCode(const RelativeHit& hit) {
    const std::uint64_t magnitude =
        static_cast<std::uint64_t>(hit.firstCode < 0 ? -hit.firstCode : hit.firstCode);
    std::array<char, 32> code{};
    const int length = std::snprintf(
        code.data(), code.size(), "=%s0x%0*llx", hit.firstCode < 0 ? "-" : "",
        static_cast<int>(UnitSize(hit.unit) * 2), static_cast<unsigned long long>(magnitude));
    return std::u16string(hit.order->characters.substr(0, 1)) +
           std::u16string(code.begin(), code.begin() + length);
}

std::u16string DescribeHit(const RelativeHit& hit) {
    constexpr std::array<std::u16string_view, 3> kUnitNames = {u"1 byte", u"2 bytes LE",
                                                               u"2 bytes BE"};
    const std::string_view order = hit.order->name;
    return std::u16string(kUnitNames[static_cast<std::size_t>(hit.unit)]) + u", " +
           std::u16string(order.begin(), order.end()) + u", " + FirstCharacterCode(hit);
}

}  // namespace zelkora
