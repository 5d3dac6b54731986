#pragma once
// The options window's rules, without its controls: the checks of what the person entered, the
// settings a save writes, the option tree's groups and frames, the rendering and capture of the
// hot key, and the classes of the service's answer to a verification. The window fills its
// controls from these and tells the person; nothing here shows anything.
#include <QString>
#include <cstdint>

namespace optrules {

// ---- credentials ---------------------------------------------------------------------------

// 0 when the three boxes are acceptable; otherwise the string id of the message to show:
// 621 the user name or the password is empty, 622 the repeated password is empty, 623 the two
// passwords differ (letter case counts).
int16_t CheckCredentials(const QString &user, const QString &password, const QString &repeated);

// ---- working day ---------------------------------------------------------------------------

// Seconds after midnight of "hh:mm" or "hh:mm:ss" (hours 0..23, minutes and seconds 0..59, two
// digits each); false for any other text.
bool ReadWorkTime(const QString &text, double &secs);
// The caption of a working-day time: "hh:mm" (what the picker writes) becomes "hh:mm:00";
// any other text stays as it is.
QString WithSeconds(const QString &text);

// ---- connection time-out -------------------------------------------------------------------

// True, with the seconds, for a whole number from 1 to 32767 (blanks around it allowed).
bool ReadTimeOut(const QString &text, int16_t &seconds);

// ---- the on/off options of the tree ----------------------------------------------------------

struct Choices {
    int16_t autoStart = 1;   // start with the desktop (and the tray icon)
    int16_t autoSynch = 1;   // send saved entries at once
    int16_t autoCheck = 1;   // look for a new version
    int16_t balloons = 1;    // tray balloons
    bool operator==(const Choices &) const = default;
};

// The five group nodes: "start", "appear", "org", "setlang", "setcon".
bool IsGroupKey(const QString &key);
// The on/off options: "autostart", "autosynch", "autocheck", "balloons".
bool IsOnOffKey(const QString &key);
// The value of an on/off option (false for any other key).
bool ChoiceOf(const Choices &c, const QString &key);

enum class YesNo {
    Taken,     // the option has its new value (switching "autostart" off also switched "balloons" off)
    Refused,   // balloons asked for while the program does not start with the desktop (string 723)
    Ignored,   // not an on/off option: nothing stored
};
YesNo SetChoice(Choices &c, const QString &key, bool yes);

// The frame shown beside the tree for a node: "frHotKey" for "hotkey", "frLang" for "lang",
// "frWork" for "times", "frCon" for "timeout", "frchk" for any other node.
QString FrameForKey(const QString &key);

// Pictures of the tree: an option's state and a language's flag ("fl_uk", "fl_gr", "fl_fr",
// "fl_de" for 0..3; "" for any other value).
inline QString CheckImage(bool on) { return on ? QStringLiteral("chk_on") : QStringLiteral("chk_off"); }
QString LangIcon(int langId);

// ---- what a save writes ------------------------------------------------------------------------

// The settings of the profile that the window edits (the language and the hot key included).
struct Profile {
    double workStart = 32400;   // seconds after midnight
    double workEnd = 61200;
    Choices choices;
    int16_t timeOut = 15;
    int16_t keyCode = 121;
    int16_t keyMask = 2;
    int16_t langId = 0;
    bool operator==(const Profile &) const = default;
};

// What the window's controls hold at the moment of a save.
struct Entered {
    QString startText;     // captions of the two time labels
    QString endText;
    Choices choices;
    int langId = -1;       // item data of the chosen language, -1 when none is chosen
    QString timeOutText;   // text of the time-out list ("" when nothing is chosen)
    int16_t keyCode = 0;   // the key that the save stores
    int16_t keyMask = 0;
};

// The profile a save writes. 0 with next filled, or 624 when the working day does not start
// before it ends (or a time cannot be read): then next is left alone. A time-out that is not a
// number and no chosen language keep the values of current; a key or a mask of 0 gives no key
// (both 0).
int16_t PlanSave(const Entered &entered, const Profile &current, Profile &next);

// The defaults a new profile starts with, put into what the window shows: working day 09:00:00
// to 17:00:00, the four options on, the hot key Ctrl+F10, time-out 15. The language stays.
Entered WithDefaults(const Entered &entered);

// ---- the hot key ---------------------------------------------------------------------------

// "F1".."F12" for the key codes 112..123, "" for any other code.
QString KeyName(int keyCode);
// The prefix of the modifiers held (shift bits 1 Shift, 2 Ctrl, 4 Alt): "SHIFT+", "CTRL+" and
// "ALT+" in that order ("SHIFT+CTRL+ALT+" for all three), "" for none.
QString ModifierPrefix(int shift);
// The Shift, Ctrl and Alt keys themselves (16, 17, 18).
bool IsModifierKey(int keyCode);
// A key the program can register: F1..F12 with at least one modifier.
bool IsHotKey(int keyCode, int mask);
// The text of a hot key ("CTRL+F10"); "" when it is not one the program can register.
QString KeyText(int keyCode, int mask);

struct Capture {
    enum Kind {
        Accepted,       // a function key with a modifier: code, mask and text are the new key
        ModifierOnly,   // Shift, Ctrl or Alt on their own: text is the prefix held so far, no key
        Cleared,        // Delete or Backspace: no key
        Refused,        // any other key, or a function key without a modifier (string 724)
    };
    Kind kind = Refused;
    int16_t code = 0;
    int16_t mask = 0;
    QString text;
};
// What one key press in the new-key box does.
Capture CaptureKey(int keyCode, int shift);

// ---- verification --------------------------------------------------------------------------

struct Verification {
    bool ok = false;
    QString fullName;   // when ok
    int16_t code = 0;   // when not ok: the reply code, or NoFullName
};
// A reply that names nobody (an empty name, or a page that is no answer of the service).
constexpr int16_t NoFullName = -1;
// Classifies what the credential check returned: a full name, or a reply code in digits
// ("100" when no reply came). A name that reads as a number is a reply code (one that does not
// fit a code gives 0, which has no text of its own); an empty one names nobody.
Verification ClassifyVerification(const QString &result);

} // namespace optrules
