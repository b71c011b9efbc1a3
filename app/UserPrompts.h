#pragma once
// The modal questions the window asks: file and directory dialogs and warnings. The window calls
// them through these functions so that a test can answer, cancel or record them.

#include <QFileDialog>
#include <QMessageBox>
#include <QString>
#include <QStringList>

#include <functional>

class QWidget;

namespace pw {

struct UserPrompts {
    // parent, caption, start directory, filter; an empty result means cancelled
    std::function<QString(QWidget*, const QString&, const QString&, const QString&)> openFileName;
    std::function<QString(QWidget*, const QString&, const QString&, const QString&)> saveFileName;
    // parent, caption, start directory, options; an empty result means cancelled
    std::function<QString(QWidget*, const QString&, const QString&, QFileDialog::Options)>
        existingDirectory;
    // parent, title, text
    std::function<void(QWidget*, const QString&, const QString&)> warning;
    // parent, title, text, the buttons offered; the button chosen (Cancel or No when closed)
    std::function<QMessageBox::StandardButton(QWidget*, const QString&, const QString&,
                                              QMessageBox::StandardButtons)>
        question;
    // parent, title, text, the buttons' texts (the last one cancels); the index of the button
    // chosen, or -1 when closed
    std::function<int(QWidget*, const QString&, const QString&, const QStringList&)> choice;
};

// The toolkit's static file dialogs and warning box.
UserPrompts standardUserPrompts();

}  // namespace pw
