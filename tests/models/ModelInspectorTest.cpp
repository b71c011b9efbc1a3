#include "models/ModelInspector.h"

#include "testsupport/HostileModels.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <new>

namespace pw {
namespace {

struct Delivery {
    std::uint64_t request = 0;
    std::vector<ModelFootprints> footprints;
    QThread* thread = nullptr;
};

class ModelInspection : public testing::Test {
protected:
    ModelInspection()
    {
        write("small.3ds", encodeThreeDs(plinthMesh("small", 0.6f, 0.6f, 0.0f, 1.0f)));
        // A model that takes a while to read, so that a newer request finds it in hand.
        write("circle.3ds", encodeThreeDs(circleMesh(65535)));
        QObject::connect(
            &inspector, &ModelInspector::inspected,
            [this](std::uint64_t request, std::vector<ModelFootprints>& footprints) {
                deliveries.push_back({request, std::move(footprints), QThread::currentThread()});
            });
    }

    void write(const std::string& name, const std::vector<std::uint8_t>& bytes)
    {
        std::ofstream(root / name, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
    }

    // Runs the event loop until `count` deliveries have come, or `ms` have passed.
    void waitFor(std::size_t count, int ms = 20000)
    {
        QEventLoop loop;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            if (deliveries.size() >= count)
                loop.quit();
        });
        poll.start(5);
        QTimer::singleShot(ms, &loop, &QEventLoop::quit);
        loop.exec();
    }

    int argc = 1;
    char name[5] = "test";
    char* argv[2] = {name, nullptr};
    QCoreApplication application{argc, argv};
    QTemporaryDir dir;
    std::filesystem::path root = dir.path().toStdString();
    ModelInspector inspector;
    std::vector<Delivery> deliveries;
};

TEST_F(ModelInspection, DeliversEveryDirectoryOnTheCallersThread)
{
    const std::uint64_t request =
        inspector.inspect({{root, {"small.3ds", "missing.3ds"}}, {root / "none", {"small.3ds"}}});
    EXPECT_TRUE(deliveries.empty());  // nothing arrives outside the event loop
    waitFor(1);
    ASSERT_EQ(deliveries.size(), 1u);
    EXPECT_EQ(deliveries[0].request, request);
    EXPECT_EQ(deliveries[0].thread, QThread::currentThread());
    std::vector<ModelFootprints>& read = deliveries[0].footprints;
    ASSERT_EQ(read.size(), 2u);
    EXPECT_EQ(read[0].unreadable(),
              (std::vector<std::pair<std::string, std::string>>{{"missing.3ds", "not found"}}));
    std::filesystem::remove(root / "small.3ds");  // read already: not read again
    EXPECT_TRUE(read[0].of("small.3ds").readable);
    // What was not asked for is not read on the caller's thread either.
    EXPECT_EQ(read[0].of("circle.3ds").problem, "not read yet");
    EXPECT_EQ(read[1].unreadable().size(), 1u);
}

TEST_F(ModelInspection, NewerRequestCancelsTheOlderOne)
{
    inspector.inspect({{root, std::vector<std::string>(50, "circle.3ds")}});
    const std::uint64_t newer = inspector.inspect({{root, {"small.3ds"}}});
    waitFor(1);
    waitFor(2, 1000);  // give a wrongly delivered older request its chance to arrive
    ASSERT_EQ(deliveries.size(), 1u);
    EXPECT_EQ(deliveries[0].request, newer);

    inspector.inspect({{root, {"small.3ds"}}});
    inspector.cancel();
    waitFor(2, 500);
    EXPECT_EQ(deliveries.size(), 1u);
}

// A reader that runs out of memory leaves that model a square with the reason; the thread and
// the other models carry on.
TEST_F(ModelInspection, ModelThatExhaustsMemoryIsASquareWithTheReason)
{
    ModelReaderClient reader;
    ModelInspector throwing([&](const std::filesystem::path& file) -> ModelFootprint {
        if (file.filename() == "circle.3ds")
            throw std::bad_alloc();
        return reader.read(file);
    });
    QObject::connect(&throwing, &ModelInspector::inspected,
                     [this](std::uint64_t request, std::vector<ModelFootprints>& footprints) {
                         deliveries.push_back({request, std::move(footprints), nullptr});
                     });
    throwing.inspect({{root, {"circle.3ds", "small.3ds"}}});
    waitFor(1);
    ASSERT_EQ(deliveries.size(), 1u);
    EXPECT_EQ(deliveries[0].footprints[0].unreadable(),
              (std::vector<std::pair<std::string, std::string>>{
                  {"circle.3ds", "not enough memory to read it"}}));
    EXPECT_TRUE(deliveries[0].footprints[0].of("small.3ds").readable);
}

}  // namespace
}  // namespace pw
