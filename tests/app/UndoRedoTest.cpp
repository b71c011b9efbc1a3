// Undo and redo through the window: the track and the model copies as they were, the unsaved mark
// following the saved state, and generating again over footers placed before.

#include "PlanWindowFixture.h"

#include "footers/PlacedFooters.h"
#include "qtbridge/QtPaths.h"
#include "tracklib/TrackFile.h"

#include <QAction>
#include <QUndoStack>
#include <QtTest>

namespace pw::test {

namespace {

QByteArray fileBytes(const QString& fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", qPrintable(fileName));
    return file.readAll();
}

}  // namespace

class UndoRedoTest : public QObject, private PlanWindowFixture {
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        QVERIFY(openExposed(false));
        h->window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(h->window.get()));
        h->click("buttonSelectInput", {demo});
        h->click("buttonSelectDirectory", {h->modelDirectory(allModelFiles)});
        copies = QDir(simulator->filePath(QStringLiteral("objects/demo")));
    }

    void cleanup() { close(); }

    void keysAreTheUsualOnes()
    {
        const auto* undo = h->window->findChild<QAction*>(QStringLiteral("actionUndo"));
        const auto* redo = h->window->findChild<QAction*>(QStringLiteral("actionRedo"));
        QVERIFY(undo && redo);
        QVERIFY(undo->shortcuts().contains(QKeySequence(Qt::CTRL | Qt::Key_Z)));
        QVERIFY(redo->shortcuts().contains(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)));
        QVERIFY(redo->shortcuts().contains(QKeySequence(Qt::CTRL | Qt::Key_Y)));
    }

    void undoGivesBackTheSavedBytesAndTheUnsavedMarkFollows()
    {
        const QByteArray input = fileBytes(demo);
        h->click("buttonGenerate");
        QVERIFY(h->window->isWindowModified());
        QCOMPARE(copies.entryList(QDir::Files).size(), 5);

        press(Qt::CTRL | Qt::Key_Z);
        QVERIFY(!h->window->isWindowModified());
        QCOMPARE(h->text("textNumberFooter"), QStringLiteral("21"));
        // The copies were new: they go with the step, and come back with it.
        QCOMPARE(copies.entryList(QDir::Files).size(), 0);
        press(Qt::CTRL | Qt::Key_Y);
        QVERIFY(h->window->isWindowModified());
        QCOMPARE(copies.entryList(QDir::Files).size(), 5);

        const QString generatedFile = h->dir.filePath(QStringLiteral("generated.nltrack"));
        h->click("buttonSave", {generatedFile});
        QVERIFY(!h->window->isWindowModified());
        const QByteArray generated = fileBytes(generatedFile);
        QVERIFY(generated != input);

        // Saved after the generate: undoing leads away from what was saved.
        press(Qt::CTRL | Qt::Key_Z);
        QVERIFY(h->window->isWindowModified());
        const QString undoneFile = h->dir.filePath(QStringLiteral("undone.nltrack"));
        h->click("buttonSave", {undoneFile});
        QCOMPARE(fileBytes(undoneFile), input);

        press(Qt::CTRL | Qt::SHIFT | Qt::Key_Z);
        const QString redoneFile = h->dir.filePath(QStringLiteral("redone.nltrack"));
        h->click("buttonSave", {redoneFile});
        QCOMPARE(fileBytes(redoneFile), generated);
        QVERIFY2(h->warnings.isEmpty(), qPrintable(h->warnings.join(QLatin1Char('\n'))));
    }

    void undoThatCannotRemoveACopySaysSo()
    {
        h->click("buttonGenerate");
        // A copy the user has since replaced by a file of the same name is theirs: left alone.
        QFile small(copies.filePath(QStringLiteral("fundament-small.3ds")));
        QVERIFY(small.open(QIODevice::WriteOnly | QIODevice::Truncate));
        small.write("changed since");
        small.close();
        press(Qt::CTRL | Qt::Key_Z);
        QVERIFY(!h->window->isWindowModified());
        QCOMPARE(h->warnings.size(), 1);
        QVERIFY2(h->warnings[0].startsWith(QStringLiteral("Undo\nThe track was changed, but these "
                                                          "files were left as they stood:\n")),
                 qPrintable(h->warnings[0]));
        QCOMPARE(fileBytes(small.fileName()), QByteArray("changed since"));
    }

    void generatingAgainAsksAboutTheEarlierFooters_data()
    {
        QTest::addColumn<QString>("pick");
        QTest::addColumn<int>("footers");
        QTest::addColumn<int>("steps");
        QTest::newRow("replace") << QStringLiteral("Replace the earlier footers") << 21 << 2;
        QTest::newRow("add") << QStringLiteral("Add") << 42 << 2;
        QTest::newRow("cancel") << QStringLiteral("Cancel") << 21 << 1;
    }

    void generatingAgainAsksAboutTheEarlierFooters()
    {
        QFETCH(QString, pick);
        QFETCH(int, footers);
        QFETCH(int, steps);
        h->get<QCheckBox>("deleteNativeFundaments")->setChecked(false);
        h->click("buttonGenerate");
        QVERIFY(h->questions.isEmpty());
        h->picks = QStringList{pick};
        h->click("buttonGenerate");
        QCOMPARE(h->questions,
                 QStringList{QStringLiteral(
                     "Generate footers\nThe track holds 21 footers placed by an earlier "
                     "generate.\nReplace them with the new footers, or add the new ones beside "
                     "them?")});
        const TrackSession& session = h->window->session();
        QCOMPARE(static_cast<int>(placedFooters(session.track()).size()), footers);
        QCOMPARE(session.undoStack().count(), steps);
        // Back past both generates, the track is the input's again.
        press(Qt::CTRL | Qt::Key_Z);
        press(Qt::CTRL | Qt::Key_Z);
        QCOMPARE(placedFooters(session.track()).size(), std::size_t{0});
        QVERIFY(!h->window->isWindowModified());
    }

private:
    void press(QKeyCombination keys)
    {
        QTest::keyClick(h->window.get(), keys.key(), keys.keyboardModifiers());
    }

    QDir copies;
};

PW_WINDOW_TEST(UndoRedoTest)

}  // namespace pw::test

#include "UndoRedoTest.moc"
