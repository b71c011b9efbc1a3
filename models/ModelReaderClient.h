#pragma once
// Every footer model the window and the command line read goes through a reader program of its
// own (plinthwright-model-reader), so that no model can crash, freeze or exhaust them: this side
// opens the file once (a regular file of at most largestModelFileBytes), hands its bytes to the
// reader and takes the answer for hostile. The reader runs under ReaderLimits; one that goes over
// them, crashes, cannot be started or answers nonsense gives that model the unit square and a
// problem that says why. A reader is kept for the next models, up to modelsPerReader.
//
// One thread at a time uses a client.

#include "ModelFootprint.h"
#include "ReaderLimits.h"
#include "ThreeDsScreening.h"
#include "tracklib/Result.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <span>
#include <stop_token>

namespace pw {

class ReaderProcess;
enum class Transfer;

// How a model file is read: a ModelReaderClient's read, or a test's stand-in.
using ModelFileReader = std::function<ModelFootprint(const std::filesystem::path& file)>;

// The environment variable that names another reader program, for tests and bug reports.
inline constexpr const char* modelReaderVariable = "PLINTHWRIGHT_MODEL_READER";

// The reader the variable names, else the one beside the running program (a build, the Windows
// zip and installer), else the installed one (on Linux ../libexec/plinthwright from the programs,
// as the Debian package has it). Where none is, the one beside the program: starting it fails
// and says so.
std::filesystem::path standardModelReader();

struct ReaderOptions {
    std::filesystem::path program = standardModelReader();
    ReaderLimits limits = standardReaderLimits();
    // Runs after a read of the file is decided and before the file is opened: where a test swaps
    // the file for something else.
    std::function<void(const std::filesystem::path& file)> beforeOpen;
};

class ModelReaderClient {
public:
    explicit ModelReaderClient(ReaderOptions options = {});
    // Ends the reader.
    ~ModelReaderClient();
    ModelReaderClient(const ModelReaderClient&) = delete;
    ModelReaderClient& operator=(const ModelReaderClient&) = delete;

    // Never throws. `stop` ends a read in hand within a twentieth of a second ("not read: reading
    // was stopped").
    ModelFootprint read(const std::filesystem::path& file, std::stop_token stop = {});
    ModelFootprint readBytes(std::span<const std::uint8_t> file, std::stop_token stop = {});
    // Ends the reader now; the next read starts another.
    void finish();
    // read() for ModelFootprints; the client must outlive it.
    ModelFileReader fileReader();

    const ReaderOptions& options() const { return options_; }

private:
    ModelFootprint ask(std::span<const std::uint8_t> file, const std::stop_token& stop);
    // Starts a reader; ReaderNotStarted when it cannot be started.
    Result<void> start();
    // Ends the reader and says why it gave no answer; `whenKilled` where it ended only when
    // it was killed.
    CoreError failure(Transfer transfer, ModelError whenKilled);

    ReaderOptions options_;
    std::unique_ptr<ReaderProcess> process_;
    int modelsRead_ = 0;
};

}  // namespace pw
