#include "WindowHarness.h"

#include "ApplicationNames.h"
#include "qtbridge/QtPaths.h"
#include "testsupport/TestModels.h"
#include "tracklib/TrackFile.h"

#include <QAbstractButton>
#include <QLabel>
#include <QMetaEnum>
#include <QSettings>
#include <QTest>

namespace pw::test {

std::vector<WindowTestFactory>& windowTests()
{
    static std::vector<WindowTestFactory> factories;
    return factories;
}

const QStringList allModelFiles{"small.3ds",  "medium.3ds",  "large.3ds",
                                "xlarge.3ds", "xxlarge.3ds", "default.3ds"};

WindowHarness::WindowHarness()
{
    QSettings(QSettings::defaultFormat(), QSettings::UserScope,
              QString::fromLatin1(organisationName), QString::fromLatin1(settingsApplicationName))
        .clear();
    reopen();
}

void WindowHarness::reopen()
{
    window.reset();
    window = std::make_unique<frmMain>();
    const auto answer = [this](const QString& caption, const QString& start, const QString& last) {
        dialogs << QStringList{caption, start, last}.join(QLatin1String(" | "));
        return answers.isEmpty() ? QString() : answers.takeFirst();
    };
    UserPrompts prompts;
    prompts.openFileName = [answer](QWidget*, const QString& caption, const QString& start,
                                    const QString& filter) {
        return answer(caption, start, filter);
    };
    prompts.saveFileName = prompts.openFileName;
    prompts.existingDirectory = [answer](QWidget*, const QString& caption, const QString& start,
                                         QFileDialog::Options options) {
        const QMetaEnum flags = QMetaEnum::fromType<QFileDialog::Options>();
        return answer(caption, start, QString::fromLatin1(flags.valueToKeys(options.toInt())));
    };
    prompts.warning = [this](QWidget*, const QString& title, const QString& text) {
        warnings << title + QLatin1Char('\n') + text;
    };
    prompts.question = [this](QWidget*, const QString& title, const QString& text,
                              QMessageBox::StandardButtons) {
        questions << title + QLatin1Char('\n') + text;
        return replies.isEmpty() ? QMessageBox::Cancel : replies.takeFirst();
    };
    prompts.choice = [this](QWidget*, const QString& title, const QString& text,
                            const QStringList& buttons) {
        questions << title + QLatin1Char('\n') + text;
        const int picked = picks.isEmpty() ? -1 : static_cast<int>(buttons.indexOf(picks.takeFirst()));
        return picked + 1 == buttons.size() ? -1 : picked;
    };
    window->setUserPrompts(std::move(prompts));
}

void WindowHarness::type(const char* lineEdit, const QString& text)
{
    auto* field = get<QLineEdit>(lineEdit);
    field->selectAll();
    QTest::keyClicks(field, text);
    QTest::keyClick(field, Qt::Key_Return);
}

void WindowHarness::click(const char* button, const QStringList& queued)
{
    answers += queued;
    get<QAbstractButton>(button)->click();
}

QString WindowHarness::dialogStart(const char* button)
{
    click(button);
    return dialogs.back().section(QLatin1String(" | "), 1, 1);
}

QString WindowHarness::text(const char* name) const
{
    if (auto* label = window->findChild<QLabel*>(QLatin1String(name)))
        return label->text();
    return get<QLineEdit>(name)->text();
}

QStringList WindowHarness::focusChain(bool onlyUsable) const
{
    QStringList chain;
    QWidget* start = get("textInputFile");
    QWidget* w = start;
    do {
        const bool tabbable = (w->focusPolicy() & Qt::TabFocus) != 0;
        if (tabbable && !w->objectName().startsWith(QLatin1String("qt_")) &&
            (w->isEnabled() || !onlyUsable))
            chain << w->objectName();
        w = w->nextInFocusChain();
    } while (w != start && chain.size() < 100);
    return chain;
}

std::vector<SizeClassBoxes> WindowHarness::boxes() const
{
    std::vector<SizeClassBoxes> boxes;
    for (const SizeClass& row : sizeClasses) {
        const QByteArray name(row.widgetStem);
        boxes.push_back({get<QCheckBox>(("use" + name + "Tube").constData()),
                         get<QCheckBox>(("use" + name + "TubeDefault").constData()),
                         get<QSpinBox>(("scale" + name + "Tube").constData())});
    }
    return boxes;
}

QString WindowHarness::boxStates() const
{
    const auto on = [](const QWidget* w) { return QLatin1Char(w->isEnabled() ? 'e' : 'd'); };
    const auto checked = [](const QCheckBox* b) { return QLatin1Char(b->isChecked() ? '+' : '-'); };
    QStringList rows;
    for (const SizeClassBoxes& b : boxes())
        rows << QString() + on(b.ownModel) + checked(b.ownModel) + QLatin1Char(' ') +
                    on(b.defaultModel) + checked(b.defaultModel) + QLatin1Char(' ') + on(b.scale);
    return rows.join(QLatin1String(" | "));
}

QString WindowHarness::writeTrack(const QString& name, const Track& track) const
{
    const QString path = dir.filePath(name);
    const Result<void> result = writeTrackFile(toFileSystemPath(path), track);
    if (!result.ok())
        qFatal("cannot write fixture %s: %s", qPrintable(path), errorText(result.error()).c_str());
    return path;
}

QString WindowHarness::copyExample(const QString& name) const
{
    const QString path = dir.filePath(name);
    QFile::remove(path);
    return QFile::copy(QStringLiteral(PLINTHWRIGHT_EXAMPLES_DIR "/") + name, path) ? path
                                                                                   : QString();
}

QString WindowHarness::modelDirectory(const QStringList& files)
{
    const QString path = dir.filePath(QStringLiteral("models%1").arg(++directories));
    QDir().mkpath(path);
    for (const QString& name : files) {
        // Generate installs real 3ds models only; each here is one of its own.
        const std::vector<std::uint8_t> bytes =
            testModel(name.section(QLatin1Char('.'), 0, 0).toStdString());
        QFile file(path + QLatin1Char('/') + name);
        if (!file.open(QIODevice::WriteOnly) ||
            file.write(reinterpret_cast<const char*>(bytes.data()),
                       static_cast<qint64>(bytes.size())) < 0)
            qFatal("cannot create %s", qPrintable(file.fileName()));
    }
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

}  // namespace pw::test
