#include "ToolTipText.h"

#include "qtbridge/VisibleText.h"

#include <QStringList>
#include <QToolTip>

void showToolTipText(QWidget* widget, QPoint globalPosition, const QString& text)
{
    if (text.isEmpty()) {
        QToolTip::hideText();
        return;
    }
    // A footer's tooltip names its model as the track stores it; its lines stay lines.
    QStringList lines = text.split(QLatin1Char('\n'));
    for (QString& line : lines)
        line = pw::visibleText(line);
    QToolTip::showText(globalPosition, lines.join(QLatin1Char('\n')), widget);
}
