#include "TrackLoading.h"

#include "ErrorReports.h"
#include "qtbridge/QtPaths.h"

namespace pw {

std::optional<OpenedTrack> loadTrack(const QString& path, QTextStream& err,
                                     WithoutTrackData withoutData)
{
    Result<OpenedTrack> loaded =
        path == QLatin1String(standardInputName)
            ? openTrackFromStandardInput(withoutData)
            : openTrack(toFileSystemPath(path), TrackSource::AnyFile, withoutData);
    if (!loaded) {
        // The core's text already names the file.
        reportError(err, loaded.error());
        return std::nullopt;
    }
    return std::move(*loaded);
}

}  // namespace pw
