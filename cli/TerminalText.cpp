#include "TerminalText.h"

namespace pw {

QString escapedText(const std::string& latin1)
{
    static constexpr char hexDigits[] = "0123456789abcdef";
    QString text;
    text.reserve(static_cast<qsizetype>(latin1.size()));
    for (const char c : latin1) {
        const auto byte = static_cast<unsigned char>(c);
        switch (c) {
        case '\\': text += QLatin1String("\\\\"); continue;
        case '\n': text += QLatin1String("\\n"); continue;
        case '\r': text += QLatin1String("\\r"); continue;
        case '\t': text += QLatin1String("\\t"); continue;
        default: break;
        }
        // C0 controls, DEL and the C1 controls of Latin-1 (0x9b starts an escape sequence too).
        if (byte < 0x20 || (byte >= 0x7f && byte < 0xa0)) {
            text += QLatin1String("\\x");
            text += QLatin1Char(hexDigits[byte >> 4]);
            text += QLatin1Char(hexDigits[byte & 0x0F]);
        } else {
            text += QChar(byte);
        }
    }
    return text;
}

}  // namespace pw
