#include "core/tables/TableMessages.h"

#include "core/common/FileNames.h"

namespace zelkora {
namespace {

// The common causes in the user's words; any other in the system's.
std::u16string ListingReason(std::error_code why) {
    if (why == std::errc::no_such_file_or_directory) {
        return u"フォルダが見つかりません";
    }
    if (why == std::errc::not_a_directory) {
        return u"フォルダではありません";
    }
    if (why == std::errc::permission_denied) {
        return u"読み取る権限がありません";
    }
    // The system's own words, as bytes in the locale's encoding: any bytes come through.
    return FileNameToText(why.message());
}

std::u16string_view ReadReason(std::error_code why) {
    if (why == ReadStatus::EmptyFile) {
        return u"ファイルが空です";
    }
    if (why == ReadStatus::NoText) {
        return u"文字として読めません";
    }
    if (why == ReadStatus::NotTextFile) {
        return u"テキストファイルではありません";
    }
    if (IsMissingFile(why)) {
        return u"ファイルが見つかりません";
    }
    if (why.category() == WrongFileKindCategory()) {
        return u"通常のファイルではありません";
    }
    return u"ファイルを読み取れません";
}

}  // namespace

std::u16string ListingErrorMessage(const std::filesystem::path& folder, std::error_code why) {
    return u"設定ファイル読み込みエラーが発生しました\n" + FileNameToText(folder.native()) + u"：" +
           ListingReason(why);
}

std::u16string TableReadErrorMessage(std::u16string_view name, std::error_code why) {
    std::u16string message = u"設定ファイル「";
    message.append(name).append(u"」を読み込めないため、変換しませんでした。\n理由：");
    message.append(ReadReason(why));
    return message;
}

}  // namespace zelkora
