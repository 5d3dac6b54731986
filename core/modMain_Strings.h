#pragma once
// The language string table (namespace modMain).
//
// The table is the whole text of "StringTables.csv", one row per string id written as
//   <id;English;Greek;French;German;id>
// Rows are found by plain text search for "<id", so the first occurrence wins: the file keeps
// the ids in ascending order, which puts the row of 12 before the row of 120.
#include <QString>
#include <cstdint>

namespace modMain {

// Text of string id in the current language (LangID), falling back to English; "~" becomes a
// space when oneLine is true, else a line break (CR LF). An unknown id gives "".
QString GetLangString(int16_t id, bool oneLine = false);

// The text between the first startTag and the first endTag after it, with leading and
// trailing spaces removed; "" when either is missing. With stripCrLf every CR LF pair is first
// removed from text itself (the caller's variable changes too).
QString GetBetween(QString &text, const QString &startTag, const QString &endTag, bool stripCrLf);
QString GetBetween(const QString &text, const QString &startTag, const QString &endTag,
                   bool stripCrLf);

// The n-th field (from 1) of text split at sep, with spaces trimmed. Field 1 of a text without
// the separator is the text unchanged; a field past the last gives the last field. The
// separator is matched case-insensitively. n below 1 gives "".
QString GetField(const QString &text, int16_t n, const QString &sep);

// Reads a string table file whole as UTF-16 text (either byte order, with or without BOM;
// little-endian when there is none) into LangTableText. An empty path means "StringTables.csv"
// in the program folder. A missing, unreadable or empty file leaves LangTableText empty and gives
// false.
bool LoadLangTable(const QString &path = QString());

// A sentence about count rows: for one row the text of oneId (a whole sentence of its own, as
// languages write the singular differently), otherwise prefix (empty for none), the count and
// the text of manyId, joined by spaces ("There are", "3", "entries with unsaved changes...").
QString CountedText(int count, int16_t prefixId, int16_t manyId, int16_t oneId, bool oneLine = false);

} // namespace modMain
