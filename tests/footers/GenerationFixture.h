#pragma once
// The fixture of the generation tests: a scratch directory with every model, and a track to build
// supports on.

#include "FooterTestSupport.h"
#include "footers/FooterGeneration.h"

#include <gtest/gtest.h>

#include <cstddef>

namespace pw::testing {

class GenerationFixture : public ::testing::Test {
protected:
    // Every class on its own model from the scratch models, installed as "mytrack".
    GenerationOptions ownModelOptions(bool replaceFundaments, bool alignToTangent) const
    {
        GenerationOptions o;
        for (const TubeSizeClass c : allSizeClasses)
            o.choices[static_cast<std::size_t>(c)] =
                footerModelChoice(c, {FooterChoice::Model::Own});
        o.objectDirectory = ObjectDirectory{"mytrack"};
        o.modelSourceDirectory = scratch.models();
        o.nolimitsDirectory = scratch.simulator();
        o.replaceFundaments = replaceFundaments;
        o.alignToTangent = alignToTangent;
        return o;
    }

    ScratchDirectory scratch;
    SupportTrackBuilder build;
    Track& track = build.track();
};

}  // namespace pw::testing
