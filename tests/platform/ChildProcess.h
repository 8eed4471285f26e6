// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Runs a piece of a test in a child process, so that a reader that would
// block for ever or fill the memory ends the child (by an alarm or by an
// address-space limit) instead of the test program, and so that process-wide
// settings such as resource limits stay in the child.

#include "common/AddressSanitizer.h"

#include <csignal>
#include <functional>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>


namespace dvx::test {

struct ChildOutcome {
    bool exited = false;   // the child returned normally
    int signal = 0;        // the signal that ended it otherwise
    std::string text;      // what the body returned
};

struct ChildLimits {
    unsigned seconds = 30;               // the alarm
    rlim_t addressSpace = 2048ull << 20; // bytes (not applied under the address sanitizer)
};

// The body's text comes back through a pipe; an exception becomes
// "exception: <what>".
inline ChildOutcome RunInChild(const std::function<std::string()>& body, ChildLimits limits = {}) {
    int fds[2];
    if (::pipe(fds) != 0) return {};
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(fds[0]);
        ::alarm(limits.seconds);
#ifndef DVX_TEST_ASAN
        struct rlimit as {limits.addressSpace, limits.addressSpace};
        ::setrlimit(RLIMIT_AS, &as);
#endif
        std::string text;
        try {
            text = body();
        } catch (const std::exception& e) {
            text = std::string("exception: ") + e.what();
        }
        std::size_t done = 0;
        while (done < text.size()) {
            ssize_t n = ::write(fds[1], text.data() + done, text.size() - done);
            if (n <= 0) break;
            done += static_cast<std::size_t>(n);
        }
        ::_exit(0);
    }
    ::close(fds[1]);
    ChildOutcome outcome;
    char buffer[4096];
    for (ssize_t n; (n = ::read(fds[0], buffer, sizeof buffer)) > 0;) outcome.text.append(buffer, static_cast<std::size_t>(n));
    ::close(fds[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    outcome.exited = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    outcome.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
    return outcome;
}

} // namespace dvx::test
