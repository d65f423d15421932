#include "core/tables/TableReader.h"

#include <algorithm>
#include <string>
#include <thread>

#include "core/common/FileBytes.h"
#include "core/encoding/DecodeText.h"
#include "core/engine/HexCode.h"

namespace zelkora {
namespace {

constexpr char16_t kSpace = u' ';
constexpr char16_t kIdeographicSpace = u'\u3000';

// The reader's own failures are codes of this category; as conditions its values also sort any
// result of a read: Ok is no error, CannotOpen any error of another category.
class ReaderCategory final : public OwnErrorCategory {
public:
    ReaderCategory() : OwnErrorCategory("table file", kWords) {}

    [[nodiscard]] bool equivalent(const std::error_code& code,
                                  int condition) const noexcept override {
        switch (static_cast<ReadStatus>(condition)) {
            case ReadStatus::Ok:
                return !code;
            case ReadStatus::CannotOpen:
                return code && code.category() != *this;
            default:
                return code.category() == *this && code.value() == condition;
        }
    }

private:
    // CannotOpen and the reader's own failures, in the order of ReadStatus.
    static constexpr const char* kWords[] = {
        "cannot be read", "is empty", "holds no text once decoded",
        "is not a text file: it holds NUL characters (U+0000)"};
};

const std::error_category& ReadStatusCategory() {
    static const ReaderCategory category;
    return category;
}

std::error_code ReaderError(ReadStatus status) {
    return {static_cast<int>(status), ReadStatusCategory()};
}

// Sets the slot of one line: empty for a line that is not an entry.
void ParseLine(std::u16string_view line, std::size_t slot, CodeTable& table) {
    const TableLine read = ClassifyTableLine(line);
    table.SetSlot(slot, ReadCodeField(read.code), read.code, read.character);
}

}  // namespace

TableLine ClassifyTableLine(std::u16string_view line) {
    TableLine read;
    const std::u16string_view trimmed = TrimTableSpaces(line);
    if (trimmed.empty()) {
        return read;
    }
    const auto space = line.find(kSpace);
    if (line.size() < 3) {
        read.kind = LineKind::Short;
    } else if (trimmed.starts_with(u"//")) {
        read.kind = LineKind::Comment;
    } else if (space == std::u16string_view::npos) {
        read.kind = LineKind::CharacterOnly;
        read.character = trimmed;
    } else {
        // The code field cannot hold a space, so trimming it changes nothing. A character part
        // of one space, or one ideographic space, is that character; any other is trimmed.
        read.kind = LineKind::Entry;
        read.code = line.substr(0, space);
        read.written = line.substr(space + 1);
        const bool lonelySpace = read.written.size() == 1 && (read.written[0] == kSpace ||
                                                              read.written[0] == kIdeographicSpace);
        read.character = lonelySpace ? read.written : TrimTableSpaces(read.written);
    }
    return read;
}

std::int32_t ReadCodeField(std::u16string_view field) {
    return static_cast<std::int32_t>(ParseHexCode(field).value_or(0));
}

namespace {

// As ForEachTableLine cuts them.
std::size_t CountLines(std::u16string_view text) {
    return 1 + static_cast<std::size_t>(std::ranges::count(text, u'\n'));
}

}  // namespace

// Counted first: a table of 60,000 lines would otherwise be copied at every doubling of the
// vector, and memory first touched is what reading a large table costs most.
std::vector<std::u16string_view> CutTableLines(std::u16string_view text) {
    std::vector<std::u16string_view> lines;
    lines.reserve(CountLines(text));
    ForEachTableLine(text, [&](std::u16string_view line) { lines.push_back(line); });
    return lines;
}

std::u16string_view TrimTableSpaces(std::u16string_view text) {
    // Only U+0020 is trimmed: a table maps U+3000 like any other character, so it must survive
    // at the ends of a character part.
    const auto first = text.find_first_not_of(kSpace);
    if (first == std::u16string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(kSpace) - first + 1);
}

namespace {

// Fills the table in place, one slot per line, so that a table read before every conversion
// reuses the storage of the last one instead of allocating, and faulting in, megabytes of slots
// again. Every slot is set from its line: nothing of the previous table survives. Storage more than
// twice what this table needs is let go, so a small table does not keep a large one's memory. The
// table keeps the text, and its slots point into it.
void FillTable(std::u16string text, CodeTable& table) {
    // The lines are taken one by one rather than listed first: a list of 60,000 views is another
    // megabyte to fault in.
    const std::size_t lines = CountLines(text);
    if (table.capacity() / 2 > lines) {
        table = CodeTable{};
    }
    table.Refill(lines, std::move(text));
    std::size_t slot = 0;
    ForEachTableLine(table.SharedText(), [&](std::u16string_view line) {
        ParseLine(line, slot, table);
        ++slot;
    });
    table.BuildIndex();
}

}  // namespace

CodeTable ParseTable(std::u16string_view text) {
    CodeTable table;
    FillTable(std::u16string(text), table);
    return table;
}

bool IsTableText(std::u16string_view decoded) {
    return decoded.find(u'\0') == std::u16string_view::npos;
}

Result<> ReadTableFile(const std::filesystem::path& path, CodeTable& table, FileKinds kinds) {
    Result<std::vector<std::uint8_t>> bytes = ReadFileBytes(path, kinds);
    if (!bytes) {
        return bytes.error();
    }
    if (bytes->empty()) {
        return ReaderError(ReadStatus::EmptyFile);
    }
    std::u16string text = DecodeTableBytes(*bytes);
    // The file's bytes are let go before the slots are built, so that their memory can serve
    // the slots instead of more being faulted in.
    bytes.reset();
    if (text.empty()) {
        return ReaderError(ReadStatus::NoText);
    }
    if (!IsTableText(text)) {
        return ReaderError(ReadStatus::NotTextFile);
    }
    FillTable(std::move(text), table);
    return {};
}

Result<> ReadTableFileBackWithin(const std::filesystem::path& path, CodeTable& table,
                                 std::chrono::milliseconds patience) {
    constexpr std::chrono::milliseconds kLookAgain{10};
    const auto deadline = std::chrono::steady_clock::now() + patience;
    Result<> read = ReadTableFile(path, table);
    while (IsMissingFile(read.error())) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left <= std::chrono::milliseconds::zero()) {
            break;
        }
        std::this_thread::sleep_for(std::min(kLookAgain, left));
        read = ReadTableFile(path, table);
    }
    return read;
}

std::error_condition make_error_condition(ReadStatus status) {
    return {static_cast<int>(status), ReadStatusCategory()};
}

}  // namespace zelkora
