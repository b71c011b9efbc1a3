#include "IncomingTrackFile.h"

#include <QFileInfo>
#include <QMimeData>
#include <QUrl>

namespace pw {

QString trackFileFromArguments(const QStringList& arguments)
{
    if (arguments.size() < 2)
        return {};
    // Absolute, like a path from the open dialog, so that it does not depend on where we started.
    const QFileInfo candidate(arguments.at(1));
    return candidate.isFile() ? candidate.absoluteFilePath() : QString();
}

QString trackFileFromMimeData(const QMimeData* mimeData)
{
    if (mimeData == nullptr || !mimeData->hasUrls())
        return {};
    const QList<QUrl> urls = mimeData->urls();
    if (urls.size() != 1 || !urls.front().isLocalFile())
        return {};
    const QString fileName = urls.front().toLocalFile();
    const QFileInfo info(fileName);
    if (!info.isFile() || info.suffix().compare(QLatin1String("nltrack"), Qt::CaseInsensitive) != 0)
        return {};
    return fileName;
}

}  // namespace pw
