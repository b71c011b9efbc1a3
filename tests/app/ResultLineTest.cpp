// The main window's result line keeps its sentence whole and gives up the start of its path.

#include "WindowHarness.h"

#include "ResultLine.h"

#include <QFontMetrics>
#include <QtTest>

namespace pw::test {

class ResultLineTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void pathGivesWayByWholeDirectoriesFromItsStart()
    {
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPixelSize(12);
        const QFontMetrics metrics(font);
        const QString sentence = QStringLiteral("21 footers placed, 5 models copied to %1");
        const auto width = [&](const QString& path) {
            return metrics.horizontalAdvance(sentence.arg(path));
        };
        const QString unix = QStringLiteral("/home/ada/NoLimits 2/objects/demo");
        const QString windows = QStringLiteral("C:\\Games\\NoLimits 2\\objects\\demo");
        const QString ellipsis(QChar(0x2026));
        const struct {
            QString path;
            int width;
            QString shown;
        } rows[] = {
            {unix, width(unix), sentence.arg(unix)},
            {unix, width(unix) - 1, sentence.arg(ellipsis + "/ada/NoLimits 2/objects/demo")},
            {unix, width(ellipsis + "/NoLimits 2/objects/demo"),
             sentence.arg(ellipsis + "/NoLimits 2/objects/demo")},
            {unix, width(ellipsis + "/NoLimits 2/objects/demo") - 1,
             sentence.arg(ellipsis + "/objects/demo")},
            {unix, width(ellipsis + "/demo"), sentence.arg(ellipsis + "/demo")},
            {windows, width(ellipsis + "\\objects\\demo"),
             sentence.arg(ellipsis + "\\objects\\demo")},
            // Without a path, the line is cut at its end.
            {QString(), metrics.horizontalAdvance(QStringLiteral("Nothing generated: no")),
             metrics.elidedText(
                 QStringLiteral("Nothing generated: no model"), Qt::ElideRight,
                 metrics.horizontalAdvance(QStringLiteral("Nothing generated: no")))},
        };
        for (const auto& row : rows) {
            const QString text =
                row.path.isEmpty() ? QStringLiteral("Nothing generated: no model") : sentence;
            QCOMPARE(elidedSentence(text, row.path, metrics, row.width), row.shown);
        }
        // Narrower than "…/demo": the last characters, then the sentence itself gives way.
        const QString lastLetters =
            elidedSentence(sentence, unix, metrics, width(ellipsis + "/demo") - 1);
        QVERIFY2(lastLetters.startsWith(sentence.arg(ellipsis)) && lastLetters.endsWith("emo"),
                 qPrintable(lastLetters));
        for (int w = 0; w <= width(unix); w += 7)
            QVERIFY2(metrics.horizontalAdvance(elidedSentence(sentence, unix, metrics, w)) <= w,
                     qPrintable(QString::number(w)));
    }
};

PW_WINDOW_TEST(ResultLineTest)

}  // namespace pw::test

#include "ResultLineTest.moc"
