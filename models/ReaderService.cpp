#include "ReaderService.h"

#include "ReaderProcessSeam.h"
#include "ReaderProtocol.h"

#include <array>
#include <cstdio>
#include <new>
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

int serveModelRequests(const ModelBytesReader& read)
{
    constexpr int damaged = 2;
    if (!attachReaderStreams())
        return damaged;
    for (;;) {
        std::array<std::uint8_t, readerRequestHeaderBytes> header;
        const std::size_t got = std::fread(header.data(), 1, header.size(), stdin);
        if (got == 0 && std::feof(stdin))
            return 0;
        const std::optional<ReaderRequest> request =
            got == header.size() ? decodeRequestHeader(header) : std::nullopt;
        if (!request)
            return damaged;
        ReaderAnswer answer;
        std::vector<std::uint8_t> bytes;
        try {
            std::vector<std::uint8_t> file(request->fileBytes);
            if (!readAll(file))
                return damaged;
            limitReaderProcessorTime(static_cast<int>(request->processorSeconds));
            answer.footprint = read(file);
            bytes = encodeAnswer(answer);
        } catch (const std::bad_alloc&) {
            answer = {ReaderOutcome::OutOfMemory, {}};
        }
        limitReaderProcessorTime(0);
        if (answer.outcome == ReaderOutcome::OutOfMemory) {
            // What is left of the heap is not to be trusted with the next model.
            return writeAll(encodeAnswer(answer)) ? 0 : damaged;
        }
        if (!writeAll(bytes))
            return damaged;
    }
}

}  // namespace pw
