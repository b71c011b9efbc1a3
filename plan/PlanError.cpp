#include "PlanError.h"

namespace pw {

namespace {

std::string reason(const CoreError& error)
{
    switch (error.code.as<PlanError>()) {
    case PlanError::FormatUnknown: return detailOr(error, "a plan is written as .svg or .png");
    case PlanError::SvgUnavailable:
        return detailOr(error, "SVG output is not available in this build; write a .png");
    }
    return detailOr(error, "failed");
}

std::string text(const CoreError& error)
{
    return "Cannot save " + quotedPath(error.path) + ": " + errorReason(error);
}

constexpr ErrorRoom plans{text, reason};

}  // namespace

const ErrorRoom& errorRoom(PlanError) { return plans; }

}  // namespace pw
