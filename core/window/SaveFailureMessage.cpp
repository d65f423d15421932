#include "core/window/SaveFailureMessage.h"

#include <cerrno>

#include "core/common/FileNames.h"

namespace zelkora {
namespace {

// The reasons a user can act on, in their words; any other keeps the system's own.
std::u16string Reason(std::error_code why) {
    if (why.category() == std::generic_category() || why.category() == std::system_category()) {
        switch (why.value()) {
            case EACCES:
            case EPERM:
                return u"書き込む権限がありません。";
            case EROFS:
                return u"読み取り専用の場所です。";
            case ENOSPC:
            case EDQUOT:
                return u"ディスクの空きが足りません。";
            case EISDIR:
                return u"同じ名前のフォルダがあります。";
            case ENOENT:
            case ENOTDIR:
                return u"保存先のフォルダがありません。";
            default:
                break;
        }
    }
    return u"書き込めませんでした（" + FileNameToText(why.message()) + u"）。";
}

}  // namespace

std::u16string SaveFailureMessage(const std::filesystem::path& file, std::error_code why) {
    return u"設定を保存できませんでした。\n" + FileNameToText(file.string()) + u"\n" + Reason(why);
}

std::string SaveFailureLine(const std::filesystem::path& file, std::error_code why) {
    return "zelkora: the settings were not saved: cannot write '" + file.string() +
           "': " + why.message() + "\n";
}

}  // namespace zelkora
