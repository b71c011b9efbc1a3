#pragma once
// The `dump` command: the whole track record as JSON on stdout.

#include <QString>
#include <QTextStream>

namespace pw {

int runDump(const QString& trackPath, QTextStream& out, QTextStream& err);

}  // namespace pw
