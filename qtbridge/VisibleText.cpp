#include "VisibleText.h"

#include "QtPaths.h"

#include <QDir>
#include <QStringList>

namespace pw {

namespace {

void appendHex(QString& text, char32_t c, int digits)
{
    static constexpr char hexDigits[] = "0123456789abcdef";
    for (int shift = 4 * (digits - 1); shift >= 0; shift -= 4)
        text += QLatin1Char(hexDigits[(c >> shift) & 0xF]);
}

}  // namespace

QString visibleText(const QString& text)
{
    QString shown;
    shown.reserve(text.size());
    for (const char32_t c : text.toUcs4()) {
        switch (c) {
        case '\n': shown += QLatin1String("\\n"); continue;
        case '\r': shown += QLatin1String("\\r"); continue;
        case '\t': shown += QLatin1String("\\t"); continue;
        default: break;
        }
        switch (QChar::category(c)) {
        case QChar::Other_Control:
            shown += QLatin1String("\\x");
            appendHex(shown, c, 2);
            break;
        case QChar::Other_Format:
        case QChar::Separator_Line:
        case QChar::Separator_Paragraph:
            shown += QLatin1String("\\u{");
            appendHex(shown, c, c > 0xFFFF ? 6 : 4);
            shown += QLatin1Char('}');
            break;
        default: shown += QString::fromUcs4(&c, 1);
        }
    }
    return shown;
}

QString visiblePath(const std::filesystem::path& path)
{
    return visiblePath(fromFileSystemPath(path));
}

QString visiblePath(const QString& path) { return visibleText(QDir::toNativeSeparators(path)); }

QString visibleError(const CoreError& error)
{
    return visibleText(QString::fromStdString(errorText(error)));
}

QString visibleErrors(const std::vector<CoreError>& errors)
{
    QStringList texts;
    for (const CoreError& error : errors)
        texts << visibleError(error);
    return texts.join(QLatin1Char('\n'));
}

QString visibleReason(const CoreError& error)
{
    return visibleText(QString::fromStdString(errorReason(error)));
}

}  // namespace pw
