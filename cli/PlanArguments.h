#pragma once
// The `plan` command as the command line gives it: its arguments read and checked.

#include "Invocation.h"

namespace pw {

// Checks the output's name, all in one place before the track is read: a usage error when it is
// missing, is not .svg or .png, or is no .png for --3d, and when --3d and --front come together;
// a failure when it names no regular file or an SVG this build cannot write. Else runPlan's
// result.
int runPlanCommand(const Invocation& given);

}  // namespace pw
