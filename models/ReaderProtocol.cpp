#include "ReaderProtocol.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <utility>

namespace pw {

namespace {

constexpr char requestMagic[4] = {'P', 'W', 'M', 'Q'};
constexpr char answerMagic[4] = {'P', 'W', 'M', 'A'};

class Writer {
public:
    explicit Writer(std::vector<std::uint8_t>& out) : out_(out) {}

    void bytes(const char (&magic)[4]) { out_.insert(out_.end(), magic, magic + 4); }
    void u8(std::uint8_t value) { out_.push_back(value); }
    void u32(std::uint32_t value)
    {
        for (int shift = 0; shift < 32; shift += 8)
            out_.push_back(static_cast<std::uint8_t>(value >> shift));
    }
    void f32(float value) { u32(std::bit_cast<std::uint32_t>(value)); }
    void vector(Vector3 v)
    {
        f32(v.x);
        f32(v.y);
        f32(v.z);
    }
    void count(std::size_t n) { u32(static_cast<std::uint32_t>(n)); }
    void text(const std::string& value)
    {
        const std::size_t length = std::min(value.size(), mostAnswerTextBytes);
        count(length);
        out_.insert(out_.end(), value.begin(), value.begin() + static_cast<std::ptrdiff_t>(length));
    }

private:
    std::vector<std::uint8_t>& out_;
};

// Reads little-endian values and never past its bytes; the first failure sticks, and every read
// after it gives zero.
class Reader {
public:
    explicit Reader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    bool ok() const { return ok_; }
    bool atEnd() const { return ok_ && at_ == bytes_.size(); }
    std::size_t left() const { return bytes_.size() - at_; }
    void fail() { ok_ = false; }

    bool magic(const char (&expected)[4])
    {
        if (!take(4))
            return false;
        if (std::memcmp(bytes_.data() + at_ - 4, expected, 4) != 0)
            fail();
        return ok_;
    }
    std::uint8_t u8() { return take(1) ? bytes_[at_ - 1] : 0; }
    std::uint32_t u32()
    {
        if (!take(4))
            return 0;
        std::uint32_t value = 0;
        for (int i = 1; i <= 4; ++i)
            value = value << 8 | bytes_[at_ - static_cast<std::size_t>(i)];
        return value;
    }
    float f32()
    {
        const float value = std::bit_cast<float>(u32());
        if (!std::isfinite(value))
            fail();
        return value;
    }
    Vector3 vector()
    {
        const float x = f32(), y = f32(), z = f32();
        return {x, y, z};
    }
    // A count of items of `itemBytes` each, at most `most`, that the bytes left can hold.
    std::size_t count(std::size_t most, std::size_t itemBytes)
    {
        const std::uint32_t n = u32();
        if (n > most || n * itemBytes > left())
            fail();
        return ok_ ? n : 0;
    }
    std::string text()
    {
        const std::size_t length = count(mostAnswerTextBytes, 1);
        if (!take(length))
            return {};
        return {bytes_.begin() + static_cast<std::ptrdiff_t>(at_ - length),
                bytes_.begin() + static_cast<std::ptrdiff_t>(at_)};
    }

private:
    bool take(std::size_t n)
    {
        if (!ok_ || n > left()) {
            ok_ = false;
            return false;
        }
        at_ += n;
        return true;
    }

