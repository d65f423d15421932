#include "core/tables/Catalogue.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unicode/uchar.h>
#include <unicode/utf16.h>

#include <algorithm>
#include <cerrno>

#include "core/common/FileNames.h"

namespace zelkora {
namespace {

// Upper-cased per UTF-16 code unit, as the original file system's upcase table does: a
// surrogate is left alone, so characters outside the BMP compare by their code units.
std::u16string CatalogueKey(std::string_view raw) {
    std::u16string key = FileNameToText(raw);
    for (char16_t& unit : key) {
        if (!U16_IS_SURROGATE(unit)) {
            unit = static_cast<char16_t>(u_toupper(unit));
        }
    }
    return key;
}

bool IsRegularFile(DIR* dir, const dirent& entry) {
    switch (entry.d_type) {
        case DT_REG:
            return true;
        case DT_LNK:
        case DT_UNKNOWN:
            break;  // a link counts for what it points to; some file systems do not say
        default:
            return false;
    }
    struct stat info {};
    return ::fstatat(::dirfd(dir), entry.d_name, &info, 0) == 0 && S_ISREG(info.st_mode);
}

bool IsHidden(std::string_view name) {
    return name.starts_with('.') || name.ends_with('~');
}

}  // namespace

bool CatalogueLess(std::string_view a, std::string_view b) {
    const std::u16string keyA = CatalogueKey(a);
    const std::u16string keyB = CatalogueKey(b);
    if (keyA != keyB) {
        return keyA < keyB;
    }
    return a < b;  // char_traits<char> compares as unsigned bytes
}

Result<std::vector<std::string>> ListTableFiles(const std::filesystem::path& settingsDir) {
    DIR* dir = ::opendir(settingsDir.c_str());
    if (dir == nullptr) {
        return std::error_code(errno, std::generic_category());
    }
    std::vector<std::string> names;
    // A read error ends the listing; the names found so far stay, as a partial menu would.
    for (const dirent* entry = ::readdir(dir); entry != nullptr; entry = ::readdir(dir)) {
        if (!IsHidden(entry->d_name) && IsRegularFile(dir, *entry)) {
            names.emplace_back(entry->d_name);
        }
    }
    ::closedir(dir);
    std::sort(names.begin(), names.end(), CatalogueLess);
    return names;
}

std::optional<std::string> ChooseTable(const std::vector<std::string>& names,
                                       std::u16string_view fileValue) {
    if (names.empty()) {
        return std::nullopt;
    }
    const auto named = std::find_if(names.begin(), names.end(), [&](const std::string& name) {
        return FileNameToText(name) == fileValue;
    });
    return named != names.end() ? *named : names.front();
}

}  // namespace zelkora
