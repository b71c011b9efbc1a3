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

// Root may write anything; a child that tests permissions becomes an unprivileged user first.
// False when it is root and cannot stop being it.
inline bool dropRootPrivileges()
{
    return geteuid() != 0 || (setgid(65534) == 0 && setuid(65534) == 0);
}

}  // namespace pw::hardening

#endif