    std::span<const std::uint8_t> bytes_;
    std::size_t at_ = 0;
    bool ok_ = true;
};

bool withinReach(Vector3 v)
{
    return std::abs(v.x) <= modelReachMetres && std::abs(v.y) <= modelReachMetres &&
           std::abs(v.z) <= modelReachMetres;
}

// Whether an answer can hold the footprint as it is.
bool fitsAnAnswer(const ModelFootprint& footprint)
{
    std::size_t held = 0, drawn = 0, placements = 0;
    for (const PlacedMesh& placed : footprint.meshes) {
        held += placed.mesh.positions.size();
        drawn += placed.mesh.positions.size() * placed.placements.size();
        placements += placed.placements.size();
        if (placed.mesh.indices.size() > mostAnswerPositions ||
            placed.mesh.normals.size() != placed.mesh.positions.size())
            return false;
    }
    return footprint.points.size() <= mostOutlinePoints && held <= mostAnswerPositions &&
           drawn <= mostAnswerPositions && placements <= mostAnswerPlacements;
}

void writeFootprint(Writer& out, const ModelFootprint& footprint)
{
    out.u8(footprint.readable ? 1 : 0);
    out.text(footprint.problem);
    out.vector(footprint.minimum);
    out.vector(footprint.maximum);
    out.count(footprint.points.size());
    for (const Vector3 p : footprint.points)
        out.vector(p);
    out.count(footprint.meshes.size());
    for (const PlacedMesh& placed : footprint.meshes) {
        const ModelMesh& mesh = placed.mesh;
        out.count(mesh.positions.size());
        for (std::size_t i = 0; i < mesh.positions.size(); ++i) {
            out.vector(mesh.positions[i]);
            out.vector(mesh.normals[i]);
        }
        out.count(mesh.indices.size());
        for (const std::uint32_t index : mesh.indices)
            out.u32(index);
        out.count(placed.placements.size());
        for (const Placement& placement : placed.placements)
            for (const float value : placement)
                out.f32(value);
    }
    const std::size_t warnings = std::min(footprint.warnings.size(), mostAnswerWarnings);
    out.count(warnings);
    for (std::size_t w = 0; w < warnings; ++w)
        out.text(footprint.warnings[w]);
}

bool readMesh(Reader& in, PlacedMesh& placed, std::size_t& held, std::size_t& drawn,
              std::size_t& placements)
{
    ModelMesh& mesh = placed.mesh;
    const std::size_t positions = in.count(mostAnswerPositions - held, 24);
    mesh.positions.resize(positions);
    mesh.normals.resize(positions);
    for (std::size_t i = 0; i < positions && in.ok(); ++i) {
        mesh.positions[i] = in.vector();
        mesh.normals[i] = in.vector();
    }
    held += positions;
    const std::size_t indices = in.count(mostAnswerPositions, 4);
    mesh.indices.resize(indices);
    for (std::uint32_t& index : mesh.indices)
        if ((index = in.u32()) >= positions)
            in.fail();
    if (indices % 3 != 0)
        in.fail();
    const std::size_t count = in.count(mostAnswerPlacements - placements, 64);
    placed.placements.resize(count);
    for (Placement& placement : placed.placements) {
        for (float& value : placement)
            value = in.f32();
        if (placement[12] != 0 || placement[13] != 0 || placement[14] != 0 || placement[15] != 1)
            in.fail();
    }
    placements += count;
    drawn += positions * count;
    if (drawn > mostAnswerPositions)
        in.fail();
    return in.ok();
}

}  // namespace

std::array<std::uint8_t, readerRequestHeaderBytes> encodeRequestHeader(ReaderRequest request)
{
    std::vector<std::uint8_t> bytes;
    Writer out(bytes);
    out.bytes(requestMagic);
    out.u32(readerProtocolVersion);
    out.u32(request.processorSeconds);
    out.u32(request.fileBytes);
    std::array<std::uint8_t, readerRequestHeaderBytes> header{};
    std::copy(bytes.begin(), bytes.end(), header.begin());
    return header;
}

std::optional<ReaderRequest> decodeRequestHeader(
    std::span<const std::uint8_t, readerRequestHeaderBytes> header)
{
    Reader in(header);
    ReaderRequest request;
    const bool ours = in.magic(requestMagic) && in.u32() == readerProtocolVersion;
    request.processorSeconds = in.u32();
    request.fileBytes = in.u32();
    if (!ours || !in.atEnd() || request.fileBytes > largestModelFileBytes)
        return std::nullopt;
    return request;
}

std::vector<std::uint8_t> encodeAnswer(const ReaderAnswer& answer)
{
    std::vector<std::uint8_t> bytes;
    Writer out(bytes);
    out.bytes(answerMagic);
    out.u32(readerProtocolVersion);
    out.u32(0);  // the length, once known
    out.u8(static_cast<std::uint8_t>(answer.outcome));
    if (answer.outcome == ReaderOutcome::Read)
        writeFootprint(out, fitsAnAnswer(answer.footprint)
                                ? answer.footprint
                                : unitSquareFootprint(CoreError(ModelError::AnswerTooLarge)));
    const auto length = static_cast<std::uint32_t>(bytes.size() - readerAnswerHeaderBytes);
    for (int i = 0; i < 4; ++i)
        bytes[8 + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(length >> (8 * i));
    return bytes;
}

std::optional<std::uint32_t> decodeAnswerHeader(
    std::span<const std::uint8_t, readerAnswerHeaderBytes> header)
{
    Reader in(header);
    const bool ours = in.magic(answerMagic) && in.u32() == readerProtocolVersion;
    const std::uint32_t length = in.u32();
    if (!ours || !in.atEnd() || length > largestReaderAnswerBytes - readerAnswerHeaderBytes)
        return std::nullopt;
    return length;
}

std::optional<ReaderAnswer> decodeAnswerBody(std::span<const std::uint8_t> body)
{
    Reader in(body);
    ReaderAnswer answer;
    const std::uint8_t outcome = in.u8();
    if (outcome == static_cast<std::uint8_t>(ReaderOutcome::OutOfMemory) && in.atEnd()) {
        answer.outcome = ReaderOutcome::OutOfMemory;
        return answer;
    }
    if (outcome != static_cast<std::uint8_t>(ReaderOutcome::Read))
        return std::nullopt;

    ModelFootprint& footprint = answer.footprint;
    const std::uint8_t readable = in.u8();
    footprint.readable = readable == 1;
    footprint.problem = in.text();
    footprint.minimum = in.vector();
    footprint.maximum = in.vector();
    footprint.points.resize(in.count(mostOutlinePoints, 12));
    for (Vector3& p : footprint.points)
        if (!withinReach(p = in.vector()))
            in.fail();
    footprint.meshes.resize(in.count(mostAnswerPlacements, 12));
    std::size_t held = 0, drawn = 0, placements = 0;
    for (PlacedMesh& placed : footprint.meshes)
        if (!readMesh(in, placed, held, drawn, placements))
            break;
    footprint.warnings.resize(in.count(mostAnswerWarnings, 4));
    for (std::string& warning : footprint.warnings)
        warning = in.text();
    if (!in.atEnd() || readable > 1 || footprint.readable != footprint.problem.empty() ||
        !withinReach(footprint.minimum) || !withinReach(footprint.maximum) ||
        (footprint.readable && footprint.points.empty()))
        return std::nullopt;
    if (!footprint.readable)
        footprint = unitSquareFootprint(
            CoreError(ModelError::ReaderSaid, {}, {}, {}, 0, std::move(footprint.problem)));
    return answer;
}

}  // namespace pw
