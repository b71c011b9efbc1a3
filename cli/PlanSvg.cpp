#include "PlanSvg.h"

#include "TrackLoading.h"
#include "footers/FooterModelChoice.h"
#include "footers/TubeEndPoints.h"
#include "footers/TrackCurve.h"
#include "geometry/CurveSegment.h"
#include "tracklib/Track.h"

#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <optional>
#include <string_view>
#include <vector>

namespace pw {

namespace {

constexpr float drawingSize = 1000.0f;  // pixels along the longer side of the track's extent
constexpr float margin = 20.0f;
constexpr float legendWidth = 220.0f;
constexpr int curveSamplesPerSegment = 32;
constexpr std::string_view footerMarker = "/fundament-";

struct PlanPoint {
    float x = 0.0f;
    float z = 0.0f;
};

using Polyline = std::vector<PlanPoint>;

struct FooterSquare {
    std::array<PlanPoint, 4> corners;
    std::string styleClass;
};

struct Style {
    const char* styleClass;
    const char* colour;
    const char* label;
};

constexpr std::array<Style, sizeClassCount> classStyles{{
    {"small", "#1f77b4", "small footer"},
    {"medium", "#2ca02c", "medium footer"},
    {"large", "#ff7f0e", "large footer"},
    {"xlarge", "#d62728", "x-large footer"},
    {"xxlarge", "#9467bd", "xx-large footer"},
}};
constexpr Style otherFooterStyle{"other", "#7f7f7f", "default or other model"};
constexpr const char* trackColour = "#000000";
constexpr const char* supportColour = "#8c564b";

bool isFinite(PlanPoint p) { return std::isfinite(p.x) && std::isfinite(p.z); }

PlanPoint fromVector(Vector3 v) { return {v.x, v.z}; }

std::vector<Polyline> curvePolylines(const Track& track)
{
    std::vector<Polyline> lines;
    for (int i = 0; i + 1 < static_cast<int>(track.vertices.size()); ++i) {
        if (!hasCurveSegment(i, track))
            continue;
        const CurveSegment segment = curveSegment(i, track);
        Polyline line;
        for (int k = 0; k <= curveSamplesPerSegment; ++k) {
            const float t = static_cast<float>(k) / curveSamplesPerSegment;
            line.push_back(fromVector(segment.pointAt(t)));
        }
        if (std::all_of(line.begin(), line.end(), isFinite))
            lines.push_back(std::move(line));
    }
    return lines;
}

std::vector<Polyline> supportLines(const Track& track)
{
    std::vector<Polyline> lines;
    // Rail connectors stand where the footer generation puts them: by arc-length fraction.
    TubeEndPoints endPoints(track);
    for (const Tube& tube : track.tubes) {
        const std::optional<Vector3> a = endPoints.pointOf(tube.endA);
        const std::optional<Vector3> b = endPoints.pointOf(tube.endB);
        if (a && b && isFinite(fromVector(*a)) && isFinite(fromVector(*b)))
            lines.push_back({fromVector(*a), fromVector(*b)});
    }
    return lines;
}

const Style& footerStyle(const std::string& modelPath)
{
    const std::string_view model =
        std::string_view(modelPath).substr(modelPath.rfind(footerMarker) + footerMarker.size());
    for (const TubeSizeClass sizeClass : allSizeClasses) {
        if (model == ownModelFile(sizeClass))
            return classStyles[static_cast<std::size_t>(sizeClass)];
    }
    return otherFooterStyle;
}

// The unit square around the model's origin, through the x-z part of its placement.
std::vector<FooterSquare> footerSquares(const Track& track)
{
    static constexpr std::array<PlanPoint, 4> unitCorners{
        {{-0.5f, -0.5f}, {0.5f, -0.5f}, {0.5f, 0.5f}, {-0.5f, 0.5f}}};
    std::vector<FooterSquare> squares;
    for (const SceneryObject& object : track.sceneryObjects) {
        if (object.textB.find(footerMarker) == std::string::npos)
            continue;
        const auto& e = object.matrix;
        FooterSquare square;
        for (std::size_t i = 0; i < unitCorners.size(); ++i) {
            const PlanPoint u = unitCorners[i];
            square.corners[i] = {e[0] * u.x + e[2] * u.z + e[3], e[8] * u.x + e[10] * u.z + e[11]};
        }
        square.styleClass = footerStyle(object.textB).styleClass;
        if (std::all_of(square.corners.begin(), square.corners.end(), isFinite))
            squares.push_back(std::move(square));
    }
    return squares;
}

// Maps track coordinates to pixels: the extent fills drawingSize along its longer side.
class PlanView {
public:
    explicit PlanView(const std::vector<PlanPoint>& points)
    {
        if (points.empty())
            return;
        minX_ = maxX_ = points.front().x;
        minZ_ = maxZ_ = points.front().z;
        for (const PlanPoint p : points) {
            minX_ = std::min(minX_, p.x);
            maxX_ = std::max(maxX_, p.x);
            minZ_ = std::min(minZ_, p.z);
            maxZ_ = std::max(maxZ_, p.z);
        }
        // A single point or a straight line still gets a sensible scale.
        scale_ = drawingSize / std::max({maxX_ - minX_, maxZ_ - minZ_, 1.0f});
    }

