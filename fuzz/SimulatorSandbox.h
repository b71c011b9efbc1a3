#pragma once
// A throwaway simulator installation for generating footers away from any real one: an empty
// objects directory and a model directory holding the six sample footer models.

#include "footers/FooterGeneration.h"

#include <array>
#include <filesystem>

namespace pw::hardening {

// One way of running the generation. Every size class is enabled, all on their own models or
// all on the default model.
struct GenerationVariant {
    bool ownModels = true;
    bool replaceFundaments = true;
    bool alignToTangent = true;
};

// Four runs that meet every pair of the three switches both ways.
inline constexpr std::array<GenerationVariant, 4> pairwiseVariants{{
    {true, true, true},
    {true, false, false},
    {false, true, false},
    {false, false, true},
}};

class SimulatorSandbox {
public:
    // Creates a fresh directory below the system's temporary directory; throws
    // std::filesystem::filesystem_error when that is impossible.
    SimulatorSandbox();
    ~SimulatorSandbox();
    SimulatorSandbox(const SimulatorSandbox&) = delete;
    SimulatorSandbox& operator=(const SimulatorSandbox&) = delete;

    const std::filesystem::path& root() const { return root_; }
    std::filesystem::path nolimitsDirectory() const { return root_ / "nolimits"; }
    std::filesystem::path modelDirectory() const { return root_ / "models"; }

    GenerationOptions options(const GenerationVariant& variant) const;

private:
    std::filesystem::path root_;
};

}  // namespace pw::hardening
