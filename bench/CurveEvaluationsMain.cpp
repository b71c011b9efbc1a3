// bench_curve_evaluations <track name>...: runs the footer generation (fundaments replaced,
// aligned) on each synthetic track and counts the curve work it does for rail-connector footers.
//
// The generation is linked with the linker's symbol wrapping (see CMakeLists.txt): every call
// from outside geometry to the CurveSegment constructor and to pointAtLengthFraction passes a
// counter on its way. A segment's construction walks its whole length once, 4058 pointAt
// evaluations (the start point and the end of each of 4057 steps); a lookup after that is one.

#include "FooterRunSetup.h"
#include "MetricLine.h"
#include "SyntheticTrack.h"

#include "footers/FooterGeneration.h"
#include "footers/FooterModelChoice.h"
#include "geometry/CurveSegment.h"
#include "tracklib/Track.h"

#include <cstdint>
#include <cstdio>
#include <string>

namespace {

std::int64_t constructions = 0;
std::int64_t lookups = 0;

constexpr double evaluationsPerConstruction = 4058.0;
constexpr double evaluationsPerLookup = 1.0;
// The yardstick: the literal lookup's length walk alone, two evaluations for each of its 4057
// steps (its search walks again on top of that).
constexpr double literalEvaluationsPerLookup = 8114.0;

}  // namespace

// The wrapped symbols: pw::CurveSegment::CurveSegment(Vector3, Vector3, Vector3, Vector3) and
// pw::CurveSegment::pointAtLengthFraction(float) const, in the Itanium C++ ABI, where `this`
// comes first. The linker sends outside calls of each to "__wrap_" + its name and the original
// answers to "__real_" + its name.
void realConstruct(pw::CurveSegment* self, pw::Vector3 p0, pw::Vector3 p1, pw::Vector3 p2,
                   pw::Vector3 p3) __asm__("__real__ZN2pw12CurveSegmentC1ENS_7Vector3ES1_S1_S1_");
pw::Vector3 realLookup(const pw::CurveSegment* self,
                       float f) __asm__("__real__ZNK2pw12CurveSegment21pointAtLengthFractionEf");
void countedConstruct(
    pw::CurveSegment* self, pw::Vector3 p0, pw::Vector3 p1, pw::Vector3 p2,
    pw::Vector3 p3) __asm__("__wrap__ZN2pw12CurveSegmentC1ENS_7Vector3ES1_S1_S1_");
pw::Vector3 countedLookup(const pw::CurveSegment* self,
                          float f) __asm__("__wrap__ZNK2pw12CurveSegment21pointAtLengthFractionEf");

void countedConstruct(pw::CurveSegment* self, pw::Vector3 p0, pw::Vector3 p1, pw::Vector3 p2,
                      pw::Vector3 p3)
{
    ++constructions;
    realConstruct(self, p0, p1, p2, p3);
}

pw::Vector3 countedLookup(const pw::CurveSegment* self, float f)
{
    ++lookups;
    return realLookup(self, f);
}

namespace {

using namespace pw;
using namespace pw::bench;

// Rail-connector tubes that get a footer: a fundament at one end, a connector at the other,
// a size code of an enabled class.
int railConnectorFooters(const Track& track, const GenerationOptions& options)
{
    int footers = 0;
    for (const Tube& tube : track.tubes) {
        const bool railA = tube.endA.kind == TubeEndRailConnector;
        const bool railB = tube.endB.kind == TubeEndRailConnector;
        const bool footA = tube.endA.kind == TubeEndFundament;
        const bool footB = tube.endB.kind == TubeEndFundament;
        const auto sizeClass = sizeClassOfCode(tube.sizeClass);
        if (((footA && railB) || (footB && railA)) && sizeClass &&
            options.choices[static_cast<std::size_t>(*sizeClass)].enabled)
            ++footers;
    }
    return footers;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_curve_evaluations <track name>...\n");
        return 2;
    }
    const GenerationOptions options = footerOptions(scratchDirectory());
    for (int a = 1; a < argc; ++a) {
        const SyntheticTrackSize size = trackSizeNamed(argv[a]);
        if (size.name.empty()) {
            std::fprintf(stderr, "no track named %s\n", argv[a]);
            return 2;
        }
        Track track = makeSyntheticTrack(size);
        const int footers = railConnectorFooters(track, options);

        constructions = 0;
        lookups = 0;
        const Result<GenerationReport> report = generateFooters(track, options);
        if (!report.ok()) {
            std::fprintf(stderr, "generation failed: %s\n", errorText(report.error()).c_str());
            return 1;
        }
        if (footers > 0 && lookups == 0) {
            // No call reached the wrappers: the names wrapped in CMakeLists.txt no longer match.
            std::fprintf(stderr, "no curve lookup was counted; the figures would read as free\n");
            return 1;
        }
        const double evaluations =
            constructions * evaluationsPerConstruction + lookups * evaluationsPerLookup;
        const double perFooter = footers > 0 ? evaluations / footers : 0.0;
        printMetric(size.name, "rail_footers", footers);
        printMetric(size.name, "segments_built", static_cast<double>(constructions));
        printMetric(size.name, "arc_lookups", static_cast<double>(lookups));
        printMetric(size.name, "evaluations_per_rail_footer", perFooter);
        printMetric(size.name, "evaluations_vs_literal", perFooter / literalEvaluationsPerLookup);
    }
    return 0;
}
