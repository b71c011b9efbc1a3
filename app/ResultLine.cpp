#include "ResultLine.h"

#include <QFontMetrics>
#include <QRegularExpression>

namespace pw {

QString elidedSentence(const QString& sentence, const QString& path, const QFontMetrics& metrics,
                       int width)
{
    const QString whole = path.isEmpty() ? sentence : sentence.arg(path);
    if (metrics.horizontalAdvance(whole) <= width)
        return whole;
    const QString ellipsis(QChar(0x2026));
    if (!path.isEmpty()) {
        const int room = width - metrics.horizontalAdvance(sentence.arg(QString()));
        // From the most directories kept to the fewest; each cut is at a separator.
        static const QRegularExpression separator(QStringLiteral("[/\\\\]"));
        for (qsizetype cut = path.indexOf(separator, 1); cut > 0;
             cut = path.indexOf(separator, cut + 1)) {
            const QString tail = ellipsis + path.mid(cut);
            if (cut + 1 < path.size() && metrics.horizontalAdvance(tail) <= room)
                return sentence.arg(tail);
        }
        const QString end = metrics.elidedText(path, Qt::ElideLeft, room);
        if (!end.isEmpty() && end != ellipsis)
            return sentence.arg(end);
    }
    return metrics.elidedText(whole, Qt::ElideRight, width);
}

}  // namespace pw

ResultLine::ResultLine(QWidget* parent) : QLabel(parent)
{
    // The path gives way, so the line never widens the window.
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    setTextFormat(Qt::PlainText);
    setTextInteractionFlags(Qt::TextSelectableByMouse);
}

void ResultLine::setResult(const QString& sentence, const QString& path, const QString& more)
{
    sentence_ = sentence;
    path_ = path;
    setToolTip(more.isEmpty() ? fullText() : fullText() + QLatin1Char('\n') + more);
    elide();
}

void ResultLine::resizeEvent(QResizeEvent* event)
{
    QLabel::resizeEvent(event);
    elide();
}

void ResultLine::elide()
{
    const int width = contentsRect().width();
    setText(pw::elidedSentence(sentence_, path_, fontMetrics(), width));
}
