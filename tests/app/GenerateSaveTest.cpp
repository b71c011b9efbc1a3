// The whole workflow through the window: open, inspect the models, generate, save; and the
// warnings when generating or saving fails.

#include "ApplicationNames.h"
#include "ResultLine.h"
#include "WindowHarness.h"

#include "qtbridge/QtPaths.h"
#include "testsupport/EndToEndChoices.h"
#include "testsupport/TestModels.h"
#include "tracklib/TrackFile.h"

#include <QSettings>
#include <QtTest>

#ifndef Q_OS_WIN
#include <sys/stat.h>
#endif

namespace pw::test {

namespace {

const QString couldNotGenerate =
    QStringLiteral("Generate footers\nThe footers could not be generated:\n");
const QString nothingToGenerate =
    QStringLiteral("Nothing to generate: %1.\nNo model was copied, and the track is unchanged.");

QByteArray bytesOf(const std::vector<std::uint8_t>& bytes)
{
    return QByteArray(reinterpret_cast<const char*>(bytes.data()),
                      static_cast<qsizetype>(bytes.size()));
}

Track readBack(const QString& fileName)
{
    Track track;
    if (!readTrackFile(toFileSystemPath(fileName), track))
        qFatal("cannot read %s", qPrintable(fileName));
    return track;
}

}  // namespace

class GenerateSaveTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        h.emplace();
        trackFile = h->writeTrack(QStringLiteral("mytrack.nltrack"), makeRichTrack());
        models = h->modelDirectory(allModelFiles);
    }

    void generatedFootersAreSaved()
    {
        QTemporaryDir simulator;
        prepare(simulator.path());
        // What the user typed over the proposed names is what the generation uses.
        const QString typedModels = h->modelDirectory(allModelFiles);
        const QByteArray typedModel = bytesOf(testModel("typed"));
        QFile typedSmall(typedModels + QStringLiteral("/small.3ds"));
        QVERIFY(typedSmall.open(QIODevice::WriteOnly));
        typedSmall.write(typedModel);
        typedSmall.close();
        h->get<QLineEdit>("textObjDir")->setText(QStringLiteral("park"));
        h->type("text3dsDir", typedModels);
        // Medium on the default model, and turned rather than tilted, so that every option the
        // window reads is visible in the result.
        h->boxes()[1].ownModel->click();
        h->boxes()[1].scale->setValue(150);
        h->get<QCheckBox>("checkAlignTangent")->click();

        h->click("buttonGenerate");
        QVERIFY2(h->warnings.isEmpty(), qPrintable(h->warnings.join(QLatin1Char('\n'))));
        QVERIFY(h->get("buttonSave")->isEnabled());

        // What the core makes of the same choices.
        Track expected = readBack(trackFile);
        const Result<GenerationReport> report = generateFooters(
            expected, endToEndChoices("park", toFileSystemPath(typedModels),
                                      toFileSystemPath(simulator.path())));
        QVERIFY(report.ok() && report->objectsAddedTotal() > 0 && report->fundamentsRemoved > 0);

        const auto fundaments = static_cast<int>(makeRichTrack().fundaments.size());
        QCOMPARE(h->text("textNumberFooter"),
                 QString::number(fundaments - report->fundamentsRemoved));
        for (const char* copied : {"fundament-small.3ds", "fundament-default.3ds"})
            QVERIFY(QFile::exists(
                simulator.filePath(QStringLiteral("objects/park/") + QLatin1String(copied))));
        QFile copiedSmall(simulator.filePath(QStringLiteral("objects/park/fundament-small.3ds")));
        QVERIFY(copiedSmall.open(QIODevice::ReadOnly));
        QCOMPARE(copiedSmall.readAll(), typedModel);
        QVERIFY(!QFile::exists(simulator.filePath(QStringLiteral("objects/mytrack"))));

        const QString saved = h->dir.filePath(QStringLiteral("saved.nltrack"));
        h->click("buttonSave", {saved});
        QCOMPARE(h->dialogs.back(),
                 QStringLiteral("Save NlTrack file | %1 | NoLimits Coaster Files (*.nltrack)")
                     .arg(QDir(h->dir.path()).absolutePath()));
        QVERIFY(h->warnings.isEmpty());
        QVERIFY(readBack(saved) == readBack(h->writeTrack(QStringLiteral("e.nltrack"), expected)));

        // A cancelled save does nothing; one that cannot be written warns with the file name.
        h->click("buttonSave");
        QVERIFY(h->warnings.isEmpty());
        const QString unreachable = h->dir.filePath(QStringLiteral("missing/out.nltrack"));
        h->click("buttonSave", {unreachable});
        QCOMPARE(h->warnings.size(), 1);
        QVERIFY(h->warnings[0].startsWith(
            QStringLiteral("Save NlTrack file\nThe track file %1 could not be saved:\n")
                .arg(QDir::toNativeSeparators(unreachable))));
        QCOMPARE(h->warnings[0].count(QDir::toNativeSeparators(unreachable)), 1);
        QVERIFY(!QFile::exists(unreachable));

        // Reload discards the footers; save stays available.
        h->click("buttonReloadInput");
        QCOMPARE(h->text("textNumberFooter"), QString::number(fundaments));
        QVERIFY(h->get("buttonSave")->isEnabled());
    }

    void failedGenerationWarnsOnceAndChangesNothing()
    {
        touchFiles(h->dir.path(), {QStringLiteral("not-a-directory")});
        prepare(h->dir.filePath(QStringLiteral("not-a-directory")));

        h->click("buttonGenerate");
        QCOMPARE(h->warnings.size(), 1);
        QVERIFY(h->warnings[0].startsWith(
            QStringLiteral("Generate footers\nThe footers could not be generated:\n")));
        QCOMPARE(h->text("textNumberFooter"), QStringLiteral("4"));
        QVERIFY(!h->get("buttonSave")->isEnabled());
    }

    // Nothing to copy, or a ticked model that is not there: generate says why and makes nothing.
    void generateThatWouldDoNothingIsRefused()
    {
        QTemporaryDir simulator;
        const QStringList largeAndDefault{QStringLiteral("large.3ds"),
                                          QStringLiteral("default.3ds")};
        const struct {
            std::vector<QStringList> modelDirectories;  // chosen one after the other
            QString reason;                             // %1: the last model directory
        } rows[] = {
            {{}, QStringLiteral("no footer model directory is chosen")},
            {{{}},
             QStringLiteral("Nothing to generate: the footer object directory %1 holds none of "
                            "the footer models (small.3ds, medium.3ds, large.3ds, xlarge.3ds, "
                            "xxlarge.3ds, default.3ds).\nNo model was copied, and the track is "
                            "unchanged.")},
            // Large lost its own model and fell back on a default model that is not here.
            {{largeAndDefault, {}},
             QStringLiteral("the chosen footer model \"%1/default.3ds\" is not there")},
        };
        for (const auto& row : rows) {
            h.emplace();
            h->click("buttonSelectNLDirectory", {simulator.path()});
            h->window->openTrackFile(h->writeTrack(QStringLiteral("t.nltrack"), makeRichTrack()));
            QString last;
            for (const QStringList& files : row.modelDirectories)
                h->click("buttonSelectDirectory", {last = h->modelDirectory(files)});
            h->click("buttonGenerate");
            const QString reason = last.isEmpty() ? row.reason : row.reason.arg(last);
            QCOMPARE(h->warnings,
                     QStringList{(reason.startsWith(QLatin1String("Nothing to generate"))
                                      ? QStringLiteral("Generate footers\n")
                                      : couldNotGenerate) +
                                 reason});
            QVERIFY(!h->get("buttonSave")->isEnabled());
            QVERIFY(!QFileInfo::exists(simulator.filePath(QStringLiteral("objects"))));
        }
    }

    // The core refuses these for both front ends; the window says why and makes nothing.
    void generateRefusesWhatTheCoreRefuses()
    {
        QTemporaryDir simulator;
        const QString textModels = h->modelDirectory({});
        QFile text(textModels + QStringLiteral("/small.3ds"));
        QVERIFY(text.open(QIODevice::WriteOnly) && text.write("a text file named small.3ds\n") > 0);
        text.close();
        Track noTubes = makeNewTrack();
        const struct {
            QString track;
            QString models;
            QString objectDirectory;  // as typed after opening; null keeps the proposed name
            QString reason;
        } rows[] = {
            {h->writeTrack(QStringLiteral("t.nltrack"), makeRichTrack()),
             textModels,
             {},
             QStringLiteral("Cannot use the footer model \"%1/small.3ds\": it is not a 3ds "
                            "model")
                 .arg(textModels)},
            {h->writeTrack(QStringLiteral("bare.nltrack"), noTubes),
             models,
             {},
             nothingToGenerate.arg(QStringLiteral(
                 "no support tube of a size class with a footer model stands on a fundament, so "
                 "not one footer would be placed (a fundament replaced by an earlier generate "
                 "has its footer already)"))},
            {h->writeTrack(QStringLiteral(".nltrack"), makeRichTrack()),
             models,
             {},
             QStringLiteral("no object directory name is given: the footer models go into a "
                            "directory of their own inside the simulator's objects directory")},
#ifndef Q_OS_WIN
            // A name from a file: shown, never acted on. Windows names hold no such characters.
            {h->writeTrack(QString::fromUtf8("x\x1b]0;PWNED\x07y.nltrack"), makeRichTrack()),
             models,
             {},
             QStringLiteral("Cannot use the object directory name \"x\\x1b]0;PWNED\\x07y\": "
                            "Windows cannot hold it, so the simulator would not find the models "
                            "there (no < > : \" | ? * or control characters, no dot or space at "
                            "the end, at most 255 characters, and not a device name such as CON, "
                            "NUL, COM1 or LPT1)")},
#endif
        };
        h->click("buttonSelectNLDirectory", {simulator.path()});
        for (const auto& row : rows) {
            h->window->openTrackFile(row.track);
            h->click("buttonSelectDirectory", {row.models});
            h->warnings.clear();
            h->click("buttonGenerate");
            const bool plain = row.reason.startsWith(QLatin1String("Nothing to generate"));
            QCOMPARE(h->warnings,
                     QStringList{(plain ? QStringLiteral("Generate footers\n") : couldNotGenerate) +
                                 row.reason});
            QVERIFY(!h->get("buttonSave")->isEnabled());
            QVERIFY(!QFileInfo::exists(simulator.filePath(QStringLiteral("objects"))));
            QVERIFY(!h->window->isWindowModified());
            QVERIFY(h->get<ResultLine>("labelResult")
                        ->fullText()
                        .startsWith(QLatin1String("Nothing generated: ")));
        }
    }

    // A model past our own reading is installed, and the window says so once it has generated.
    void modelBeyondOurReadingIsInstalledWithAWarning()
    {
        QTemporaryDir simulator;
        QFile large(models + QStringLiteral("/large.3ds"));
        QVERIFY(large.open(QIODevice::WriteOnly));
        large.write(bytesOf(paddedTestModel((std::size_t{16} << 20) + 1, 0)));
        large.close();
        prepare(simulator.path());
        h->click("buttonGenerate");
        QCOMPARE(h->warnings,
                 QStringList{QStringLiteral("Generate footers\nThe footers were generated, with a "
                                            "warning:\nthe footer model \"%1/large.3ds\" goes "
                                            "beyond what Plinthwright reads (larger than 16 MiB): "
                                            "it is installed all the same, and the plans draw its "
                                            "footers as 1 m squares")
                                 .arg(models)});
        QVERIFY(h->get("buttonSave")->isEnabled());
        QVERIFY(QFile::exists(simulator.filePath(QStringLiteral("objects/mytrack/fundament-large.3ds"))));
    }

    void saveAddsTheSuffixAndAsksBeforeReplacingThatName()
    {
        QTemporaryDir simulator;
        prepare(simulator.path());
        h->click("buttonGenerate");
        const QString typed = h->dir.filePath(QStringLiteral("my-demo"));
        const QString full = typed + QStringLiteral(".nltrack");
        h->click("buttonSave", {typed});
        QVERIFY(QFileInfo::exists(full));
        QVERIFY(!QFileInfo::exists(typed));
        QVERIFY(h->questions.isEmpty());

        touchFiles(h->dir.path(), {QStringLiteral("my-demo.nltrack")});
        h->click("buttonSave", {typed});  // not replaced
        QCOMPARE(h->questions,
                 QStringList{QStringLiteral("Save NlTrack file\n%1 already exists.\nDo you want "
                                            "to replace it?")
                                 .arg(QDir::toNativeSeparators(full))});
        QCOMPARE(QFileInfo(full).size(), qint64{18});
        h->replies = {QMessageBox::Yes};
        h->click("buttonSave", {typed});
        QVERIFY(QFileInfo(full).size() > 18);
    }

    // "../x" would put the models beside the objects directory, inside the simulator's own.
    void objectDirectoryOutsideObjectsIsRefusedBeforeAnythingIsCopied()
    {
        QTemporaryDir simulator;
        prepare(simulator.path());
        h->get<QLineEdit>("textObjDir")->setText(QStringLiteral("../x"));

        h->click("buttonGenerate");
        QCOMPARE(h->warnings,
                 (QStringList{QStringLiteral(
                     "Generate footers\nThe footers could not be generated:\nCannot use the object "
                     "directory name \"../x\": it must name one directory inside the simulator's "
                     "objects directory (no / or \\, and not . or ..)")}));
        QCOMPARE(h->text("textNumberFooter"), QStringLiteral("4"));
        QVERIFY(!h->get("buttonSave")->isEnabled());
        QVERIFY(!QFileInfo::exists(simulator.filePath(QStringLiteral("objects"))));
        QVERIFY(!QFileInfo::exists(simulator.filePath(QStringLiteral("x"))));
    }

