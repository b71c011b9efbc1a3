#include "ModelChecks.h"

#include "models/ModelReading.h"
#include "models/ReaderProtocol.h"
#include "models/ThreeDsScreening.h"

#include <cmath>

namespace pw::hardening {

namespace {

bool withinReach(Vector3 v)
{
    return isFinite(v) && std::abs(v.x) <= modelReachMetres && std::abs(v.y) <= modelReachMetres &&
           std::abs(v.z) <= modelReachMetres;
}

Vector3 placed(const Placement& e, Vector3 p)
{
    return {e[0] * p.x + e[1] * p.y + e[2] * p.z + e[3],
            e[4] * p.x + e[5] * p.y + e[6] * p.z + e[7],
            e[8] * p.x + e[9] * p.y + e[10] * p.z + e[11]};
}

std::string checkMeshes(const std::vector<PlacedMesh>& meshes)
{
    std::size_t drawn = 0;
    for (const PlacedMesh& placedMesh : meshes) {
        const ModelMesh& mesh = placedMesh.mesh;
        if (mesh.normals.size() != mesh.positions.size())
            return "a normal count other than the position count";
        if (mesh.indices.size() % 3 != 0)
            return "a triangle without three corners";
        if (placedMesh.placements.empty())
            return "a mesh placed nowhere";
        drawn += mesh.positions.size() * placedMesh.placements.size();
        if (drawn > 3 * mostModelFaces)
            return "more positions than the bounds allow";
        for (const std::uint32_t i : mesh.indices)
            if (i >= mesh.positions.size())
                return "an index past the positions";
        for (const Placement& placement : placedMesh.placements)
            for (const Vector3 p : mesh.positions)
                if (!withinReach(placed(placement, p)))
                    return "a position beyond the model's reach";
        for (const Vector3 n : mesh.normals)
            if (!isFinite(n) || std::abs(length(n) - 1.0f) > 1e-3f)
                return "a normal that is not of unit length";
    }
    return "";
}

}  // namespace

std::string checkModelFootprint(std::span<const std::uint8_t> bytes)
{
    // The reader's whole path, its answer included, as the window and the command line take it.
    const std::vector<std::uint8_t> answer =
        encodeAnswer({ReaderOutcome::Read, modelFootprintOf(bytes)});
    if (answer.size() < readerAnswerHeaderBytes)
        return "an answer without its header";
    const std::span<const std::uint8_t> whole(answer);
    const std::optional<std::uint32_t> length =
        decodeAnswerHeader(whole.first<readerAnswerHeaderBytes>());
    if (!length || *length != answer.size() - readerAnswerHeaderBytes)
        return "an answer whose header is refused";
    const std::optional<ReaderAnswer> decoded =
        decodeAnswerBody(whole.subspan(readerAnswerHeaderBytes));
    if (!decoded)
        return "an answer that is refused";
    const ModelFootprint& footprint = decoded->footprint;
    if (footprint.readable != footprint.problem.empty())
        return "readable and a problem disagree";
    if (footprint.points.empty())
        return "no points";
    if (!footprint.readable)
        return footprint.points.size() == 4 && footprint.meshes.empty()
                   ? ""
                   : "an unreadable model that is not the unit square";
    if (footprint.points.size() > mostOutlinePoints)
        return "more outline points than a model keeps";
    for (const Vector3 p : footprint.points)
        if (!withinReach(p))
            return "a point beyond the model's reach";
    if (!withinReach(footprint.minimum) || !withinReach(footprint.maximum))
        return "bounds beyond the model's reach";
    return checkMeshes(footprint.meshes);
}

}  // namespace pw::hardening
