#include "core/modHttp.h"

namespace modHttp {

std::array<bool, 256> URLSafeChars{};
bool URLCharsReady = false;

void InitURLChars()
{
    if (URLCharsReady)
        return;
    URLCharsReady = true;
    for (int code = 0; code < 256; ++code) {
        URLSafeChars[code] = (code >= '0' && code <= '9') || (code >= 'A' && code <= 'Z')
                             || (code >= 'a' && code <= 'z');
    }
}

namespace {

void AppendByte(QString &out, unsigned code)
{
    static const char digits[] = "0123456789ABCDEF";
    if (code == 32) {
        out += QLatin1Char('+');
    } else if (URLSafeChars[code]) {
        out += QChar(static_cast<char16_t>(code));
    } else {
        out += QLatin1Char('%');
        out += QLatin1Char(digits[code >> 4]);
        out += QLatin1Char(digits[code & 0xF]);
    }
}

} // namespace

QString URLEncode(const QString &text)
{
    InitURLChars();
    QString out;
    out.reserve(text.size() * 3);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        if (c <= 0xFF) {
            AppendByte(out, c);
            continue;
        }
        // No single-byte code: send the character's UTF-8 bytes (a surrogate pair together).
        qsizetype len = 1;
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            len = 2;
        const QByteArray bytes = text.mid(i, len).toUtf8();
        for (char b : bytes)
            AppendByte(out, static_cast<unsigned char>(b));
        i += len - 1;
    }
    return out;
}

QString EncodeUTF8(const QString &text)
{
    if (text.isEmpty())
        return {};
    return QString::fromLatin1(text.toUtf8());
}

} // namespace modHttp
