#include "suite/appserver/LogText.h"

namespace {

bool needsEscape(char16_t c)
{
    return c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0x2028 || c == 0x2029 || c == 0x200E || c == 0x200F
        || (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069);
}

} // namespace

QString LogSafe(QStringView text)
{
    qsizetype first = 0;
    while (first < text.size() && !needsEscape(text[first].unicode()))
        ++first;
    if (first == text.size())
        return text.toString();
    QString out;
    out.reserve(text.size() + 16);
    out += text.left(first);
    for (qsizetype i = first; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (!needsEscape(c))
            out += QChar(c);
        else
            out += (c <= 0xFF ? QStringLiteral("\\x") : QStringLiteral("\\u"))
                + QString::number(c, 16).toUpper().rightJustified(c <= 0xFF ? 2 : 4, u'0');
    }
    return out;
}
