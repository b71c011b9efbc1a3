// The rich track cut at every length and with every byte flipped, each read, saved and read
// again; a seeded sample of them also goes through the generation and through a file.

#include "DamagedInput.h"
#include "testsupport/TrackFixtures.h"
#include "tracklib/TrackFile.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <random>
#include <span>

namespace pw::hardening {
namespace {

class DamagedFileSweepTest : public ::testing::Test {
protected:
    // A generation copies the models, some milliseconds a run, and opening a file costs a file:
    // a fixed sample of the damaged files takes those roads, each with the next variant in turn.
    std::span<const GenerationVariant> variantsFor()
    {
        if (!sample_(random_)) {
            return {};
        }
        ++sampled_;
        return std::span(pairwiseVariants).subspan(sampled_ % pairwiseVariants.size(), 1);
    }

    void expectSafe(const Bytes& damaged, const char* what, std::size_t where)
    {
        const std::span<const GenerationVariant> variants = variantsFor();
        ASSERT_EQ(checkDamagedBytes(damaged, sandbox_, variants), "") << what << " " << where;
        if (!variants.empty()) {
            ASSERT_EQ(checkFileOpens(damaged, sandbox_.root() / "damaged.nltrack"), "")
                << what << " " << where;
        }
    }

    SimulatorSandbox sandbox_;
    const Bytes rich_ = encodeTrack(makeRichTrack());
    std::mt19937 random_{20261207};
    std::bernoulli_distribution sample_{1.0 / 24};
    std::size_t sampled_ = 0;
};

TEST_F(DamagedFileSweepTest, EveryCutIsReadAndSavedSafely)
{
    for (std::size_t length = 0; length <= rich_.size(); ++length) {
        expectSafe(Bytes(rich_.begin(), rich_.begin() + static_cast<std::ptrdiff_t>(length)),
                   "cut to", length);
    }
    EXPECT_GT(sampled_, 100u);
}

TEST_F(DamagedFileSweepTest, EveryFlippedByteIsReadAndSavedSafely)
{
    for (std::size_t offset = 0; offset < rich_.size(); ++offset) {
        Bytes flipped = rich_;
        flipped[offset] ^= 0xFF;
        expectSafe(flipped, "flipped at", offset);
    }
}

TEST_F(DamagedFileSweepTest, SeededSingleBitFlipsAreReadAndSavedSafely)
{
    std::uniform_int_distribution<std::size_t> offsets(0, rich_.size() - 1);
    std::uniform_int_distribution<int> bits(0, 7);
    for (int i = 0; i < 2000; ++i) {
        Bytes flipped = rich_;
        const std::size_t offset = offsets(random_);
        flipped[offset] ^= static_cast<std::uint8_t>(1u << bits(random_));
        expectSafe(flipped, "bit flipped at", offset);
    }
}

}  // namespace
}  // namespace pw::hardening
