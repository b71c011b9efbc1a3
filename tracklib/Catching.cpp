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

}  // namespace

const ErrorRoom& errorRoom(CaughtError)
{
    static constexpr ErrorRoom caught{text, reason};
    return caught;
}

}  // namespace pw
