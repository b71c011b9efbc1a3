#pragma once
// Places a footer model at the fundament end of every support tube of an enabled size class.

#include "FooterError.h"
#include "FooterModelChoice.h"
#include "ModelInstallation.h"
#include "ObjectDirectory.h"
#include "geometry/Matrix4.h"
#include "geometry/Vector3.h"

#include <array>
#include <filesystem>
#include <string>
#include <vector>

namespace pw {

struct SceneryObject;
struct Track;
class TubeEndTable;

struct GenerationOptions {
    FooterModelChoices choices;
    ObjectDirectory objectDirectory;
    std::filesystem::path modelSourceDirectory;  // where the chosen .3ds files are
    std::filesystem::path nolimitsDirectory;     // the simulator's installation directory
    bool replaceFundaments = true;               // "delete native fundaments"
    bool alignToTangent = true;                  // tilt along the tube instead of turning
};

struct GenerationReport {
    std::array<int, sizeClassCount> objectsAdded{};  // by TubeSizeClass
    int freeNodesAdded = 0;
    int fundamentsRemoved = 0;
    ModelInstallation installation;  // where the models went, each file copied
    int objectsAddedTotal() const;
    int filesCopied() const { return static_cast<int>(installation.copied.size()); }
};

// Installs the chosen models, then walks the tubes and changes the track in place. Refuses,
// before anything is made or copied, in this order: an object directory name that cannot be
// used, what checkModelsChosen refuses, a track on which nothing would be placed
// (NothingToPlace: no tube of a class with a model stands on a fundament), the models
// openModelsToInstall refuses, and a target installFooterModels refuses. On any failure nothing of the track changes and the error
// says why. Models beyond our own reading are installed, and named in the report's warnings.
Result<GenerationReport> generateFooters(Track& track, const GenerationOptions& options);

// The walk alone: places the footers and replaces fundaments as generateFooters does, without
// checking the object directory name or installing any model. Adds to `report`'s counts (not the
// installation). A preview runs it on a copy of the track, and may pass the tube ends of that
// track worked out beforehand (ignored when made for another tube count).
void placeFooters(Track& track, const GenerationOptions& options, GenerationReport& report,
                  const TubeEndTable* tubeEnds = nullptr);

// The footers generate would add to the track, in the order it would add them, leaving the
// track as it is: placeFooters on a copy. Throws std::bad_alloc where the copy does not fit.
std::vector<SceneryObject> footersGenerateWouldAdd(const Track& track,
                                                   const GenerationOptions& options,
                                                   const TubeEndTable* tubeEnds = nullptr);

// Scale by s, then tilt along P-Q (alignToTangent) or turn about the vertical, then move to P.
Matrix4 footerPlacement(Vector3 p, Vector3 q, float fundamentAngle, float scale,
                        bool alignToTangent);

}  // namespace pw
