#pragma once

// File and process helpers the tests share, GoogleTest and QtTest alike: whole files as bytes,
// what a folder holds, scratch folders, and a built program run as a script would run it.

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <string_view>
#include <system_error>
#include <thread>
#include <vector>

extern char** environ;

namespace zelkora::test {

// The whole file; empty when it cannot be read.
inline std::string ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// False when the file cannot be written.
inline bool WriteBytes(const std::filesystem::path& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary);
    out << bytes;
    return out.good();
}

// What a folder holds: each entry's kind and, for regular files, their bytes. Equal snapshots
// before and after an operation show that it wrote, created and removed nothing there.
inline std::map<std::string, std::string> Snapshot(const std::filesystem::path& folder) {
    namespace fs = std::filesystem;
    std::map<std::string, std::string> entries;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
        const fs::file_status status = entry.symlink_status();
        std::string& seen = entries[entry.path().filename().string()];
        seen = std::to_string(static_cast<int>(status.type())) + ":";
        if (status.type() == fs::file_type::regular) {
            seen += ReadBytes(entry.path());
        }
    }
    return entries;
}

// An empty folder in the temporary folder, named `prefix`-pid-`name` so that tests run in
// parallel never share one. It is removed afterwards even when the test left it read-only.
class ScratchFolder {
public:
    ScratchFolder(std::string_view prefix, std::string name) {
        std::replace(name.begin(), name.end(), '/', '_');
        path_ = std::filesystem::temp_directory_path() /
                (std::string(prefix) + "-" + std::to_string(::getpid()) + "-" + name);
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all, ignored);
        std::filesystem::remove_all(path_, ignored);
    }

    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

struct ProgramRun {
    bool started = false;
    bool timedOut = false;  // killed at the time limit
    int status = -1;        // exit status; -1 when the program did not exit normally
    std::string out;
    std::string err;
    long peakKiB = 0;  // the program's peak resident memory
};

// Runs a built program with `input` on stdin and a time limit. stdin, stdout and stderr go
// through files in `scratch`, so nothing can block on a pipe; stdoutPath, when given, is
// where stdout goes instead (/dev/full, say).
inline ProgramRun RunProgram(const std::filesystem::path& program, std::vector<std::string> args,
                             std::string_view input, const std::filesystem::path& scratch,
                             std::chrono::seconds limit, const char* stdoutPath = nullptr) {
    namespace fs = std::filesystem;
    const fs::path in = scratch / "stdin", out = scratch / "stdout", err = scratch / "stderr";
    WriteBytes(in, input);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, in.c_str(), O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, stdoutPath != nullptr ? stdoutPath : out.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (std::string& arg : args) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);

    ProgramRun run;
    pid_t pid = 0;
    run.started = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ) == 0;
    posix_spawn_file_actions_destroy(&actions);
    if (!run.started) {
        return run;
    }
    const auto deadline = std::chrono::steady_clock::now() + limit;
    int status = 0;
    rusage usage{};
    while (::wait4(pid, &status, WNOHANG, &usage) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            run.timedOut = true;
            ::kill(pid, SIGKILL);
            ::wait4(pid, &status, 0, &usage);
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    if (WIFEXITED(status)) {
        run.status = WEXITSTATUS(status);
    }
    run.peakKiB = usage.ru_maxrss;
    run.out = ReadBytes(out);
    run.err = ReadBytes(err);
    return run;
}

}  // namespace zelkora::test
