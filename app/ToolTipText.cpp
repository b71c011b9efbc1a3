#include "ToolTipText.h"

#include <QToolTip>

void showToolTipText(QWidget* widget, QPoint globalPosition, const QString& text)
{
    if (text.isEmpty())
        QToolTip::hideText();
    else
        QToolTip::showText(globalPosition, text, widget);
}
