// The simulator directory: "/" on a first run, remembered across window lifetimes under the
// settings store's own application key.

#include "ApplicationNames.h"
#include "WindowHarness.h"
#include "WindowTests.h"

#include "tests/support/TrackFixtures.h"

#include <QSettings>
#include <QtTest>

namespace pw::test {

class SettingsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { clearStoredSettings(); }

    void chosenSimulatorDirectoryOutlivesTheWindow()
    {
        QTemporaryDir simulator;
        {
            auto log = std::make_shared<PromptLog>();
            const auto window = makeWindow(log);
            QCOMPARE(openDialogStart(*window, *log), QStringLiteral("/"));

            log->answers = {simulator.path()};
            click(*window, "buttonSelectNLDirectory");
            const PromptCall& call = log->calls.back();
            QCOMPARE(call.caption, QStringLiteral("Select noLimits directory"));
            QCOMPARE(call.startDir, QStringLiteral("/"));
            QCOMPARE(call.options, QFileDialog::ShowDirsOnly | QFileDialog::DontResolveSymlinks);
            QCOMPARE(openDialogStart(*window, *log), simulator.path());
        }
        QSettings store(QString::fromLatin1(organisationName),
                        QString::fromLatin1(settingsApplicationName));
        QCOMPARE(store.value(QStringLiteral("frmMain/nolimitsDir")).toString(), simulator.path());
        QSettings appNamed(QString::fromLatin1(organisationName),
                           QString::fromLatin1(applicationName));
        QVERIFY(appNamed.allKeys().isEmpty());

        auto log = std::make_shared<PromptLog>();
        const auto window = makeWindow(log);
        QCOMPARE(openDialogStart(*window, *log), simulator.path());
        QTemporaryDir tracks;
        window->openTrackFile(writeTrack(tracks.filePath(QStringLiteral("t.nltrack")), makeNewTrack()));
        QCOMPARE(modelDialogStart(*window, *log), simulator.path());

        // A cancelled choice keeps the value in the window and in the store.
        click(*window, "buttonSelectNLDirectory");
        QCOMPARE(modelDialogStart(*window, *log), simulator.path());
        QSettings again(QString::fromLatin1(organisationName),
                        QString::fromLatin1(settingsApplicationName));
        QCOMPARE(again.value(QStringLiteral("frmMain/nolimitsDir")).toString(), simulator.path());
    }

private:
    // Where the open dialog starts before any track is loaded; the dialog is cancelled.
    static QString openDialogStart(const frmMain& window, PromptLog& log)
    {
        click(window, "buttonSelectInput");
        return log.calls.back().startDir;
    }

    // Where the footer model dialog starts; the dialog is cancelled.
    static QString modelDialogStart(const frmMain& window, PromptLog& log)
    {
        click(window, "buttonSelectDirectory");
        return log.calls.back().startDir;
    }
};

std::unique_ptr<QObject> makeSettingsTest()
{
    return std::make_unique<SettingsTest>();
}

}  // namespace pw::test

#include "SettingsTest.moc"
