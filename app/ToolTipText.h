#pragma once
// The views' tooltips: what lies under the pointer, or nothing.

#include <QPoint>
#include <QString>

class QWidget;

// Shows `text` as the widget's tooltip at `globalPosition`; an empty text hides any shown.
void showToolTipText(QWidget* widget, QPoint globalPosition, const QString& text);
