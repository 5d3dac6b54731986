#pragma once
// The reader of the service's replies: classifies a reply into a reply code (CheckInput) and
// walks its tag-structured elements (ParseTags), reporting each element to its owner through
// the signals ParseError, InteriorTag and LeafTag, in document order.
//
// A reply is a sequence of sibling elements "<name>content</name>" with optional white space
// (tab, line feed, vertical tab, form feed, carriage return, space) between and around them.
// Content that starts with "<" holds child elements; any other content is a text value. There
// are no attributes, no self-closing tags and no comments; the first "</name>" after an
// element's start ends it.
#include <QObject>
#include <QString>
#include <QStringView>
#include <cstdint>

// Reply codes: 0 none of the patterns; otherwise the service's error code or one of these.
enum ReplyCode : int16_t {
    ReplyOk = 0,
    NoReply = 100,
    NotFound = 404,
    StatusNotFound = 410,
    ServerFault = 500,
    UnreadableCode = 999,
};

class clsTagParser : public QObject {
    Q_OBJECT
public:
    // How a walk ended.
    enum ParseResult {
        Complete,     // every element was read; the caller's text is now empty
        StoppedEarly, // text that is no element followed; the caller's text holds the unread rest
        Rejected,     // CheckInput gave a code other than 0: ParseError was raised, text unchanged
        Malformed,    // an element without its ">" or its closing tag, or nested too deep
    };

    // Deeper nesting than this is no reply of the service (it nests four levels): the walk
    // stops there as at a malformed element, so that no input can exhaust the stack.
    static constexpr int MaxDepth = 64;

    explicit clsTagParser(QObject *parent = nullptr) : QObject(parent) {}

    // The reply code of a reply; the first rule that matches decides (case-sensitive):
    // empty 100; "404 Not Found" 404; "HTTP Status 404" 410; "500 Internal Server Error" or
    // "Error report" 500; "<ERROR><CODE>" followed by decimal digits up to the next "<" (or the
    // end), white space around them allowed, gives that number, anything else there (a letter,
    // a sign, nothing, a number beyond 32767) 999; otherwise 0. Never fails.
    int16_t CheckInput(const QString &reply) const;

    // Classifies text; a code other than 0 raises ParseError(code) and nothing else. Code 0
    // walks the elements, raising InteriorTag or LeafTag for each, top-level elements at level
    // 0. The caller's text is consumed as ParseResult says; after Malformed it holds the rest
    // from the top-level element in which the walk stopped (events raised before stand).
    ParseResult ParseTags(QString &text);

    static bool IsWhiteSpace(QChar c);
    static QString TrimWhiteSpace(const QString &text);

signals:
    void ParseError(int16_t Code);
    // An element whose content holds child elements; Content is its trimmed inner text.
    void InteriorTag(const QString &Name, const QString &Content, int16_t Level);
    // An element whose content is a text value (trimmed; empty for an empty element).
    void LeafTag(const QString &Name, const QString &Value, int16_t Level);

private:
    // Walks the elements of text[begin, end) at level; on return *stop is where the level's
    // walk ended (the start of the unread rest, or of the element that could not be read).
    ParseResult ParseLevel(QStringView text, qsizetype begin, qsizetype end, int level, qsizetype *stop);
};
