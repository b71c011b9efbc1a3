#include "IncomingTrackFile.h"

#include <QFileInfo>
#include <QMimeData>
#include <QUrl>

namespace pw {

QString trackFileFromArguments(const QStringList& arguments)
{
    // An option the toolkit did not know is no file; anything else the user named is opened, so
    // that one that cannot be read is reported rather than passed over.
    if (arguments.size() < 2 || arguments.at(1).isEmpty() ||
        arguments.at(1).startsWith(QLatin1Char('-')))
        return {};
    // Absolute, like a path from the open dialog, so that it does not depend on where we started.
    return QFileInfo(arguments.at(1)).absoluteFilePath();
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
