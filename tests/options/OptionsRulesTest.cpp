// The options window's rules on their own: the checks of what was entered, what a save writes,
// the tree's choices, the hot key's text and capture, and the classes of a verification.
#include "options_help/OptionsRules.h"

#include <gtest/gtest.h>

using namespace optrules;

TEST(OptionsRules, CredentialFaultsInTheirOrder)
{
    struct Case { const char *user, *pass, *repeat; int16_t fault; };
    const Case cases[] = {
        {"", "", "", 621},              // the first rule wins
        {"maria", "", "x", 621},
        {"", "secret", "secret", 621},
        {"maria", "secret", "", 622},
        {"maria", "secret", "Secret", 623},   // letter case counts
        {"maria", "secret", "secret ", 623},
        {"maria", "secret", "secret", 0},
    };
    for (const Case &c : cases)
        EXPECT_EQ(CheckCredentials(c.user, c.pass, c.repeat), c.fault) << c.user << "/" << c.pass << "/" << c.repeat;
}

TEST(OptionsRules, WorkingDayTimesAreReadAndKeptOnTheFullMinute)
{
    double s = -1;
    EXPECT_TRUE(ReadWorkTime("08:30", s));
    EXPECT_EQ(s, 30600);
    EXPECT_TRUE(ReadWorkTime("17:45:10", s));
    EXPECT_EQ(s, 17 * 3600 + 45 * 60 + 10);
    for (const char *bad : {"", "8:30", "24:00", "12:60", "12:30:60", "ab:cd", "12:30:0", "12:30:00x"})
        EXPECT_FALSE(ReadWorkTime(bad, s)) << bad;

    // What the picker writes gets its seconds; a full time and anything else stay.
    EXPECT_EQ(WithSeconds("08:30"), "08:30:00");
    EXPECT_EQ(WithSeconds("08:30:00"), "08:30:00");
    EXPECT_EQ(WithSeconds("08:30:15"), "08:30:15");
    EXPECT_EQ(WithSeconds(""), "");
}

TEST(OptionsRules, TimeOutIsAWholeNumberOfSeconds)
{
    int16_t v = 0;
    EXPECT_TRUE(ReadTimeOut("30", v));
    EXPECT_EQ(v, 30);
    EXPECT_TRUE(ReadTimeOut(" 45 ", v));
    EXPECT_EQ(v, 45);
    for (const char *bad : {"", "abc", "0", "-5", "1.5", "40000"})
        EXPECT_FALSE(ReadTimeOut(bad, v)) << bad;
}

TEST(OptionsRules, YesAndNoOnTheTree)
{
    Choices c;
    EXPECT_EQ(SetChoice(c, "autosynch", false), YesNo::Taken);
    EXPECT_EQ(c.autoSynch, 0);
    EXPECT_EQ(SetChoice(c, "autocheck", false), YesNo::Taken);
    EXPECT_EQ(c.autoCheck, 0);

    // Off with the desktop start: the balloons go off too, and cannot come back on.
    EXPECT_EQ(SetChoice(c, "autostart", false), YesNo::Taken);
    EXPECT_EQ(c.autoStart, 0);
    EXPECT_EQ(c.balloons, 0);
    EXPECT_EQ(SetChoice(c, "balloons", true), YesNo::Refused);
    EXPECT_EQ(c.balloons, 0);
    EXPECT_EQ(SetChoice(c, "balloons", false), YesNo::Taken);

    EXPECT_EQ(SetChoice(c, "autostart", true), YesNo::Taken);
    EXPECT_EQ(c.balloons, 0);   // switched on again only by the person
    EXPECT_EQ(SetChoice(c, "balloons", true), YesNo::Taken);
    EXPECT_EQ(c.balloons, 1);

    const Choices before = c;
    for (const char *other : {"start", "times", "lang", "hotkey", "timeout", ""})
        EXPECT_EQ(SetChoice(c, other, true), YesNo::Ignored) << other;
    EXPECT_EQ(c, before);
}

