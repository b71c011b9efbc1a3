#include "DamagedInput.h"

#include "TrackPipeline.h"
#include "tracklib/TrackFile.h"

#include <fstream>
#include <iterator>
#include <stdexcept>

namespace pw::hardening {

std::string checkDamagedBytes(const Bytes& bytes, const SimulatorSandbox& sandbox,
                              std::span<const GenerationVariant> variants) {
    Track track;
    readTrackBytes(bytes, track);
    if (longestList(track) > bytes.size()) {
        return "a list of " + std::to_string(longestList(track)) + " from " +
               std::to_string(bytes.size()) + " bytes";
    }
    return checkReadGenerateWrite(bytes, sandbox, variants);
}

std::string checkFileOpens(const Bytes& bytes, const std::filesystem::path& path) {
    writeBytes(path, bytes);
    Track track;
    ReadDiagnostics diagnostics;
    const int result = readTrackFile(path, track, &diagnostics);
    if (result != 1) {
        return "read gave " + std::to_string(result) + ": " + diagnostics.openError;
    }
    return {};
}

void writeBytes(const std::filesystem::path& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    if (!out.flush()) {
        throw std::runtime_error("cannot write " + path.string());
    }
}

Bytes readBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw std::runtime_error("cannot read " + path.string());
    }
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace pw::hardening
