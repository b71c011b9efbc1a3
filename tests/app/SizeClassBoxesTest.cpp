// The footer model directory's inspection and the rule that ties each class's two boxes and its
// scale box together, for every size class.

#include "WindowHarness.h"
#include "WindowTests.h"

#include "tests/support/TrackFixtures.h"

#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

namespace pw::test {

namespace {

const QStringList ownModelFiles{"small.3ds", "medium.3ds", "large.3ds", "xlarge.3ds",
                                "xxlarge.3ds"};

}  // namespace

class SizeClassBoxesTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        clearStoredSettings();
        log = std::make_shared<PromptLog>();
        window = makeWindow(log);
        dir = std::make_unique<QTemporaryDir>();
        window->openTrackFile(writeTrack(dir->filePath(QStringLiteral("t.nltrack")), makeNewTrack()));
        boxes = sizeClassBoxes(*window);
    }
    void cleanup() { window.reset(); }

    void onlyDefaultModelOffersDefaultBoxes()
    {
        const QString models = modelDirectory({QStringLiteral("default.3ds")});
        log->answers = {models};
        click(*window, "buttonSelectDirectory");
        QCOMPARE(log->calls.back().caption, QStringLiteral("Select footer object directory"));
        QCOMPARE(log->calls.back().startDir, QStringLiteral("/"));
        QCOMPARE(log->calls.back().options,
                 QFileDialog::ShowDirsOnly | QFileDialog::DontResolveSymlinks);
        QCOMPARE(widget<QLineEdit>(*window, "text3dsDir")->text(), models);
        QVERIFY(widget<QPushButton>(*window, "buttonSelectRefresh")->isEnabled());

        for (const SizeClassBoxes& b : boxes) {
            QVERIFY(!b.ownModel->isEnabled() && !b.ownModel->isChecked());
            QVERIFY(b.defaultModel->isEnabled() && !b.defaultModel->isChecked());
            QVERIFY(!b.scale->isEnabled());
            b.defaultModel->click();
            QVERIFY(b.scale->isEnabled());
            // Without an own model, unchecking the default leaves the class with nothing.
            b.defaultModel->click();
            QVERIFY(!b.ownModel->isChecked() && !b.defaultModel->isChecked());
            QVERIFY(!b.scale->isEnabled());
        }
    }

    void ownAndDefaultBoxesTakeTurnsInEveryClass()
    {
        inspect(modelDirectory(ownModelFiles + QStringList{QStringLiteral("default.3ds")}));
        for (const SizeClassBoxes& b : boxes) {
            QVERIFY(b.ownModel->isEnabled() && b.ownModel->isChecked());
            QVERIFY(b.defaultModel->isEnabled() && !b.defaultModel->isChecked());
            QVERIFY(!b.scale->isEnabled());
        }
        for (std::size_t i = 0; i < boxes.size(); ++i) {
            boxes[i].ownModel->click();
            QVERIFY(!boxes[i].ownModel->isChecked() && boxes[i].defaultModel->isChecked());
            QVERIFY(boxes[i].scale->isEnabled());
            // Only this class moved.
            for (std::size_t j = i + 1; j < boxes.size(); ++j)
                QVERIFY(boxes[j].ownModel->isChecked() && !boxes[j].scale->isEnabled());

            boxes[i].defaultModel->click();
            QVERIFY(boxes[i].ownModel->isChecked() && !boxes[i].defaultModel->isChecked());
            QVERIFY(!boxes[i].scale->isEnabled());

            boxes[i].defaultModel->click();
            QVERIFY(!boxes[i].ownModel->isChecked() && boxes[i].scale->isEnabled());
        }
    }

    void losingAModelSwitchesItsClassToTheDefault()
    {
        inspect(modelDirectory({QStringLiteral("small.3ds"), QStringLiteral("large.3ds")}));
        QVERIFY(boxes[2].ownModel->isChecked());
        QVERIFY(!boxes[2].defaultModel->isEnabled());

        inspect(modelDirectory({QStringLiteral("small.3ds")}));
        QVERIFY(!boxes[2].ownModel->isEnabled() && !boxes[2].ownModel->isChecked());
        // The rule checks the default box even though it is disabled.
        QVERIFY(!boxes[2].defaultModel->isEnabled() && boxes[2].defaultModel->isChecked());
        QVERIFY(boxes[2].scale->isEnabled());
        QVERIFY(boxes[0].ownModel->isChecked() && !boxes[0].defaultModel->isChecked());
        QVERIFY(!boxes[1].defaultModel->isChecked());
    }

    void defaultBoxesStayEnabledOnceTheDefaultModelWasFound()
    {
        inspect(modelDirectory({QStringLiteral("default.3ds")}));
        inspect(modelDirectory({QStringLiteral("medium.3ds")}));
        for (const SizeClassBoxes& b : boxes)
            QVERIFY(b.defaultModel->isEnabled());
        QVERIFY(boxes[1].ownModel->isChecked());
    }

    void refreshRereadsTheChosenDirectory()
    {
        const QString models = modelDirectory({});
        inspect(models);
        QVERIFY(!boxes[4].ownModel->isEnabled());
        widget<QLineEdit>(*window, "text3dsDir")->setText(QStringLiteral("/typed"));
        touchFiles(models, {QStringLiteral("xxlarge.3ds")});

        click(*window, "buttonSelectRefresh");
        QCOMPARE(widget<QLineEdit>(*window, "text3dsDir")->text(), models);
        QVERIFY(boxes[4].ownModel->isEnabled() && boxes[4].ownModel->isChecked());
    }

    void choicesFollowTheBoxesOfTheirOwnClass()
    {
        inspect(modelDirectory({QStringLiteral("small.3ds"), QStringLiteral("default.3ds")}));
        boxes[0].scale->setValue(500);     // ignored: the own model keeps its size
        boxes[1].defaultModel->click();
        boxes[1].scale->setValue(80);
        boxes[3].defaultModel->click();
        boxes[3].scale->setValue(1000);
        boxes[4].defaultModel->click();
        boxes[4].scale->setValue(10);

        const FooterModelChoices choices = window->readFooterModelChoices();
        QCOMPARE(choices[0], (FooterModelChoice{true, "small.3ds", 1.0f}));
        QCOMPARE(choices[1], (FooterModelChoice{true, "default.3ds", 0.8f}));
        QCOMPARE(choices[2], (FooterModelChoice{false, "", 0.0f}));
        QCOMPARE(choices[3], (FooterModelChoice{true, "default.3ds", 10.0f}));
        QCOMPARE(choices[4], (FooterModelChoice{true, "default.3ds", 0.1f}));
    }

private:
    QString modelDirectory(const QStringList& files)
    {
        const QString path = dir->filePath(QStringLiteral("models%1").arg(++directories));
        QDir().mkpath(path);
        touchFiles(path, files);
        return path;
    }

    void inspect(const QString& models)
    {
        log->answers = {models};
        click(*window, "buttonSelectDirectory");
    }

    std::shared_ptr<PromptLog> log;
    std::unique_ptr<frmMain> window;
    std::unique_ptr<QTemporaryDir> dir;
    std::vector<SizeClassBoxes> boxes;
    int directories = 0;
};

std::unique_ptr<QObject> makeSizeClassBoxesTest()
{
    return std::make_unique<SizeClassBoxesTest>();
}

}  // namespace pw::test

#include "SizeClassBoxesTest.moc"
