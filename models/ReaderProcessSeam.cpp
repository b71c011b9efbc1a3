#include "ReaderProcessSeam.h"

#include "ReaderExitCode.h"

#include <algorithm>
#include <optional>
#include <system_error>
#include <thread>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#ifdef _WIN32
#include <atomic>
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#else
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>
#ifdef __linux__
#include <sys/prctl.h>
#endif
#ifdef __APPLE__
#include <mach-o/dyld.h>
#endif
#endif

namespace pw {

namespace {

using namespace std::chrono_literals;

// How long a wait lasts before it looks at the stop token again.
constexpr auto stopCheckInterval = 50ms;

std::string pathText(const std::filesystem::path& path)
{
    const std::u8string text = path.u8string();
    return {text.begin(), text.end()};
}

// The time to wait in one step: up to the deadline, at most stopCheckInterval, at least 1 ms.
int waitMilliseconds(Deadline deadline)
{
    const auto left =
        std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    return static_cast<int>(
        std::clamp<std::chrono::milliseconds>(left, 1ms, stopCheckInterval).count());
}

}  // namespace

bool addressSpaceLimitsApply()
{
#ifdef PLINTHWRIGHT_NO_ADDRESS_SPACE_LIMIT
    return false;
#else
    return true;
#endif
}

#ifndef _WIN32

struct ReaderProcess::Native {
    pid_t pid = -1;
    int socket = -1;
    bool killed = false;
    std::optional<ReaderEnd> ended;
};

namespace {

#ifndef MSG_NOSIGNAL
constexpr int MSG_NOSIGNAL = 0;  // SO_NOSIGPIPE is set on the socket instead
#endif

bool setCloseOnExec(int fd) { return ::fcntl(fd, F_SETFD, FD_CLOEXEC) == 0; }

bool makeSocketPair(int ends[2])
{
#ifdef SOCK_CLOEXEC
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0)
        return false;
#else
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, ends) != 0)
        return false;
    setCloseOnExec(ends[0]);
    setCloseOnExec(ends[1]);
#endif
#ifdef SO_NOSIGPIPE
    const int on = 1;
    ::setsockopt(ends[0], SOL_SOCKET, SO_NOSIGPIPE, &on, sizeof on);
#endif
    return true;
}

bool makePipe(int ends[2])
{
    if (::pipe(ends) != 0)
        return false;
    setCloseOnExec(ends[0]);
    setCloseOnExec(ends[1]);
    return true;
}

[[noreturn]] void reportFailedStart(int report)
{
    const int error = errno;
    [[maybe_unused]] const auto written = ::write(report, &error, sizeof error);
    ::_exit(readerNotStarted);
}

// Between fork and exec only async-signal-safe calls: a failure writes errno to `report`.
[[noreturn]] void startReader(int socket, int report, char* const argv[], const ::rlimit* space,
                              const ::rlimit& processor, pid_t parent)
{
    if (::dup2(socket, STDIN_FILENO) < 0 || ::dup2(socket, STDOUT_FILENO) < 0)
        reportFailedStart(report);
#ifdef CLOSE_RANGE_CLOEXEC
    // Nothing else the program holds open reaches the reader (where the kernel can tell).
    ::close_range(3, ~0U, CLOSE_RANGE_CLOEXEC);
#endif
    const ::rlimit noCore{0, 0};
    if (::setrlimit(RLIMIT_CORE, &noCore) != 0 || ::setrlimit(RLIMIT_CPU, &processor) != 0 ||
        (space != nullptr && ::setrlimit(RLIMIT_AS, space) != 0))
        reportFailedStart(report);
#ifdef __linux__
    if (::prctl(PR_SET_PDEATHSIG, SIGKILL) != 0)
        reportFailedStart(report);
    if (::getppid() != parent)
        ::_exit(readerNotStarted);  // the parent is gone already
#else
    (void)parent;
#endif
    // Whatever the starting thread blocked or ignored, the limits' signals must end the reader.
    ::sigset_t none;
    ::sigemptyset(&none);
    ::sigprocmask(SIG_SETMASK, &none, nullptr);
    struct ::sigaction byDefault {};
    byDefault.sa_handler = SIG_DFL;
    for (const int signal : {SIGPIPE, SIGXCPU, SIGPROF})
        ::sigaction(signal, &byDefault, nullptr);
    ::execv(argv[0], argv);
    reportFailedStart(report);
}

}  // namespace

