#include "ModelInspector.h"

#include "tracklib/Catching.h"

#include <QMetaObject>

#include <memory>
#include <utility>

namespace pw {

ModelInspector::ModelInspector(ModelFileReader reader, ReaderOptions options, QObject* parent)
    : QObject(parent), reader_(std::move(reader)), options_(std::move(options))
{
    pool_.setMaxThreadCount(1);
}

ModelInspector::~ModelInspector()
{
    stopping_.request_stop();
    pool_.clear();
    pool_.waitForDone();
}

std::uint64_t ModelInspector::inspect(std::vector<ModelDirectoryRequest> directories)
{
    const std::uint64_t request = ++latest_;
    {
        const std::lock_guard lock(mutex_);
        current_ = request;
    }
    // Jobs of older requests still queued give way: they find themselves no longer current.
    pool_.start([this, request, directories = std::move(directories),
                 stop = stopping_.get_token()] { readModels(request, directories, stop); });
    return request;
}

void ModelInspector::cancel()
{
    const std::lock_guard lock(mutex_);
    current_ = 0;
}

bool ModelInspector::isCurrent(std::uint64_t request)
{
    const std::lock_guard lock(mutex_);
    return current_ == request;
}

void ModelInspector::readModels(std::uint64_t request,
                                const std::vector<ModelDirectoryRequest>& directories,
                                std::stop_token stop)
{
    if (stop.stop_requested() || !isCurrent(request))
        return;
    // Lives and dies with this job, which alone talks to its reader process.
    ModelReaderClient client(options_);
    // A model that exhausts memory is that model's problem, drawn as the unit square with the
    // reason, not the end of the program.
    const ModelFileReader guardedReader = [&](const std::filesystem::path& file) {
        Result<ModelFootprint> read =
            catchingAllocation([&] { return reader_ ? reader_(file) : client.read(file, stop); },
                               CoreError(ModelError::NoMemory, file));
        return read ? std::move(*read) : unitSquareFootprint(read.error());
    };
    auto footprints = std::make_shared<std::vector<ModelFootprints>>();
    for (const ModelDirectoryRequest& directory : directories) {
        ModelFootprints& read = footprints->emplace_back(directory.directory, guardedReader);
        for (const std::string& file : directory.modelFiles) {
            if (stop.stop_requested() || !isCurrent(request))
                return;
            // An exception would end the program from this thread. A file whose entry could
            // not even be kept stays "not read yet".
            (void)catchingAllocation([&] { read.of(file); });
        }
    }
    client.finish();
    // Whoever takes them must never read a file on its own thread.
    for (ModelFootprints& read : *footprints)
        read.stopReading();
    // Queued to the inspector's own thread; dropped by Qt if the inspector is gone by then.
    QMetaObject::invokeMethod(
        this,
        [this, request, footprints] {
            // A request cancelled after it was read is not delivered either.
            if (isCurrent(request))
                Q_EMIT inspected(request, *footprints);
        },
        Qt::QueuedConnection);
}

}  // namespace pw
