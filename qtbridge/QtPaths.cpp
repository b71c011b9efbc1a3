#include "QtPaths.h"

#include <QByteArray>
#include <QFile>

namespace pw {

std::string toAsciiPath(const QString& text) { return text.toLatin1().toStdString(); }

// Windows paths are UTF-16 natively; elsewhere the file system takes the bytes Qt would use.
std::filesystem::path toFileSystemPath(const QString& text)
{
#ifdef _WIN32
    return std::filesystem::path(text.toStdWString());
#else
    return std::filesystem::path(QFile::encodeName(text).toStdString());
#endif
}

QString fromFileSystemPath(const std::filesystem::path& path)
{
#ifdef _WIN32
    return QString::fromStdWString(path.native());
#else
    return QFile::decodeName(QByteArray::fromStdString(path.native()));
#endif
}

}  // namespace pw
