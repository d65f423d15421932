// The table reader from a file's raw bytes: detection, decoding and parsing, plus each decoder
// on its own, since detection sends most arbitrary bytes to Shift_JIS alone.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "cli/SlotDump.h"
#include "core/encoding/DecodeText.h"
#include "core/encoding/modADOS.h"
#include "core/tables/TableReader.h"
#include "fuzz/FuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using zelkora::fuzz::Require;
    const std::span<const std::uint8_t> bytes(data, size);

    const std::u16string text = zelkora::DecodeTableBytes(bytes);
    const zelkora::CodeTable table = zelkora::ParseTable(text);
    // One slot per line.
    Require(table.size() == zelkora::CutTableLines(text).size());
    Require(table.size() >= 1);
    for (std::size_t slot = 0; slot < table.size(); ++slot) {
        Require(table.CodeTexts(slot).find(u' ') == std::u16string::npos);
        Require(table.Codes(slot) == zelkora::ReadCodeField(table.CodeTexts(slot)));
    }
    static_cast<void>(zelkora::cli::FormatSlots(table));

    static_cast<void>(zelkora::FromShiftJIS(bytes));
    static_cast<void>(zelkora::FromUTF16LE(bytes));
    static_cast<void>(zelkora::FromISO2022JP(bytes));
    static_cast<void>(zelkora::FromEUCJP(bytes));
    static_cast<void>(zelkora::FromUTF7(bytes));
    static_cast<void>(zelkora::FromUTF8(bytes));
    return 0;
}
