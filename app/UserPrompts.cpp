#include "UserPrompts.h"

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
    prompts.warning = [](QWidget* parent, const QString& title, const QString& text) {
        QMessageBox::warning(parent, title, text);
    };
    prompts.question = [](QWidget* parent, const QString& title, const QString& text,
                          QMessageBox::StandardButtons buttons) {
        return QMessageBox::question(parent, title, text, buttons);
    };
    return prompts;
}

}  // namespace pw
