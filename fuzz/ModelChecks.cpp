#include "ModelChecks.h"

#include "models/ModelFootprint.h"
#include "models/ThreeDsScreening.h"

#include <cmath>

namespace pw::hardening {

namespace {

bool withinReach(Vector3 v)
{
    return isFinite(v) && std::abs(v.x) <= modelReachMetres && std::abs(v.y) <= modelReachMetres &&
           std::abs(v.z) <= modelReachMetres;
}

std::string checkMesh(const ModelMesh& mesh)
{
    if (mesh.normals.size() != mesh.positions.size())
        return "a normal count other than the position count";
    if (mesh.indices.size() % 3 != 0)
        return "a triangle without three corners";
    if (mesh.positions.size() > 3 * mostModelFaces + mostModelVertices)
        return "more positions than the bounds allow";
    for (const std::uint32_t i : mesh.indices)
        if (i >= mesh.positions.size())
            return "an index past the positions";
    for (const Vector3 p : mesh.positions)
        if (!withinReach(p))
            return "a position beyond the model's reach";
    for (const Vector3 n : mesh.normals)
        if (!isFinite(n) || std::abs(length(n) - 1.0f) > 1e-3f)
            return "a normal that is not of unit length";
    return "";
}

}  // namespace

std::string checkModelFootprint(std::span<const std::uint8_t> bytes)
{
    const ModelFootprint footprint = modelFootprintOf(bytes);
    if (footprint.readable != footprint.problem.empty())
        return "readable and a problem disagree";
    if (footprint.points.empty())
        return "no points";
    if (!footprint.readable)
        return footprint.points.size() == 4 && footprint.mesh.positions.empty()
                   ? ""
                   : "an unreadable model that is not the unit square";
    for (const Vector3 p : footprint.points)
        if (!withinReach(p))
            return "a point beyond the model's reach";
    if (!withinReach(footprint.minimum) || !withinReach(footprint.maximum))
        return "bounds beyond the model's reach";
    return checkMesh(footprint.mesh);
}

}  // namespace pw::hardening