TEST(OptionsRules, EveryNodeHasItsFrame)
{
    struct Case { const char *key; const char *frame; bool group; };
    const Case cases[] = {
        {"start", "frchk", true}, {"autostart", "frchk", false}, {"autosynch", "frchk", false},
        {"autocheck", "frchk", false}, {"hotkey", "frHotKey", false}, {"appear", "frchk", true},
        {"balloons", "frchk", false}, {"org", "frchk", true}, {"times", "frWork", false},
        {"setlang", "frchk", true}, {"lang", "frLang", false}, {"setcon", "frchk", true},
        {"timeout", "frCon", false},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(FrameForKey(c.key), c.frame) << c.key;
        EXPECT_EQ(IsGroupKey(c.key), c.group) << c.key;
    }
    EXPECT_EQ(LangIcon(0), "fl_uk");
    EXPECT_EQ(LangIcon(1), "fl_gr");
    EXPECT_EQ(LangIcon(2), "fl_fr");
    EXPECT_EQ(LangIcon(3), "fl_de");
    EXPECT_EQ(LangIcon(4), "");
    EXPECT_EQ(LangIcon(-1), "");
}

namespace {

Entered Typical()
{
    Entered e;
    e.startText = "08:30:00";
    e.endText = "16:45";
    e.choices = Choices{0, 1, 0, 0};
    e.langId = 1;
    e.timeOutText = "45";
    e.keyCode = 120;
    e.keyMask = 3;
    return e;
}

} // namespace

TEST(OptionsRules, ASaveWritesWhatWasEntered)
{
    const Profile current;
    Profile next;
    ASSERT_EQ(PlanSave(Typical(), current, next), 0);
    EXPECT_EQ(next.workStart, 30600);
    EXPECT_EQ(next.workEnd, 16 * 3600 + 45 * 60);
    EXPECT_EQ(next.choices, (Choices{0, 1, 0, 0}));
    EXPECT_EQ(next.langId, 1);
    EXPECT_EQ(next.timeOut, 45);
    EXPECT_EQ(next.keyCode, 120);
    EXPECT_EQ(next.keyMask, 3);
}

TEST(OptionsRules, ASaveKeepsWhatCannotBeRead)
{
    Profile current;
    current.timeOut = 20;   // not in the list: nothing chosen
    current.langId = 2;
    Entered e = Typical();
    e.timeOutText = "";
    e.langId = -1;
    Profile next;
    ASSERT_EQ(PlanSave(e, current, next), 0);
    EXPECT_EQ(next.timeOut, 20);
    EXPECT_EQ(next.langId, 2);

    // A key without its mask, or a mask without a key: no key at all.
    e.keyMask = 0;
    ASSERT_EQ(PlanSave(e, current, next), 0);
    EXPECT_EQ(next.keyCode, 0);
    EXPECT_EQ(next.keyMask, 0);
    e.keyCode = 0;
    e.keyMask = 2;
    ASSERT_EQ(PlanSave(e, current, next), 0);
    EXPECT_EQ(next.keyMask, 0);
}

TEST(OptionsRules, AWorkingDayThatDoesNotStartBeforeItEndsIsRefused)
{
    const Profile current;
    for (const auto &[start, end] : {std::pair{"17:00:00", "09:00:00"}, {"09:00:00", "09:00:00"},
                                     {"09:00", "09:00:00"}, {"", "17:00:00"}, {"09:00:00", "25:00"}}) {
        Entered e = Typical();
        e.startText = start;
        e.endText = end;
        Profile next;
        next.timeOut = 99;
        EXPECT_EQ(PlanSave(e, current, next), 624) << start << "-" << end;
        EXPECT_EQ(next.timeOut, 99);   // untouched
    }
}

TEST(OptionsRules, DefaultsKeepTheLanguage)
{
    Entered e = Typical();
    const Entered d = WithDefaults(e);
    EXPECT_EQ(d.startText, "09:00:00");
    EXPECT_EQ(d.endText, "17:00:00");
    EXPECT_EQ(d.choices, Choices{});
    EXPECT_EQ(d.timeOutText, "15");
    EXPECT_EQ(d.keyCode, 121);
    EXPECT_EQ(d.keyMask, 2);
    EXPECT_EQ(d.langId, 1);
}