ReaderProcess::ReaderProcess(const std::filesystem::path& program, const ProcessLimits& limits)
    : native_(std::make_unique<Native>()), limits_(limits)
{
    const auto failed = [this](const std::string& what) {
        problem_ = what + ": " + std::generic_category().message(errno);
    };
    int sockets[2];
    if (!makeSocketPair(sockets)) {
        failed("no socket for it");
        return;
    }
    int report[2];
    if (!makePipe(report)) {
        failed("no pipe for it");
        ::close(sockets[0]);
        ::close(sockets[1]);
        return;
    }
    // Everything the child needs is made before the fork: it must not allocate.
    std::string file = pathText(program);
    char* const argv[] = {file.data(), nullptr};
    const ::rlimit space{static_cast<rlim_t>(limits.addressSpaceBytes),
                         static_cast<rlim_t>(limits.addressSpaceBytes)};
    // The reader's budget per model is its own; this bounds all of its models together.
    const auto seconds = static_cast<rlim_t>(limits.processorSecondsPerModel) *
                             static_cast<rlim_t>(std::max(limits.models, 1)) +
                         5;
    const ::rlimit processor{seconds, seconds};
    const pid_t parent = ::getpid();
    const pid_t pid = ::fork();
    if (pid == 0)
        startReader(sockets[1], report[1], argv,
                    addressSpaceLimitsApply() && limits.addressSpaceBytes > 0 ? &space : nullptr,
                    processor, parent);
    const int forkError = errno;
    ::close(sockets[1]);
    ::close(report[1]);
    if (pid < 0) {
        errno = forkError;
        failed(file);
        ::close(sockets[0]);
        ::close(report[0]);
        return;
    }
    // The report pipe closes on a successful exec; a failed one writes its errno first.
    int childError = 0;
    ::ssize_t got = 0;
    do
        got = ::read(report[0], &childError, sizeof childError);
    while (got < 0 && errno == EINTR);
    ::close(report[0]);
    native_->pid = pid;
    native_->socket = sockets[0];
    if (got == sizeof childError) {
        end(0ms);
        errno = childError;
        failed(file);
        return;
    }
    ::fcntl(native_->socket, F_SETFL, ::fcntl(native_->socket, F_GETFL) | O_NONBLOCK);
}

ReaderProcess::~ReaderProcess()
{
    if (native_->pid > 0)
        end(0ms);
}

void ReaderProcess::beginModel() {}

Transfer ReaderProcess::transfer(bool sending, std::uint8_t* data, std::size_t size,
                                 Deadline deadline, const std::stop_token& stop)
{
    if (native_->ended || native_->socket < 0)
        return Transfer::Ended;
    const int socket = native_->socket;
    std::size_t done = 0;
    while (done < size) {
        const ::ssize_t n = sending ? ::send(socket, data + done, size - done, MSG_NOSIGNAL)
                                    : ::recv(socket, data + done, size - done, 0);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
            continue;
        }
        if (n == 0 || (errno != EINTR && errno != EAGAIN && errno != EWOULDBLOCK))
            return Transfer::Ended;
        if (stop.stop_requested())
            return Transfer::Cancelled;
        if (std::chrono::steady_clock::now() >= deadline)
            return Transfer::TimedOut;
        ::pollfd ready{socket, static_cast<short>(sending ? POLLOUT : POLLIN), 0};
        ::poll(&ready, 1, waitMilliseconds(deadline));
    }
    return Transfer::Done;
}

ReaderEnd ReaderProcess::end(std::chrono::milliseconds grace)
{
    Native& native = *native_;
    if (native.ended)
        return *native.ended;
    if (native.pid <= 0)
        return *(native.ended = ReaderEnd{});
    int status = 0;
    bool reaped = false;
    const Deadline until = std::chrono::steady_clock::now() + grace;
    while (!reaped) {
        const pid_t done = ::waitpid(native.pid, &status, WNOHANG);
        if (done == native.pid || (done < 0 && errno != EINTR)) {
            reaped = done == native.pid;
            break;
        }
        if (std::chrono::steady_clock::now() >= until)
            break;
        std::this_thread::sleep_for(2ms);
    }
    if (!reaped) {
        ::kill(native.pid, SIGKILL);
        native.killed = true;
        while (::waitpid(native.pid, &status, 0) < 0 && errno == EINTR) {
        }
    }
    // Closed only now: a reader still writing would die of a broken pipe, not of its own fault.
    ::close(native.socket);
    native.socket = -1;
    ReaderEnd end;
    if (native.killed)
        end = {ReaderEnd::Kind::Killed, SIGKILL};
    else if (WIFSIGNALED(status) && (WTERMSIG(status) == SIGXCPU || WTERMSIG(status) == SIGPROF))
        end = {ReaderEnd::Kind::OverTime, static_cast<std::uint32_t>(WTERMSIG(status))};
    else if (WIFSIGNALED(status))
        end = {ReaderEnd::Kind::Crashed, static_cast<std::uint32_t>(WTERMSIG(status))};
    else
        end = {ReaderEnd::Kind::Exited, static_cast<std::uint32_t>(WEXITSTATUS(status))};
    native.ended = end;
    return end;
}

