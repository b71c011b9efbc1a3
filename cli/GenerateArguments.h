#pragma once
// The `generate` command as the command line gives it: its arguments read and checked.

#include "Invocation.h"

namespace pw {

// A usage error for a missing --output, --nolimits-dir or --models-dir, for standard input
// without --object-dir and for a class choice it cannot read; else runGenerate's result.
int runGenerateCommand(const Invocation& given);

}  // namespace pw