#ifndef Q_OS_WIN
    void saveOntoANamedPipeWarnsAndLeavesIt()
    {
        QTemporaryDir simulator;
        prepare(simulator.path());
        h->click("buttonGenerate");
        QVERIFY(h->warnings.isEmpty());
        const QString pipe = h->dir.filePath(QStringLiteral("pipe.nltrack"));
        QCOMPARE(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);

        // Opening it to write would block until something reads it; it is refused unopened.
        h->click("buttonSave", {pipe});
        QCOMPARE(h->warnings.size(), 1);
        QVERIFY2(h->warnings[0].contains(QStringLiteral("it is a named pipe, not a regular file")),
                 qPrintable(h->warnings[0]));
        QVERIFY(QFileInfo(pipe).isFile() == false && QFileInfo::exists(pipe));
    }
#endif

    void firstGenerateAsksForTheNolimitsDirectory()
    {
        h->window->openTrackFile(trackFile);
        h->click("buttonSelectDirectory", {models});
        const QString askedFor =
            QStringLiteral("Select NoLimits directory | / | ShowDirsOnly|DontResolveSymlinks");
        // A name the track cannot store stops a generation before it writes anything, so a
        // generation that went ahead into "/" would show as a warning, not as files in the root.
        const QString unstorable = QStringLiteral("\u0422\u0440\u0435\u043a");
        h->get<QLineEdit>("textObjDir")->setText(unstorable);

        h->click("buttonGenerate");  // cancelled
        QCOMPARE(h->dialogs.size(), 2);
        QCOMPARE(h->dialogs.back(), askedFor);
        QVERIFY(h->warnings.isEmpty());
        QVERIFY(!h->get("buttonSave")->isEnabled());
        QCOMPARE(storedSettings().contains(QStringLiteral("frmMain/nolimitsDir")), false);

        QTemporaryDir simulator;
        h->get<QLineEdit>("textObjDir")->setText(QStringLiteral("mytrack"));
        h->click("buttonGenerate", {simulator.path()});
        QCOMPARE(h->dialogs.size(), 3);
        QCOMPARE(h->dialogs.back(), askedFor);
        QVERIFY2(h->warnings.isEmpty(), qPrintable(h->warnings.join(QLatin1Char('\n'))));
        QVERIFY(h->get("buttonSave")->isEnabled());
        QVERIFY(QFile::exists(
            simulator.filePath(QStringLiteral("objects/mytrack/fundament-small.3ds"))));
        QCOMPARE(storedSettings().value(QStringLiteral("frmMain/nolimitsDir")).toString(),
                 simulator.path());
        h->click("buttonGenerate");  // chosen now: no question
        QCOMPARE(h->dialogs.size(), 3);

        // The root chosen on purpose is used as chosen.
        storedSettings().setValue(QStringLiteral("frmMain/nolimitsDir"), QStringLiteral("/"));
        h->reopen();
        h->window->openTrackFile(trackFile);
        h->click("buttonSelectDirectory", {models});
        h->get<QLineEdit>("textObjDir")->setText(unstorable);
        h->click("buttonGenerate");
        QCOMPARE(h->dialogs.size(), 4);  // the model directory's only
        QCOMPARE(h->warnings.size(), 1);
        QVERIFY(h->warnings[0].contains(QStringLiteral("Cannot store the object directory name")));
    }

private:
    static QSettings storedSettings()
    {
        return QSettings(QSettings::defaultFormat(), QSettings::UserScope,
                         QString::fromLatin1(organisationName),
                         QString::fromLatin1(settingsApplicationName));
    }

    // Sets the simulator directory, opens the track and inspects the model directory.
    void prepare(const QString& simulatorDir)
    {
        h->click("buttonSelectNLDirectory", {simulatorDir, trackFile, models});
        h->click("buttonSelectInput");
        h->click("buttonSelectDirectory");
        QVERIFY(h->answers.empty());
    }

    std::optional<WindowHarness> h;
    QString trackFile;
    QString models;
};

PW_WINDOW_TEST(GenerateSaveTest)

}  // namespace pw::test

#include "GenerateSaveTest.moc"
