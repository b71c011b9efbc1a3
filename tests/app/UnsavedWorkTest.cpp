// Generated footers not yet saved are never thrown away without a word: every way of leaving
// them asks Save, Discard or Cancel first.

#include "WindowHarness.h"

#include <QtTest>

#include <functional>

namespace pw::test {

class UnsavedWorkTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        h.emplace();
        trackFile = h->writeTrack(QStringLiteral("mytrack.nltrack"), makeRichTrack());
        other = h->writeTrack(QStringLiteral("other.nltrack"), makeNewTrack());
        h->click("buttonSelectNLDirectory",
                 {simulator.path(), trackFile, h->modelDirectory(allModelFiles)});
        h->click("buttonSelectInput");
        h->click("buttonSelectDirectory");
        h->click("buttonGenerate");
        QCOMPARE(h->text("textNumberFooter"), QStringLiteral("2"));
        h->window->show();
        QVERIFY(QTest::qWaitForWindowActive(h->window.get()));
    }

    void cleanup() { h.reset(); }

    void everyWayOfLeavingAsksFirstAndCancelKeepsTheWork()
    {
        const QString question = QStringLiteral(
            "Plinthwright\nThe generated footers of mytrack.nltrack are not saved.\nDo you want "
            "to save the track?");
        const struct {
            const char* way;
            std::function<bool(WindowHarness&)> leave;  // whether the work was left
        } ways[] = {
            {"close", [](WindowHarness& w) { return w.window->close(); }},
            {"Ctrl+Q",
             [](WindowHarness& w) {
                 QTest::keyClick(w.window.get(), Qt::Key_Q, Qt::ControlModifier);
                 return !w.window->isVisible();
             }},
            {"reload",
             [](WindowHarness& w) {
                 w.click("buttonReloadInput");
                 return w.text("textNumberFooter") == QLatin1String("4");
             }},
            {"open",
             [this](WindowHarness& w) {
                 w.click("buttonSelectInput", {other});
                 return w.text("textInputFile") == other;
             }},
            {"typed",
             [this](WindowHarness& w) {
                 w.type("textInputFile", other);
                 return w.text("textInputFile") == other;
             }},
            {"dropped or passed",
             [this](WindowHarness& w) {
                 w.window->openTrackFile(other);
                 return w.text("textInputFile") == other;
             }},
        };
        for (const auto& way : ways) {
            const QByteArray name(way.way);
            h->questions.clear();
            QVERIFY2(!way.leave(*h), name);
            QCOMPARE(h->questions, QStringList{question});
            QCOMPARE(h->text("textNumberFooter"), QStringLiteral("2"));
            QCOMPARE(h->text("textInputFile"), trackFile);
            QVERIFY2(h->window->isVisible(), name);
            h->answers.clear();
        }
        // Discard goes on as if nothing had been generated.
        h->replies = {QMessageBox::Discard};
        h->click("buttonReloadInput");
        QCOMPARE(h->text("textNumberFooter"), QStringLiteral("4"));
        h->questions.clear();
        QVERIFY(h->window->close());
        QVERIFY(h->questions.isEmpty());
    }

    void saveAnswerSavesThroughTheDialogFirst()
    {
        // A cancelled save dialog keeps the work, as Cancel would.
        h->replies = {QMessageBox::Save};
        QVERIFY(!h->window->close());
        QCOMPARE(h->dialogs.back().section(QLatin1String(" | "), 0, 0),
                 QStringLiteral("Save NlTrack file"));

        const QString saved = h->dir.filePath(QStringLiteral("saved.nltrack"));
        h->replies = {QMessageBox::Save};
        h->click("buttonSelectInput", {other, saved});
        QVERIFY(QFileInfo::exists(saved));
        QCOMPARE(h->text("textInputFile"), other);
        QCOMPARE(h->questions.size(), 2);

        // Saved work, and a new track: nothing to ask.
        h->click("buttonReloadInput");
        QVERIFY(h->window->close());
        QCOMPARE(h->questions.size(), 2);
    }

    void ctrlOAndCtrlSOpenTheirDialogs()
    {
        QTest::keyClick(h->window.get(), Qt::Key_S, Qt::ControlModifier);
        QTest::keyClick(h->window.get(), Qt::Key_O, Qt::ControlModifier);
        const QString start = QDir(h->dir.path()).absolutePath();
        QCOMPARE(h->dialogs.mid(3),
                 (QStringList{
                     "Save NlTrack file | " + start + " | NoLimits Coaster Files (*.nltrack)",
                     "Open NlTrack file | " + start + " | NoLimits Coaster Files (*.nltrack)"}));
        QVERIFY(h->questions.isEmpty());  // both dialogs cancelled: nothing would be lost
    }

private:
    std::optional<WindowHarness> h;
    QTemporaryDir simulator;
    QString trackFile;
    QString other;
};

PW_WINDOW_TEST(UnsavedWorkTest)

}  // namespace pw::test

#include "UnsavedWorkTest.moc"
