// Day keys, time texts and amount texts.
#include "core/modMain.h"

#include <QDate>
#include <QDateTime>
#include <QLineEdit>
#include <QLocale>
#include <gtest/gtest.h>

#include <stdexcept>

using namespace modMain;

TEST(DayKeys, DatesAndKeysConvertBothWays)
{
    struct Case { QDate date; int32_t key; } cases[] = {
        {QDate(2007, 2, 1), 20070201},
        {QDate(2006, 12, 31), 20061231},
        {QDate(2000, 1, 1), 20000101},
        {QDate(2024, 2, 29), 20240229},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(DateToLong(c.date), c.key) << c.date.toString(Qt::ISODate).toStdString();
        EXPECT_EQ(LongToDate(c.key), c.date) << c.key;
    }
}

TEST(DayKeys, OutOfRangeMonthAndDayRollOver)
{
    struct Case { int32_t key; QDate date; } cases[] = {
        {20070230, QDate(2007, 3, 2)},   // 30 February
        {20071301, QDate(2008, 1, 1)},   // month 13
        {20070100, QDate(2006, 12, 31)}, // day 0
        {20070001, QDate(2006, 12, 1)},  // month 0
        {20070132, QDate(2007, 2, 1)},
    };
    for (const auto &c : cases)
        EXPECT_EQ(LongToDate(c.key), c.date) << c.key;
}

TEST(DayKeys, KeyThatIsNotEightDigitsThrows)
{
    for (int32_t key : {0, 2007021, -20070201, 200702011})
        EXPECT_THROW(LongToDate(key), std::invalid_argument) << key;
}

TEST(TimeTexts, SecondsToHmsAndHm)
{
    struct Case { double secs; const char *hms; const char *hm; } cases[] = {
        {0, "00:00:00", "0000"},
        {29, "00:00:29", "0000"},
        {30, "00:00:30", "0001"},
        {45, "00:00:45", "0001"},
        {3585, "00:59:45", "0100"},   // rounding up carries into the hour
        {3689, "01:01:29", "0101"},
        {3690, "01:01:30", "0102"},
        {3725, "01:02:05", "0102"},
        {86370, "23:59:30", "2400"},
        {86399, "23:59:59", "2400"},
        {360000, "100:00:00", "10000"},
        {5.5, "00:00:5.5", "0000"},   // a fraction is written out and not padded
    };
    for (const auto &c : cases) {
        EXPECT_EQ(SecsToHMS(c.secs), QString::fromLatin1(c.hms)) << c.secs;
        EXPECT_EQ(SecsToHM(c.secs), QString::fromLatin1(c.hm)) << c.secs;
    }
}

TEST(TimeTexts, TimeTextToSeconds)
{
    struct Case { const char *text; int32_t secs; } cases[] = {
        {"09:00", 32400},
        {"9:00", 32400},
        {"09:00:00", 32400},
        {"01:02:05", 3725},
        {"17:30:15", 63015},
        {"9:5:7", 32700},   // five characters: the seconds are never read
        {"9:5:07", 32707},  // six: they are
        {"100:00:00", 360000},
        {" 8 : 15", 29700}, // fields are trimmed
        {"100:30", 361800}, // six characters but no seconds field
        {"08:15 ", 29700},
    };
    for (const auto &c : cases)
        EXPECT_EQ(TimeStrToSecs(QString::fromLatin1(c.text)), c.secs) << c.text;
}

TEST(TimeTexts, HmsTextReadsBackToTheSameSeconds)
{
    // What the settings store as "hh:mm:ss" must come back unchanged.
    for (int secs = 0; secs < 100 * 3600; secs += 997)
        ASSERT_EQ(TimeStrToSecs(SecsToHMS(secs)), secs) << secs;
}

TEST(TimeTexts, TimeTextWithNonNumbersThrows)
{
    for (const char *text : {"", "ab:cd", "09:xx:00", "09:00:zz", "0900"})
        EXPECT_THROW(TimeStrToSecs(QString::fromLatin1(text)), std::invalid_argument) << text;
}

