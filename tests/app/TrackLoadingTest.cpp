// Opening, reloading and failing to open a track; the files that arrive by argument or drop.

#include "IncomingTrackFile.h"
#include "WindowHarness.h"

#include <QDropEvent>
#include <QMimeData>
#include <QPushButton>
#include <QUrl>
#include <QtTest>

#include <utility>

#ifndef Q_OS_WIN
#include <sys/stat.h>
#endif

namespace pw::test {

class TrackLoadingTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        h.emplace();
        richFile = h->writeTrack(QStringLiteral("my.coaster.nltrack"), makeRichTrack());
    }

    void openShowsTheTrackAndEnablesTheNextStage()
    {
        h->click("buttonSelectInput", {richFile});
        QCOMPARE(h->dialogs, (QStringList{QStringLiteral(
                                 "Open NlTrack file | / | NoLimits Coaster Files (*.nltrack)")}));
        QCOMPARE(h->text("textNumberFooter"), QStringLiteral("4"));
        QCOMPARE(h->text("textInputFile"), richFile);
        QCOMPARE(h->text("textObjDir"), QStringLiteral("my"));  // up to the first dot
        QCOMPARE(h->focusChain(true),
                 (QStringList{"textInputFile", "buttonSelectInput", "buttonReloadInput",
                              "textObjDir", "text3dsDir", "buttonSelectDirectory", "buttonGenerate",
                              "buttonSelectNLDirectory", "deleteNativeFundaments",
                              "checkAlignTangent", "buttonShowPlan"}));
        QVERIFY(h->warnings.isEmpty());

        // The next dialog starts where the track is; cancelling it changes nothing.
        QCOMPARE(h->dialogStart("buttonSelectInput"), QDir(h->dir.path()).absolutePath());
        QCOMPARE(h->text("textInputFile"), richFile);
        QCOMPARE(h->text("textNumberFooter"), QStringLiteral("4"));
    }

    void reloadRereadsTheOpenedFileNotTheTypedOne()
    {
        h->window->openTrackFile(richFile);
        const QString other = h->writeTrack(QStringLiteral("other.nltrack"), makeRichTrack());
        h->get<QLineEdit>("textInputFile")->setText(other);
        h->get<QLineEdit>("textObjDir")->setText(QStringLiteral("typed"));
        h->writeTrack(QStringLiteral("my.coaster.nltrack"), makeNewTrack());

        h->click("buttonReloadInput");
        QCOMPARE(h->text("textNumberFooter"), QStringLiteral("0"));
        QCOMPARE(h->text("textInputFile"), richFile);
        QCOMPARE(h->text("textObjDir"), QStringLiteral("my"));
    }

    // A typed path is used as the dialog's answer would be, or refused with its warning.
    void typedPathIsUsedOrRefused()
    {
        h->type("textInputFile", richFile);
        QCOMPARE(h->text("textNumberFooter"), QStringLiteral("4"));
        QCOMPARE(h->text("textObjDir"), QStringLiteral("my"));
        const QString missing = h->dir.filePath(QStringLiteral("missing.nltrack"));
        h->type("textInputFile", missing);
        QCOMPARE(h->warnings.size(), 1);
        QVERIFY(h->warnings[0].startsWith(
            QStringLiteral("Open NlTrack file\nThe track file %1 could not be opened:\n")
                .arg(QDir::toNativeSeparators(missing))));
        QCOMPARE(h->text("textInputFile"), richFile);

        const QString models = h->modelDirectory({QStringLiteral("small.3ds")});
        h->type("text3dsDir", models);
        QCOMPARE(h->boxStates(), QStringLiteral("e+ d- d | d- d- d | d- d- d | d- d- d | d- d- d"));
        h->type("text3dsDir", richFile);
        QCOMPARE(h->warnings.size(), 2);
        QCOMPARE(h->warnings[1],
                 QStringLiteral("Select footer object directory\nThe footer object directory %1 "
                                "could not be used:\nit is not a directory")
                     .arg(QDir::toNativeSeparators(richFile)));
        QCOMPARE(h->text("text3dsDir"), models);
        QCOMPARE(h->window->session().modelDirectory(), models);
    }

    void fileThatCannotBeOpenedWarnsAndKeepsTheWindow()
    {
        const QString missing = h->dir.filePath(QStringLiteral("missing.nltrack"));
        const QString warning = QStringLiteral(
            "Open NlTrack file\nThe track file %1 could not be "
            "opened:\n");
        h->click("buttonSelectInput", {missing});
        QCOMPARE(h->warnings.size(), 1);
        QVERIFY(h->warnings[0].startsWith(warning.arg(QDir::toNativeSeparators(missing))));
        QCOMPARE(h->warnings[0].count(QDir::toNativeSeparators(missing)), 1);
        QCOMPARE(h->focusChain(true).size(), 5);  // as at the start
        QCOMPARE(h->text("textInputFile"), QString());

        h->window->openTrackFile(richFile);
        h->get<QLineEdit>("textObjDir")->setText(QStringLiteral("typed"));
        h->window->openTrackFile(missing);
        QCOMPARE(h->warnings.size(), 2);
        QCOMPARE(h->text("textNumberFooter"), QStringLiteral("4"));
        QCOMPARE(h->text("textInputFile"), richFile);
        QCOMPARE(h->text("textObjDir"), QStringLiteral("typed"));

        // A file of other bytes opens, but holds no track that could be saved over it.
        const QString notes = h->dir.filePath(QStringLiteral("notes.nltrack"));
        QFile notesFile(notes);
        QVERIFY(notesFile.open(QIODevice::WriteOnly));
        notesFile.write("Lift hill: 40 m, then the first drop.\n");
        notesFile.close();
        h->window->openTrackFile(notes);
        QCOMPARE(h->warnings.size(), 3);
        QCOMPARE(h->warnings[2], warning.arg(QDir::toNativeSeparators(notes)) +
                                     QStringLiteral("it holds no track data"));
        QCOMPARE(h->text("textNumberFooter"), QStringLiteral("4"));
        QCOMPARE(h->text("textInputFile"), richFile);

        // Reload still means the last file that did open; once it is gone the track stays.
        QVERIFY(QFile::remove(richFile));
        h->click("buttonReloadInput");
        QCOMPARE(h->warnings.size(), 4);
        QVERIFY(h->warnings[3].startsWith(warning.arg(QDir::toNativeSeparators(richFile))));
        QCOMPARE(h->text("textNumberFooter"), QStringLiteral("4"));
    }

    // As the command line says on generate: the track loads, with one warning naming what was
    // passed over.
    void damagedTrackLoadsWithOneWarning()
    {
        QFile file(richFile);
        QVERIFY(file.open(QIODevice::Append));
        file.write("JUNKJUNKJUNKJUNK");
        file.close();

        h->window->openTrackFile(richFile);
        QCOMPARE(
            h->warnings,
            (QStringList{QStringLiteral("Open NlTrack file\nThe track file %1 is damaged (16 "
                                        "bytes skipped; chunks cut short: 0).\nOnly what "
                                        "could be read is loaded, and only that will be saved.")
                             .arg(QDir::toNativeSeparators(richFile))}));
        QCOMPARE(h->text("textNumberFooter"), QStringLiteral("4"));
        QCOMPARE(h->text("textInputFile"), richFile);
        QVERIFY(h->get<QPushButton>("buttonGenerate")->isEnabled());

        h->window->openTrackFile(h->writeTrack(QStringLiteral("sound.nltrack"), makeRichTrack()));
        QCOMPARE(h->warnings.size(), 1);
    }

    void firstArgumentIsTheTrack()
    {
        const QString program = QStringLiteral("plinthwright");
        QCOMPARE(trackFileFromArguments({program, richFile}), richFile);
        QCOMPARE(trackFileFromArguments({program}), QString());
        QCOMPARE(trackFileFromArguments({program, QString()}), QString());
        QCOMPARE(trackFileFromArguments({program, QStringLiteral("-style")}), QString());
        // What cannot be opened is still the track asked for, so that opening it can say why.
        QCOMPARE(trackFileFromArguments({program, h->dir.path()}), h->dir.path());
        const QString gone = h->dir.filePath(QStringLiteral("gone.nltrack"));
        QCOMPARE(trackFileFromArguments({program, gone}), gone);

        const QString started = QDir::currentPath();
        QDir::setCurrent(h->dir.path());
        const QString relative =
            trackFileFromArguments({program, QStringLiteral("my.coaster.nltrack")});
        QDir::setCurrent(started);
        QCOMPARE(relative, richFile);
    }

    void firstArgumentThatCannotBeOpenedWarnsAsTheOpenDialogDoes()
    {
        touchFiles(h->dir.path(), {QStringLiteral("empty.nltrack")});
        const QString started = QDir::currentPath();
        QDir::setCurrent(h->dir.path());
        for (const char* const file : {"gone.nltrack", "empty.nltrack"}) {
            const QString name = QString::fromLatin1(file);
            const QString absolute = h->dir.filePath(name);
            h->warnings.clear();
            h->click("buttonSelectInput", {absolute});
            h->window->openTrackFile(trackFileFromArguments({QStringLiteral("pw"), name}));
            QCOMPARE(h->warnings.size(), 2);
            QCOMPARE(h->warnings[1], h->warnings[0]);
            QCOMPARE(h->warnings[0].count(QDir::toNativeSeparators(absolute)), 1);
        }
        QDir::setCurrent(started);
        QCOMPARE(
            h->warnings[0],
            QStringLiteral("Open NlTrack file\nThe track file %1 could not be "
                           "opened:\nit holds no track data")
                .arg(QDir::toNativeSeparators(h->dir.filePath(QStringLiteral("empty.nltrack")))));
        QCOMPARE(h->text("textInputFile"), QString());
        QVERIFY(!h->get("buttonGenerate")->isEnabled());
    }

