#pragma once
// Drives frmMain in tests: answers its dialogs from a queue, records what it asked and warned,
// and finds its widgets by object name.

#include "frmMain.h"
#include "tracklib/Track.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QSpinBox>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <deque>
#include <memory>
#include <vector>

namespace pw::test {

struct PromptCall {
    QString kind;  // "open", "save" or "directory"
    QString caption;
    QString startDir;
    QString filter;
    QFileDialog::Options options;
};

struct PromptLog {
    std::deque<QString> answers;  // the next dialog takes the front; none left means cancel
    std::vector<PromptCall> calls;
    QStringList warnings;         // title + "\n" + text
};

// A window whose prompts go through `log`.
std::unique_ptr<frmMain> makeWindow(const std::shared_ptr<PromptLog>& log);

template <typename Widget>
Widget* widget(const frmMain& window, const char* objectName)
{
    auto* found = window.findChild<Widget*>(QString::fromLatin1(objectName));
    if (found == nullptr)
        qFatal("no widget %s", objectName);
    return found;
}

// Clicks a button through its signal, as the user would.
void click(const frmMain& window, const char* buttonName);

// Whether the widget itself is enabled, regardless of its group box.
bool ownEnabled(const QWidget* widget);

struct SizeClassBoxes {
    QCheckBox* ownModel;
    QCheckBox* defaultModel;
    QSpinBox* scale;
};
// small, medium, large, x-large, xx-large
std::vector<SizeClassBoxes> sizeClassBoxes(const frmMain& window);

// Writes a track file holding `track` and returns its path.
QString writeTrack(const QString& path, const Track& track);

// Creates empty files with the given names in `dir`.
void touchFiles(const QString& dir, const QStringList& names);

// Clears the window's stored settings between tests.
void clearStoredSettings();

}  // namespace pw::test
