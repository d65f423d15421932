#include "tools/tables/TableMaker.h"

#include <unicode/uchar.h>
#include <unicode/ucnv.h>
#include <unicode/utf16.h>

#include <algorithm>
#include <array>
#include <iterator>
#include <map>
#include <span>

#include "core/encoding/DecodeText.h"
#include "core/encoding/IcuConverter.h"
#include "core/encoding/modJudge.h"
#include "core/engine/HexCode.h"
#include "core/engine/TextToCode.h"
#include "tools/tables/EntryOrder.h"
#include "tools/tables/TableWriter.h"

namespace zelkora {

namespace {

// One to four digits.
std::optional<std::uint32_t> ParseHex(std::string_view digits) {
    if (digits.empty() || digits.size() > 4) {
        return std::nullopt;
    }
    return ParseHexCode(std::u16string(digits.begin(), digits.end()));
}

std::u16string Ascii(std::string_view text) {
    return std::u16string(text.begin(), text.end());
}

std::u16string Count(std::size_t n) {
    return Ascii(std::to_string(n));
}

class Charset {
public:
    explicit Charset(const std::string& name) : converter_(OpenIcuConverter(name.c_str())) {
        if (!converter_) {
            return;
        }
        // Stop instead of substituting, so that an unmapped code fails rather than turning
        // into a substitute character that would look like a mapping.
        UErrorCode status = U_ZERO_ERROR;
        ucnv_setToUCallBack(converter_.get(), UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr,
                            &status);
        ucnv_setFromUCallBack(converter_.get(), UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr,
                              nullptr, &status);
    }

    bool is_open() const { return converter_ != nullptr; }
    std::string name() const {
        UErrorCode status = U_ZERO_ERROR;
        return ucnv_getName(converter_.get(), &status);
    }
    bool little_endian() const { return ucnv_getType(converter_.get()) == UCNV_UTF16_LittleEndian; }

    // The one UTF-16 code unit the bytes decode to, if that is all they decode to.
    std::optional<char16_t> DecodeOne(std::span<const std::uint8_t> bytes) {
        std::array<UChar, 4> units{};
        UErrorCode status = U_ZERO_ERROR;
        const std::int32_t n =
            ucnv_toUChars(converter_.get(), units.data(), static_cast<std::int32_t>(units.size()),
                          reinterpret_cast<const char*>(bytes.data()),
                          static_cast<std::int32_t>(bytes.size()), &status);
        if (U_FAILURE(status) || n != 1 || U16_IS_SURROGATE(units[0])) {
            return std::nullopt;
        }
        return units[0];
    }

