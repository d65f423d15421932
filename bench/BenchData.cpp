#include "bench/BenchData.h"

#include <fstream>
#include <random>
#include <span>
#include <string_view>

#include "core/encoding/DecodeText.h"
#include "core/encoding/Utf8.h"
#include "tools/tables/TableMaker.h"
#include "tools/tables/TableWriter.h"

namespace zelkora::bench {
namespace {

// std::mt19937's output sequence is fixed by the standard (unlike its distributions), so the
// same text comes out of every standard library.
constexpr std::mt19937::result_type kSeed = 20240601;

// Enough text that every encoding stores at least 1000 bytes of it.
constexpr std::size_t kSampleTextBytes = 4000;
constexpr std::size_t kSampleBytes = 1000;

std::size_t Utf8Length(char16_t c) {
    return c < 0x80 ? 1 : c < 0x800 ? 2 : 3;
}

std::size_t CountLines(std::u16string_view text) {
    std::size_t lines = 1;
    for (auto at = text.find(u"\r\n"); at != std::u16string_view::npos;
         at = text.find(u"\r\n", at + 2)) {
        ++lines;
    }
    return lines;
}

MakeTableRequest Windows31JRequest(Encoding storedIn) {
    MakeTableRequest request;
    request.charset = "windows-31j";
    request.encoding = storedIn;
    return request;
}

// Kanji of JIS X 0208 (lead bytes 88 to EA), which ISO-2022-JP holds as well, so the text
// converts alike with every Windows-31J table whatever it is stored in.
std::vector<char16_t> KanjiPool() {
    std::vector<char16_t> kanji;
    const auto charset = CollectCharsetTable(Windows31JRequest(Encoding::SJIS));
    if (!charset) {
        return kanji;
    }
    for (const TableEntry& entry : charset->entries) {
        if (entry.twoByte && entry.code >= 0x889F && entry.code <= 0xEAA4 &&
            entry.character >= 0x4E00 && entry.character <= 0x9FFF) {
            kanji.push_back(entry.character);
        }
    }
    return kanji;
}

char16_t PickCharacter(std::mt19937& random, const std::vector<char16_t>& kanji) {
    const auto pick = [&](std::size_t count) { return static_cast<char16_t>(random() % count); };
    const auto roll = random() % 100;
    if (roll < 35) {
        return static_cast<char16_t>(u'\u3041' + pick(83));  // ぁ to ん
    }
    if (roll < 50) {
        return static_cast<char16_t>(u'\u30A1' + pick(86));  // ァ to ヶ
    }
    if (roll < 75 && !kanji.empty()) {
        return kanji[pick(kanji.size())];
    }
    // Printable ASCII with the backslash skipped.
    auto c = static_cast<char16_t>(u' ' + pick(94));
    return c >= u'\\' ? static_cast<char16_t>(c + 1) : c;
}

bool WriteBytes(const std::filesystem::path& file, std::string_view bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out.flush());
}

}  // namespace

BenchTable BmpTable() {
    std::u16string text;
    for (std::uint32_t code = 0; code <= 0xFFFF; ++code) {
        const auto c = static_cast<char16_t>(code);
        const bool surrogate = c >= 0xD800 && c <= 0xDFFF;
        const bool control = c < 0x20 || (c >= 0x7F && c <= 0x9F);
        if (surrogate || (control && c != u'\n')) {
            continue;  // a table line cannot hold them
        }
        // The code unit's value, which is UTF-16LE in file order; LF is written as the line-break
        // token.
        text.append(EntryLine(TableEntry{static_cast<std::uint16_t>(code), true, c},
                              CodeForm::LeadByteFirst));
        text.append(u"\r\n");
    }
    TableWriter writer(Encoding::Unicode);
    return BenchTable{"bmp.UNICODE.txt", Encoding::Unicode,
                      writer.Store(text).value_or(std::vector<std::uint8_t>{}), CountLines(text)};
}

std::optional<BenchTable> Windows31JTable(Encoding storedIn) {
    const auto made = MakeTable(Windows31JRequest(storedIn));
    if (!made) {
        return std::nullopt;
    }
    const std::string name = std::string("windows-31j.") + EncodingName(storedIn) + ".txt";
    return BenchTable{name, storedIn, made->bytes, CountLines(DecodeTableBytes(made->bytes))};
}

