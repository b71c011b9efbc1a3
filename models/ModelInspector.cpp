#include "ModelInspector.h"

#include "tracklib/Catching.h"

#include <QMetaObject>

#include <memory>
#include <utility>

namespace pw {

ModelInspector::ModelInspector(ModelFileReader reader, ReaderOptions options, QObject* parent)
    : QObject(parent),
      reader_(std::move(reader)),
      options_(std::move(options)),
      worker_([this](std::stop_token stop) { work(std::move(stop)); })
{
}

ModelInspector::~ModelInspector()
{
    worker_.request_stop();
    worker_.join();
}

std::uint64_t ModelInspector::inspect(std::vector<ModelDirectoryRequest> directories)
{
    const std::uint64_t request = ++latest_;
    {
        const std::lock_guard lock(mutex_);
        pending_ = Job{request, std::move(directories)};
        current_ = request;
    }
    wake_.notify_one();
    return request;
}

void ModelInspector::cancel()
{
    const std::lock_guard lock(mutex_);
    pending_.reset();
    current_ = 0;
}

bool ModelInspector::isCurrent(std::uint64_t request)
{
    const std::lock_guard lock(mutex_);
    return current_ == request;
}

void ModelInspector::work(std::stop_token stop)
{
    // Lives and dies with this thread, which alone talks to its reader process.
    ModelReaderClient client(options_);
    // A model that exhausts memory is that model's problem, drawn as the unit square with the
    // reason, not the end of the program.
    const ModelFileReader guardedReader = [&](const std::filesystem::path& file) {
        Result<ModelFootprint> read =
            catchingAllocation([&] { return reader_ ? reader_(file) : client.read(file, stop); },
                               CoreError(ModelError::NoMemory, file));
        return read ? std::move(*read) : unitSquareFootprint(read.error());
    };
    while (true) {
        Job job;
        {
            std::unique_lock lock(mutex_);
            if (!wake_.wait(lock, stop, [this] { return pending_.has_value(); }))
                return;  // stopped
            job = std::move(*pending_);
            pending_.reset();
        }
        auto footprints = std::make_shared<std::vector<ModelFootprints>>();
        bool finished = true;
        for (const ModelDirectoryRequest& directory : job.directories) {
            ModelFootprints& read = footprints->emplace_back(directory.directory, guardedReader);
            for (const std::string& file : directory.modelFiles) {
                if (stop.stop_requested() || !isCurrent(job.request)) {
                    finished = false;
                    break;
                }
                // An exception would end the program from this thread. A file whose entry
                // could not even be kept stays "not read yet".
                (void)catchingAllocation([&] { read.of(file); });
            }
            if (!finished)
                break;
        }
        client.finish();
        if (!finished)
            continue;
        // Whoever takes them must never read a file on its own thread.
        for (ModelFootprints& read : *footprints)
            read.stopReading();
        // Queued to the inspector's own thread; dropped by Qt if the inspector is gone by then.
        QMetaObject::invokeMethod(
            this,
            [this, request = job.request, footprints] {
                // A request cancelled after it was read is not delivered either.
                if (isCurrent(request))
                    Q_EMIT inspected(request, *footprints);
            },
            Qt::QueuedConnection);
    }
}

}  // namespace pw