    // The bytes the character converts to; nothing when it converts to none.
    std::optional<std::vector<std::uint8_t>> Encode(char16_t c) {
        std::array<char, 8> out{};
        UErrorCode status = U_ZERO_ERROR;
        const std::int32_t n = ucnv_fromUChars(
            converter_.get(), out.data(), static_cast<std::int32_t>(out.size()), &c, 1, &status);
        if (U_FAILURE(status)) {
            return std::nullopt;
        }
        return std::vector<std::uint8_t>(out.begin(), out.begin() + n);
    }

private:
    IcuConverter converter_;
};

// Japanese text spells seven characters in a JIS form or in a Microsoft form, and a charset
// that follows one of the two mappings holds only its own form. Text in either form must convert
// to the same code, as other systems' converters for these charsets do.
struct FormPair {
    char16_t jis;
    char16_t microsoft;
};

constexpr std::array<FormPair, 7> kFormPairs{{{u'\u301C', u'\uFF5E'},    // 〜 ～
                                              {u'\u00A2', u'\uFFE0'},    // ¢ ￠
                                              {u'\u00A3', u'\uFFE1'},    // £ ￡
                                              {u'\u00AC', u'\uFFE2'},    // ¬ ￢
                                              {u'\u2212', u'\uFF0D'},    // − －
                                              {u'\u2014', u'\u2015'},    // — ―
                                              {u'\u2016', u'\u2225'}}};  // ‖ ∥

// For a charset that holds exactly one form of every pair, the form it lacks beside each form it
// holds; nothing for any other charset (UTF-16 holds both, Latin-1 a few of one side).
std::map<char16_t, char16_t> OtherForms(Charset& charset) {
    std::map<char16_t, char16_t> other;
    for (const FormPair pair : kFormPairs) {
        const bool jis = charset.Encode(pair.jis).has_value();
        if (jis == charset.Encode(pair.microsoft).has_value()) {
            return {};
        }
        other.emplace(jis ? pair.jis : pair.microsoft, jis ? pair.microsoft : pair.jis);
    }
    return other;
}

std::u16string CodeText(std::uint16_t code, bool twoByte) {
    return HexDigits(code, twoByte ? 4 : 2);
}

// Says how the two-byte codes are written, with one of them: あ when the table has it.
std::optional<std::u16string> FormNote(const MakeTableRequest& request, const CharsetTable& table) {
    // In a little-endian charset the codes in file order are the units' values, as charts print.
    if (request.form != CodeForm::FileOrder || table.littleEndian) {
        return std::nullopt;
    }
    const auto isPair = [](const TableEntry& entry) { return entry.twoByte; };
    auto example = std::ranges::find_if(table.entries, [&](const TableEntry& entry) {
        return isPair(entry) && entry.character == u'あ';
    });
    if (example == table.entries.end()) {
        example = std::ranges::find_if(table.entries, isPair);
    }
    if (example == table.entries.end()) {
        return std::nullopt;
    }
    return FileOrderNote(std::u16string(1, example->character), CodeText(example->code, true));
}

std::vector<std::u16string> HeaderLines(const MakeTableRequest& request, const CharsetTable& table,
                                        std::size_t unstorable) {
    std::vector<std::u16string> lines;
    lines.push_back(request.title.empty() ? u"文字コード表: " + Ascii(request.charset)
                                          : request.title);
    if (!request.command.empty()) {
        lines.push_back(u"作成: " + request.command);
    }
    lines.push_back(u"ICU の変換器 " + Ascii(table.converterName) +
                    u" で 1 文字に変換でき、その文字から同じコードに戻る 1 バイト・2 バイトの"
                    u"コードを、1 行に 1 つ書いています。");
    if (const auto note = FormNote(request, table)) {
        lines.push_back(*note);
    }
    if (request.range) {
        const auto hex = [](std::uint32_t code) { return HexDigits(code, code > 0xFF ? 4 : 2); };
        lines.push_back(u"コードの範囲: " + hex(request.range->from) + u"-" +
                        hex(request.range->to));
    }
    if (table.oneWay > 0 && request.alternatives) {
        lines.push_back(u"同じ文字を表す別のコード " + Count(table.oneWay) +
                        u" 個も、文字からの変換で得られるコードの後に書いています。コード→文字の"
                        u"変換ではこれらも読め、文字→コードの変換では先にある行のコードが"
                        u"使われます。");
    } else if (table.oneWay > 0) {
        lines.push_back(u"同じ文字を表す別のコード " + Count(table.oneWay) +
                        u" 個は入れず、文字からの変換で得られるコードだけを書いています"
                        u"（--alternatives で入ります）。");
    }
    if (table.otherForms > 0) {
        lines.push_back(
            u"JIS と Microsoft の対応で別の文字になる 7 組（〜／～、¢／￠、£／￡、¬／￢、"
            u"−／－、—／―、‖／∥）のうち、この文字コードにないほうの文字 " +
            Count(table.otherForms) +
            u" 個も、あるほうの文字の次の行に同じコードで書いています。どちらの文字も"
            u"同じコードになり、コード→文字の変換ではあるほうの文字になります。");
    }
    if (table.noWayBack > 0) {
        lines.push_back(u"1 文字に変換できても、その文字からどのコードにも戻らないコード " +
                        Count(table.noWayBack) + u" 個は入れていません。");
    }
    const auto lineFeed = std::ranges::find(table.entries, u'\n', &TableEntry::character);
    if (lineFeed != table.entries.end()) {
        lines.push_back(u"改行（LF）のコード " +
                        CodeText(WrittenCode(*lineFeed, request.form), lineFeed->twoByte) +
                        u" は「\\n」の行です。");
    }
    if (table.controls > 0) {
        lines.push_back(u"制御文字のコード " + Count(table.controls) +
                        u" 個は、表の行に書けないため入れていません。");
    }
    if (table.privateUse > 0) {
        lines.push_back(u"私用領域の文字 " + Count(table.privateUse) +
                        u" 個は入れていません（--private-use で入ります）。");
    }
    if (table.unassigned > 0) {
        lines.push_back(u"文字の割り当てのないコードポイント " + Count(table.unassigned) +
                        u" 個は入れていません。");
    }
    if (table.twoByteFirst) {
        lines.emplace_back(kTwoByteFirstNote);
    }
    if (unstorable > 0) {
        lines.push_back(UnstorableNote(request.encoding, unstorable));
    }
    lines.push_back(StorageNote(request.encoding));
    return lines;
}

}  // namespace

std::error_code make_error_code(RangeError error) {
    static constexpr const char* kWords[] = {"two hexadecimal codes of up to four digits, FROM-TO",
                                             "FROM is above TO"};
    return OwnErrorCode(error, "code range", kWords);
}

Result<CodeRange> ParseCodeRange(std::string_view text) {
    const std::size_t dash = text.find('-');
    const auto from = ParseHex(text.substr(0, dash));
    const auto to = dash == std::string_view::npos ? std::nullopt : ParseHex(text.substr(dash + 1));
    if (!from || !to) {
        return RangeError::NotARange;
    }
    if (*from > *to) {
        return RangeError::Reversed;
    }
    return CodeRange{*from, *to};
}

std::optional<CharsetTable> CollectCharsetTable(const MakeTableRequest& request) {
    Charset charset(request.charset);
    if (!charset.is_open()) {
        return std::nullopt;
    }
    CharsetTable table;
    table.converterName = charset.name();
    table.littleEndian = charset.little_endian();
    const std::map<char16_t, char16_t> otherForms = OtherForms(charset);
    std::vector<TableEntry> oneByte;
    std::vector<TableEntry> twoByte;
    std::vector<TableEntry> oneByteAlternatives;
    std::vector<TableEntry> twoByteAlternatives;

    // chartCode: the code as charts print it, which the range is given in.
    auto consider = [&](std::span<const std::uint8_t> bytes, std::uint16_t chartCode) {
        if (request.range && (chartCode < request.range->from || chartCode > request.range->to)) {
            return;
        }
        const auto c = charset.DecodeOne(bytes);
        if (!c) {
            return;
        }
        const auto back = charset.Encode(*c);
        if (!back) {
            ++table.noWayBack;
            return;
        }
        const bool alternative = !std::ranges::equal(*back, bytes);
        if (alternative && !request.alternatives) {
            ++table.oneWay;
            return;
        }
        const auto type = static_cast<UCharCategory>(u_charType(*c));
        if (*c != u'\n' && type == U_CONTROL_CHAR) {
            ++table.controls;
            return;
        }
        if (type == U_UNASSIGNED) {
            ++table.unassigned;
            return;
        }
        if (type == U_PRIVATE_USE_CHAR && !request.privateUse) {
            ++table.privateUse;
            return;
        }
        table.oneWay += alternative;
        const bool wide = bytes.size() == 2;
        const auto code = static_cast<std::uint16_t>(wide ? bytes[0] << 8 | bytes[1] : bytes[0]);
        auto& list = alternative ? (wide ? twoByteAlternatives : oneByteAlternatives)
                                 : (wide ? twoByte : oneByte);
        list.push_back(TableEntry{code, wide, *c});
        const auto other = otherForms.find(*c);
        if (!alternative && other != otherForms.end()) {
            list.push_back(TableEntry{code, wide, other->second});
            ++table.otherForms;
        }
    };

    for (std::uint32_t b = 0; b <= 0xFF; ++b) {
        const std::array<std::uint8_t, 1> bytes{static_cast<std::uint8_t>(b)};
        consider(bytes, static_cast<std::uint16_t>(b));
    }
    for (std::uint32_t code = 0; code <= 0xFFFF; ++code) {
        const auto high = static_cast<std::uint8_t>(code >> 8);
        const auto low = static_cast<std::uint8_t>(code);
        const std::array<std::uint8_t, 2> bytes =
            table.littleEndian ? std::array{low, high} : std::array{high, low};
        consider(bytes, static_cast<std::uint16_t>(code));
    }

    std::vector<std::uint32_t> singles;
    std::vector<std::uint32_t> pairs;
    const auto written = [&](const TableEntry& entry) { return WrittenCode(entry, request.form); };
    for (const auto* list : {&oneByte, &oneByteAlternatives}) {
        std::ranges::transform(*list, std::back_inserter(singles), written);
    }
    for (const auto* list : {&twoByte, &twoByteAlternatives}) {
        std::ranges::transform(*list, std::back_inserter(pairs), written);
    }
    table.twoByteFirst = OneByteShadowsTwoByte(singles, pairs);
    // First match wins, so an alternative comes after every code a character converts to, and
    // text to codes keeps giving that code. Where one-byte codes would take the low byte of
    // two-byte codes, the two-byte alternatives too come before them.
    const std::array order =
        table.twoByteFirst
            ? std::array{&twoByte, &twoByteAlternatives, &oneByte, &oneByteAlternatives}
            : std::array{&oneByte, &twoByte, &oneByteAlternatives, &twoByteAlternatives};
    for (const std::vector<TableEntry>* list : order) {
        table.entries.insert(table.entries.end(), list->begin(), list->end());
    }
    return table;
}

std::uint16_t WrittenCode(const TableEntry& entry, CodeForm form) {
    if (!entry.twoByte || form == CodeForm::LeadByteFirst) {
        return entry.code;
    }
    return static_cast<std::uint16_t>(entry.code << 8 | entry.code >> 8);
}

std::u16string EntryLine(const TableEntry& entry, CodeForm form) {
    std::u16string line = CodeText(WrittenCode(entry, form), entry.twoByte);
    line.push_back(u' ');
    if (entry.character == u'\n') {
        line.append(kLineBreakToken);
    } else {
        line.push_back(entry.character);
    }
    return line;
}

std::error_code make_error_code(MakeTableFailure failure) {
    static constexpr const char* kWords[] = {
        "the converter library knows no such charset",
        "the converter library cannot store a table in that encoding"};
    return OwnErrorCode(failure, "make-table", kWords);
}

Result<MadeTable> MakeTable(const MakeTableRequest& request) {
    auto table = CollectCharsetTable(request);
    if (!table) {
        return MakeTableFailure::UnknownCharset;
    }
    TableWriter writer(request.encoding);
    std::vector<std::u16string> lines;
    std::size_t unstorable = 0;
    for (const TableEntry& entry : table->entries) {
        std::u16string line = EntryLine(entry, request.form);
        if (writer.CanStore(line)) {
            lines.push_back(std::move(line));
        } else {
            ++unstorable;
        }
    }

    const std::u16string text = writer.Compose(HeaderLines(request, *table, unstorable), lines);
    auto bytes = writer.Store(text);
    if (!bytes) {
        return MakeTableFailure::CannotStore;
    }
    MadeTable made;
    made.entries = lines.size();
    made.unstorable = unstorable;
    made.readsBack = DetectEncoding(*bytes) == request.encoding && DecodeTableBytes(*bytes) == text;
    made.bytes = std::move(*bytes);
    return made;
}

}  // namespace zelkora
