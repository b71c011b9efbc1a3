#pragma once
// The `plan` command: the track seen from above or from the front, painted to an SVG or PNG file
// by the same code as the window's plan. Every footer is the outline of its installed model (with
// a NoLimits directory) or of its model in a models directory, as the window draws them.

#include <QString>
#include <QTextStream>

namespace pw {

struct PlanArguments {
    QString trackPath;
    QString outputPath;         // already checked by runPlanCommand
    QString modelsDirectory;    // may be empty
    QString nolimitsDirectory;  // may be empty; footers without a model are unit squares
    bool front = false;
    bool threeD = false;  // the 3D view from its default camera, into a PNG
};

int runPlan(const PlanArguments& arguments, QTextStream& out, QTextStream& err);

}  // namespace pw
