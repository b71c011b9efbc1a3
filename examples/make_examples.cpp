// Writes the demo track and the six sample footer models into a directory:
//   make_examples DIR  ->  DIR/demo.nltrack, DIR/models/*.3ds

#include "DemoTrack.h"
#include "FooterModels.h"
#include "ThreeDsModel.h"

#include "tracklib/TrackFile.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

namespace fs = std::filesystem;

namespace {

// Written beside the target and renamed over it, so a failed run leaves the old file whole.
bool writeBytes(const fs::path& path, const std::vector<std::uint8_t>& bytes, std::string& error)
{
    fs::path temporary = path;
    temporary += ".part";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (!out) {
            std::error_code ignored;
            fs::remove(temporary, ignored);
            error = "cannot write " + temporary.string();
            return false;
        }
    }
    std::error_code ec;
    fs::rename(temporary, path, ec);
    if (ec) {
        fs::remove(temporary, ec);
        error = "cannot replace " + path.string() + ": " + ec.message();
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_examples DIR\n");
        return 2;
    }
    const fs::path directory = argv[1];
    const fs::path models = directory / "models";
    std::error_code ec;
    fs::create_directories(models, ec);
    if (ec) {
        std::fprintf(stderr, "make_examples: cannot create %s: %s\n", models.string().c_str(),
                     ec.message().c_str());
        return 1;
    }

    for (const pw::FooterModelFile& model : pw::sampleFooterModels()) {
        std::string error;
        if (!writeBytes(models / model.fileName, pw::encodeThreeDs(model.mesh), error)) {
            std::fprintf(stderr, "make_examples: %s\n", error.c_str());
            return 1;
        }
    }

    const pw::Result<void> written =
        pw::writeTrackFile(directory / "demo.nltrack", pw::makeDemoTrack());
    if (!written.ok()) {
        std::fprintf(stderr, "make_examples: %s\n", pw::errorText(written.error()).c_str());
        return 1;
    }
    std::printf("wrote %s and %s\n", (directory / "demo.nltrack").string().c_str(),
                models.string().c_str());
    return 0;
}
