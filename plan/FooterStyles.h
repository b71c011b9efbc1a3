#pragma once
// The style a footer is drawn in: the size class of the tube standing where the footer stands,
// so that a footer on the default model is coloured by the class it serves; else the class its
// own model file names; else the style of other models.

#include "PlanFooter.h"
#include "models/ModelFootprint.h"
#include "tracklib/Track.h"

#include <optional>
#include <string>
#include <vector>

namespace pw {

class FooterStyles {
public:
    explicit FooterStyles(const Track& track);

    int styleOf(Vector3 position, const std::string& modelFile) const;

private:
    std::optional<int> styleAt(Vector3 p) const;

    struct Entry {
        Vector3 position;
        int style;
    };
    std::vector<Entry> entries_;  // sorted by position
};

// What a tooltip says of the footer `object` stands for (all but its outline), or nothing when
// the object is no footer.
std::optional<PlanFooter> footerFacts(const SceneryObject& object, const FooterStyles& styles);

// The footprint a footer is drawn with: the installed copy by the stored path `modelPath` first
// when `installed`, else the model directory's `modelFile`, else the unit square.
const ModelFootprint& footprintFor(const std::string& modelFile, const std::string& modelPath,
                                   FootprintSources footprints, bool installed);

}  // namespace pw
