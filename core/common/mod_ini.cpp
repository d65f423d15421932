#include "core/common/mod_ini.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unicode/uchar.h>
#include <unicode/utf16.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <csignal>
#include <limits>
#include <optional>
#include <system_error>
#include <thread>
#include <vector>

#include "core/common/FileBytes.h"
#include "core/common/FileNames.h"

namespace zelkora {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kNewLine = "\r\n";
// The profile functions read into a buffer of 32767 characters that ends in U+0000.
constexpr std::size_t kValueLimit = 32766;

// The file as lines, each keeping its own line end so untouched lines are written back as
// they were read.
struct IniLines {
    bool byteOrderMark = false;
    std::vector<std::string> lines;
};

IniLines SplitLines(std::string_view content) {
    IniLines ini;
    if (content.starts_with(kByteOrderMark)) {
        ini.byteOrderMark = true;
        content.remove_prefix(kByteOrderMark.size());
    }
    while (!content.empty()) {
        const auto lf = content.find('\n');
        const std::size_t length = lf == std::string_view::npos ? content.size() : lf + 1;
        ini.lines.emplace_back(content.substr(0, length));
        content.remove_prefix(length);
    }
    return ini;
}

// The line without its line end (LF, CR LF, or a CR left at the end of the file).
std::string_view Body(std::string_view line) {
    if (line.ends_with('\n')) {
        line.remove_suffix(1);
    }
    if (line.ends_with('\r')) {
        line.remove_suffix(1);
    }
    return line;
}

std::string_view TrimBlanks(std::string_view s) {
    const auto first = s.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

std::u16string FoldCase(std::u16string_view name) {
    std::u16string folded;
    folded.reserve(name.size());
    for (std::size_t i = 0; i < name.size();) {
        UChar32 c = 0;
        U16_NEXT(name.data(), i, name.size(), c);
        const UChar32 f = u_foldCase(c, U_FOLD_CASE_DEFAULT);
        if (U_IS_BMP(f)) {
            folded += static_cast<char16_t>(f);
        } else {
            folded += U16_LEAD(f);
            folded += U16_TRAIL(f);
        }
    }
    return folded;
}

bool SameName(std::string_view raw, std::u16string_view foldedName) {
    return FoldCase(FileNameToText(raw)) == foldedName;
}

std::optional<std::string_view> SectionName(std::string_view line) {
    const std::string_view trimmed = TrimBlanks(Body(line));
    if (!trimmed.starts_with('[')) {
        return std::nullopt;
    }
    const std::string_view inside = trimmed.substr(1);
    return TrimBlanks(inside.substr(0, inside.find(']')));
}

struct KeyLine {
    std::string_view key;
    std::string_view value;
};

std::optional<KeyLine> SplitKeyLine(std::string_view line) {
    const std::string_view trimmed = TrimBlanks(Body(line));
    const auto equals = trimmed.find('=');
    if (trimmed.starts_with(';') || trimmed.starts_with('#') || equals == std::string_view::npos) {
        return std::nullopt;
    }
    return KeyLine{TrimBlanks(trimmed.substr(0, equals)), TrimBlanks(trimmed.substr(equals + 1))};
}

bool IsBlank(std::string_view line) {
    return TrimBlanks(Body(line)).empty();
}

// Where a key lives: the first section of that name, and the first line of the key in it.
struct Location {
    static constexpr std::size_t kNone = std::numeric_limits<std::size_t>::max();
    std::size_t section = kNone;
    std::size_t key = kNone;
    std::size_t endOfSection = kNone;  // just after its last line that is not blank
};

Location Locate(const std::vector<std::string>& lines, std::u16string_view section,
                std::u16string_view key) {
    const std::u16string foldedSection = FoldCase(section);
    const std::u16string foldedKey = FoldCase(key);
    Location at;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (const auto name = SectionName(lines[i])) {
            if (at.section != Location::kNone) {
                break;
            }
            if (SameName(*name, foldedSection)) {
                at.section = i;
                at.endOfSection = i + 1;
            }
            continue;
        }
        if (at.section == Location::kNone) {
            continue;
        }
        if (!IsBlank(lines[i])) {
            at.endOfSection = i + 1;
        }
        const auto keyLine = SplitKeyLine(lines[i]);
        if (at.key == Location::kNone && keyLine && SameName(keyLine->key, foldedKey)) {
            at.key = i;
        }
    }
    return at;
}

std::string_view Unquote(std::string_view value) {
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

// Blanks at the ends would be trimmed and matching quotes removed on reading, so such a
// value is written inside quotes to come back as it went in.
std::string QuoteIfNeeded(std::string value) {
    const bool blankEnds = !value.empty() && TrimBlanks(value).size() != value.size();
    const bool quoted = value.size() >= 2 && value.front() == '"' && value.back() == '"';
    return blankEnds || quoted ? '"' + value + '"' : value;
}

std::optional<std::u16string> ReadValue(std::u16string_view section, std::u16string_view key,
                                        const fs::path& file) {
    const auto bytes = ReadFileBytes(file);
    if (!bytes) {
        return std::nullopt;
    }
    const IniLines ini =
        SplitLines(std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()));
    const Location at = Locate(ini.lines, section, key);
    if (at.key == Location::kNone) {
        return std::nullopt;
    }
    std::u16string value = FileNameToText(Unquote(SplitKeyLine(ini.lines[at.key])->value));
    if (value.size() > kValueLimit) {
        // Never cut a surrogate pair in half: that would invent a lone surrogate.
        const bool splitsPair = U16_IS_LEAD(value[kValueLimit - 1]);
        value.resize(splitsPair ? kValueLimit - 1 : kValueLimit);
    }
    return value;
}

bool Representable(std::u16string_view text) {
    return text.find_first_of(u"\r\n\0", 0, 3) == std::u16string_view::npos;
}

// Whether reading finds the name again: blanks around a name are trimmed as it is read, a line
// that begins with ";" or "#" is a comment, and one that begins with a character of
// `startsOtherLine` is taken for another kind of line.
bool Findable(std::u16string_view name, std::u16string_view startsOtherLine) {
    const auto blank = [](char16_t c) { return c == u' ' || c == u'\t'; };
    if (name.empty()) {
        return true;
    }
    return !blank(name.front()) && !blank(name.back()) && name.front() != u';' &&
           name.front() != u'#' && startsOtherLine.find(name.front()) == std::u16string_view::npos;
}

fs::path FolderOf(const fs::path& target) {
    return target.has_parent_path() ? target.parent_path() : fs::path(".");
}

// Temporary files are named ".setting.ini.<pid>.<n>.tmp" beside the file they replace, <pid>
// being the process that writes it.
std::string TemporaryPrefix(const fs::path& target) {
    return "." + target.filename().string() + ".";
}

// The process that wrote a temporary file, read from its name; nothing for another name.
std::optional<pid_t> WriterOf(std::string_view name, std::string_view prefix) {
    if (!name.starts_with(prefix) || !name.ends_with(".tmp")) {
        return std::nullopt;
    }
    name.remove_prefix(prefix.size());
    pid_t pid = 0;
    const auto [end, error] = std::from_chars(name.data(), name.data() + name.size(), pid);
    if (error != std::errc() || end == name.data() || *end != '.') {
        return std::nullopt;
    }
    return pid;
}

bool IsRunning(pid_t pid) {
    return ::kill(pid, 0) == 0 || errno == EPERM;
}

// An exclusive lock on the folder of setting.ini, held while a write reads, changes and replaces
// the file, so that two programs saving at once cannot undo each other's keys. When the lock
// cannot be had within two seconds (its holder stopped in a debugger) the write goes ahead
// without it: saving must never hang the window's closing.
class FolderLock {
public:
    explicit FolderLock(const fs::path& folder)
        : fd_(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
        for (int attempt = 0; fd_ >= 0 && attempt < 200; ++attempt) {
            if (::flock(fd_, LOCK_EX | LOCK_NB) == 0) {
                locked_ = true;
                return;
            }
            if (errno != EWOULDBLOCK && errno != EINTR) {
                return;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;
    ~FolderLock() {
        if (fd_ >= 0) {
            ::close(fd_);  // releases the lock
        }
    }
    bool locked() const { return locked_; }

private:
    int fd_;
    bool locked_ = false;
};

// A writer killed between creating its temporary file and renaming it leaves the file behind.
// A writer that gave up waiting for the lock may be writing its own at this very moment, so only
// the files of processes no longer running are left over.
void RemoveLeftovers(const fs::path& target) {
    const std::string prefix = TemporaryPrefix(target);
    std::error_code error;
    for (fs::directory_iterator entry(FolderOf(target), error), end; !error && entry != end;
         entry.increment(error)) {
        const auto writer = WriterOf(entry->path().filename().string(), prefix);
        if (writer && !IsRunning(*writer)) {
            ::unlink(entry->path().c_str());
        }
    }
}

std::error_code LastError() {
    return {errno, std::generic_category()};
}

// Writes content to a temporary file beside target and renames it over target, so a reader
// sees either the old file or the new one, never a half-written one. Nothing when it worked,
// else why it did not.
std::error_code ReplaceFile(const fs::path& target, std::string_view content,
                            std::optional<mode_t> keepMode) {
    static std::atomic<unsigned> counter{0};
    const fs::path folder = FolderOf(target);
    fs::path temporary;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temporary = folder / (TemporaryPrefix(target) + std::to_string(::getpid()) + "." +
                              std::to_string(counter++) + ".tmp");
        fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) {
            return LastError();
        }
    }
    if (fd < 0) {
        return std::make_error_code(std::errc::file_exists);
    }
    std::error_code error;
    if (keepMode && ::fchmod(fd, *keepMode & 07777) != 0) {
        error = LastError();
    }
    for (std::size_t written = 0; !error && written < content.size();) {
        const ssize_t n = ::write(fd, content.data() + written, content.size() - written);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            error = n < 0 ? LastError() : std::make_error_code(std::errc::no_space_on_device);
        }
        written += n > 0 ? static_cast<std::size_t>(n) : 0;
    }
    if (!error && ::fsync(fd) != 0) {
        error = LastError();
    }
    if (::close(fd) != 0 && !error) {
        error = LastError();
    }
    if (!error && ::rename(temporary.c_str(), target.c_str()) != 0) {
        error = LastError();
    }
    if (error) {
        ::unlink(temporary.c_str());
        return error;
    }
    // Make the rename itself durable; the file is already in place if this fails.
    const int folderFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderFd >= 0) {
        ::fsync(folderFd);
        ::close(folderFd);
    }
    return {};
}

