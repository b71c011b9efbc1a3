#pragma once
// The loop of a model reader program: each request on its standard input is answered on its
// standard output (ReaderProtocol.h), until the input ends.

#include "ModelFootprint.h"
#include "ReaderExitCode.h"

#include <cstdint>
#include <functional>
#include <span>

namespace pw {

using ModelBytesReader = std::function<ModelFootprint(std::span<const std::uint8_t> file)>;

// Reads each model with `read`, within the processor time the request gives it. Finished once the
// input ends between requests or after a model that exhausted the reader's memory (it says so
// first); damaged for a damaged request or an answer that cannot be written.
ReaderExitCode serveModelRequests(const ModelBytesReader& read);

}  // namespace pw
