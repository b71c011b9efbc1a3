#pragma once
// Reads footer models off the calling thread, so that a window never waits on a model. A newer
// request cancels an older one: the older one's files are no longer read once the one in hand is
// done, and its results are never delivered. Results arrive through `inspected`, emitted on the
// thread the inspector lives in (the caller's), from its event loop. The models of a request are
// read by one reader process (ModelReaderClient.h), ended when the request is done.

#include "ModelFootprints.h"

#include <QObject>
#include <QThreadPool>

#include <cstdint>
#include <filesystem>
#include <mutex>
#include <stop_token>
#include <string>
#include <vector>

namespace pw {

// The model files to read in one directory (names, or relative paths with '/').
struct ModelDirectoryRequest {
    std::filesystem::path directory;
    std::vector<std::string> modelFiles;
};

class ModelInspector : public QObject {
    Q_OBJECT

public:
    // `reader` runs on the inspector's own pool thread; without one, a ModelReaderClient with
    // `options` reads.
    explicit ModelInspector(ModelFileReader reader = {}, ReaderOptions options = {},
                            QObject* parent = nullptr);
    // Stops the reading: a reader process in hand is ended within a twentieth of a second.
    ~ModelInspector() override;

    // Starts reading every listed file; returns the request's number, which `inspected` carries.
    std::uint64_t inspect(std::vector<ModelDirectoryRequest> directories);
    // Forgets the latest request: nothing more is delivered until the next one.
    void cancel();
    std::uint64_t latestRequest() const { return latest_; }

Q_SIGNALS:
    // One ModelFootprints per requested directory, in the order asked, each with every listed
    // file read and reading nothing more.
    void inspected(std::uint64_t request, std::vector<pw::ModelFootprints>& footprints);

private:
    void readModels(std::uint64_t request, const std::vector<ModelDirectoryRequest>& directories,
                    std::stop_token stop);
    bool isCurrent(std::uint64_t request);

    const ModelFileReader reader_;
    const ReaderOptions options_;
    std::mutex mutex_;
    std::uint64_t current_ = 0;  // the request not cancelled; guarded by mutex_
    std::uint64_t latest_ = 0;   // the caller's thread only
    std::stop_source stopping_;
    // One thread: requests are read one after another, and one superseded before its turn
    // reads nothing. Last, so that its jobs are done before the rest goes.
    QThreadPool pool_;
};

}  // namespace pw
