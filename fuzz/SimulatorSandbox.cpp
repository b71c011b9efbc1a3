#include "SimulatorSandbox.h"

#include "examples/FooterModels.h"

#include <fstream>
#include <random>
#include <string>
#include <system_error>

namespace pw::hardening {
namespace {

std::filesystem::path createUniqueDirectory(const std::filesystem::path& parent)
{
    std::random_device entropy;
    std::mt19937_64 random(entropy());
    for (int attempt = 0; attempt < 100; ++attempt) {
        const auto candidate = parent / ("plinthwright-sandbox-" + std::to_string(random()));
        if (std::filesystem::create_directory(candidate)) {
            return candidate;
        }
    }
    throw std::filesystem::filesystem_error("no free sandbox name", parent,
                                            std::make_error_code(std::errc::file_exists));
}

void writeModel(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out.flush()) {
        throw std::filesystem::filesystem_error("cannot write footer model", path,
                                                std::make_error_code(std::errc::io_error));
    }
}

}  // namespace

SimulatorSandbox::SimulatorSandbox()
    : root_(createUniqueDirectory(std::filesystem::temp_directory_path()))
{
    std::filesystem::create_directories(nolimitsDirectory() / "objects");
    std::filesystem::create_directories(modelDirectory());
    // Real 3ds models: generate installs nothing else.
    for (const FooterModelFile& model : sampleFooterModels()) {
        writeModel(modelDirectory() / model.fileName, encodeThreeDs(model.mesh));
    }
}

SimulatorSandbox::~SimulatorSandbox()
{
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
}

GenerationOptions SimulatorSandbox::options(const GenerationVariant& variant) const
{
    GenerationOptions options;
    for (const TubeSizeClass sizeClass : allSizeClasses) {
        options.choices[static_cast<int>(sizeClass)] = footerModelChoice(
            sizeClass, {variant.ownModels ? FooterChoice::Model::Own : FooterChoice::Model::Default,
                        defaultScalePercent(sizeClass)});
    }
    options.objectDirectory = ObjectDirectory{"sandbox"};
    options.modelSourceDirectory = modelDirectory();
    options.nolimitsDirectory = nolimitsDirectory();
    options.replaceFundaments = variant.replaceFundaments;
    options.alignToTangent = variant.alignToTangent;
    return options;
}

}  // namespace pw::hardening
