#include "ModelReaderClient.h"

#include "ReaderProcessSeam.h"
#include "ReaderProtocol.h"
#include "tracklib/Catching.h"
#include "tracklib/FileError.h"
#include "tracklib/RegularFile.h"

#include <array>
#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <utility>
#include <vector>

namespace pw {

namespace {

using namespace std::chrono_literals;

#ifdef _WIN32
constexpr const char* readerFileName = "plinthwright-model-reader.exe";
#else
constexpr const char* readerFileName = "plinthwright-model-reader";
#endif

// A reader that closed its end is given this long to end by itself, so that how it ended (its
// processor time, a crash) can be told.
constexpr auto endingGrace = 1000ms;

CoreError unreadableFile(const std::filesystem::path& file, const CoreError& error)
{
    if (error.code == FileError::FileTooLarge)
        return CoreError(ModelError::TooLargeToRead, file);
    if (error.system == std::errc::no_such_file_or_directory)
        return CoreError(ModelError::NotFound, file);
    if (error.code == FileError::OpenedADirectory)
        return CoreError(ModelError::IsADirectory, file);
    return CoreError(ModelError::CannotOpen, file, error.system, {}, 0, errorReason(error));
}

// A model that exhausts this process's memory is that model's problem, and the reader in hand
// is not trusted with the next one.
template <class Read>
ModelFootprint guarded(ModelReaderClient& client, Read&& read)
{
    Result<ModelFootprint> footprint = catchingAllocation(read, CoreError(ModelError::NoMemory));
    if (footprint)
        return std::move(*footprint);
    client.finish();
    return unitSquareFootprint(footprint.error());
}

}  // namespace

ReaderLimits standardReaderLimits()
{
    ReaderLimits limits;
    const char* text = std::getenv(readerLimitsVariable);
    if (text == nullptr)
        return limits;
    unsigned long long figures[3] = {};
    const char* at = text;
    for (int i = 0; i < 3; ++i) {
        const char* end = at + std::strlen(at);
        const auto [next, error] = std::from_chars(at, end, figures[i]);
        const bool last = i == 2;
        if (error != std::errc() || figures[i] == 0 || figures[i] > 1'000'000 ||
            (last ? next != end : *next != ','))
            return limits;
        at = last ? next : next + 1;
    }
    limits.processorSeconds = static_cast<int>(figures[0]);
    limits.addressSpaceBytes = figures[1] << 20;
    limits.deadline = std::chrono::milliseconds(figures[2]);
    return limits;
}

std::filesystem::path standardModelReader()
{
    const std::filesystem::path chosen = pathFromEnvironment(modelReaderVariable);
    if (!chosen.empty())
        return chosen;
    const std::filesystem::path here = runningProgramDirectory();
    const std::filesystem::path beside = here / readerFileName;
    const std::filesystem::path installed =
        (here / PLINTHWRIGHT_READER_FROM_PROGRAMS / readerFileName).lexically_normal();
    std::error_code error;
    if (!std::filesystem::exists(beside, error) && std::filesystem::exists(installed, error))
        return installed;
    return beside;
}

ModelReaderClient::ModelReaderClient(ReaderOptions options) : options_(std::move(options)) {}

ModelReaderClient::~ModelReaderClient() = default;

void ModelReaderClient::finish() { process_.reset(); }

ModelFileReader ModelReaderClient::fileReader()
{
    return [this](const std::filesystem::path& file) { return read(file); };
}

ModelFootprint ModelReaderClient::read(const std::filesystem::path& file, std::stop_token stop)
{
    return guarded(*this, [&] {
        if (options_.beforeOpen)
            options_.beforeOpen(file);
        const Result<std::vector<std::uint8_t>> bytes =
            readRegularFile(file, largestModelFileBytes);
        if (!bytes)
            return unitSquareFootprint(unreadableFile(file, bytes.error()));
        return ask(*bytes, stop);
    });
}

ModelFootprint ModelReaderClient::readBytes(std::span<const std::uint8_t> file,
                                            std::stop_token stop)
{
    return guarded(*this, [&] { return ask(file, stop); });
}

ModelFootprint ModelReaderClient::ask(std::span<const std::uint8_t> file,
                                      const std::stop_token& stop)
{
    if (file.size() > largestModelFileBytes)
        return unitSquareFootprint(CoreError(ModelError::TooLargeToRead));
    const ReaderLimits& limits = options_.limits;
    if (process_ && modelsRead_ >= limits.modelsPerReader)
        finish();
    const bool kept = process_ != nullptr;
    if (!process_)
        if (Result<void> started = start(); !started)
            return unitSquareFootprint(started.error());
    ++modelsRead_;
    const Deadline deadline = std::chrono::steady_clock::now() + limits.deadline;
    process_->beginModel();
    const auto request = encodeRequestHeader({static_cast<std::uint32_t>(limits.processorSeconds),
                                              static_cast<std::uint32_t>(file.size())});
    Transfer sent = process_->send(request, deadline, stop);
    // A reader kept from earlier models that ended since (killed from outside, say) is no fault
    // of this model: another one reads it.
    if (sent == Transfer::Ended && kept) {
        finish();
        if (Result<void> started = start(); !started)
            return unitSquareFootprint(started.error());
        ++modelsRead_;
        process_->beginModel();
        sent = process_->send(request, deadline, stop);
    }
    if (sent == Transfer::Done)
        sent = process_->send(file, deadline, stop);
    std::array<std::uint8_t, readerAnswerHeaderBytes> header;
    if (sent == Transfer::Done)
        sent = process_->receive(header, deadline, stop);
    if (sent != Transfer::Done)
        return unitSquareFootprint(failure(sent, ModelError::ReaderStoppedAnswering));
    const std::optional<std::uint32_t> length = decodeAnswerHeader(header);
    if (!length)
        return unitSquareFootprint(failure(Transfer::Done, ModelError::AnswerDamaged));
    std::vector<std::uint8_t> body(*length);
    if (const Transfer got = process_->receive(body, deadline, stop); got != Transfer::Done)
        return unitSquareFootprint(failure(got, ModelError::ReaderStoppedAnswering));
    std::optional<ReaderAnswer> answer = decodeAnswerBody(body);
    if (!answer)
        return unitSquareFootprint(failure(Transfer::Done, ModelError::AnswerDamaged));
    if (answer->outcome == ReaderOutcome::OutOfMemory) {
        finish();
        return unitSquareFootprint(
            CoreError(ModelError::NeedsMoreMemory, {}, {}, {}, limits.addressSpaceBytes));
    }
    return std::move(answer->footprint);
}

Result<void> ModelReaderClient::start()
{
    const ReaderLimits& limits = options_.limits;
    Result<std::unique_ptr<ReaderProcess>> started = ReaderProcess::start(
        options_.program, ProcessLimits{limits.addressSpaceBytes, limits.processorSeconds,
                                        limits.modelsPerReader, limits.deadline});
    modelsRead_ = 0;
    if (!started)
        return started.error();
    process_ = std::move(*started);
    return {};
}

CoreError ModelReaderClient::failure(Transfer transfer, ModelError whenKilled)
{
    const ReaderEnd end = process_->end(transfer == Transfer::Ended ? endingGrace : 0ms);
    finish();
    const ReaderLimits& limits = options_.limits;
    if (end.kind == ReaderEnd::Kind::OverTime)
        return CoreError(ModelError::OverTime, {}, {}, {},
                         static_cast<std::uint64_t>(limits.processorSeconds));
    if (transfer == Transfer::Cancelled)
        return CoreError(ModelError::Stopped);
    switch (end.kind) {
    case ReaderEnd::Kind::Crashed:
        return CoreError(ModelError::ReaderCrashed, {}, {}, {}, 0, crashText(end.code));
    case ReaderEnd::Kind::Exited: return CoreError(ModelError::ReaderExited, {}, {}, {}, end.code);
    default: break;
    }
    if (transfer == Transfer::TimedOut)
        return CoreError(ModelError::ReaderSilent, {}, {}, {},
                         static_cast<std::uint64_t>(limits.deadline.count()));
    return CoreError(whenKilled);
}

}  // namespace pw