void EndWithNewLine(std::string& line) {
    if (!line.ends_with('\n')) {
        line += line.ends_with('\r') ? "\n" : kNewLine;
    }
}

// Replaces the key's first line in the section's first occurrence, or adds the key at the end
// of that section, or adds the section at the end of the file.
void SetKey(std::vector<std::string>& lines, std::u16string_view section, std::u16string_view key,
            std::u16string_view value) {
    const std::string keyLine = TextToFileName(key) + "=" + QuoteIfNeeded(TextToFileName(value));
    const Location at = Locate(lines, section, key);
    if (at.key != Location::kNone) {
        const std::string_view body = Body(lines[at.key]);
        lines[at.key] = keyLine + std::string(std::string_view(lines[at.key]).substr(body.size()));
    } else if (at.section != Location::kNone) {
        EndWithNewLine(lines[at.endOfSection - 1]);
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(at.endOfSection),
                     keyLine + std::string(kNewLine));
    } else {
        if (!lines.empty()) {
            EndWithNewLine(lines.back());
        }
        lines.push_back("[" + TextToFileName(section) + "]" + std::string(kNewLine));
        lines.push_back(keyLine + std::string(kNewLine));
    }
}

}  // namespace

std::int32_t GetIniInt(std::u16string_view section, std::u16string_view key,
                       std::int32_t defaultValue, const std::filesystem::path& file) {
    const auto value = ReadValue(section, key, file);
    if (!value) {
        return defaultValue;
    }
    // Out-of-range values saturate at the int32 limits, as strtol does at its own.
    const bool negative = value->starts_with(u'-');
    const std::int64_t limit = negative ? -std::int64_t{std::numeric_limits<std::int32_t>::min()}
                                        : std::int64_t{std::numeric_limits<std::int32_t>::max()};
    std::int64_t magnitude = 0;
    for (std::size_t i = negative ? 1 : 0; i < value->size(); ++i) {
        const char16_t c = (*value)[i];
        if (c < u'0' || c > u'9') {
            break;
        }
        magnitude = std::min(limit, magnitude * 10 + (c - u'0'));
    }
    return static_cast<std::int32_t>(negative ? -magnitude : magnitude);
}

