#pragma once
// The `generate` command as the command line gives it: its arguments read and checked.

#include "Invocation.h"

namespace pw {

// A usage error for a missing --output, --nolimits-dir or --models-dir, for standard input
// without --object-dir, for a class choice it cannot read, for both --replace-footers and
// --add-footers and for a line of the --choices file it cannot read (a file it cannot open fails
// with 1); else runGenerate's result.
int runGenerateCommand(const Invocation& given);

}  // namespace pw
