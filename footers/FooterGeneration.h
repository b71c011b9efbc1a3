#pragma once
// Places a footer model at the fundament end of every support tube of an enabled size class.

#include "FooterError.h"
#include "FooterModelChoice.h"
#include "ModelInstallation.h"
#include "ObjectDirectory.h"
#include "SupportChoice.h"
#include "geometry/Matrix4.h"
#include "geometry/Vector3.h"

#include <array>
#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

namespace pw {

struct SceneryObject;
struct Track;
class TubeEndTable;

// What a generation does with the footers placed before (PlacedFooters.h).
enum class EarlierFooters {
    Add,      // they stay, and the new ones join them: where one stood, two then stand
    Replace,  // those standing on a fundament go first (replaceableFooters), the others stay
};

struct GenerationOptions {
    FooterModelChoices choices;
    ObjectDirectory objectDirectory;
    std::filesystem::path modelSourceDirectory;  // where the chosen .3ds files are
    std::filesystem::path nolimitsDirectory;     // the simulator's installation directory
    bool replaceFundaments = true;               // "delete native fundaments"
    bool alignToTangent = true;                  // tilt along the tube instead of turning
    EarlierFooters earlierFooters = EarlierFooters::Add;
    SupportChoices supports;  // by fundament index; a support without a choice follows its class
};

struct GenerationReport {
    std::array<int, sizeClassCount> objectsAdded{};  // by the TubeSizeClass whose model it is
    int freeNodesAdded = 0;
    int fundamentsRemoved = 0;
    int earlierFootersRemoved = 0;  // replaced
    // Placed before and still in the track: all of them when adding; when replacing, those whose
    // fundament had been replaced by a free node.
    int earlierFootersKept = 0;
    int footersOfChosenModel = 0;    // placed with another class's model chosen for their support
    int footersLeftOut = 0;          // not placed: their support is to have none
    ModelInstallation installation;  // where the models went, each file copied
    int objectsAddedTotal() const;
    int filesCopied() const { return static_cast<int>(installation.copied.size()); }
};

// What generateFooters refuses before it opens any model, in this order: an object directory
// name that cannot be used, what checkModelsChosen refuses, a support choice naming a fundament
// the track lacks (SupportNotInTrack) or a class without a model (SupportModelNotChosen), and a
// track on which nothing would be placed (NothingToPlace: no tube of a class with a model stands
// on a fundament, or the choices for single supports leave out every one; when replacing with
// footers placed before that stand where no fundament is left, EarlierFootersNotOnFundaments).
Result<void> checkGeneration(const Track& track, const GenerationOptions& options);

// What a generation installs: checkGeneration's refusals first, then the chosen models, each
// opened once and checked as a 3ds model (openModelsToInstall).
Result<std::vector<ModelToInstall>> modelsToGenerateWith(const Track& track,
                                                         const GenerationOptions& options);

// The footers placed before that a generation with these options removes before it places
// anything (replaceableFooters when replacing, none when adding), by index, ascending; counted in
// `report` with those that stay.
std::vector<std::size_t> earlierFootersToRemove(const Track& track,
                                                const GenerationOptions& options,
                                                GenerationReport& report);

// Installs the chosen models, then, when replacing, removes the earlier footers that stand on a
// fundament, then walks the tubes and changes the track in place. Refuses, before anything is
// made or copied, what checkGeneration refuses, then the models openModelsToInstall refuses, and
// a target installFooterModels refuses. On any failure nothing of the track changes and the
// error says why. Models beyond our own reading are installed, and named in the report's
// warnings.
Result<GenerationReport> generateFooters(Track& track, const GenerationOptions& options);

// The walk alone: places the footers and replaces fundaments as generateFooters does, without
// checking the object directory name, installing any model or removing earlier footers. Adds to
// `report`'s counts (not the installation or the earlier footers). A preview runs it on a copy of
// the track, and may pass the tube ends of that track worked out beforehand (ignored when made
// for another tube count). Gives the fundaments it removed, by their indices before the walk,
// ascending.
std::vector<std::size_t> placeFooters(Track& track, const GenerationOptions& options,
                                      GenerationReport& report,
                                      const TubeEndTable* tubeEnds = nullptr);

// The footers generate would add to the track, in the order it would add them, leaving the
// track as it is: placeFooters on a copy. A generation replacing the earlier footers would also
// remove replaceableFooters(track). Throws std::bad_alloc where the copy does not fit.
std::vector<SceneryObject> footersGenerateWouldAdd(const Track& track,
                                                   const GenerationOptions& options,
                                                   const TubeEndTable* tubeEnds = nullptr);

// The fundament each footer generate would add stands on, by index, in the order
// footersGenerateWouldAdd gives the footers: the support a choice for a footer of the preview is
// about.
std::vector<std::int32_t> footerSupports(const Track& track, const GenerationOptions& options);

// Scale by s, then tilt along P-Q (alignToTangent) or turn about the vertical, then move to P.
Matrix4 footerPlacement(Vector3 p, Vector3 q, float fundamentAngle, float scale,
                        bool alignToTangent);

}  // namespace pw
