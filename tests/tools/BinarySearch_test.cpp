// find and find --relative over one small file, read in blocks of several sizes so that hits
// and their context cross block boundaries; every relative hit's starter table must read the
// hit's bytes back as the word.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/encoding/DecodeText.h"
#include "core/encoding/Utf8.h"
#include "core/tables/TableReader.h"
#include "tests/support/TestSupport.h"
#include "tools/binary/ByteSearch.h"
#include "tools/binary/HitContext.h"
#include "tools/binary/RelativeSearch.h"
#include "tools/binary/StarterTable.h"
#include "tools/binary/TableBytes.h"

namespace zelkora {
namespace {

// Text at known offsets in three encodings, 00 between.
std::vector<std::uint8_t> Data() {
    std::vector<std::uint8_t> data(0x40, 0x00);
    const auto put = [&](std::size_t at, std::initializer_list<std::uint8_t> bytes) {
        std::ranges::copy(bytes, data.begin() + static_cast<std::ptrdiff_t>(at));
    };
    put(0x05, {0x82, 0xA0, 0x82, 0xA2, 0x82, 0xA4});  // あいう, Shift_JIS
    put(0x10, {0x09, 0x25, 0x26, 0x27});              // TAB かきく, one byte, gojūon あ=0x20
    put(0x20, {0x20, 0x20, 0x20});                    // あああ, the same
    put(0x2B, {0x5A, 0x01, 0x5C, 0x01, 0x5E, 0x01});  // カキク, 2 bytes LE, JIS order ァ=0x150
    put(0x38, {0xFD, 0xFE, 0xFF});                    // かきく, one byte, gojūon あ=0xF8
    put(0x3F, {0x27});                                // く, one byte, the last
    return data;
}

constexpr std::u16string_view kShiftJis = u"A082 あ\r\nA282 い\r\nA482 う\r\n";
constexpr std::u16string_view kOneByte = u"20 あ\r\n25 か\r\n26 き\r\n27 く\r\n09 \t\r\n";
constexpr std::u16string_view kTwoBytesLe = u"015A カ\r\n015C キ\r\n015E ク\r\n";

// Hands out the data at most `block` bytes at a time, as a file read in blocks would.
ByteSource MemorySource(std::span<const std::uint8_t> data) {
    return [data, at = std::size_t{0}](std::span<std::uint8_t> buffer) mutable {
        const std::size_t n = std::min(buffer.size(), data.size() - at);
        std::copy_n(data.begin() + static_cast<std::ptrdiff_t>(at), n, buffer.begin());
        at += n;
        return std::optional(n);
    };
}

struct SearchCase : test::NamedCase {
    std::u16string_view table;  // empty: relative search
    std::u16string_view needle;
    std::size_t context;
    std::vector<std::string> hits;  // as find prints them, without the FILE
};

const SearchCase kSearchCases[] = {
    {"find-shift-jis", kShiftJis, u"いう", 2, {"0x7: あいう 00  00 "}},
    {"find-none", kShiftJis, u"うあ", 2, {}},
    // Every start, as a byte search reports them: the two overlap.
    {"find-overlapping", kOneByte, u"ああ", 0, {"0x20: ああ", "0x21: ああ"}},
    {"find-context-on-one-line", kOneByte, u"かきく", 1, {"0x11: \\x09かきく 00 "}},
    {"find-two-bytes-le", kTwoBytesLe, u"キク", 2, {"0x2d: カキク 00  00 "}},
    {"find-context-clipped-at-the-end",
     kOneByte,
     u"く",
     4,
     {"0x13:  00 \\x09かきく 00  00  00  00 ", "0x3f:  00  00  00  00 く"}},
    // Shift_JIS keeps the JIS order in big-endian pairs; the one-byte encoding keeps the gojūon
    // order, and reaches beyond FF at its end; the two-byte one keeps the JIS order.
    {"relative-kana",
     {},
     u"かきく",
     0,
     {"0x5: 2 bytes BE, jis, ぁ=0x8296", "0x11: 1 byte, gojuon, あ=0x20",
      "0x2b: 2 bytes LE, jis, ぁ=0x0150", "0x38: 1 byte, gojuon, あ=0xf8"}},
    // Voiced kana are not in the gojūon order.
    {"relative-voiced-kana-jis-only",
     {},
     u"がぎぐ",
     0,
     {"0x5: 2 bytes BE, jis, ぁ=0x8295", "0x2b: 2 bytes LE, jis, ぁ=0x014f"}},
};

ZELKORA_TEST_CASES(Cases, SearchTest, FindsEveryHitWhateverTheBlockSize, kSearchCases) {
    const SearchCase& c = GetParam();
    const std::vector<std::uint8_t> data = Data();
    for (const std::size_t block : {1, 3, 7, 4096}) {
        SCOPED_TRACE("block " + std::to_string(block));
        std::vector<std::string> hits;
        const auto line = [&](std::uint64_t offset, const std::string& shown) {
            char at[24];
            std::snprintf(at, sizeof at, "0x%llx: ", static_cast<unsigned long long>(offset));
            hits.push_back(at + shown);
        };
        bool read = false;
        if (c.table.empty()) {
            read = FindRelative(MemorySource(data), c.needle, block, [&](const RelativeHit& hit) {
                line(hit.offset, Utf16ToUtf8(DescribeHit(hit)));
                // The whole order at the codes the hit implies reads the word back.
                const std::size_t length = c.needle.size() * UnitSize(hit.unit);
                const StarterTable starter = MakeStarterTable(hit, u"test");
                EXPECT_EQ(starter.entries + starter.outOfRange, hit.order->characters.size());
                const auto bytes = std::span(data).subspan(hit.offset, length);
                EXPECT_EQ(BytesToText(ParseTable(DecodeTableBytes(starter.bytes)), bytes, false),
                          c.needle)
                    << Utf16ToUtf8(DescribeHit(hit));
                return true;
            });
        } else {
            const CodeTable table = ParseTable(c.table);
            const TextBytes pattern = TextToBytes(table, c.needle, false);
            ASSERT_FALSE(pattern.fault);
            read = FindBytes(MemorySource(data), pattern.bytes, c.context, block,
                             [&](const ByteHit& hit) {
                                 line(hit.offset, Utf16ToUtf8(ContextText(table, hit)));
                                 return true;
                             });
        }
        EXPECT_TRUE(read);
        EXPECT_EQ(hits, c.hits);
    }
}

}  // namespace
}  // namespace zelkora