void limitReaderProcessorTime(int seconds)
{
    // The process's own processor time, by the kernel's count; SIGPROF ends it when used up.
    ::itimerval budget{};
    budget.it_value.tv_sec = seconds;
    ::setitimer(ITIMER_PROF, &budget, nullptr);
}

bool attachReaderStreams() { return true; }  // the socket is its standard input and output

std::string crashText(std::uint32_t code) { return "signal " + std::to_string(code); }

std::filesystem::path pathFromEnvironment(const char* name)
{
    const char* value = std::getenv(name);
    return value == nullptr ? std::filesystem::path() : std::filesystem::path(value);
}

std::filesystem::path runningProgramDirectory()
{
#ifdef __APPLE__
    std::uint32_t size = 0;
    _NSGetExecutablePath(nullptr, &size);
    std::string path(size, '\0');
    if (_NSGetExecutablePath(path.data(), &size) != 0)
        return {};
    std::error_code error;
    const std::filesystem::path resolved = std::filesystem::weakly_canonical(path.c_str(), error);
    return error ? std::filesystem::path() : resolved.parent_path();
#else
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::path() : program.parent_path();
#endif
}

#else  // _WIN32

struct ReaderProcess::Native {
    HANDLE process = nullptr;
    HANDLE job = nullptr;
    HANDLE pipe = INVALID_HANDLE_VALUE;
    HANDLE event = nullptr;
    ULONGLONG userTimeLimit = 0;  // in 100 ns
    bool killed = false;
    std::optional<ReaderEnd> ended;

    ~Native()
    {
        if (pipe != INVALID_HANDLE_VALUE)
            CloseHandle(pipe);
        for (HANDLE handle : {process, event, job})
            if (handle != nullptr)
                CloseHandle(handle);  // the job's last handle kills whatever runs in it
    }
};

namespace {

std::string systemText(DWORD error)
{
    return std::system_category().message(static_cast<int>(error));
}

constexpr ULONGLONG ticksPerSecond = 10'000'000;

ULONGLONG userTime(HANDLE process)
{
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(process, &created, &exited, &kernel, &user))
        return 0;
    return (static_cast<ULONGLONG>(user.dwHighDateTime) << 32) | user.dwLowDateTime;
}

bool limitJob(HANDLE job, const ProcessLimits& limits, ULONGLONG userTimeLimit)
{
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION information{};
    auto& basic = information.BasicLimitInformation;
    basic.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE |
                       JOB_OBJECT_LIMIT_DIE_ON_UNHANDLED_EXCEPTION | JOB_OBJECT_LIMIT_PROCESS_TIME;
    basic.PerProcessUserTimeLimit.QuadPart = static_cast<LONGLONG>(userTimeLimit);
    if (addressSpaceLimitsApply() && limits.addressSpaceBytes > 0) {
        basic.LimitFlags |= JOB_OBJECT_LIMIT_PROCESS_MEMORY;
        information.ProcessMemoryLimit = static_cast<SIZE_T>(limits.addressSpaceBytes);
    }
    return SetInformationJobObject(job, JobObjectExtendedLimitInformation, &information,
                                   sizeof information) != 0;
}

}  // namespace

