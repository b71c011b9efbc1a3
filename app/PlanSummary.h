#pragma once
// The texts of the plan window's summary line.

#include "footers/FooterGeneration.h"
#include "models/ModelFootprints.h"
#include "tracklib/Track.h"

#include <QString>
#include <QStringList>

#include <filesystem>

namespace pw {

// "demo.nltrack — 21 fundaments, 20 tubes, 0 footers"
QString trackSummary(const QString& fileName, const Track& track);

// Per model file present in the directory: "small.3ds 0.60 × 0.60 × 0.60 m" (width, depth,
// height) or "default.3ds: not a 3ds model".
QString modelSummary(ModelFootprints& footprints);

// "Placed 21 footers (small 6, medium 5, …), replaced 21 fundaments, copied 5 models to DIR
// (fundament-small.3ds, …)", then ", replaced objects/demo/fundament-small.3ds, which differed"
// for each copy over a different file, and ", 21 footers doubled" when a footer now stands twice.
QString generateSummary(const GenerationReport& report, int doubled,
                        const std::filesystem::path& nolimitsDirectory);

// "NoLimits directory: DIR", or "not chosen" for an empty one.
QString nolimitsSummary(const QString& nolimitsDirectory);

}  // namespace pw
