// The INI reader and writer on a setting.ini of any content: reads never fail, and a value
// that was written comes back as written while the keys around it keep theirs.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

#include "core/common/mod_ini.h"
#include "fuzz/FuzzInput.h"

namespace {

namespace fs = std::filesystem;

// A folder of this process's own, removed at exit. On tmpfs where there is one: every write
// is synced to disk, which would cap the fuzzer's speed.
class Folder {
public:
    Folder() {
        const fs::path base =
            fs::is_directory("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
        path_ = base / ("zelkora-fuzz-ini-" + std::to_string(::getpid()));
        fs::create_directories(path_);
    }
    Folder(const Folder&) = delete;
    Folder& operator=(const Folder&) = delete;
    ~Folder() {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace zelkora;
    static const Folder folder;
    const fs::path file = folder.path() / "setting.ini";
    std::ofstream(file, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));

    const std::u16string section = u"Zelkora";
    static_cast<void>(GetIniInt(section, u"X", -1, file));
    static_cast<void>(GetIniInt(section, u"WinState", 0, file));
    const std::u16string ret = GetIniString(section, u"Ret", file, u"(none)");
    const std::u16string other = GetIniString(u"Other", u"File", file, u"(none)");
    // Whatever "W" holds, however long or odd, is what gets written back as "File".
    const std::u16string value = GetIniString(section, u"W", file, u"new.txt");

    if (WriteIniString(section, u"File", value, file)) {
        fuzz::Require(GetIniString(section, u"File", file, u"(none)") == value);
        fuzz::Require(GetIniString(section, u"Ret", file, u"(none)") == ret);
        fuzz::Require(GetIniString(u"Other", u"File", file, u"(none)") == other);
    }
    return 0;
}