std::optional<std::vector<BenchTable>> AllTables() {
    std::vector<BenchTable> tables{BmpTable()};
    for (const Encoding storedIn : {Encoding::SJIS, Encoding::UTF7, Encoding::JIS}) {
        auto table = Windows31JTable(storedIn);
        if (!table) {
            return std::nullopt;
        }
        tables.push_back(std::move(*table));
    }
    return tables;
}

namespace {

// Makes the mixed text a piece at a time.
class MixedJapaneseGenerator {
public:
    explicit MixedJapaneseGenerator(std::size_t utf8Bytes)
        : kanji_(KanjiPool()), random_(kSeed), left_(utf8Bytes), lineLeft_(LineLength()) {}

    // Appends about `units` code units more; false once the whole text is made.
    bool Next(std::u16string& text, std::size_t units) {
        for (std::size_t made = 0; made < units && left_ > 0; ++made) {
            if (lineLeft_ == 0 && left_ >= 2) {
                text.append(u"\r\n");
                left_ -= 2;
                lineLeft_ = LineLength();
                continue;
            }
            char16_t c = PickCharacter(random_, kanji_);
            if (Utf8Length(c) > left_) {
                c = u'.';  // the last byte or two, so the text ends at the size asked for
            }
            text.push_back(c);
            left_ -= Utf8Length(c);
            lineLeft_ -= lineLeft_ > 0 ? 1 : 0;
        }
        return left_ > 0;
    }

private:
    std::size_t LineLength() { return 20 + random_() % 60; }

    std::vector<char16_t> kanji_;
    std::mt19937 random_;
    std::size_t left_;
    std::size_t lineLeft_;
};

}  // namespace

std::u16string MixedJapaneseText(std::size_t utf8Bytes) {
    MixedJapaneseGenerator generator(utf8Bytes);
    std::u16string text;
    while (generator.Next(text, utf8Bytes)) {
    }
    return text;
}

bool WriteMixedJapaneseText(const std::filesystem::path& file, std::size_t utf8Bytes) {
    constexpr std::size_t kPiece = std::size_t{1} << 20;
    MixedJapaneseGenerator generator(utf8Bytes);
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    std::u16string text;
    for (bool more = true; more && out;) {
        text.clear();
        more = generator.Next(text, kPiece);
        const std::string utf8 = Utf16ToUtf8(text);
        out.write(utf8.data(), static_cast<std::streamsize>(utf8.size()));
    }
    return static_cast<bool>(out.flush());
}

BenchTable RepeatedBmpTable(std::size_t bytes) {
    BenchTable one = BmpTable();
    BenchTable table{"bmp-repeated.UNICODE.txt", Encoding::Unicode, one.bytes, one.lines};
    // Each copy ends with CR LF, so the next one begins a line; the mark (FF FE) stays in front
    // only, and the empty line after the last CR LF is counted once.
    const std::span<const std::uint8_t> body = std::span(one.bytes).subspan(2);
    while (table.bytes.size() < bytes) {
        table.bytes.insert(table.bytes.end(), body.begin(), body.end());
        table.lines += one.lines - 1;
    }
    return table;
}

std::optional<std::vector<std::uint8_t>> DetectionSample(Encoding encoding) {
    TableWriter writer(encoding);
    auto bytes = writer.Store(MixedJapaneseText(kSampleTextBytes));
    if (!bytes || bytes->size() < kSampleBytes) {
        return std::nullopt;
    }
    bytes->resize(kSampleBytes);
    return bytes;
}

bool WriteTables(const std::filesystem::path& folder, const std::vector<BenchTable>& tables) {
    for (const BenchTable& table : tables) {
        const std::string_view bytes(reinterpret_cast<const char*>(table.bytes.data()),
                                     table.bytes.size());
        if (!WriteBytes(folder / table.name, bytes)) {
            return false;
        }
    }
    return true;
}

bool WriteUtf8(const std::filesystem::path& file, std::u16string_view text) {
    return WriteBytes(file, Utf16ToUtf8(text));
}

}  // namespace zelkora::bench
