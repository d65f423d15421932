#include "tools/tables/SwapCodes.h"

#include <algorithm>
#include <string>

#include "core/encoding/DecodeText.h"
#include "core/encoding/EncodingRegistry.h"
#include "core/encoding/modJudge.h"
#include "core/engine/HexCode.h"
#include "core/tables/TableReader.h"
#include "tools/tables/CodeForm.h"
#include "tools/tables/TableWriter.h"

namespace zelkora {

namespace {

// The text stored as the file was: with its byte-order mark only if the file had one.
std::optional<std::vector<std::uint8_t>> StoreLike(TableWriter& writer, std::u16string_view text,
                                                   bool withMark) {
    auto bytes = writer.Store(text);
    const std::string_view mark = FindEncoding(writer.encoding())->byteOrderMark;
    if (bytes && !withMark) {
        bytes->erase(bytes->begin(), bytes->begin() + static_cast<std::ptrdiff_t>(mark.size()));
    }
    return bytes;
}

}  // namespace

// The file is decoded, its code fields changed, and the text stored again. That is exact only
// when storing the decoded text gives back the very bytes read, which is checked first: a
// character decoded from one of two byte sequences, a substitute or an escape sequence placed
// otherwise would change unseen.
std::error_code make_error_code(SwapFailure failure) {
    static constexpr const char* kWords[] = {
        "the file is empty", "the file's bytes do not come back exactly from its text"};
    return OwnErrorCode(failure, "swap-codes", kWords);
}

Result<SwappedTable> SwapTwoByteCodes(std::span<const std::uint8_t> bytes) {
    if (bytes.empty()) {
        return SwapFailure::EmptyFile;
    }
    SwappedTable swapped;
    swapped.encoding = DetectEncoding(bytes);
    std::size_t substitutions = 0;
    const std::u16string text = DecodeTableBytesAs(swapped.encoding, bytes, &substitutions);
    const std::string_view mark = FindEncoding(swapped.encoding)->byteOrderMark;
    const bool withMark =
        bytes.size() >= mark.size() &&
        std::equal(mark.begin(), mark.end(), bytes.begin(),
                   [](char m, std::uint8_t b) { return static_cast<std::uint8_t>(m) == b; });
    TableWriter writer(swapped.encoding);
    const auto stored = StoreLike(writer, text, withMark);
    if (substitutions > 0 || !stored || !std::ranges::equal(*stored, bytes)) {
        return SwapFailure::NotExact;
    }

    // The code field is what comes before the first space of an entry line, as the reader takes it.
    std::u16string result;
    result.reserve(text.size() + text.size() / 16);
    std::size_t copied = 0;
    for (const std::u16string_view line : CutTableLines(text)) {
        const std::u16string_view code = ClassifyTableLine(line).code;
        if (code.size() < 3 || code.size() > 4 || !std::ranges::all_of(code, IsHexDigit)) {
            continue;
        }
        const auto at = static_cast<std::size_t>(line.data() - text.data());
        result.append(text, copied, at - copied).append(SwapByteGroups(code));
        copied = at + code.size();
        ++swapped.swapped;
    }
    result.append(text, copied);

    auto rewritten = StoreLike(writer, result, withMark);
    if (!rewritten || DecodeTableBytes(*rewritten) != result) {
        return SwapFailure::NotExact;
    }
    swapped.bytes = std::move(*rewritten);
    return swapped;
}

}  // namespace zelkora