std::u16string GetIniString(std::u16string_view section, std::u16string_view key,
                            const std::filesystem::path& file, std::u16string_view defaultValue) {
    return ReadValue(section, key, file).value_or(std::u16string(defaultValue));
}

Result<> WriteIniString(std::u16string_view section, std::u16string_view key,
                        std::u16string_view value, const std::filesystem::path& file) {
    const IniEntry entry{key, value};
    return WriteIniStrings(section, std::span(&entry, 1), file);
}

Result<> WriteIniStrings(std::u16string_view section, std::span<const IniEntry> entries,
                         const std::filesystem::path& file) {
    const std::error_code unrepresentable = std::make_error_code(std::errc::invalid_argument);
    // A line end inside a name or value would split its line and could forge other keys; a name
    // that reading never finds would be added again at every write.
    if (!Representable(section) || section.find(u']') != std::u16string_view::npos ||
        !Findable(section, {})) {
        return unrepresentable;
    }
    for (const IniEntry& entry : entries) {
        if (!Representable(entry.key) || !Representable(entry.value) || entry.key.empty() ||
            entry.key.find(u'=') != std::u16string_view::npos || !Findable(entry.key, u"[")) {
            return unrepresentable;
        }
    }
    if (file.empty()) {
        return std::make_error_code(std::errc::no_such_file_or_directory);  // no folder for it
    }
    // Rewrite the file a link points to rather than replacing the link itself.
    fs::path target = file;
    if (struct stat link{}; ::lstat(file.c_str(), &link) == 0 && S_ISLNK(link.st_mode)) {
        std::error_code error;
        target = fs::canonical(file, error);
        if (error) {
            return error;
        }
    }

    const FolderLock lock(FolderOf(target));
    if (lock.locked()) {
        RemoveLeftovers(target);
    }
    IniLines ini;
    std::optional<mode_t> keepMode;
    if (const auto bytes = ReadFileBytes(target); bytes) {
        // A file its owner made read-only keeps its values, as the profile functions leave it.
        if (::access(target.c_str(), W_OK) != 0) {
            return LastError();
        }
        ini = SplitLines(
            std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()));
        struct stat info {};
        if (::stat(target.c_str(), &info) == 0) {
            keepMode = info.st_mode;
        }
    } else if (bytes.error() == WrongFileKind::Folder) {
        return std::make_error_code(std::errc::is_a_directory);
    } else if (bytes.error().category() == WrongFileKindCategory()) {
        return std::make_error_code(std::errc::invalid_argument);
    } else if (bytes.error() != std::errc::no_such_file_or_directory) {
        // Present but unreadable: rewriting it would lose its contents.
        return bytes.error();
    }

    for (const IniEntry& entry : entries) {
        SetKey(ini.lines, section, entry.key, entry.value);
    }
    std::string content(ini.byteOrderMark ? kByteOrderMark : "");
    for (const std::string& line : ini.lines) {
        content += line;
    }
    return ReplaceFile(target, content, keepMode);
}

}  // namespace zelkora
