#include "OutputFile.h"

#include "ErrorReports.h"
#include "qtbridge/QtPaths.h"
#include "tracklib/AtomicFile.h"

namespace pw {

bool outputPathAccepted(const QString& path, QTextStream& err)
{
    const std::string problem = fileKindProblem(toFileSystemPath(path));
    if (problem.empty())
        return true;
    reportFailure(err, path, QString::fromStdString(problem));
    return false;
}

}  // namespace pw
