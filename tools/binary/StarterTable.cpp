#include "tools/binary/StarterTable.h"

#include <array>
#include <string>

#include "core/engine/HexCode.h"
#include "tools/tables/TableMaker.h"
#include "tools/tables/TableWriter.h"

namespace zelkora {
namespace {

std::u16string Ascii(std::string_view text) {
    return {text.begin(), text.end()};
}

// The entry of a unit's value: its bytes as one number, the first byte in the data highest.
TableEntry EntryOf(Unit unit, std::uint16_t value, char16_t character) {
    const auto swapped = static_cast<std::uint16_t>(value << 8 | value >> 8);
    switch (unit) {
        case Unit::OneByte:
            return {value, false, character};
        case Unit::TwoBytesLittleEndian:
            return {swapped, true, character};
        case Unit::TwoBytesBigEndian:
            return {value, true, character};
    }
    return {};
}

std::vector<std::u16string> Header(const RelativeHit& hit, std::u16string_view command,
                                   std::size_t outOfRange) {
    constexpr std::array<std::u16string_view, 3> kUnitNames = {
        u"1 バイト", u"2 バイト（リトルエンディアン）", u"2 バイト（ビッグエンディアン）"};
    const std::u16string unit(kUnitNames[static_cast<std::size_t>(hit.unit)]);
    std::vector<std::u16string> header = {
        u"相対検索で見つけた並びから作った表の下書き",
        u"作成: " + std::u16string(command),
        u"データの 0x" + HexDigits(hit.offset) + u" から " + unit + u"単位で" +
            std::u16string(hit.order->japanese) + u"に並ぶ値があったので、" +
            FirstCharacterCode(hit) + u" として、その順の文字すべてにコードを割り当てています。",
    };
    if (hit.unit != Unit::OneByte) {
        header.push_back(u"2 バイトのコードは、データに並ぶ順のバイトになるように書いています。");
    }
    if (outOfRange > 0) {
        header.push_back(u"コードが " + unit + u"に収まらない文字 " +
                         Ascii(std::to_string(outOfRange)) + u" 個は入れていません。");
    }
    header.push_back(StorageNote(Encoding::UTF8));
    return header;
}

}  // namespace

StarterTable MakeStarterTable(const RelativeHit& hit, std::u16string_view command) {
    const std::int64_t last = hit.unit == Unit::OneByte ? 0xFF : 0xFFFF;
    StarterTable table;
    std::vector<std::u16string> lines;
    const std::u16string_view characters = hit.order->characters;
    for (std::size_t i = 0; i < characters.size(); ++i) {
        const std::int64_t code = hit.firstCode + static_cast<std::int64_t>(i);
        if (code < 0 || code > last) {
            ++table.outOfRange;
            continue;
        }
        const TableEntry entry = EntryOf(hit.unit, static_cast<std::uint16_t>(code), characters[i]);
        lines.push_back(EntryLine(entry, CodeForm::FileOrder));
    }
    table.entries = lines.size();
    TableWriter writer(Encoding::UTF8);
    // UTF-8 holds every character of the orders, so storing cannot fail.
    table.bytes = writer.Store(writer.Compose(Header(hit, command, table.outOfRange), lines))
                      .value_or(std::vector<std::uint8_t>{});
    return table;
}

}  // namespace zelkora
