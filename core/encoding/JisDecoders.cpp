#include "core/encoding/JisDecoders.h"

#include "core/encoding/EncodingRegistry.h"
#include "core/encoding/EucJp.h"
#include "core/encoding/IcuDecoder.h"

#include <optional>
#include <vector>

namespace zelkora {

namespace {

using Bytes = std::span<const std::uint8_t>;

constexpr bool IsJisByte(std::uint8_t b) {
    return b >= 0x21 && b <= 0x7E;
}

// Gathers Windows-31J bytes and decodes them in as few converter calls as possible: the run is
// cut only where something Windows-31J cannot carry (JIS X 0212, an invalid sequence) must be
// placed between its characters.
class Windows31JText {
public:
    explicit Windows31JText(std::size_t sizeHint) : windows31j_(kWindows31J) {
        pending_.reserve(sizeHint);
        text_.reserve(sizeHint);
    }
    Windows31JText(const Windows31JText&) = delete;
    Windows31JText& operator=(const Windows31JText&) = delete;

    void Byte(std::uint8_t b) { pending_.push_back(b); }

    // A JIS X 0208 character, row and cell in 0x21..0x7E, as its Shift_JIS pair.
    void Jis0208(std::uint8_t row, std::uint8_t cell) {
        const int lead = ((row - 0x21) >> 1) + 0x81;
        int trail = 0;
        if (row % 2 == 1) {
            trail = cell + 0x1F;
            trail += trail >= 0x7F ? 1 : 0;
        } else {
            trail = cell + 0x7E;
        }
        pending_.push_back(static_cast<std::uint8_t>(lead > 0x9F ? lead + 0x40 : lead));
        pending_.push_back(static_cast<std::uint8_t>(trail));
    }

    void Jis0212(std::uint8_t row, std::uint8_t cell) {
        Flush();
        if (!jis0212_) {
            jis0212_.emplace("EUC-JP");
        }
        const std::uint8_t euc[] = {0x8F, static_cast<std::uint8_t>(row | 0x80),
                                    static_cast<std::uint8_t>(cell | 0x80)};
        failed_ = failed_ || !jis0212_->Append(euc, text_);
    }

    void Invalid() {
        Flush();
        text_.push_back(u'\uFFFD');
        ++invalid_;
    }

    [[nodiscard]] std::u16string Finish(std::size_t* substitutions) {
        Flush();
        failed_ = failed_ || !windows31j_.IsOpen();
        if (substitutions != nullptr) {
            *substitutions = failed_ ? 0
                                     : invalid_ + windows31j_.Substitutions() +
                                           (jis0212_ ? jis0212_->Substitutions() : 0);
        }
        return failed_ ? std::u16string() : std::move(text_);
    }

private:
    void Flush() {
        if (!pending_.empty()) {
            failed_ = failed_ || !windows31j_.Append(pending_, text_);
            pending_.clear();
        }
    }

    IcuDecoder windows31j_;
    std::optional<IcuDecoder> jis0212_;
    std::vector<std::uint8_t> pending_;
    std::u16string text_;
    std::size_t invalid_ = 0;
    bool failed_ = false;
};

enum class JisSet { Ascii, Kana, Jis0208, Jis0212 };

struct Designation {
    JisSet set;
    std::size_t length;  // 0: not a designation this decoder knows
};

Designation ReadDesignation(Bytes rest) {
    const auto at = [&](std::size_t i) { return i < rest.size() ? rest[i] : 0; };
    if (at(1) == '(') {
        switch (at(2)) {
            case 'B':
            case 'J':  // JIS X 0201 Roman: 0x5C and 0x7E read as in ASCII, as Windows does
                return {JisSet::Ascii, 3};
            case 'I':
                return {JisSet::Kana, 3};
            default:
                return {JisSet::Ascii, 0};
        }
    }
    if (at(1) == '$') {
        if (at(2) == '@' || at(2) == 'B') {
            return {JisSet::Jis0208, 3};
        }
        if (at(2) == '(' && at(3) == 'D') {
            return {JisSet::Jis0212, 4};
        }
    }
    return {JisSet::Ascii, 0};
}

}  // namespace

std::u16string DecodeEucJp(Bytes bytes, std::size_t* substitutions) {
    Windows31JText text(bytes.size());
    for (std::size_t i = 0; i < bytes.size();) {
        const EucUnit unit = EucUnitAt(bytes, i);
        switch (unit.kind) {
            case EucUnitKind::Ascii:
                text.Byte(bytes[i]);
                break;
            case EucUnitKind::Kana:
                text.Byte(bytes[i + 1]);
                break;
            case EucUnitKind::Jis0208:
                text.Jis0208(bytes[i] & 0x7F, bytes[i + 1] & 0x7F);
                break;
            case EucUnitKind::Jis0212:
                text.Jis0212(bytes[i + 1] & 0x7F, bytes[i + 2] & 0x7F);
                break;
            case EucUnitKind::Invalid:
                text.Invalid();
                break;
        }
        i += unit.length;
    }
    return text.Finish(substitutions);
}

std::u16string DecodeIso2022Jp(Bytes bytes, std::size_t* substitutions) {
    Windows31JText text(bytes.size());
    const std::size_t size = bytes.size();
    JisSet set = JisSet::Ascii;
    std::size_t i = 0;
    while (i < size) {
        const std::uint8_t b = bytes[i];
        if (b == 0x1B) {
            const Designation designation = ReadDesignation(bytes.subspan(i));
            if (designation.length == 0) {
                text.Invalid();
                i += 1;
            } else {
                set = designation.set;
                i += designation.length;
            }
        } else if (b >= 0x80) {
            text.Invalid();
            i += 1;
        } else if (set == JisSet::Ascii || !IsJisByte(b)) {
            text.Byte(b);
            i += 1;
        } else if (set == JisSet::Kana) {
            if (b <= 0x5F) {
                text.Byte(static_cast<std::uint8_t>(b + 0x80));
            } else {
                text.Invalid();
            }
            i += 1;
        } else if (i + 1 < size && IsJisByte(bytes[i + 1])) {
            if (set == JisSet::Jis0208) {
                text.Jis0208(b, bytes[i + 1]);
            } else {
                text.Jis0212(b, bytes[i + 1]);
            }
            i += 2;
        } else {
            text.Invalid();
            i += 1;
        }
    }
    return text.Finish(substitutions);
}

}  // namespace zelkora