    PlanPoint toPixels(PlanPoint p) const
    {
        return {margin + (p.x - minX_) * scale_, margin + (p.z - minZ_) * scale_};
    }
    float width() const { return (maxX_ - minX_) * scale_ + 2 * margin; }
    float height() const { return (maxZ_ - minZ_) * scale_ + 2 * margin; }

private:
    float minX_ = 0.0f, maxX_ = 1.0f, minZ_ = 0.0f, maxZ_ = 1.0f;
    float scale_ = drawingSize;
};

std::string pixels(float value)
{
    std::array<char, 32> buffer{};
    const auto [end, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                            std::chars_format::fixed, 2);
    (void)error;  // every finite pixel coordinate here fits
    return std::string(buffer.data(), end);
}

std::string pointList(const PlanView& view, const auto& points)
{
    std::string text;
    for (const PlanPoint p : points) {
        const PlanPoint q = view.toPixels(p);
        if (!text.empty())
            text += ' ';
        text += pixels(q.x) + ',' + pixels(q.z);
    }
    return text;
}

// Latin-1 bytes as XML character data; bytes XML 1.0 cannot carry become '?'.
std::string xmlText(const std::string& latin1)
{
    std::string text;
    for (const char c : latin1) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '&') text += "&amp;";
        else if (c == '<') text += "&lt;";
        else if (c == '>') text += "&gt;";
        else if (byte < 0x20 && c != '\t' && c != '\n' && c != '\r') text += '?';
        else if (byte < 0x80) text += c;
        else {
            text += static_cast<char>(0xC0 | (byte >> 6));
            text += static_cast<char>(0x80 | (byte & 0x3F));
        }
    }
    return text;
}

std::string legend(float left)
{
    std::string svg = "<g class=\"legend\" font-family=\"sans-serif\" font-size=\"12\">\n";
    float y = margin;
    const auto entry = [&](const std::string& swatch, const char* label) {
        svg += "  " + swatch + "<text x=\"" + pixels(left + 24) + "\" y=\"" + pixels(y + 10) +
               "\">" + label + "</text>\n";
        y += 18;
    };
    const auto line = [&](const char* colour, const char* width) {
        return "<line x1=\"" + pixels(left) + "\" y1=\"" + pixels(y + 6) + "\" x2=\"" +
               pixels(left + 16) + "\" y2=\"" + pixels(y + 6) + "\" stroke=\"" + colour +
               "\" stroke-width=\"" + width + "\"/>";
    };
    const auto box = [&](const char* colour) {
        return "<rect x=\"" + pixels(left + 2) + "\" y=\"" + pixels(y) +
               "\" width=\"12\" height=\"12\" fill=\"" + colour +
               "\" fill-opacity=\"0.6\" stroke=\"" + colour + "\"/>";
    };
    entry(line(trackColour, "2"), "track");
    entry(line(supportColour, "1"), "support tube");
    for (const Style& style : classStyles)
        entry(box(style.colour), style.label);
    entry(box(otherFooterStyle.colour), otherFooterStyle.label);
    svg += "  <text x=\"" + pixels(left) + "\" y=\"" + pixels(y + 16) +
           "\">from above: x right, z down</text>\n";
    return svg + "</g>\n";
}

}  // namespace

