#pragma once
// Running part of a test in a child process, so that a limit, a mount or a changed identity set
// there stays there and the test process keeps its own.

#ifndef _WIN32

#include <cstdio>
#include <functional>

#include <sys/wait.h>
#include <unistd.h>

namespace pw::hardening {

// The child's exit code (`body`'s result), 128 + the signal that ended it, or -1.
inline int exitCodeOfChild(const std::function<int()>& body)
{
    std::fflush(nullptr);
    const pid_t pid = fork();
    if (pid == 0) {
        _exit(body());
    }
    int status = 0;
    if (pid < 0 || waitpid(pid, &status, 0) != pid) {
        return -1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

// The same with the child an unprivileged user, since root may write anything: `stillRoot` when
// it is root and cannot stop being it.
inline int exitCodeOfUnprivilegedChild(const std::function<int()>& body, int stillRoot)
{
    return exitCodeOfChild([&] {
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) {
            return stillRoot;
        }
        return body();
    });
}

}  // namespace pw::hardening

#endif