TEST(OptionsRules, HotKeyTextIsItsModifierPrefixAndName)
{
    struct Case { int code, mask; const char *text; };
    const Case cases[] = {
        {116, 7, "SHIFT+CTRL+ALT+F5"}, {116, 5, "SHIFT+ALT+F5"}, {120, 3, "SHIFT+CTRL+F9"},
        {121, 6, "CTRL+ALT+F10"}, {112, 1, "SHIFT+F1"}, {121, 2, "CTRL+F10"}, {123, 4, "ALT+F12"},
        // not a key the program registers
        {123, 0, ""}, {0, 2, ""}, {65, 2, ""}, {17, 2, ""}, {124, 2, ""}, {111, 2, ""},
    };
    for (const Case &c : cases)
        EXPECT_EQ(KeyText(c.code, c.mask), c.text) << c.code << "/" << c.mask;
    EXPECT_EQ(KeyName(112), "F1");
    EXPECT_EQ(KeyName(123), "F12");
    EXPECT_EQ(KeyName(17), "");
    EXPECT_EQ(ModifierPrefix(0), "");
    EXPECT_EQ(ModifierPrefix(8 | 2), "CTRL+");
}

TEST(OptionsRules, CaptureTakesOnlyAFunctionKeyWithAModifier)
{
    struct Case { int code, shift; Capture::Kind kind; int16_t keyCode, mask; const char *text; };
    const Case cases[] = {
        {116, 5, Capture::Accepted, 116, 5, "SHIFT+ALT+F5"},
        {120, 3, Capture::Accepted, 120, 3, "SHIFT+CTRL+F9"},
        {121, 2 | 8, Capture::Accepted, 121, 2, "CTRL+F10"},   // bits above Alt are no modifier
        // a modifier on its own is shown, never taken
        {17, 2, Capture::ModifierOnly, 0, 0, "CTRL+"},
        {16, 3, Capture::ModifierOnly, 0, 0, "SHIFT+CTRL+"},
        {18, 4, Capture::ModifierOnly, 0, 0, "ALT+"},
        // Delete and Backspace remove the key
        {46, 0, Capture::Cleared, 0, 0, ""},
        {8, 2, Capture::Cleared, 0, 0, ""},
        // no modifier, or not a function key
        {123, 0, Capture::Refused, 0, 0, ""},
        {65, 0, Capture::Refused, 0, 0, ""},
        {65, 2, Capture::Refused, 0, 0, ""},
        {48, 4, Capture::Refused, 0, 0, ""},
        {124, 2, Capture::Refused, 0, 0, ""},
        {13, 0, Capture::Refused, 0, 0, ""},
    };
    for (const Case &c : cases) {
        const Capture got = CaptureKey(c.code, c.shift);
        EXPECT_EQ(got.kind, c.kind) << c.code << "/" << c.shift;
        EXPECT_EQ(got.code, c.keyCode) << c.code << "/" << c.shift;
        EXPECT_EQ(got.mask, c.mask) << c.code << "/" << c.shift;
        EXPECT_EQ(got.text, c.text) << c.code << "/" << c.shift;
    }
}

TEST(OptionsRules, AVerificationSucceedsOnlyWithAFullName)
{
    Verification v = ClassifyVerification("  Maria Ortiz ");
    EXPECT_TRUE(v.ok);
    EXPECT_EQ(v.fullName, "Maria Ortiz");
    EXPECT_TRUE(ClassifyVerification("Agent 007").ok);

    struct Case { const char *result; int16_t code; };
    const Case failures[] = {
        {"2", 2}, {"100", 100}, {"404", 404}, {" 500 ", 500},
        {"", NoFullName}, {"   ", NoFullName},
        // a name that reads as a number is a code, even one without a text of its own
        {"12345", 12345}, {"1e3", 1000}, {"99999", 0}, {"1.5", 0}, {"-3", 0},
    };
    for (const Case &c : failures) {
        v = ClassifyVerification(c.result);
        EXPECT_FALSE(v.ok) << c.result;
        EXPECT_EQ(v.code, c.code) << c.result;
        EXPECT_TRUE(v.fullName.isEmpty()) << c.result;
    }
}
