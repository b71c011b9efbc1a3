// Opening, reloading and failing to open a track; the files that arrive by argument or drop.

#include "IncomingTrackFile.h"
#include "WindowHarness.h"
#include "WindowTests.h"

#include "tests/support/TrackFixtures.h"

#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QUrl>
#include <QtTest>

namespace pw::test {

class TrackLoadingTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        clearStoredSettings();
        log = std::make_shared<PromptLog>();
        window = makeWindow(log);
        dir = std::make_unique<QTemporaryDir>();
        richFile = writeTrack(dir->filePath(QStringLiteral("my.coaster.nltrack")), makeRichTrack());
    }
    void cleanup() { window.reset(); }

    void openShowsTheTrackAndEnablesTheNextStage()
    {
        log->answers = {richFile};
        click(*window, "buttonSelectInput");

        QCOMPARE(log->calls.size(), std::size_t{1});
        QCOMPARE(log->calls[0].caption, QStringLiteral("Open NlTrack file"));
        QCOMPARE(log->calls[0].startDir, QStringLiteral("/"));  // first run: nolimitsDir
        QCOMPARE(log->calls[0].filter, QStringLiteral("NoLimits Coaster Files (*.nltrack)"));

        QCOMPARE(text("textNumberFooter"), QStringLiteral("4"));
        QCOMPARE(text("textInputFile"), richFile);
        QCOMPARE(text("textObjDir"), QStringLiteral("my"));  // up to the first dot
        QVERIFY(widget<QPushButton>(*window, "buttonReloadInput")->isEnabled());
        QVERIFY(widget<QPushButton>(*window, "buttonGenerate")->isEnabled());
        QVERIFY(widget<QLineEdit>(*window, "text3dsDir")->isEnabled());
        QVERIFY(widget<QPushButton>(*window, "buttonSelectDirectory")->isEnabled());
        QVERIFY(!widget<QPushButton>(*window, "buttonSelectRefresh")->isEnabled());
        QVERIFY(!widget<QPushButton>(*window, "buttonSave")->isEnabled());
        QVERIFY(!sizeClassBoxes(*window)[0].defaultModel->isEnabled());
        QVERIFY(log->warnings.isEmpty());

        // The next dialog starts where the track is; cancelling it changes nothing.
        click(*window, "buttonSelectInput");
        QCOMPARE(log->calls[1].startDir, QDir(dir->path()).absolutePath());
        QCOMPARE(text("textInputFile"), richFile);
        QCOMPARE(text("textNumberFooter"), QStringLiteral("4"));
    }

    void trackWithoutFundamentsShowsZero()
    {
        window->openTrackFile(richFile);
        const QString empty = writeTrack(dir->filePath(QStringLiteral("empty.nltrack")), makeNewTrack());
        window->openTrackFile(empty);
        QCOMPARE(text("textNumberFooter"), QStringLiteral("0"));
        QCOMPARE(text("textObjDir"), QStringLiteral("empty"));
    }

    void reloadRereadsTheOpenedFileNotTheTypedOne()
    {
        window->openTrackFile(richFile);
        const QString other = writeTrack(dir->filePath(QStringLiteral("other.nltrack")), makeNewTrack());
        widget<QLineEdit>(*window, "textInputFile")->setText(other);
        widget<QLineEdit>(*window, "textObjDir")->setText(QStringLiteral("typed"));
        writeTrack(richFile, makeNewTrack());

        click(*window, "buttonReloadInput");
        QCOMPARE(text("textNumberFooter"), QStringLiteral("0"));
        QCOMPARE(text("textInputFile"), richFile);
        QCOMPARE(text("textObjDir"), QStringLiteral("my"));
    }

    void fileThatCannotBeOpenedWarnsAndKeepsTheWindow()
    {
        const QString missing = dir->filePath(QStringLiteral("missing.nltrack"));
        log->answers = {missing};
        click(*window, "buttonSelectInput");
        QCOMPARE(log->warnings.size(), 1);
        QVERIFY(log->warnings[0].contains(QDir::toNativeSeparators(missing)));
        QVERIFY(!widget<QPushButton>(*window, "buttonReloadInput")->isEnabled());
        QVERIFY(!widget<QPushButton>(*window, "buttonGenerate")->isEnabled());
        QCOMPARE(text("textInputFile"), QString());

        window->openTrackFile(richFile);
        widget<QLineEdit>(*window, "textObjDir")->setText(QStringLiteral("typed"));
        window->openTrackFile(missing);
        QCOMPARE(log->warnings.size(), 2);
        QCOMPARE(text("textNumberFooter"), QStringLiteral("4"));
        QCOMPARE(text("textInputFile"), richFile);
        QCOMPARE(text("textObjDir"), QStringLiteral("typed"));

        // Reload still means the last file that did open; once it is gone the track stays.
        QVERIFY(QFile::remove(richFile));
        click(*window, "buttonReloadInput");
        QCOMPARE(log->warnings.size(), 3);
        QVERIFY(log->warnings[2].contains(QDir::toNativeSeparators(richFile)));
        QCOMPARE(text("textNumberFooter"), QStringLiteral("4"));
    }

    void firstArgumentThatIsAFileIsTheTrack()
    {
        const QString program = QStringLiteral("plinthwright");
        QCOMPARE(trackFileFromArguments({program, richFile}), richFile);
        QCOMPARE(trackFileFromArguments({program}), QString());
        QCOMPARE(trackFileFromArguments({program, dir->path()}), QString());
        QCOMPARE(trackFileFromArguments({program, QStringLiteral("-style")}), QString());
        QCOMPARE(trackFileFromArguments({program, dir->filePath(QStringLiteral("gone.nltrack"))}),
                 QString());

        const QString started = QDir::currentPath();
        QDir::setCurrent(dir->path());
        const QString relative = trackFileFromArguments({program, QStringLiteral("my.coaster.nltrack")});
        QDir::setCurrent(started);
        QCOMPARE(relative, richFile);
    }

    void droppedTrackFileIsOpened()
    {
        const QString notATrack = dir->filePath(QStringLiteral("notes.txt"));
        touchFiles(dir->path(), {QStringLiteral("notes.txt")});
        QCOMPARE(dropOnWindow(notATrack), false);
        QCOMPARE(text("textNumberFooter"), QStringLiteral("0"));

        QCOMPARE(dropOnWindow(richFile), true);
        QCOMPARE(text("textNumberFooter"), QStringLiteral("4"));
        QCOMPARE(text("textInputFile"), richFile);
    }

private:
    QString text(const char* name) const
    {
        if (auto* label = window->findChild<QLabel*>(QLatin1String(name)))
            return label->text();
        return widget<QLineEdit>(*window, name)->text();
    }

    // Whether the window accepted the drag; a drop follows when it did.
    bool dropOnWindow(const QString& fileName)
    {
        QMimeData mime;
        mime.setUrls({QUrl::fromLocalFile(fileName)});
        const QPoint at(10, 10);
        QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(window.get(), &enter);
        if (!enter.isAccepted())
            return false;
        QDropEvent drop(QPointF(at), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(window.get(), &drop);
        return drop.isAccepted();
    }

    std::shared_ptr<PromptLog> log;
    std::unique_ptr<frmMain> window;
    std::unique_ptr<QTemporaryDir> dir;
    QString richFile;
};

std::unique_ptr<QObject> makeTrackLoadingTest()
{
    return std::make_unique<TrackLoadingTest>();
}

}  // namespace pw::test

#include "TrackLoadingTest.moc"
