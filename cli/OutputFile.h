#pragma once
// The file a command writes.

#include <QString>
#include <QTextStream>

namespace pw {

// Whether `path` may be written as an output file; when it exists and is not a regular file (a
// directory, a FIFO, a device), reports that and returns false, before any work is done.
bool outputPathAccepted(const QString& path, QTextStream& err);

}  // namespace pw
