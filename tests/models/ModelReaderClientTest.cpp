// The client's side of a reader process, with a stand-in reader that misbehaves on demand
// (ReaderStandIn.cpp): whatever the reader does, the model is answered, the next one is read, and
// nothing waits past its deadline.

#include "models/ModelReaderClient.h"
#include "models/ReaderProcessSeam.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <thread>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#endif

namespace pw {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

std::vector<std::uint8_t> bytesOf(const std::string& text) { return {text.begin(), text.end()}; }

// Wine keeps a job object's limits of memory and user time without enforcing them: there the
// deadline ends a reader that spins, and nothing ends one that allocates.
bool underWine()
{
#ifdef _WIN32
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
#else
    return false;
#endif
}

ReaderOptions standIn()
{
    ReaderOptions options;
    options.program = PLINTHWRIGHT_READER_STAND_IN;
    options.limits.processorSeconds = 1;
    options.limits.addressSpaceBytes = 256u << 20;
    options.limits.deadline = 30s;
    return options;
}

// The one warning of a stand-in's readable answer: "answer N", the Nth its process gave.
std::string answerOf(const ModelFootprint& footprint)
{
    return footprint.readable && footprint.warnings.size() == 1 ? footprint.warnings.front()
                                                                : footprint.problem;
}

class ScratchFiles : public testing::Test {
protected:
    ScratchFiles() { std::filesystem::create_directories(root); }
    ~ScratchFiles() override
    {
        std::error_code ignored;
        std::filesystem::remove_all(root, ignored);
    }
    std::filesystem::path write(const std::string& name, const std::string& content)
    {
        std::ofstream(root / name, std::ios::binary) << content;
        return root / name;
    }
    const std::filesystem::path root =
        std::filesystem::temp_directory_path() /
        ("plinthwright-reader-" + std::to_string(std::random_device{}()));
};

// Each misbehaviour ends that reader with the reason as the model's problem; the next model is
// read by a fresh reader. The deadline is long but where a reader waits for it: a spinning reader
// must reach its processor time first however busy the machine is.
TEST(ModelReaderClient, AReaderThatFailsGivesTheSquareAndTheNextModelIsRead)
{
#ifdef _WIN32
    const std::string aborted = "the reader stopped: it ended with exit code 3";  // MinGW's abort
#else
    const std::string aborted = "the reader stopped: it crashed (" + crashText(6) + ")";
#endif
    const struct {
        const char* model;
        std::chrono::milliseconds deadline;
        std::string problem;
    } cases[] = {
        {"abort", 30s, aborted},
        {"spin", underWine() ? 2s : 30s,
         underWine() ? "the reader stopped: no answer within 2 s" : "took longer than 1 s to read"},
        {"exit", 30s, "the reader stopped: it ended with exit code 7"},
        {"sleep", 500ms, "the reader stopped: no answer within 0.5 s"},
        {"lie", 30s, "the reader stopped: its answer was damaged"},
        {"allocate", 30s, "needs more than 256 MiB"},
    };
    for (const auto& c : cases) {
        if (std::string(c.model) == "allocate" && (!addressSpaceLimitsApply() || underWine()))
            continue;  // nothing limits it here
        ReaderOptions options = standIn();
        options.limits.deadline = c.deadline;
        ModelReaderClient client(options);
        EXPECT_EQ(answerOf(client.readBytes(bytesOf("model"))), "answer 1") << c.model;
        const ModelFootprint failed = client.readBytes(bytesOf(c.model));
        EXPECT_EQ(failed.problem, c.problem) << c.model;
        EXPECT_EQ(failed.points.size(), 4u) << c.model;
        EXPECT_TRUE(failed.meshes.empty()) << c.model;
        EXPECT_EQ(answerOf(client.readBytes(bytesOf("model"))), "answer 1") << c.model;
    }
}

TEST(ModelReaderClient, OneReaderServesModelsUpToItsShare)
{
    ReaderOptions options = standIn();
    options.limits.modelsPerReader = 3;
    ModelReaderClient client(options);
    std::vector<std::string> answers;
    for (int i = 0; i < 5; ++i)
        answers.push_back(answerOf(client.readBytes(bytesOf("model"))));
    client.finish();
    answers.push_back(answerOf(client.readBytes(bytesOf("model"))));
    EXPECT_EQ(answers, (std::vector<std::string>{"answer 1", "answer 2", "answer 3", "answer 1",
                                                 "answer 2", "answer 1"}));
}

// A kept reader that ended between two models is not the next model's fault.
TEST(ModelReaderClient, AReaderThatEndedSinceTheLastModelIsReplaced)
{
    ModelReaderClient client(standIn());
    EXPECT_EQ(answerOf(client.readBytes(bytesOf("quit"))), "answer 1");
    std::this_thread::sleep_for(500ms);
    EXPECT_EQ(answerOf(client.readBytes(bytesOf("model"))), "answer 1");
    EXPECT_EQ(answerOf(client.readBytes(bytesOf("model"))), "answer 2");
}

TEST(ModelReaderClient, AReaderThatCannotStartIsSaidForEveryModel)
{
    ReaderOptions options = standIn();
    options.program = options.program.parent_path() / "no-such-reader";
    ModelReaderClient client(options);
    for (int i = 0; i < 2; ++i) {
        const ModelFootprint footprint = client.readBytes(bytesOf("model"));
        EXPECT_EQ(footprint.problem.rfind("the reader could not be started: ", 0), 0u)
            << footprint.problem;
        EXPECT_NE(footprint.problem.find("no-such-reader"), std::string::npos) << footprint.problem;
        EXPECT_EQ(footprint.points.size(), 4u);
    }
}

TEST(ModelReaderClient, StoppingEndsTheReadInHandAtOnce)
{
    ModelReaderClient client(standIn());
    std::stop_source stop;
    std::thread stopper([&] {
        std::this_thread::sleep_for(200ms);
        stop.request_stop();
    });
    const auto start = Clock::now();
    const ModelFootprint footprint = client.readBytes(bytesOf("sleep"), stop.get_token());
    const auto took = Clock::now() - start;
    stopper.join();
    EXPECT_EQ(footprint.problem, "not read: reading was stopped");
    EXPECT_LT(took, 1000ms);
    EXPECT_EQ(answerOf(client.readBytes(bytesOf("model"))), "answer 1");
}

TEST_F(ScratchFiles, FilesAreOpenedOnceAndOnlyRegularOnesAreRead)
{
    ModelReaderClient client(standIn());
    EXPECT_EQ(answerOf(client.read(write("small.3ds", "model"))), "answer 1");
    EXPECT_EQ(client.read(root / "missing.3ds").problem, "not found");
    EXPECT_EQ(client.read(root).problem, "a directory, not a file");
    const std::filesystem::path huge = write("huge.3ds", "model");
    std::filesystem::resize_file(huge, largestModelFileBytes + 1);
    EXPECT_EQ(client.read(huge).problem, "larger than 16 MiB");
}

#ifndef _WIN32
// The file turns into a FIFO after the caller chose to read it and before it is opened: opening
// it must not wait for a writer that never comes.
TEST_F(ScratchFiles, AModelSwappedForAFifoBeforeTheOpenIsRefusedAtOnce)
{
    const std::filesystem::path model = write("small.3ds", "model");
    ReaderOptions options = standIn();
    options.beforeOpen = [](const std::filesystem::path& file) {
        std::filesystem::remove(file);
        ASSERT_EQ(::mkfifo(file.c_str(), 0600), 0);
    };
    ModelReaderClient client(options);
    const auto start = Clock::now();
    const ModelFootprint footprint = client.read(model);
    EXPECT_LT(Clock::now() - start, 1000ms);
    EXPECT_EQ(footprint.problem, "it is a named pipe, not a regular file");
    EXPECT_EQ(footprint.points.size(), 4u);
}
#endif

TEST(ModelReaderClient, MemoryFiguresAreWordedInWholeUnits)
{
    EXPECT_EQ(memoryFigure(1ull << 30), "1 GiB");
    EXPECT_EQ(memoryFigure(3ull << 30), "3 GiB");
    EXPECT_EQ(memoryFigure(256ull << 20), "256 MiB");
    EXPECT_EQ(memoryFigure((256ull << 20) + 1), "257 MiB");
}

}  // namespace
}  // namespace pw
