#include "ModelReaderClient.h"

#include "ReaderProcessSeam.h"
#include "ReaderProtocol.h"
#include "tracklib/CoreError.h"
#include "tracklib/RegularFile.h"

#include <array>
#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <cstdio>
#include <new>
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

std::string fileProblem(const CoreError& error)
{
    if (error.code == ErrorCode::FileTooLarge)
        return "larger than " + std::to_string(largestModelFileBytes >> 20) + " MiB";
    if (error.system == std::errc::no_such_file_or_directory)
        return "not found";
    if (error.code == ErrorCode::OpenedADirectory)
        return "a directory, not a file";
    return errorReason(error);
}

std::string secondsFigure(std::chrono::milliseconds time)
{
    char text[32];
    std::snprintf(text, sizeof text, "%g s", static_cast<double>(time.count()) / 1000.0);
    return text;
}

}  // namespace

std::string memoryFigure(std::uint64_t bytes)
{
    constexpr std::uint64_t mebibyte = 1u << 20;
    if (bytes % (1024 * mebibyte) == 0)
        return std::to_string(bytes / (1024 * mebibyte)) + " GiB";
    return std::to_string((bytes + mebibyte - 1) / mebibyte) + " MiB";
}

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
    try {
        if (options_.beforeOpen)
            options_.beforeOpen(file);
        const Result<std::vector<std::uint8_t>> bytes =
            readRegularFile(file, largestModelFileBytes);
        if (!bytes)
            return unitSquareFootprint(fileProblem(bytes.error()));
        return ask(*bytes, stop);
    } catch (const std::bad_alloc&) {
        finish();
        return unitSquareFootprint("not enough memory to read it");
    }
}

ModelFootprint ModelReaderClient::readBytes(std::span<const std::uint8_t> file,
                                            std::stop_token stop)
{
    try {
        return ask(file, stop);
    } catch (const std::bad_alloc&) {
        finish();
        return unitSquareFootprint("not enough memory to read it");
    }
}

ModelFootprint ModelReaderClient::ask(std::span<const std::uint8_t> file,
                                      const std::stop_token& stop)
{
    if (file.size() > largestModelFileBytes)
        return unitSquareFootprint("larger than " + std::to_string(largestModelFileBytes >> 20) +
                                   " MiB");
    const ReaderLimits& limits = options_.limits;
    if (process_ && modelsRead_ >= limits.modelsPerReader)
        finish();
    const bool kept = process_ != nullptr;
    if (!process_)
        if (std::string problem = start(); !problem.empty())
            return unitSquareFootprint(std::move(problem));
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
        if (std::string problem = start(); !problem.empty())
            return unitSquareFootprint(std::move(problem));
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
        return unitSquareFootprint(failure(sent, "it stopped answering"));
    const std::optional<std::uint32_t> length = decodeAnswerHeader(header);
    if (!length)
        return unitSquareFootprint(failure(Transfer::Done, "its answer was damaged"));
    std::vector<std::uint8_t> body(*length);
    if (const Transfer got = process_->receive(body, deadline, stop); got != Transfer::Done)
        return unitSquareFootprint(failure(got, "it stopped answering"));
    std::optional<ReaderAnswer> answer = decodeAnswerBody(body);
    if (!answer)
        return unitSquareFootprint(failure(Transfer::Done, "its answer was damaged"));
    if (answer->outcome == ReaderOutcome::OutOfMemory) {
        finish();
        return unitSquareFootprint("needs more than " + memoryFigure(limits.addressSpaceBytes));
    }
    return std::move(answer->footprint);
}

std::string ModelReaderClient::start()
{
    const ReaderLimits& limits = options_.limits;
    process_ = std::make_unique<ReaderProcess>(
        options_.program, ProcessLimits{limits.addressSpaceBytes, limits.processorSeconds,
                                        limits.modelsPerReader, limits.deadline});
    modelsRead_ = 0;
    if (process_->startProblem().empty())
        return {};
    std::string problem = "the reader could not be started: " + process_->startProblem();
    finish();
    return problem;
}

std::string ModelReaderClient::failure(Transfer transfer, const char* whenKilled)
{
    const ReaderEnd end = process_->end(transfer == Transfer::Ended ? endingGrace : 0ms);
    finish();
    if (end.kind == ReaderEnd::Kind::OverTime)
        return "took longer than " + std::to_string(options_.limits.processorSeconds) +
               " s to read";
    if (transfer == Transfer::Cancelled)
        return "not read: reading was stopped";
    switch (end.kind) {
    case ReaderEnd::Kind::Crashed:
        return "the reader stopped: it crashed (" + crashText(end.code) + ")";
    case ReaderEnd::Kind::Exited:
        return "the reader stopped: it ended with exit code " + std::to_string(end.code);
    default: break;
    }
    if (transfer == Transfer::TimedOut)
        return "the reader stopped: no answer within " + secondsFigure(options_.limits.deadline);
    return std::string("the reader stopped: ") + whenKilled;
}

}  // namespace pw
