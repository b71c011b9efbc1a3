#pragma once
// One frmMain per test: its dialogs are answered from a queue and recorded, its warnings
// recorded, the settings store starts empty, and fixtures go to a temporary directory.

#include "frmMain.h"
#include "testsupport/TrackFixtures.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QSpinBox>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>
#include <optional>
#include <vector>

namespace pw::test {

// Each test class registers itself; main.cpp runs them in one QApplication.
using WindowTestFactory = std::unique_ptr<QObject> (*)();
std::vector<WindowTestFactory>& windowTests();
#define PW_WINDOW_TEST(Class)             \
    static const bool registered##Class = \
        (windowTests().push_back([] { return std::unique_ptr<QObject>(new Class); }), true);

struct SizeClassBoxes {
    QCheckBox* ownModel;
    QCheckBox* defaultModel;
    QSpinBox* scale;
};

struct WindowHarness {
    WindowHarness();
    // A new window over the same prompts and stored settings, as on the next program start.
    void reopen();

    template <typename Widget = QWidget>
    Widget* get(const char* objectName) const
    {
        auto* found = window->findChild<Widget*>(QString::fromLatin1(objectName));
        if (found == nullptr)
            qFatal("no widget %s", objectName);
        return found;
    }
    // Queues `answers` for the dialogs, then clicks the button as the user would.
    void click(const char* button, const QStringList& answers = {});
    // Replaces the field's text as typed and presses Enter.
    void type(const char* lineEdit, const QString& text);
    // Clicks the button and returns where its (cancelled) dialog started.
    QString dialogStart(const char* button);
    QString text(const char* labelOrLineEdit) const;
    // The tab-focusable widgets in focus order, or only those that are enabled.
    QStringList focusChain(bool onlyUsable = false) const;
    // In the order of the size-class table.
    std::vector<SizeClassBoxes> boxes() const;
    // Per class "own default scale": e/d enabled or disabled, +/- checked; classes joined by " | ".
    QString boxStates() const;

    QString writeTrack(const QString& name, const Track& track) const;
    // A copy of the example file in dir, replacing one there; empty when it cannot be made.
    QString copyExample(const QString& name) const;
    // A new directory below dir holding these models, each a small 3ds model of its own.
    QString modelDirectory(const QStringList& files);

    QStringList answers;   // none left means the dialog is cancelled
    QStringList dialogs;   // "caption | start directory | filter or options"
    QStringList warnings;  // "title\ntext"
    // Answers to the questions (Save, Discard, Yes, ...); none left means Cancel.
    QList<QMessageBox::StandardButton> replies;
    QStringList questions;  // "title\ntext"
    // Buttons to press, by their text, in questions with buttons of their own; none left cancels.
    QStringList picks;
    QTemporaryDir dir;
    std::unique_ptr<frmMain> window;

private:
    int directories = 0;
};

extern const QStringList allModelFiles;  // the five own models and the default model

// Creates files with these names in `dir`, each holding a few bytes of text.
void touchFiles(const QString& dir, const QStringList& names);

}  // namespace pw::test