#ifndef Q_OS_WIN
    // Reading a named pipe nobody writes to would freeze the window; a device is no track either.
    void namedPipeOrDeviceIsRefusedUnread()
    {
        const QString pipe = h->dir.filePath(QStringLiteral("pipe.nltrack"));
        QCOMPARE(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
        h->click("buttonSelectInput", {richFile});
        for (const auto& [file, reason] :
             {std::pair{pipe, "it is a named pipe, not a regular file"},
              std::pair{QStringLiteral("/dev/null"),
                        "it is a character device, not a regular file"}}) {
            h->warnings.clear();
            h->click("buttonSelectInput", {file});
            QCOMPARE(h->warnings,
                     (QStringList{QStringLiteral("Open NlTrack file\nThe track file %1 "
                                                 "could not be opened:\n%2")
                                      .arg(file, QString::fromLatin1(reason))}));
            QCOMPARE(h->text("textInputFile"), richFile);
        }
    }
#endif

    void droppedTrackFileIsOpened()
    {
        touchFiles(h->dir.path(), {QStringLiteral("notes.txt")});
        QCOMPARE(dropOnWindow(h->dir.filePath(QStringLiteral("notes.txt"))), false);
        QCOMPARE(h->text("textNumberFooter"), QStringLiteral("0"));

        QCOMPARE(dropOnWindow(richFile), true);
        QCOMPARE(h->text("textNumberFooter"), QStringLiteral("4"));
        QCOMPARE(h->text("textInputFile"), richFile);
    }

private:
    // Whether the window accepted the drag; a drop follows when it did.
    bool dropOnWindow(const QString& fileName)
    {
        QMimeData mime;
        mime.setUrls({QUrl::fromLocalFile(fileName)});
        QDragEnterEvent enter({10, 10}, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(h->window.get(), &enter);
        if (!enter.isAccepted())
            return false;
        QDropEvent drop({10, 10}, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(h->window.get(), &drop);
        return drop.isAccepted();
    }

    std::optional<WindowHarness> h;
    QString richFile;
};

PW_WINDOW_TEST(TrackLoadingTest)

}  // namespace pw::test

#include "TrackLoadingTest.moc"
