// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Runs the built darvenix-cli as a user would, in a sandbox of its own: a
// temporary folder holding a link to the program (so its program folder has
// no merge configuration and no run takes the build tree's staged data
// files), a home with its own XDG folders, and files for standard input,
// output and error.

#include "common/AddressSanitizer.h"
#include "settings/TempFolder.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

extern char** environ;

namespace dvx::test {

struct TCliResult {
    int Exit = -1; // the exit status; -1 when the program did not exit normally
    std::string Out;
    std::string Err;
};

class CliSandbox {
public:
    CliSandbox() {
        std::filesystem::create_directories(Program().parent_path());
        std::error_code ec;
        std::filesystem::create_hard_link(DARVENIX_BINARY_DIR "/darvenix-cli", Program(), ec);
        if (ec) std::filesystem::copy_file(DARVENIX_BINARY_DIR "/darvenix-cli", Program());
        std::filesystem::create_directories(folder_ / "work");
    }

    std::filesystem::path Program() const { return folder_ / "program/darvenix-cli"; }
    std::string Home() const { return folder_ / "home"; }
    std::string ConfigHome() const { return Home() + "/config"; }
    std::string DataHome() const { return Home() + "/data"; }
    // The desktop program's settings file in this sandbox.
    std::string SettingsFile() const { return ConfigHome() + "/Quellstrand/darvenix.ini"; }
    // A scratch folder for the test's files; runs start in it.
    std::string Work() const { return folder_ / "work"; }
    std::string WorkFile(const std::string& name) const { return Work() + "/" + name; }

    // Runs the program with args. stdinText goes to its standard input;
    // stdoutPath, when given, replaces the capture of standard output (for
    // example "/dev/full").
    TCliResult Run(const std::vector<std::string>& args, const std::string& stdinText = "",
                   const std::string& stdoutPath = "") const {
        const std::string in = folder_ / "stdin", out = folder_ / "stdout", err = folder_ / "stderr";
        WriteText(in, stdinText);
        const std::string outTarget = stdoutPath.empty() ? out : stdoutPath;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 0, in.c_str(), O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 1, outTarget.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        posix_spawn_file_actions_addchdir_np(&actions, Work().c_str());

        std::vector<std::string> env = {"HOME=" + Home(), "XDG_CONFIG_HOME=" + ConfigHome(),
                                        "XDG_DATA_HOME=" + DataHome(), "PATH=/usr/bin:/bin", "LC_ALL=C"};
        std::vector<std::string> argv = {Program().string()};
        argv.insert(argv.end(), args.begin(), args.end());
        std::vector<char*> argp, envp;
        for (auto& a : argv) argp.push_back(a.data());
        argp.push_back(nullptr);
        for (auto& e : env) envp.push_back(e.data());
        envp.push_back(nullptr);

        TCliResult result;
        pid_t pid = 0;
        const int rc = posix_spawn(&pid, argv[0].c_str(), &actions, nullptr, argp.data(), envp.data());
        posix_spawn_file_actions_destroy(&actions);
        if (rc != 0) return result;
        int status = 0;
        waitpid(pid, &status, 0);
        if (WIFEXITED(status)) result.Exit = WEXITSTATUS(status);
        if (stdoutPath.empty()) result.Out = ReadText(out);
        result.Err = ReadText(err);
        return result;
    }

    // How standard input reaches a run of RunWithInput.
    struct TStandardInput {
        std::string Path;               // opened for reading (a folder, /dev/zero, a file)
        bool Closed = false;            // the program starts with descriptor 0 closed
        std::uint64_t AddressSpace = 0; // bytes; a limit on the child's memory when not 0 (not under the address sanitizer)
    };

    // Runs the program with standard input as given, in a child process of
    // its own (so the descriptor and the memory limit are the child's only).
    TCliResult RunWithInput(const std::vector<std::string>& args, const TStandardInput& input) const {
        const std::string out = folder_ / "stdout", err = folder_ / "stderr";
        std::vector<std::string> env = {"HOME=" + Home(), "XDG_CONFIG_HOME=" + ConfigHome(),
                                        "XDG_DATA_HOME=" + DataHome(), "PATH=/usr/bin:/bin", "LC_ALL=C"};
        std::vector<std::string> argv = {Program().string()};
        argv.insert(argv.end(), args.begin(), args.end());
        std::vector<char*> argp, envp;
        for (auto& a : argv) argp.push_back(a.data());
        argp.push_back(nullptr);
        for (auto& e : env) envp.push_back(e.data());
        envp.push_back(nullptr);
        const std::string work = Work();

        TCliResult result;
        const pid_t pid = fork();
        if (pid < 0) return result;
        if (pid == 0) {
            // Only async-signal-safe calls from here on.
            const int o = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            const int e = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            if (o < 0 || e < 0 || dup2(o, 1) < 0 || dup2(e, 2) < 0 || chdir(work.c_str()) != 0) _exit(127);
            if (input.Closed) {
                close(0);
            } else {
                const int i = open(input.Path.c_str(), O_RDONLY);
                if (i < 0 || dup2(i, 0) < 0) _exit(127);
                if (i != 0) close(i);
            }
#ifndef DVX_TEST_ASAN
            if (input.AddressSpace) {
                const rlimit limit{input.AddressSpace, input.AddressSpace};
                if (setrlimit(RLIMIT_AS, &limit) != 0) _exit(127);
            }
#endif
            execve(argp[0], argp.data(), envp.data());
            _exit(127);
        }
        int status = 0;
        waitpid(pid, &status, 0);
        if (WIFEXITED(status)) result.Exit = WEXITSTATUS(status);
        result.Out = ReadText(out);
        result.Err = ReadText(err);
        return result;
    }

private:
    TempFolder folder_;
};

} // namespace dvx::test
