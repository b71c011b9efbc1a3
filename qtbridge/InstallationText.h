#pragma once
// How the front ends tell what an installation of footer models did: where they went, each file
// copied, and each copy that replaced a file of other content. Paths are shown as visiblePath
// shows them.

#include "footers/ModelInstallation.h"

#include <QString>
#include <QStringList>

#include <filesystem>

namespace pw {

// `path` relative to the NoLimits directory when it lies inside it ("objects/demo/fundament-
// small.3ds"), else whole; with the platform's separators.
QString pathInNolimits(const std::filesystem::path& path,
                       const std::filesystem::path& nolimitsDirectory);

// The copies' file names in class order: "fundament-small.3ds", ...
QStringList copiedFileNames(const ModelInstallation& installation);

// One per copy that replaced a different file: "replaced objects/demo/fundament-small.3ds, which
// differed".
QStringList replacedCopies(const ModelInstallation& installation,
                           const std::filesystem::path& nolimitsDirectory);

}  // namespace pw
