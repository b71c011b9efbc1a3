#include "ModelError.h"

#include "ModelFootprint.h"
#include "ThreeDsScreening.h"

#include <cstdio>

namespace pw {

namespace {

std::string secondsFigure(std::uint64_t milliseconds)
{
    char text[32];
    std::snprintf(text, sizeof text, "%g s", static_cast<double>(milliseconds) / 1000.0);
    return text;
}

std::string reason(const CoreError& error)
{
    switch (error.code.as<ModelError>()) {
    case ModelError::NotThreeDs: return "not a 3ds model";
    case ModelError::BeyondReadingBounds: return detailOr(error, "beyond what Plinthwright reads");
    case ModelError::ReachesTooFar:
        return "reaches beyond " + std::to_string(static_cast<int>(modelReachMetres / 1000)) +
               " km";
    case ModelError::NotAModelFileName: return "not a model file name";
    case ModelError::NotFound: return "not found";
    case ModelError::IsADirectory: return "a directory, not a file";
    case ModelError::TooLargeToRead:
        return "larger than " + std::to_string(largestModelFileBytes >> 20) + " MiB";
    case ModelError::CannotOpen: return detailOr(error, "it cannot be opened for reading");
    case ModelError::NoMemory: return "not enough memory to read it";
    case ModelError::NeedsMoreMemory: return "needs more than " + memoryFigure(error.size);
    case ModelError::OverTime:
        return "took longer than " + std::to_string(error.size) + " s to read";
    case ModelError::ReaderNotStarted: return "the reader could not be started: " + error.detail;
    case ModelError::ReaderCrashed: return "the reader stopped: it crashed (" + error.detail + ")";
    case ModelError::ReaderExited:
        return "the reader stopped: it ended with exit code " + std::to_string(error.size);
    case ModelError::ReaderSilent:
        return "the reader stopped: no answer within " + secondsFigure(error.size);
    case ModelError::ReaderStoppedAnswering: return "the reader stopped: it stopped answering";
    case ModelError::AnswerDamaged: return "the reader stopped: its answer was damaged";
    case ModelError::AnswerTooLarge: return "more than a reader may answer";
    case ModelError::ReaderSaid: return error.detail;
    case ModelError::Stopped: return "not read: reading was stopped";
    case ModelError::NotReadYet: return "not read yet";
    }
    return detailOr(error, "failed");
}

std::string text(const CoreError& error)
{
    if (error.path.empty())
        return "Cannot read the footer model: " + errorReason(error);
    return "Cannot read the footer model " + quotedPath(error.path) + ": " + errorReason(error);
}

constexpr ErrorRoom models{text, reason};

}  // namespace

const ErrorRoom& errorRoom(ModelError) { return models; }

std::string memoryFigure(std::uint64_t bytes)
{
    constexpr std::uint64_t mebibyte = 1u << 20;
    if (bytes % (1024 * mebibyte) == 0)
        return std::to_string(bytes / (1024 * mebibyte)) + " GiB";
    return std::to_string((bytes + mebibyte - 1) / mebibyte) + " MiB";
}

}  // namespace pw