std::string planSvg(const Track& track)
{
    const std::vector<Polyline> curve = curvePolylines(track);
    const std::vector<Polyline> supports = supportLines(track);
    const std::vector<FooterSquare> footers = footerSquares(track);

    std::vector<PlanPoint> all;
    for (const auto* lines : {&curve, &supports})
        for (const Polyline& line : *lines)
            all.insert(all.end(), line.begin(), line.end());
    for (const FooterSquare& square : footers)
        all.insert(all.end(), square.corners.begin(), square.corners.end());
    const PlanView view(all);

    const float width = view.width() + legendWidth;
    const float height = std::max(view.height(), 220.0f);
    std::string svg = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                      "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + pixels(width) +
                      "\" height=\"" + pixels(height) + "\" viewBox=\"0 0 " + pixels(width) +
                      ' ' + pixels(height) + "\">\n";
    svg += "<title>" + xmlText(track.infoText) + "</title>\n";
    svg += "<rect width=\"100%\" height=\"100%\" fill=\"#ffffff\"/>\n";
    svg += "<style>";
    for (const Style& style : classStyles)
        svg += std::string(".") + style.styleClass + "{fill:" + style.colour + ";stroke:" +
               style.colour + "}";
    svg += std::string(".") + otherFooterStyle.styleClass + "{fill:" + otherFooterStyle.colour +
           ";stroke:" + otherFooterStyle.colour + "}";
    svg += "</style>\n";

    svg += "<g class=\"track\" fill=\"none\" stroke=\"" + std::string(trackColour) +
           "\" stroke-width=\"2\">\n";
    for (const Polyline& line : curve)
        svg += "  <polyline points=\"" + pointList(view, line) + "\"/>\n";
    svg += "</g>\n<g class=\"supports\" stroke=\"" + std::string(supportColour) +
           "\" stroke-width=\"1\">\n";
    for (const Polyline& line : supports) {
        const PlanPoint a = view.toPixels(line[0]);
        const PlanPoint b = view.toPixels(line[1]);
        svg += "  <line x1=\"" + pixels(a.x) + "\" y1=\"" + pixels(a.z) + "\" x2=\"" +
               pixels(b.x) + "\" y2=\"" + pixels(b.z) + "\"/>\n";
    }
    svg += "</g>\n<g class=\"footers\" fill-opacity=\"0.6\">\n";
    for (const FooterSquare& square : footers)
        svg += "  <polygon class=\"footer " + square.styleClass + "\" points=\"" +
               pointList(view, square.corners) + "\"/>\n";
    svg += "</g>\n" + legend(view.width()) + "</svg>\n";
    return svg;
}

int runPlan(const QString& trackPath, const QString& outputPath, QTextStream& out,
            QTextStream& err)
{
    if (!outputPathAccepted(outputPath, err))
        return 1;
    const std::optional<OpenedTrack> loaded = loadTrack(trackPath, err);
    if (!loaded)
        return 1;
    const std::string svg = planSvg(loaded->track);
    // QSaveFile's own refusal of a read-only file names the file, which the report does already.
    const QFileInfo existing(outputPath);
    if (existing.exists() && !existing.isDir() && !existing.isWritable()) {
        reportFailure(err, outputPath, QStringLiteral("Permission denied"));
        return 1;
    }
    QSaveFile file(outputPath);
    if (!file.open(QIODevice::WriteOnly)) {
        reportFailure(err, outputPath, file.errorString());
        return 1;
    }
    file.write(svg.data(), static_cast<qint64>(svg.size()));
    if (!file.commit()) {
        reportFailure(err, outputPath, file.errorString());
        return 1;
    }
    out << QStringLiteral("Written: %1\n").arg(outputPath);
    return 0;
}

}  // namespace pw
