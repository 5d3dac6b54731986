#include "core/modHttp.h"

#include <gtest/gtest.h>

namespace {

TEST(UrlEncode, KeepsOnlyAsciiLettersAndDigits)
{
    struct Case { QString text; QString encoded; };
    const Case cases[] = {
        {"", ""},
        {"abcXYZ0189", "abcXYZ0189"},
        {"a b", "a+b"},
        {"a&b=c", "a%26b%3Dc"},
        {",\n", "%2C%0A"},
        {"-_.~", "%2D%5F%2E%7E"},
        {QString(QChar(0)) + QChar(0x7F), "%00%7F"},
        {QStringLiteral("é"), "%E9"},                   // a single-byte code is one escape
        {QStringLiteral("α"), "%CE%B1"},                // beyond 255: the UTF-8 bytes
        {QStringLiteral("😀"), "%F0%9F%98%80"},          // a surrogate pair as one character
    };
    for (const Case &c : cases)
        EXPECT_EQ(modHttp::URLEncode(c.text), c.encoded) << c.text.toStdString();
    EXPECT_TRUE(modHttp::URLCharsReady);
    EXPECT_TRUE(modHttp::URLSafeChars['z']);
    EXPECT_FALSE(modHttp::URLSafeChars['.']);
}

TEST(UrlEncode, EncodeUTF8GivesOneCharacterPerByte)
{
    EXPECT_EQ(modHttp::EncodeUTF8(""), "");
    EXPECT_EQ(modHttp::EncodeUTF8("abc"), "abc");
    const QString e = modHttp::EncodeUTF8(QStringLiteral("é"));
    ASSERT_EQ(e.size(), 2);
    EXPECT_EQ(e.at(0).unicode(), 0xC3);
    EXPECT_EQ(e.at(1).unicode(), 0xA9);
    EXPECT_EQ(modHttp::URLEncode(e), "%C3%A9");
    EXPECT_EQ(modHttp::URLEncode(modHttp::EncodeUTF8(QStringLiteral("Ωμέγα 1"))),
              "%CE%A9%CE%BC%CE%AD%CE%B3%CE%B1+1");
}

} // namespace