ReaderProcess::ReaderProcess(const std::filesystem::path& program, const ProcessLimits& limits)
    : native_(std::make_unique<Native>()), limits_(limits)
{
    Native& native = *native_;
    const auto failed = [this](const std::string& what) {
        problem_ = what + ": " + systemText(GetLastError());
    };
    static std::atomic<unsigned> serial = 0;
    const std::wstring name = L"\\\\.\\pipe\\plinthwright-model-reader-" +
                              std::to_wstring(GetCurrentProcessId()) + L"-" +
                              std::to_wstring(++serial) + L"-" + std::to_wstring(GetTickCount64());
    native.pipe = CreateNamedPipeW(
        name.c_str(), PIPE_ACCESS_DUPLEX | FILE_FLAG_OVERLAPPED | FILE_FLAG_FIRST_PIPE_INSTANCE,
        PIPE_TYPE_BYTE | PIPE_READMODE_BYTE | PIPE_WAIT | PIPE_REJECT_REMOTE_CLIENTS, 1, 1 << 16,
        1 << 16, 0, nullptr);
    if (native.pipe == INVALID_HANDLE_VALUE) {
        failed("no pipe for it");
        return;
    }
    native.event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    native.job = CreateJobObjectW(nullptr, nullptr);
    native.userTimeLimit = static_cast<ULONGLONG>(limits.processorSecondsPerModel) * ticksPerSecond;
    if (native.event == nullptr || native.job == nullptr ||
        !limitJob(native.job, limits, native.userTimeLimit)) {
        failed("no job object for it");
        return;
    }
    // The reader inherits no handle: it opens the pipe by the name it is given. An inherited
    // handle would be any the program holds open meanwhile, such as a model copy the window is
    // writing, which could then not be renamed into place ("Sharing violation").
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    std::wstring commandLine = L"\"" + program.wstring() + L"\" " + name;
    PROCESS_INFORMATION started{};
    // Suspended until it is in the job: it runs nothing unlimited.
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE,
                        CREATE_SUSPENDED | CREATE_NO_WINDOW, nullptr, nullptr, &startup,
                        &started)) {
        failed(pathText(program));
        return;
    }
    native.process = started.hProcess;
    if (!AssignProcessToJobObject(native.job, started.hProcess)) {
        failed("cannot limit it");
        TerminateProcess(started.hProcess, 1);
        CloseHandle(started.hThread);
        native.killed = true;
        end(0ms);
        return;
    }
    ResumeThread(started.hThread);
    CloseHandle(started.hThread);

    // Until the reader opens its end of the pipe, nothing can be sent.
    OVERLAPPED overlapped{};
    overlapped.hEvent = native.event;
    ResetEvent(native.event);
    if (ConnectNamedPipe(native.pipe, &overlapped) || GetLastError() == ERROR_PIPE_CONNECTED)
        return;
    if (GetLastError() == ERROR_IO_PENDING) {
        const HANDLE waits[2] = {native.event, native.process};
        const DWORD woken =
            WaitForMultipleObjects(2, waits, FALSE, static_cast<DWORD>(limits.deadline.count()));
        DWORD ignored = 0;
        if (woken != WAIT_OBJECT_0)
            CancelIoEx(native.pipe, &overlapped);
        if (GetOverlappedResult(native.pipe, &overlapped, &ignored, TRUE) && woken == WAIT_OBJECT_0)
            return;
        const ReaderEnd ended = end(0ms);
        problem_ = ended.kind == ReaderEnd::Kind::Killed
                       ? "it did not open its pipe"
                       : "it ended before it opened its pipe (exit code " +
                             std::to_string(ended.code) + ")";
        return;
    }
    failed("no pipe for it");
    end(0ms);
}

ReaderProcess::~ReaderProcess()
{
    if (native_->process != nullptr)
        end(0ms);
}

void ReaderProcess::beginModel()
{
    // A job counts a process's user time over its whole life: the limit moves on per model.
    Native& native = *native_;
    if (native.process == nullptr || native.ended)
        return;
    native.userTimeLimit =
        userTime(native.process) +
        static_cast<ULONGLONG>(limits_.processorSecondsPerModel) * ticksPerSecond;
    limitJob(native.job, limits_, native.userTimeLimit);
}

Transfer ReaderProcess::transfer(bool sending, std::uint8_t* data, std::size_t size,
                                 Deadline deadline, const std::stop_token& stop)
{
    Native& native = *native_;
    if (native.ended || native.process == nullptr)
        return Transfer::Ended;
    std::size_t done = 0;
    while (done < size) {
        OVERLAPPED overlapped{};
        overlapped.hEvent = native.event;
        ResetEvent(native.event);
        const auto chunk = static_cast<DWORD>(std::min<std::size_t>(size - done, 1u << 20));
        const BOOL immediate =
            sending ? WriteFile(native.pipe, data + done, chunk, nullptr, &overlapped)
                    : ReadFile(native.pipe, data + done, chunk, nullptr, &overlapped);
        if (!immediate && GetLastError() != ERROR_IO_PENDING)
            return Transfer::Ended;
        std::optional<Transfer> interrupted;
        for (;;) {
            const HANDLE waits[2] = {native.event, native.process};
            const DWORD woken = WaitForMultipleObjects(
                2, waits, FALSE, static_cast<DWORD>(waitMilliseconds(deadline)));
            if (woken == WAIT_OBJECT_0)
                break;
            if (woken == WAIT_OBJECT_0 + 1 && WaitForSingleObject(native.event, 0) == WAIT_OBJECT_0)
                break;
            if (woken == WAIT_OBJECT_0 + 1)
                interrupted = Transfer::Ended;
            else if (stop.stop_requested())
                interrupted = Transfer::Cancelled;
            else if (std::chrono::steady_clock::now() >= deadline)
                interrupted = Transfer::TimedOut;
            if (interrupted) {
                CancelIoEx(native.pipe, &overlapped);
                break;
            }
        }
        DWORD moved = 0;
        const BOOL finished = GetOverlappedResult(native.pipe, &overlapped, &moved, TRUE);
        if (interrupted)
            return *interrupted;
        if (!finished || (moved == 0 && !sending))
            return Transfer::Ended;  // a broken pipe: the reader is gone
        done += moved;
    }
    return Transfer::Done;
}