TEST(TimeTexts, TimeBoxesGetUnpaddedParts)
{
    QLineEdit h, m, s;
    SecsToTimeBoxes(3725, &h, &m, &s);
    EXPECT_EQ(h.text(), "1");
    EXPECT_EQ(m.text(), "2");
    EXPECT_EQ(s.text(), "5");

    SecsToTimeBoxes(0, &h, nullptr, &s);
    EXPECT_EQ(h.text(), "0");
    EXPECT_EQ(s.text(), "0");
}

TEST(TimeTexts, TimeOfDayIs24HourWithSeconds)
{
    struct Case { QTime time; const char *text; } cases[] = {
        {QTime(0, 0, 0), "00:00:00"},
        {QTime(9, 5, 7), "09:05:07"},
        {QTime(15, 4, 59), "15:04:59"},
        {QTime(23, 59, 59), "23:59:59"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(FormatDateTimeStr(QDateTime(QDate(2007, 2, 1), c.time), true),
                  QString::fromLatin1(c.text));
}

class Separators : public ::testing::Test {
protected:
    void SetUp() override { saved = {DecimalSep, GroupSep, DateSep}; }
    void TearDown() override
    {
        DecimalSep = saved[0];
        GroupSep = saved[1];
        DateSep = saved[2];
    }
    std::array<QString, 3> saved;
};

TEST_F(Separators, DecimalAndGroupSeparatorFollowTheLocale)
{
    struct Case { QLocale locale; const char *dec; const char *group; } cases[] = {
        {QLocale(QLocale::English, QLocale::UnitedStates), ".", ","},
        {QLocale(QLocale::German, QLocale::Germany), ",", "."},
        {QLocale(QLocale::Greek, QLocale::Greece), ",", "."},
        {QLocale(QLocale::French, QLocale::France), ",", "."},
        {QLocale::c(), ".", ","},
    };
    for (const auto &c : cases) {
        InitSeparators(c.locale);
        EXPECT_EQ(DecimalSep, QString::fromLatin1(c.dec)) << c.locale.name().toStdString();
        EXPECT_EQ(GroupSep, QString::fromLatin1(c.group)) << c.locale.name().toStdString();
    }
    InitSeparators(); // the person's own locale: whatever it is, one character
    EXPECT_EQ(DecimalSep.size(), 1);
}

TEST_F(Separators, DateSeparatorFromTheLocaleShortDate)
{
    const QDate today(2007, 2, 1);
    InitDateSep(QLocale(QLocale::Swedish, QLocale::Sweden), today); // 2007-02-01
    EXPECT_EQ(DateSep, "-");
    InitDateSep(QLocale(QLocale::English, QLocale::UnitedStates), today);
    EXPECT_EQ(DateSep, "/");
    InitDateSep(QLocale(QLocale::German, QLocale::Germany), today); // 01.02.07
    EXPECT_EQ(DateSep, "/");
}

TEST_F(Separators, AmountTextsGetADotAndNoGroups)
{
    struct Case { const char *dec; const char *group; const char *in; const char *out; } cases[] = {
        {",", ".", "1.234,50", "1234.50"},
        {".", ",", "1,234.50", "1234.50"},
        {",", ".", "12,5", "12.5"},
        {".", ",", "12.50", "12.50"},
        {",", ".", "1.234.567,50", "1234567.50"}, // every group separator goes
        {".", ",", "1,234,567.50", "1234567.50"},
        {",", ".", "", ""},
    };
    for (const auto &c : cases) {
        DecimalSep = QString::fromLatin1(c.dec);
        GroupSep = QString::fromLatin1(c.group);
        EXPECT_EQ(NumToDot(QString::fromLatin1(c.in)), QString::fromLatin1(c.out)) << c.in;
    }
}
