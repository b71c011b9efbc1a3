#include "PlanFile.h"

#include "PlanPainter.h"
#include "qtbridge/QtPaths.h"
#include "tracklib/FileError.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QSaveFile>
#ifdef PLINTHWRIGHT_PLAN_SVG
#include <QSvgGenerator>
#endif

#include <algorithm>
#include <cmath>

namespace pw {

namespace {

constexpr double drawingSize = 1000.0;  // pixels along the longer side of the scene
constexpr double margin = 20.0;

struct Layout {
    QSize size;
    QRectF drawing;  // where the scene goes
    QPointF legend;
};

Layout layoutFor(const QRectF& bounds)
{
    const double longer = std::max({bounds.width(), bounds.height(), 1.0});
    const double width = std::max(bounds.width(), 1.0) * drawingSize / longer;
    const double height = std::max(bounds.height(), 1.0) * drawingSize / longer;
    const QSizeF legend = legendSize();
    Layout layout;
    layout.drawing = QRectF(margin, margin, width, height);
    layout.legend = QPointF(layout.drawing.right() + margin, margin);
    layout.size =
        QSize(static_cast<int>(std::ceil(layout.legend.x() + legend.width() + margin)),
              static_cast<int>(std::ceil(std::max(height, legend.height()) + 2 * margin)));
    return layout;
}

void paintAll(QPainter& painter, const PlanScene& scene, const Layout& layout)
{
    painter.fillRect(QRectF(QPointF(0, 0), QSizeF(layout.size)), Qt::white);
    PlanPainter planPainter;
    planPainter.paint(painter, scene, fitTransform(scene.bounds, layout.drawing),
                      QRectF(QPointF(0, 0), QSizeF(layout.size)));
    paintLegend(painter, layout.legend, scene.view, !scene.preview.empty());
}

CoreError saveFailure(const QString& fileName, std::error_code system, std::string detail)
{
    return CoreError{FileError::CannotSave, toFileSystemPath(fileName), system, {}, 0,
                     std::move(detail)};
}

Result<void> writeWhole(const QByteArray& bytes, const QString& fileName)
{
    // QSaveFile would replace a read-only file by renaming over it, or refuse it in words that
    // name the file again; the report names it once.
    const QFileInfo existing(fileName);
    if (existing.exists() && !existing.isDir() && !existing.isWritable())
        return saveFailure(fileName, std::make_error_code(std::errc::permission_denied), {});
    // Written whole or not at all: a failed write leaves the old file.
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return saveFailure(fileName, {}, file.errorString().toStdString());
    return {};
}

}  // namespace

PlanFileFormat planFileFormat(const QString& fileName)
{
    if (fileName.endsWith(QLatin1String(".svg"), Qt::CaseInsensitive))
        return PlanFileFormat::Svg;
    if (fileName.endsWith(QLatin1String(".png"), Qt::CaseInsensitive))
        return PlanFileFormat::Png;
    return PlanFileFormat::Unknown;
}

bool planSvgAvailable()
{
#ifdef PLINTHWRIGHT_PLAN_SVG
    return true;
#else
    return false;
#endif
}

Result<void> checkPlanFileName(const QString& fileName)
{
    const PlanFileFormat format = planFileFormat(fileName);
    if (format == PlanFileFormat::Unknown)
        return CoreError{PlanError::FormatUnknown, toFileSystemPath(fileName)};
    if (format == PlanFileFormat::Svg && !planSvgAvailable())
        return CoreError{PlanError::SvgUnavailable, toFileSystemPath(fileName)};
    return {};
}

Result<void> writePlanFile(const PlanScene& scene, const QString& fileName)
{
    if (Result<void> named = checkPlanFileName(fileName); !named.ok())
        return named;
    const PlanFileFormat format = planFileFormat(fileName);
    const Layout layout = layoutFor(scene.bounds);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (format == PlanFileFormat::Svg) {
#ifdef PLINTHWRIGHT_PLAN_SVG
        QSvgGenerator svg;
        svg.setOutputDevice(&buffer);
        svg.setSize(layout.size);
        svg.setViewBox(QRect(QPoint(0, 0), layout.size));
        // Browsers take 96 dots per inch: the picture shows at its size in pixels.
        svg.setResolution(96);
        // The generator writes the title as it is given, markup and all.
        svg.setTitle(scene.title.toHtmlEscaped());
        svg.setDescription(QStringLiteral("Plinthwright plan"));
        QPainter painter(&svg);
        paintAll(painter, scene, layout);
#endif
    } else {
        QImage image(layout.size, QImage::Format_RGB32);
        {
            QPainter painter(&image);
            paintAll(painter, scene, layout);
        }
        image.save(&buffer, "PNG");
    }
    buffer.close();
    return writeWhole(bytes, fileName);
}

Result<void> writePlanPicture(const QImage& picture, const QString& fileName)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!picture.save(&buffer, "PNG"))
        return saveFailure(fileName, {}, "the picture cannot be encoded as PNG");
    buffer.close();
    return writeWhole(bytes, fileName);
}

}  // namespace pw
