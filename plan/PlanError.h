#pragma once
// What a plan file refuses to be.

#include "tracklib/CoreError.h"

namespace pw {

enum class PlanError {
    FormatUnknown,   // path: the picture; a plan is .svg or .png
    SvgUnavailable,  // path: the picture; this build writes PNG only
};

const ErrorRoom& errorRoom(PlanError code);

}  // namespace pw
