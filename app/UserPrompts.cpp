#include "UserPrompts.h"

#include <QAbstractButton>
#include <QList>
#include <QPushButton>

namespace pw {

UserPrompts standardUserPrompts()
{
    UserPrompts prompts;
    prompts.openFileName = [](QWidget* parent, const QString& caption, const QString& dir,
                              const QString& filter) {
        return QFileDialog::getOpenFileName(parent, caption, dir, filter);
    };
    prompts.saveFileName = [](QWidget* parent, const QString& caption, const QString& dir,
                              const QString& filter) {
        return QFileDialog::getSaveFileName(parent, caption, dir, filter);
    };
    prompts.existingDirectory = [](QWidget* parent, const QString& caption, const QString& dir,
                                   QFileDialog::Options options) {
        return QFileDialog::getExistingDirectory(parent, caption, dir, options);
    };
    // Plain text: a file named "<b>x</b>.nltrack" is shown as named, not as markup (the static
    // functions guess rich text from the message).
    prompts.warning = [](QWidget* parent, const QString& title, const QString& text) {
        QMessageBox box(QMessageBox::Warning, title, text, QMessageBox::Ok, parent);
        box.setTextFormat(Qt::PlainText);
        box.exec();
    };
    prompts.question = [](QWidget* parent, const QString& title, const QString& text,
                          QMessageBox::StandardButtons buttons) {
        QMessageBox box(QMessageBox::Question, title, text, buttons, parent);
        box.setTextFormat(Qt::PlainText);
        const int answer = box.exec();
        return answer == 0 ? QMessageBox::NoButton : static_cast<QMessageBox::StandardButton>(answer);
    };
    prompts.choice = [](QWidget* parent, const QString& title, const QString& text,
                        const QStringList& buttons) {
        QMessageBox box(QMessageBox::Question, title, text, QMessageBox::NoButton, parent);
        box.setTextFormat(Qt::PlainText);
        QList<QAbstractButton*> added;
        for (qsizetype i = 0; i < buttons.size(); ++i) {
            const bool last = i + 1 == buttons.size();
            added << box.addButton(buttons[i], last ? QMessageBox::RejectRole
                                                    : QMessageBox::AcceptRole);
        }
        if (!added.isEmpty()) {
            box.setDefaultButton(static_cast<QPushButton*>(added.first()));
            box.setEscapeButton(added.last());
        }
        box.exec();
        const qsizetype chosen = added.indexOf(box.clickedButton());
        return chosen + 1 == added.size() ? -1 : static_cast<int>(chosen);
    };
    return prompts;
}

}  // namespace pw
