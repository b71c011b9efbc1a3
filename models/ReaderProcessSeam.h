#pragma once
// The platform seam of the model readers, and the only place Plinthwright starts a process: a
// reader program started under limits, talked to with a deadline, and ended. On POSIX systems a
// fork with setrlimit and a socket pair for the reader's standard input and output; on Windows a
// job object and an overlapped named pipe, which the reader opens by the name it is given. Also the
// reader's own side (its processor budget, its streams) and where the running program lies.
//
// One thread at a time uses a ReaderProcess. On Linux the reader dies with the thread that started
// it (PR_SET_PDEATHSIG), so that no reader outlives a window that ended however it ended.

#include "ModelError.h"
#include "tracklib/Result.h"

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <stop_token>
#include <string>

namespace pw {

struct ProcessLimits {
    std::uint64_t addressSpaceBytes = 0;  // 0: none
    int processorSecondsPerModel = 0;
    int models = 0;  // the most models one reader reads: its processor time in all stays below
    std::chrono::milliseconds deadline{5000};  // for the reader to start
};

enum class Transfer {
    Done,
    Ended,      // the reader closed its end, or it is gone
    TimedOut,   // the deadline passed
    Cancelled,  // the stop token asked to stop
};

struct ReaderEnd {
    enum class Kind {
        Exited,    // code: its exit code
        OverTime,  // it went over its processor time
        Crashed,   // code: the signal (POSIX) or the exception's code (Windows)
        Killed,    // by us: it was still running
    };
    Kind kind = Kind::Killed;
    std::uint32_t code = 0;
};

using Deadline = std::chrono::steady_clock::time_point;

class ReaderProcess {
public:
    // Starts `program` under `limits`, with nothing to read yet; ReaderNotStarted, saying why,
    // where it cannot be started.
    static Result<std::unique_ptr<ReaderProcess>> start(const std::filesystem::path& program,
                                                        const ProcessLimits& limits);
    // Kills the reader if it still runs.
    ~ReaderProcess();
    ReaderProcess(const ReaderProcess&) = delete;
    ReaderProcess& operator=(const ReaderProcess&) = delete;

    // The next model's processor time starts now (where the parent keeps that count).
    void beginModel();
    Transfer send(std::span<const std::uint8_t> bytes, Deadline deadline, std::stop_token stop);
    Transfer receive(std::span<std::uint8_t> into, Deadline deadline, std::stop_token stop);
    // Waits up to `grace` for the reader to end by itself, kills it if it has not, and says how
    // it ended. Nothing more can be sent or received afterwards.
    ReaderEnd end(std::chrono::milliseconds grace);

private:
    // Leaves why it could not start the reader in problem_.
    ReaderProcess(const std::filesystem::path& program, const ProcessLimits& limits);
    Transfer transfer(bool sending, std::uint8_t* data, std::size_t size, Deadline deadline,
                      const std::stop_token& stop);

    struct Native;
    std::unique_ptr<Native> native_;
    std::string problem_;
    ProcessLimits limits_;
};

// Whether the address space is limited at all: not in a build under AddressSanitizer, whose
// shadow memory alone takes terabytes of it.
bool addressSpaceLimitsApply();

// The reader's own side: a budget of processor time for the model in hand (0 lifts it), where
// the reader keeps that count itself. Going over it ends the reader.
void limitReaderProcessorTime(int seconds);
// Connects the reader's standard input and output, as raw bytes, to the program that started it;
// false where they cannot be.
bool attachReaderStreams();

// How a crashed reader ended, from ReaderEnd::code: "signal 11", "exception 0xC0000005".
std::string crashText(std::uint32_t code);

// The directory of the running program's executable; empty where it cannot be told.
std::filesystem::path runningProgramDirectory();
// The path an environment variable names; empty when it is not set or empty.
std::filesystem::path pathFromEnvironment(const char* name);

}  // namespace pw
