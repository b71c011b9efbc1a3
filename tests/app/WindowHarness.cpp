#include "WindowHarness.h"

#include "ApplicationNames.h"
#include "footers/QtPaths.h"
#include "tracklib/TrackFile.h"

#include <QAbstractButton>
#include <QFile>
#include <QSettings>

namespace pw::test {

namespace {

QString nextAnswer(PromptLog& log)
{
    if (log.answers.empty())
        return {};
    QString answer = log.answers.front();
    log.answers.pop_front();
    return answer;
}

}  // namespace

std::unique_ptr<frmMain> makeWindow(const std::shared_ptr<PromptLog>& log)
{
    auto window = std::make_unique<frmMain>();
    UserPrompts prompts;
    prompts.openFileName = [log](QWidget*, const QString& caption, const QString& dir,
                                 const QString& filter) {
        log->calls.push_back({QStringLiteral("open"), caption, dir, filter, {}});
        return nextAnswer(*log);
    };
    prompts.saveFileName = [log](QWidget*, const QString& caption, const QString& dir,
                                 const QString& filter) {
        log->calls.push_back({QStringLiteral("save"), caption, dir, filter, {}});
        return nextAnswer(*log);
    };
    prompts.existingDirectory = [log](QWidget*, const QString& caption, const QString& dir,
                                      QFileDialog::Options options) {
        log->calls.push_back({QStringLiteral("directory"), caption, dir, {}, options});
        return nextAnswer(*log);
    };
    prompts.warning = [log](QWidget*, const QString& title, const QString& text) {
        log->warnings.push_back(title + QLatin1Char('\n') + text);
    };
    window->setUserPrompts(std::move(prompts));
    return window;
}

void click(const frmMain& window, const char* buttonName)
{
    widget<QAbstractButton>(window, buttonName)->click();
}

bool ownEnabled(const QWidget* widget)
{
    return !widget->testAttribute(Qt::WA_ForceDisabled);
}

std::vector<SizeClassBoxes> sizeClassBoxes(const frmMain& window)
{
    std::vector<SizeClassBoxes> boxes;
    for (const char* name : {"Small", "Medium", "Large", "XLarge", "XXLarge"}) {
        const QByteArray own = QByteArray("use") + name + "Tube";
        const QByteArray useDefault = own + "Default";
        const QByteArray scale = QByteArray("scale") + name + "Tube";
        boxes.push_back({widget<QCheckBox>(window, own.constData()),
                         widget<QCheckBox>(window, useDefault.constData()),
                         widget<QSpinBox>(window, scale.constData())});
    }
    return boxes;
}

QString writeTrack(const QString& path, const Track& track)
{
    const WriteResult result = writeTrackFile(toFileSystemPath(path), track);
    if (!result.ok)
        qFatal("cannot write fixture %s: %s", qPrintable(path), result.error.c_str());
    return path;
}

void touchFiles(const QString& dir, const QStringList& names)
{
    for (const QString& name : names) {
        QFile file(dir + QLatin1Char('/') + name);
        if (!file.open(QIODevice::WriteOnly) || file.write("3DS model stand-in") < 0)
            qFatal("cannot create %s", qPrintable(file.fileName()));
    }
}

void clearStoredSettings()
{
    QSettings(QString::fromLatin1(organisationName), QString::fromLatin1(settingsApplicationName))
        .clear();
}

}  // namespace pw::test
