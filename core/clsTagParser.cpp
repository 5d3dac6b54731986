#include "core/clsTagParser.h"

namespace {

const QString ErrorMarker = QStringLiteral("<ERROR><CODE>");

} // namespace

bool clsTagParser::IsWhiteSpace(QChar c)
{
    const char16_t u = c.unicode();
    return u == 9 || u == 10 || u == 11 || u == 12 || u == 13 || u == 32;
}

QString clsTagParser::TrimWhiteSpace(const QString &text)
{
    qsizetype b = 0, e = text.size();
    while (b < e && IsWhiteSpace(text.at(b)))
        ++b;
    while (e > b && IsWhiteSpace(text.at(e - 1)))
        --e;
    return text.mid(b, e - b);
}

int16_t clsTagParser::CheckInput(const QString &reply) const
{
    if (reply.isEmpty())
        return NoReply;
    if (reply.contains(QStringLiteral("404 Not Found")))
        return NotFound;
    if (reply.contains(QStringLiteral("HTTP Status 404")))
        return StatusNotFound;
    if (reply.contains(QStringLiteral("500 Internal Server Error")) || reply.contains(QStringLiteral("Error report")))
        return ServerFault;
    const qsizetype at = reply.indexOf(ErrorMarker);
    if (at < 0)
        return ReplyOk;
    // The whole number up to the next "<", so that a two-digit code keeps both digits; the
    // white space a service may write around it inside CODE is no part of it.
    qsizetype from = at + ErrorMarker.size();
    qsizetype to = reply.indexOf(u'<', from);
    if (to < 0)
        to = reply.size();
    while (from < to && IsWhiteSpace(reply.at(from)))
        ++from;
    while (to > from && IsWhiteSpace(reply.at(to - 1)))
        --to;
    if (to == from)
        return UnreadableCode;
    int value = 0;
    for (qsizetype i = from; i < to; ++i) {
        const char16_t c = reply.at(i).unicode();
        if (c < u'0' || c > u'9')
            return UnreadableCode;
        value = value * 10 + (c - u'0');
        if (value > 32767)
            return UnreadableCode;
    }
    return int16_t(value);
}

clsTagParser::ParseResult clsTagParser::ParseTags(QString &text)
{
    const int16_t code = CheckInput(text);
    if (code != ReplyOk) {
        emit ParseError(code);
        return Rejected;
    }
    // The walk reads its own copy: a handler may well change the variable it was given.
    const QString source = text;
    qsizetype stop = 0;
    const ParseResult result = ParseLevel(QStringView(source), 0, source.size(), 0, &stop);
    if (result == Complete)
        text.clear();
    else
        text = TrimWhiteSpace(source.mid(stop));
    return result;
}

clsTagParser::ParseResult clsTagParser::ParseLevel(QStringView text, qsizetype begin, qsizetype end, int level,
                                                   qsizetype *stop)
{
    qsizetype b = begin, e = end;
    while (b < e && IsWhiteSpace(text[b]))
        ++b;
    while (e > b && IsWhiteSpace(text[e - 1]))
        --e;
    while (b < e) {
        *stop = b;
        if (text[b] != u'<')
            return StoppedEarly;
        const QStringView rest = text.sliced(b, e - b);
        const qsizetype p = rest.indexOf(u'>');
        if (p < 0)
            return Malformed;
        const QStringView name = rest.sliced(1, p - 1);
        const QString closing = QStringLiteral("</") + name.toString() + u'>';
        // Searched from the element's start, as the first closing tag of that name ends it.
        const qsizetype q = rest.indexOf(closing);
        if (q <= p)
            return Malformed;
        qsizetype cb = b + p + 1, ce = b + q;
        while (cb < ce && IsWhiteSpace(text[cb]))
            ++cb;
        while (ce > cb && IsWhiteSpace(text[ce - 1]))
            --ce;
        const QString nameText = name.toString();
        if (cb < ce && text[cb] == u'<') {
            if (level + 1 >= MaxDepth)
                return Malformed;
            emit InteriorTag(nameText, text.sliced(cb, ce - cb).toString(), int16_t(level));
            qsizetype inner = 0;
            if (ParseLevel(text, cb, ce, level + 1, &inner) == Malformed)
                return Malformed;
        } else {
            emit LeafTag(nameText, text.sliced(cb, ce - cb).toString(), int16_t(level));
        }
        b += q + closing.size();
        while (b < e && IsWhiteSpace(text[b]))
            ++b;
    }
    *stop = e;
    return Complete;
}
