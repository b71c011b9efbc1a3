#include "Catching.h"

namespace pw {

namespace {

std::string reason(const CoreError& error)
{
    switch (error.code.as<CaughtError>()) {
    case CaughtError::OutOfMemory: return detailOr(error, "not enough memory");
    case CaughtError::SystemFailure: break;
    }
    return detailOr(error, "the system failed");
}

std::string text(const CoreError& error) { return errorReason(error); }

constexpr ErrorRoom caughtRoom{text, reason};

}  // namespace

const ErrorRoom& errorRoom(CaughtError) { return caughtRoom; }

}  // namespace pw
