#include "ReaderService.h"

#include "ReaderProcessSeam.h"
#include "ReaderProtocol.h"
#include "tracklib/Catching.h"

#include <array>
#include <cstdio>
#include <vector>

namespace pw {

namespace {

bool readAll(std::span<std::uint8_t> into)
{
    return std::fread(into.data(), 1, into.size(), stdin) == into.size();
}

bool writeAll(std::span<const std::uint8_t> bytes)
{
    return std::fwrite(bytes.data(), 1, bytes.size(), stdout) == bytes.size() &&
           std::fflush(stdout) == 0;
}

}  // namespace

ReaderExitCode serveModelRequests(const ModelBytesReader& read)
{
    if (!attachReaderStreams())
        return readerDamaged;
    for (;;) {
        std::array<std::uint8_t, readerRequestHeaderBytes> header;
        const std::size_t got = std::fread(header.data(), 1, header.size(), stdin);
        if (got == 0 && std::feof(stdin))
            return readerFinished;
        const std::optional<ReaderRequest> request =
            got == header.size() ? decodeRequestHeader(header) : std::nullopt;
        if (!request)
            return readerDamaged;
        bool complete = true;
        const Result<std::vector<std::uint8_t>> answer = catchingAllocation([&] {
            std::vector<std::uint8_t> file(request->fileBytes);
            complete = readAll(file);
            if (!complete)
                return std::vector<std::uint8_t>();
            limitReaderProcessorTime(static_cast<int>(request->processorSeconds));
            return encodeAnswer({ReaderOutcome::Read, read(file)});
        });
        if (!complete)
            return readerDamaged;
        limitReaderProcessorTime(0);
        if (!answer) {
            // What is left of the heap is not to be trusted with the next model.
            return writeAll(encodeAnswer({ReaderOutcome::OutOfMemory, {}})) ? readerFinished
                                                                            : readerDamaged;
        }
        if (!writeAll(*answer))
            return readerDamaged;
    }
}

}  // namespace pw
