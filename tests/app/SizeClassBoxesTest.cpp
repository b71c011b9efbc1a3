// The footer model directory's inspection and the rule that ties each class's own-model box,
// default-model box and scale box together.

#include "WindowHarness.h"

#include <QtTest>

namespace pw::test {

namespace {

QString everyClass(const char* state)
{
    return QStringList(5, QString::fromLatin1(state)).join(QLatin1String(" | "));
}

}  // namespace

class SizeClassBoxesTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        h.emplace();
        h->window->openTrackFile(h->writeTrack(QStringLiteral("t.nltrack"), makeNewTrack()));
    }

    void checkBoxRule_data()
    {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QString>("clicks");  // o or d for the own or default box, then the class
        QTest::addColumn<QString>("states");  // as WindowHarness::boxStates
        const QStringList defaultOnly{"default.3ds"};
        const QString allOwn = QStringLiteral("o0 o1 o2 o3 o4");
        const QString allDefault = QStringLiteral("d0 d1 d2 d3 d4");
        QTest::newRow("default model only") << defaultOnly << "" << everyClass("d- e- d");
        QTest::newRow("default chosen") << defaultOnly << allDefault << everyClass("d- e+ e");
        // Without an own model, unchecking the default leaves the class with nothing.
        QTest::newRow("default chosen, then not")
            << defaultOnly << allDefault + ' ' + allDefault << everyClass("d- e- d");
        QTest::newRow("every model") << allModelFiles << "" << everyClass("e+ e- d");
        QTest::newRow("own unchecked") << allModelFiles << allOwn << everyClass("e- e+ e");
        QTest::newRow("default checked") << allModelFiles << allDefault << everyClass("e- e+ e");
        QTest::newRow("default unchecked")
            << allModelFiles << allOwn + ' ' + allDefault << everyClass("e+ e- d");
        QTest::newRow("one class moves alone") << allModelFiles << "o2"
                                               << "e+ e- d | e+ e- d | e- e+ e | e+ e- d | e+ e- d";
    }

    void checkBoxRule()
    {
        QFETCH(QStringList, files);
        QFETCH(QString, clicks);
        QFETCH(QString, states);
        h->click("buttonSelectDirectory", {h->modelDirectory(files)});
        const std::vector<SizeClassBoxes> boxes = h->boxes();
        for (const QString& c : clicks.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            const SizeClassBoxes& b = boxes.at(c.mid(1).toUInt());
            (c[0] == QLatin1Char('o') ? b.ownModel : b.defaultModel)->click();
        }
        QCOMPARE(h->boxStates(), states);
    }

    void refreshAndDirectoryChanges()
    {
        const QString models = h->modelDirectory({"small.3ds", "large.3ds"});
        h->click("buttonSelectDirectory", {models});
        QCOMPARE(h->dialogs.back(), QStringLiteral("Select footer object directory | / | "
                                                   "ShowDirsOnly|DontResolveSymlinks"));
        QCOMPARE(h->text("text3dsDir"), models);
        QVERIFY(h->get("buttonSelectRefresh")->isEnabled());
        QCOMPARE(h->boxStates(), QStringLiteral("e+ d- d | d- d- d | e+ d- d | d- d- d | d- d- d"));

        // Refresh rereads the chosen directory, not the typed one. The class that lost its model
        // gets no footer: no default model was ever found, so its default box stays unticked.
        h->get<QLineEdit>("text3dsDir")->setText(QStringLiteral("/typed"));
        QVERIFY(QFile::remove(models + QStringLiteral("/large.3ds")));
        touchFiles(models, {QStringLiteral("xxlarge.3ds")});
        h->click("buttonSelectRefresh");
        QCOMPARE(h->text("text3dsDir"), models);
        QCOMPARE(h->boxStates(), QStringLiteral("e+ d- d | d- d- d | d- d- d | d- d- d | e+ d- d"));

        // Once the default model was found, its boxes stay enabled in a directory without it,
        // and a class that loses its own model there falls back to it.
        h->click("buttonSelectDirectory", {h->modelDirectory({"default.3ds"})});
        QCOMPARE(h->boxStates(), QStringLiteral("d- e+ e | d- e- d | d- e- d | d- e- d | d- e+ e"));
        h->click("buttonSelectDirectory", {h->modelDirectory({"medium.3ds"})});
        QCOMPARE(h->boxStates(), QStringLiteral("d- e+ e | e+ e- d | d- e- d | d- e- d | d- e+ e"));
        h->click("buttonSelectDirectory", {h->modelDirectory({"large.3ds"})});
        QCOMPARE(h->boxStates(), QStringLiteral("d- e+ e | d- e+ e | e+ e- d | d- e- d | d- e+ e"));
    }

    void choicesFollowTheBoxesOfTheirOwnClass()
    {
        h->click("buttonSelectDirectory", {h->modelDirectory({"small.3ds", "default.3ds"})});
        const std::vector<SizeClassBoxes> b = h->boxes();
        b[0].scale->setValue(500);  // ignored: the own model keeps its size
        b[1].defaultModel->click();
        b[1].scale->setValue(80);
        b[3].defaultModel->click();
        b[3].scale->setValue(1000);
        b[4].defaultModel->click();
        b[4].scale->setValue(10);

        const FooterModelChoices choices = h->window->session().footerModelChoices();
        QCOMPARE(choices[0], (FooterModelChoice{true, "small.3ds", 1.0f}));
        QCOMPARE(choices[1], (FooterModelChoice{true, "default.3ds", 0.8f}));
        QCOMPARE(choices[2], (FooterModelChoice{false, "", 0.0f}));
        QCOMPARE(choices[3], (FooterModelChoice{true, "default.3ds", 10.0f}));
        QCOMPARE(choices[4], (FooterModelChoice{true, "default.3ds", 0.1f}));
    }

private:
    std::optional<WindowHarness> h;
};

PW_WINDOW_TEST(SizeClassBoxesTest)

}  // namespace pw::test

#include "SizeClassBoxesTest.moc"
