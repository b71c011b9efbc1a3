#pragma once
// The `plan` command: the track seen from above, painted to an SVG or PNG file by the same code
// as the window's plan. With a models directory, every footer is the outline of its model.

#include <QString>
#include <QTextStream>

namespace pw {

// `modelsDirectory` may be empty: footers are then drawn as unit squares.
int runPlan(const QString& trackPath, const QString& outputPath, const QString& modelsDirectory,
            QTextStream& out, QTextStream& err);

}  // namespace pw