ReaderEnd ReaderProcess::end(std::chrono::milliseconds grace)
{
    Native& native = *native_;
    if (native.ended)
        return *native.ended;
    if (native.process == nullptr)
        return *(native.ended = ReaderEnd{});
    if (WaitForSingleObject(native.process, static_cast<DWORD>(grace.count())) != WAIT_OBJECT_0) {
        TerminateProcess(native.process, 1);
        native.killed = true;
        WaitForSingleObject(native.process, 5000);
    }
    DWORD code = 0;
    GetExitCodeProcess(native.process, &code);
    const bool overTime = userTime(native.process) >= native.userTimeLimit;
    CloseHandle(native.pipe);
    native.pipe = INVALID_HANDLE_VALUE;
    ReaderEnd end;
    if (native.killed)
        end = {ReaderEnd::Kind::Killed, code};
    else if (code == ERROR_NOT_ENOUGH_QUOTA || overTime)
        end = {ReaderEnd::Kind::OverTime, code};
    else if (code >= 0xC0000000u)
        end = {ReaderEnd::Kind::Crashed, code};
    else
        end = {ReaderEnd::Kind::Exited, code};
    native.ended = end;
    return end;
}

void limitReaderProcessorTime(int) {}  // the parent moves the job's limit on (beginModel)

bool attachReaderStreams()
{
    // The pipe's name, which the program gave as the only argument, is plain ASCII.
    if (__argc != 2)
        return false;
    const std::string name = __argv[1];
    const HANDLE pipe =
        CreateFileW(std::wstring(name.begin(), name.end()).c_str(), GENERIC_READ | GENERIC_WRITE, 0,
                    nullptr, OPEN_EXISTING, 0, nullptr);
    if (pipe == INVALID_HANDLE_VALUE)
        return false;
    const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(pipe), _O_BINARY);
    if (fd < 0) {
        CloseHandle(pipe);
        return false;
    }
    const bool attached = _dup2(fd, 0) == 0 && _dup2(fd, 1) == 0;
    _close(fd);
    _setmode(0, _O_BINARY);
    _setmode(1, _O_BINARY);
    return attached;
}

std::string crashText(std::uint32_t code)
{
    char text[32];
    std::snprintf(text, sizeof text, "exception 0x%08X", static_cast<unsigned>(code));
    return text;
}

std::filesystem::path pathFromEnvironment(const char* name)
{
    const std::wstring wide(name, name + std::strlen(name));
    const wchar_t* value = _wgetenv(wide.c_str());
    return value == nullptr ? std::filesystem::path() : std::filesystem::path(value);
}

std::filesystem::path runningProgramDirectory()
{
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            return {};
        if (length < path.size()) {
            path.resize(length);
            return std::filesystem::path(path).parent_path();
        }
        path.resize(path.size() * 2);
    }
}

#endif

Result<std::unique_ptr<ReaderProcess>> ReaderProcess::start(const std::filesystem::path& program,
                                                            const ProcessLimits& limits)
{
    std::unique_ptr<ReaderProcess> process(new ReaderProcess(program, limits));
    if (!process->problem_.empty())
        return CoreError(ModelError::ReaderNotStarted, program, {}, {}, 0, process->problem_);
    return process;
}

Transfer ReaderProcess::send(std::span<const std::uint8_t> bytes, Deadline deadline,
                             std::stop_token stop)
{
    // Sending only reads from the buffer.
    return transfer(true, const_cast<std::uint8_t*>(bytes.data()), bytes.size(), deadline, stop);
}

Transfer ReaderProcess::receive(std::span<std::uint8_t> into, Deadline deadline,
                                std::stop_token stop)
{
    return transfer(false, into.data(), into.size(), deadline, stop);
}

}  // namespace pw
