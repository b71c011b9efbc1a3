// A generation whose models cannot be installed stops before it touches the track, and before it
// makes anything.

#include "fuzz/SimulatorSandbox.h"
#include "testsupport/TrackFixtures.h"
#include "tracklib/TrackFile.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

namespace pw::hardening {
namespace {

namespace fs = std::filesystem;

struct InstallationFault {
    const char* name;
    GenerationVariant variant;
    std::function<void(const SimulatorSandbox&)> damage;
    const char* namedInError;
};

TEST(GenerationFailureTest, FailedInstallationLeavesTheTrackUnchanged)
{
    const InstallationFault faults[] = {
        // The last class's model: it is missed before any other is copied.
        {"own model missing",
         {true, true, true},
         [](const SimulatorSandbox& s) { fs::remove(s.modelDirectory() / "xxlarge.3ds"); },
         "xxlarge.3ds"},
        {"default model missing",
         {false, true, false},
         [](const SimulatorSandbox& s) { fs::remove(s.modelDirectory() / "default.3ds"); },
         "default.3ds"},
        {"model that is a text file",
         {true, false, false},
         [](const SimulatorSandbox& s) {
             std::ofstream(s.modelDirectory() / "large.3ds") << "a text file named large.3ds\n";
         },
         "large.3ds\": it is not a 3ds model"},
        {"simulator directory missing",
         {true, false, true},
         [](const SimulatorSandbox& s) { fs::remove_all(s.nolimitsDirectory()); },
         "objects"},
        {"objects is a file",
         {false, false, false},
         [](const SimulatorSandbox& s) {
             fs::remove_all(s.nolimitsDirectory() / "objects");
             std::ofstream(s.nolimitsDirectory() / "objects") << "not a directory";
         },
         "objects"},
    };
    for (const InstallationFault& fault : faults) {
        SCOPED_TRACE(fault.name);
        SimulatorSandbox sandbox;
        fault.damage(sandbox);
        Track track = makeRichTrack();
        const auto before = encodeTrack(track);

        const Result<GenerationReport> report =
            generateFooters(track, sandbox.options(fault.variant));
        EXPECT_FALSE(report.ok());
        EXPECT_NE(errorText(report.error()).find(fault.namedInError), std::string::npos)
            << report.error();
        EXPECT_EQ(encodeTrack(track), before);
        std::error_code ec;
        EXPECT_TRUE(!fs::is_directory(sandbox.nolimitsDirectory() / "objects", ec) ||
                    fs::is_empty(sandbox.nolimitsDirectory() / "objects"));
    }
}

TEST(GenerationFailureTest, SameTrackGeneratesOnceTheModelIsBack)
{
    SimulatorSandbox sandbox;
    const GenerationVariant variant{true, true, true};
    fs::rename(sandbox.modelDirectory() / "small.3ds", sandbox.root() / "small.3ds");
    Track track = makeRichTrack();
    ASSERT_FALSE(generateFooters(track, sandbox.options(variant)).ok());

    fs::rename(sandbox.root() / "small.3ds", sandbox.modelDirectory() / "small.3ds");
    const Result<GenerationReport> report = generateFooters(track, sandbox.options(variant));
    ASSERT_TRUE(report.ok()) << report.error();
    // One tube of each class stands on a fundament; codes 3, 4 and 7 have no class. The five
    // footers stand on fundaments 0, 1, 3, 0 and 1; fundament 3 also carries the footerless
    // tube of code 4, so it stays, as does fundament 2, which carries no footer.
    EXPECT_EQ(report->objectsAdded, (std::array<int, sizeClassCount>{1, 1, 1, 1, 1}));
    EXPECT_EQ(report->freeNodesAdded, 5);
    EXPECT_EQ(report->fundamentsRemoved, 2);
    ASSERT_EQ(track.fundaments.size(), 2u);
    EXPECT_EQ(track.fundaments[0].position, (Float3{40.0f, -2.5f, -70.0f}));
    EXPECT_EQ(track.fundaments[1].position, (Float3{60.0f, 0.0f, -50.0f}));
    EXPECT_EQ(track.sceneryObjects.size(), makeRichTrack().sceneryObjects.size() + 5);
}

}  // namespace
}  // namespace pw::hardening
