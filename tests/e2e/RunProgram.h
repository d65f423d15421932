#pragma once

// Runs a built program as a script would, with a time limit, and reports what it used.

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

extern char** environ;

namespace zelkora::test {

struct Run {
    bool started = false;
    bool timedOut = false;  // killed at the time limit
    int status = -1;        // exit status; -1 when the program did not exit normally
    std::string out;
    std::string err;
    long peakKiB = 0;  // the program's peak resident memory
};

// stdin, stdout and stderr go through files in `scratch`, so nothing can block on a pipe.
inline Run RunProgram(const std::filesystem::path& program, std::vector<std::string> args,
                      std::string_view input, const std::filesystem::path& scratch,
                      std::chrono::seconds limit) {
    namespace fs = std::filesystem;
    const fs::path in = scratch / "stdin", out = scratch / "stdout", err = scratch / "stderr";
    std::ofstream(in, std::ios::binary) << input;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, in.c_str(), O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (std::string& arg : args) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);

    Run run;
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
    const auto read = [](const fs::path& path) {
        std::ifstream file(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(file), {});
    };
    run.out = read(out);
    run.err = read(err);
    return run;
}

}  // namespace zelkora::test
