#include "TerminalText.h"

#include "qtbridge/VisibleText.h"

namespace pw {

QString escapedText(const std::string& latin1)
{
    // A backslash of the track's own is doubled, so that its text cannot pass for an escape.
    QString text = QString::fromLatin1(latin1.data(), static_cast<qsizetype>(latin1.size()));
    text.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    return visibleText(text);
}

}  // namespace pw
