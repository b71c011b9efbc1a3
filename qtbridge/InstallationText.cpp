#include "InstallationText.h"

#include "QtPaths.h"
#include "VisibleText.h"

#include <QDir>

namespace pw {

QString pathInNolimits(const std::filesystem::path& path,
                       const std::filesystem::path& nolimitsDirectory)
{
    const QString whole = fromFileSystemPath(path);
    const QString root = fromFileSystemPath(nolimitsDirectory);
    if (!root.isEmpty()) {
        const QString relative = QDir(root).relativeFilePath(whole);
        if (!relative.startsWith(QLatin1String("..")) && !QDir::isAbsolutePath(relative))
            return visiblePath(relative);
    }
    return visiblePath(whole);
}

QStringList copiedFileNames(const ModelInstallation& installation)
{
    QStringList names;
    for (const CopiedModel& copy : installation.copied)
        names << visiblePath(copy.destination.filename());
    return names;
}

QStringList replacedCopies(const ModelInstallation& installation,
                           const std::filesystem::path& nolimitsDirectory)
{
    QStringList lines;
    for (const CopiedModel& copy : installation.copied)
        if (copy.replacedDifferent)
            lines << QStringLiteral("replaced %1, which differed")
                         .arg(pathInNolimits(copy.destination, nolimitsDirectory));
    return lines;
}

}  // namespace pw
