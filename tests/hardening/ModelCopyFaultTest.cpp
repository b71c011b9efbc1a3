// Model copies that fail, race or meet a link leave either the earlier model or the whole new one.

#include "ChildProcess.h"
#include "DamagedInput.h"
#include "footers/ModelInstallation.h"
#include "testsupport/TestModels.h"

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#ifdef __linux__
#include <csignal>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace pw::hardening {
namespace {

namespace fs = std::filesystem;

// A real 3ds model of `size` bytes, told apart from others by `value`. Used only by the cases
// that run on POSIX systems.
[[maybe_unused]] Bytes filled(std::size_t size, std::uint8_t value)
{
    return paddedTestModel(size, value);
}

class ModelCopyFaultTest : public ::testing::Test {
protected:
    // Copies the small class's own model into objects/mytrack of `simulator`.
    Result<ModelInstallation> installSmall(const fs::path& simulator, const fs::path& models) const
    {
        FooterModelChoices choices{};
        choices[0] = footerModelChoice(TubeSizeClass::Small, {FooterChoice::Model::Own});
        Result<std::vector<ModelToInstall>> opened = openModelsToInstall(choices, models);
        if (!opened)
            return opened.error();
        return installFooterModels(std::move(*opened), simulator, "mytrack");
    }

    SimulatorSandbox sandbox_;
    const fs::path models_ = sandbox_.modelDirectory();
    const fs::path installed_ =
        sandbox_.nolimitsDirectory() / "objects/mytrack/fundament-small.3ds";
};

// Windows needs a privilege to make links, and refuses to replace a file another program holds
// open, as the reader below does.
#ifndef _WIN32

TEST_F(ModelCopyFaultTest, LinkAtTheDestinationIsReplacedNotFollowed)
{
    const fs::path victim = sandbox_.root() / "victim.3ds";
    writeBytes(victim, filled(100, 'v'));
    fs::create_directories(installed_.parent_path());
    fs::create_symlink(victim, installed_);

    const Result<ModelInstallation> result = installSmall(sandbox_.nolimitsDirectory(), models_);
    ASSERT_TRUE(result.ok()) << result.error();
    EXPECT_EQ(readBytes(victim), filled(100, 'v'));
    EXPECT_FALSE(fs::is_symlink(installed_));
    EXPECT_EQ(readBytes(installed_), readBytes(models_ / "small.3ds"));
    EXPECT_EQ(namesIn(installed_.parent_path()), std::vector<std::string>{"fundament-small.3ds"});
}

TEST_F(ModelCopyFaultTest, TwoInstallsAtOnceLeaveOneWholeModel)
{
    // Two model directories whose small models differ in every byte.
    const fs::path modelsA = sandbox_.root() / "a";
    const fs::path modelsB = sandbox_.root() / "b";
    fs::create_directory(modelsA);
    fs::create_directory(modelsB);
    const Bytes modelA = filled(256 * 1024, 'a');
    const Bytes modelB = filled(256 * 1024, 'b');
    writeBytes(modelsA / "small.3ds", modelA);
    writeBytes(modelsB / "small.3ds", modelB);

    ASSERT_TRUE(installSmall(sandbox_.nolimitsDirectory(), modelsA).ok());
    for (int round = 0; round < 10; ++round) {
        SCOPED_TRACE(round);
        std::optional<Result<ModelInstallation>> resultA;
        std::optional<Result<ModelInstallation>> resultB;
        std::atomic<bool> done{false};
        // A track saved earlier names this model at every moment: it must read whole throughout.
        int partialReads = 0;
        std::thread reader([&] {
            while (!done) {
                const Bytes seen = readBytes(installed_);
                partialReads += (seen != modelA && seen != modelB) ? 1 : 0;
            }
        });
        std::thread first([&] { resultA = installSmall(sandbox_.nolimitsDirectory(), modelsA); });
        std::thread second([&] { resultB = installSmall(sandbox_.nolimitsDirectory(), modelsB); });
        first.join();
        second.join();
        done = true;
        reader.join();
        ASSERT_TRUE(resultA->ok()) << resultA->error();
        ASSERT_TRUE(resultB->ok()) << resultB->error();
        ASSERT_EQ(partialReads, 0);
        const Bytes result = readBytes(installed_);
        ASSERT_TRUE(result == modelA || result == modelB) << "a mix of both models";
        ASSERT_EQ(namesIn(installed_.parent_path()),
                  std::vector<std::string>{"fundament-small.3ds"});
    }
}

#endif  // _WIN32

#ifdef __linux__

enum CopyOutcome { FailedWithReason = 0, Succeeded = 1, FailedOtherwise = 2, CouldNotSetUp = 3 };

CopyOutcome outcomeOf(const Result<ModelInstallation>& result, const std::string& reason)
{
    if (result.ok()) {
        return Succeeded;
    }
    const std::string ending = ": " + reason;
    const std::string text = errorText(result.error());
    return text.size() > ending.size() &&
                   text.compare(text.size() - ending.size(), ending.size(), ending) == 0
               ? FailedWithReason
               : FailedOtherwise;
}

TEST_F(ModelCopyFaultTest, FullDiskKeepsTheEarlierModelAndLeavesNoPart)
{
    const fs::path disk = sandbox_.root() / "disk";
    fs::create_directory(disk);
    // 64 KiB of room: the first model fits, the second does not.
    if (geteuid() != 0 || mount("tmpfs", disk.c_str(), "tmpfs", 0, "size=64k") != 0) {
        GTEST_SKIP() << "mounting a small file system needs root";
    }
    struct Unmount {
        const fs::path& at;
        ~Unmount() { umount(at.c_str()); }
    } unmount{disk};
    const fs::path simulator = disk / "nolimits";
    fs::create_directory(simulator);
    const Bytes earlier = filled(8 * 1024, 'e');
    writeBytes(models_ / "small.3ds", earlier);
    const Result<ModelInstallation> first = installSmall(simulator, models_);
    writeBytes(models_ / "small.3ds", filled(256 * 1024, 'n'));
    const Result<ModelInstallation> second = installSmall(simulator, models_);
    const fs::path installed = simulator / "objects/mytrack/fundament-small.3ds";
    const Bytes afterwards = fs::exists(installed) ? readBytes(installed) : Bytes();
    const std::vector<std::string> names = namesIn(installed.parent_path());
    // A first install that finds no room leaves no file at all.
    std::error_code ec;
    fs::remove(installed, ec);
    const Result<ModelInstallation> fresh = installSmall(simulator, models_);
    const std::vector<std::string> namesAfterFresh = namesIn(installed.parent_path());

    ASSERT_TRUE(first.ok()) << first.error();
    EXPECT_EQ(outcomeOf(second, "No space left on device"), FailedWithReason) << second.error();
    EXPECT_EQ(afterwards, earlier);
    EXPECT_EQ(names, std::vector<std::string>{"fundament-small.3ds"});
    EXPECT_EQ(outcomeOf(fresh, "No space left on device"), FailedWithReason) << fresh.error();
    EXPECT_EQ(namesAfterFresh, std::vector<std::string>{});
}

TEST_F(ModelCopyFaultTest, CopyStoppedByAFileSizeLimitKeepsTheEarlierModel)
{
    const Bytes earlier = filled(1024, 'e');
    ASSERT_TRUE(installSmall(sandbox_.nolimitsDirectory(), models_).ok());
    writeBytes(installed_, earlier);
    writeBytes(models_ / "small.3ds", filled(512 * 1024, 'n'));

    const int outcome = exitCodeOfChild([&] {
        // Past the limit, write() fails with EFBIG instead of the process being killed.
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{64 * 1024, 64 * 1024};
        if (setrlimit(RLIMIT_FSIZE, &limit) != 0) {
            return int{CouldNotSetUp};
        }
        return int{
            outcomeOf(installSmall(sandbox_.nolimitsDirectory(), models_), "File too large")};
    });
    EXPECT_EQ(outcome, FailedWithReason);
    EXPECT_EQ(readBytes(installed_), earlier);
    EXPECT_EQ(namesIn(installed_.parent_path()), std::vector<std::string>{"fundament-small.3ds"});
}

#endif  // __linux__

}  // namespace
}  // namespace pw::hardening
