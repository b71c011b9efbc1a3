#include "FooterRunSetup.h"

#include "examples/FooterModels.h"
#include "footers/FooterModelChoice.h"

#include <fstream>

namespace pw::bench {

std::filesystem::path scratchDirectory()
{
    const std::filesystem::path directory =
        std::filesystem::temp_directory_path() / "plinthwright-bench";
    std::filesystem::create_directories(directory);
    return directory;
}

void writeSampleModels(const std::filesystem::path& directory)
{
    std::filesystem::create_directories(directory);
    // Real 3ds models: generate installs nothing else.
    for (const FooterModelFile& model : sampleFooterModels()) {
        const std::vector<std::uint8_t> bytes = encodeThreeDs(model.mesh);
        std::ofstream(directory / model.fileName, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
    }
}

GenerationOptions footerOptions(const std::filesystem::path& scratch)
{
    GenerationOptions options;
    for (const TubeSizeClass sizeClass : allSizeClasses) {
        const bool own = sizeClass == TubeSizeClass::Small || sizeClass == TubeSizeClass::Medium ||
                         sizeClass == TubeSizeClass::Large;
        options.choices[static_cast<std::size_t>(sizeClass)] = footerModelChoice(
            sizeClass, {own ? FooterChoice::Model::Own : FooterChoice::Model::Default,
                        defaultScalePercent(sizeClass)});
    }
    options.objectDirectory = ObjectDirectory{"benchride"};
    options.modelSourceDirectory = scratch / "models";
    options.nolimitsDirectory = scratch / "nolimits";
    options.replaceFundaments = true;
    options.alignToTangent = true;
    writeSampleModels(options.modelSourceDirectory);
    std::filesystem::create_directories(options.nolimitsDirectory);
    return options;
}

GenerationOptions everyClassOnItsOwnModel()
{
    GenerationOptions options;
    for (const TubeSizeClass sizeClass : allSizeClasses)
        options.choices[static_cast<std::size_t>(sizeClass)] =
            footerModelChoice(sizeClass, {FooterChoice::Model::Own});
    options.objectDirectory.name = "bench";
    return options;
}

}  // namespace pw::bench
