// The language string table and the two text helpers its lookup rests on.
#include "core/modMain.h"

#include <QFile>
#include <QStringDecoder>

namespace modMain {

namespace {

// Only spaces are trimmed: tabs and line breaks inside a field or a reply are kept.
QString TrimSpaces(const QString &s)
{
    qsizetype b = 0;
    qsizetype e = s.size();
    while (b < e && s.at(b) == QLatin1Char(' '))
        ++b;
    while (e > b && s.at(e - 1) == QLatin1Char(' '))
        --e;
    return s.mid(b, e - b);
}

QString Between(const QString &text, const QString &startTag, const QString &endTag)
{
    const qsizetype p = text.indexOf(startTag, 0, Qt::CaseSensitive);
    if (p < 0)
        return QString();
    const qsizetype from = p + startTag.size();
    const qsizetype q = text.indexOf(endTag, from, Qt::CaseSensitive);
    if (q < 0)
        return QString();
    return TrimSpaces(text.mid(from, q - from));
}

} // namespace

QString GetBetween(QString &text, const QString &startTag, const QString &endTag, bool stripCrLf)
{
    if (stripCrLf)
        text.remove(QStringLiteral("\r\n"));
    return Between(text, startTag, endTag);
}

QString GetBetween(const QString &text, const QString &startTag, const QString &endTag,
                   bool stripCrLf)
{
    if (!stripCrLf)
        return Between(text, startTag, endTag);
    QString copy = text;
    return GetBetween(copy, startTag, endTag, true);
}

QString GetField(const QString &text, int16_t n, const QString &sep)
{
    if (n < 1)
        return QString();
    QString rest = text;
    for (; n > 1; --n) {
        // Everything after the first character of the first separator (the whole text when
        // there is none), trimmed; then look for field n - 1 in that.
        const qsizetype p = rest.indexOf(sep, 0, Qt::CaseInsensitive);
        rest = TrimSpaces(p < 0 ? rest : rest.mid(p + 1));
    }
    const qsizetype p = rest.indexOf(sep, 0, Qt::CaseInsensitive);
    if (p < 0)
        return rest;
    return TrimSpaces(rest.left(p));
}

QString GetLangString(int16_t id, bool oneLine)
{
    const QString key = QString::number(id);
    const QString row = Between(LangTableText, QStringLiteral("<") + key, key + QStringLiteral(">"));
    if (row.isEmpty())
        return QString();
    const QString sep = QStringLiteral(";");
    QString text = GetField(row, static_cast<int16_t>(LangID + 2), sep);
    if (text.isEmpty())
        text = GetField(row, 2, sep);
    if (text.contains(QLatin1Char('~')))
        text.replace(QLatin1Char('~'), oneLine ? QStringLiteral(" ") : QStringLiteral("\r\n"));
    return text;
}

QString CountedText(int count, int16_t prefixId, int16_t manyId, int16_t oneId, bool oneLine)
{
    if (count == 1)
        return GetLangString(oneId, oneLine);
    QString text = QString::number(count) + u' ' + GetLangString(manyId, oneLine);
    if (prefixId > 0)
        text = GetLangString(prefixId, oneLine) + u' ' + text;
    return text;
}

bool LoadLangTable(const QString &path)
{
    LangTableText.clear();
    QFile file(path.isEmpty() ? AppPath() + QStringLiteral("/StringTables.csv") : path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = file.readAll();
    const bool readOk = file.error() == QFileDevice::NoError;
    file.close();
    if (!readOk)
        return false;

    // The file is UTF-16; its byte-order mark says which order, and without one it is the
    // little-endian form the table has always been written in.
    QStringConverter::Encoding enc = QStringConverter::Utf16LE;
    if (bytes.startsWith("\xFE\xFF"))
        enc = QStringConverter::Utf16BE;
    QStringDecoder decode(enc);
    LangTableText = decode(bytes);
    return !LangTableText.isEmpty();
}

} // namespace modMain
