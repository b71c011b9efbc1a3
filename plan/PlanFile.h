#pragma once
// A plan written to a picture file: SVG or PNG, chosen by the file name's extension.

#include "PlanError.h"
#include "PlanScene.h"
#include "tracklib/Result.h"

#include <QImage>
#include <QString>

namespace pw {

enum class PlanFileFormat { Svg, Png, Unknown };

PlanFileFormat planFileFormat(const QString& fileName);

// False in a build without Qt Svg (the Windows one): plans are then written as PNG only.
bool planSvgAvailable();

// Whether a plan can be written under that name in this build: .png, or .svg where Qt Svg is.
Result<void> checkPlanFileName(const QString& fileName);

// The scene fills 1000 pixels along its longer side, the legend sits on its right. On failure the
// file is left as it was.
Result<void> writePlanFile(const PlanScene& scene, const QString& fileName);

// A picture drawn elsewhere (the 3D view) written as PNG, whole or not at all.
Result<void> writePlanPicture(const QImage& picture, const QString& fileName);

}  // namespace pw
