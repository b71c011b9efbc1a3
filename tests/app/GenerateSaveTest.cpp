// The whole workflow through the window: open, inspect the models, generate, save; and the
// warnings when generating or saving fails.

#include "WindowHarness.h"
#include "WindowTests.h"

#include "footers/FooterGeneration.h"
#include "footers/QtPaths.h"
#include "tests/support/TrackFixtures.h"
#include "tracklib/TrackFile.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

namespace pw::test {

namespace {

Track readBack(const QString& fileName)
{
    Track track;
    if (readTrackFile(toFileSystemPath(fileName), track) != 1)
        qFatal("cannot read %s", qPrintable(fileName));
    return track;
}

}  // namespace

class GenerateSaveTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        clearStoredSettings();
        log = std::make_shared<PromptLog>();
        window = makeWindow(log);
        dir = std::make_unique<QTemporaryDir>();
        simulator = std::make_unique<QTemporaryDir>();
        trackFile = writeTrack(dir->filePath(QStringLiteral("mytrack.nltrack")), makeRichTrack());
        models = dir->filePath(QStringLiteral("models"));
        QDir().mkpath(models);
        touchFiles(models, {"small.3ds", "medium.3ds", "large.3ds", "xlarge.3ds", "xxlarge.3ds",
                            "default.3ds"});
    }
    void cleanup() { window.reset(); }

    void generatedFootersAreSaved()
    {
        prepare(simulator->path());
        // Medium on the default model, and turned rather than tilted, so that every option the
        // window reads is visible in the result.
        sizeClassBoxes(*window)[1].ownModel->click();
        sizeClassBoxes(*window)[1].scale->setValue(150);
        widget<QCheckBox>(*window, "checkAlignTangent")->click();

        click(*window, "buttonGenerate");
        QVERIFY2(log->warnings.isEmpty(), qPrintable(log->warnings.join(QLatin1Char('\n'))));
        QVERIFY(widget<QPushButton>(*window, "buttonSave")->isEnabled());

        // What the core makes of the same choices.
        Track expected = readBack(trackFile);
        GenerationOptions options;
        for (const TubeSizeClass sizeClass : allSizeClasses)
            options.choices[static_cast<std::size_t>(sizeClass)] = makeFooterModelChoice(
                sizeClass, sizeClass != TubeSizeClass::Medium, sizeClass == TubeSizeClass::Medium,
                150);
        options.objectDirectoryText = "mytrack";
        options.objectDirectoryName = "mytrack";
        options.modelSourceDirectory = toFileSystemPath(models);
        options.nolimitsDirectory = toFileSystemPath(simulator->path());
        options.replaceFundaments = true;
        options.alignToTangent = false;
        const GenerationReport report = generateFooters(expected, options);
        QVERIFY(report.ok);
        QVERIFY(report.objectsAddedTotal() > 0);
        QVERIFY(report.fundamentsRemoved > 0);

        const auto fundaments = static_cast<int>(makeRichTrack().fundaments.size());
        QCOMPARE(label("textNumberFooter"), QString::number(fundaments - report.fundamentsRemoved));
        for (const char* copied : {"fundament-small.3ds", "fundament-default.3ds"})
            QVERIFY(QFile::exists(simulator->filePath(QStringLiteral("objects/mytrack/") +
                                                      QLatin1String(copied))));

        const QString saved = dir->filePath(QStringLiteral("saved.nltrack"));
        log->answers = {saved};
        click(*window, "buttonSave");
        const PromptCall& call = log->calls.back();
        QCOMPARE(call.caption, QStringLiteral("Save NlTrack file"));
        QCOMPARE(call.startDir, QDir(dir->path()).absolutePath());
        QCOMPARE(call.filter, QStringLiteral("NoLimits Coaster Files (*.nltrack)"));
        QVERIFY(log->warnings.isEmpty());

        const Track result = readBack(saved);
        QCOMPARE(result.fundaments.size(), expected.fundaments.size());
        QCOMPARE(result.freeNodes.size(), expected.freeNodes.size());
        QCOMPARE(result.sceneryObjects.size(), expected.sceneryObjects.size());
        QVERIFY(result.tubes == expected.tubes);
        QVERIFY(result.sceneryObjects == expected.sceneryObjects);
        QVERIFY(result == readBack(writeTrack(dir->filePath(QStringLiteral("e.nltrack")), expected)));

        // Reload discards the footers; save stays available.
        click(*window, "buttonReloadInput");
        QCOMPARE(label("textNumberFooter"), QString::number(fundaments));
        QVERIFY(widget<QPushButton>(*window, "buttonSave")->isEnabled());
    }

    void failedGenerationWarnsOnceAndChangesNothing()
    {
        touchFiles(dir->path(), {QStringLiteral("not-a-directory")});
        prepare(dir->filePath(QStringLiteral("not-a-directory")));

        click(*window, "buttonGenerate");
        QCOMPARE(log->warnings.size(), 1);
        QCOMPARE(label("textNumberFooter"), QStringLiteral("4"));
        QVERIFY(!widget<QPushButton>(*window, "buttonSave")->isEnabled());
    }

    void failedSaveWarnsWithTheFileName()
    {
        prepare(simulator->path());
        click(*window, "buttonGenerate");
        QVERIFY(log->warnings.isEmpty());

        click(*window, "buttonSave");  // cancelled
        QVERIFY(log->warnings.isEmpty());

        const QString unreachable = dir->filePath(QStringLiteral("missing/out.nltrack"));
        log->answers = {unreachable};
        click(*window, "buttonSave");
        QCOMPARE(log->warnings.size(), 1);
        QVERIFY(log->warnings[0].contains(QDir::toNativeSeparators(unreachable)));
        QVERIFY(!QFile::exists(unreachable));
    }

private:
    // Sets the simulator directory, opens the track and inspects the model directory.
    void prepare(const QString& simulatorDir)
    {
        log->answers = {simulatorDir, trackFile, models};
        click(*window, "buttonSelectNLDirectory");
        click(*window, "buttonSelectInput");
        click(*window, "buttonSelectDirectory");
        QVERIFY(log->answers.empty());
    }

    QString label(const char* name) const { return widget<QLabel>(*window, name)->text(); }

    std::shared_ptr<PromptLog> log;
    std::unique_ptr<frmMain> window;
    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<QTemporaryDir> simulator;
    QString trackFile;
    QString models;
};

std::unique_ptr<QObject> makeGenerateSaveTest()
{
    return std::make_unique<GenerateSaveTest>();
}

}  // namespace pw::test

#include "GenerateSaveTest.moc"
