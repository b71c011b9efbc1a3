#include "IncomingTrackFile.h"

#include <QFileInfo>
#include <QMimeData>
#include <QUrl>

namespace pw {

QString trackFileFromArguments(const QStringList& arguments)
{
    if (arguments.size() < 2)
        return {};
    const QString& candidate = arguments.at(1);
    return QFileInfo(candidate).isFile() ? candidate : QString();
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
