#include "options_help/OptionsRules.h"

#include <QLocale>
#include <QRegularExpression>
#include <QStringList>
#include <cmath>

namespace optrules {

int16_t CheckCredentials(const QString &user, const QString &password, const QString &repeated)
{
    if (user.isEmpty() || password.isEmpty())
        return 621;
    if (repeated.isEmpty())
        return 622;
    if (password != repeated)
        return 623;
    return 0;
}

bool ReadWorkTime(const QString &text, double &secs)
{
    static const QRegularExpression form(QStringLiteral("^(\\d\\d):(\\d\\d)(?::(\\d\\d))?$"));
    const QRegularExpressionMatch m = form.match(text.trimmed());
    if (!m.hasMatch())
        return false;
    const int h = m.captured(1).toInt();
    const int min = m.captured(2).toInt();
    const int s = m.captured(3).isEmpty() ? 0 : m.captured(3).toInt();
    if (h > 23 || min > 59 || s > 59)
        return false;
    secs = h * 3600 + min * 60 + s;
    return true;
}

QString WithSeconds(const QString &text)
{
    static const QRegularExpression hhmm(QStringLiteral("^\\d\\d:\\d\\d$"));
    return hhmm.match(text).hasMatch() ? text + QStringLiteral(":00") : text;
}

bool ReadTimeOut(const QString &text, int16_t &seconds)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    if (!ok || value < 1 || value > 32767)
        return false;
    seconds = static_cast<int16_t>(value);
    return true;
}

bool IsGroupKey(const QString &key)
{
    static const QStringList groups{QStringLiteral("start"), QStringLiteral("appear"), QStringLiteral("org"),
                                    QStringLiteral("setlang"), QStringLiteral("setcon")};
    return groups.contains(key);
}

bool IsOnOffKey(const QString &key)
{
    static const QStringList keys{QStringLiteral("autostart"), QStringLiteral("autosynch"),
                                  QStringLiteral("autocheck"), QStringLiteral("balloons")};
    return keys.contains(key);
}

namespace {

int16_t *Slot(Choices &c, const QString &key)
{
    if (key == QLatin1String("autostart"))
        return &c.autoStart;
    if (key == QLatin1String("autosynch"))
        return &c.autoSynch;
    if (key == QLatin1String("autocheck"))
        return &c.autoCheck;
    if (key == QLatin1String("balloons"))
        return &c.balloons;
    return nullptr;
}

} // namespace

bool ChoiceOf(const Choices &c, const QString &key)
{
    Choices copy = c;
    const int16_t *slot = Slot(copy, key);
    return slot && *slot == 1;
}

YesNo SetChoice(Choices &c, const QString &key, bool yes)
{
    int16_t *slot = Slot(c, key);
    if (!slot)
        return YesNo::Ignored;
    // Balloons come from the tray icon, which is there only while the program starts with the
    // desktop.
    if (key == QLatin1String("balloons") && yes && c.autoStart != 1)
        return YesNo::Refused;
    *slot = yes ? 1 : 0;
    if (key == QLatin1String("autostart") && !yes)
        c.balloons = 0;
    return YesNo::Taken;
}

QString FrameForKey(const QString &key)
{
    if (key == QLatin1String("hotkey"))
        return QStringLiteral("frHotKey");
    if (key == QLatin1String("lang"))
        return QStringLiteral("frLang");
    if (key == QLatin1String("times"))
        return QStringLiteral("frWork");
    if (key == QLatin1String("timeout"))
        return QStringLiteral("frCon");
    return QStringLiteral("frchk");
}

QString LangIcon(int langId)
{
    switch (langId) {
    case 0: return QStringLiteral("fl_uk");
    case 1: return QStringLiteral("fl_gr");
    case 2: return QStringLiteral("fl_fr");
    case 3: return QStringLiteral("fl_de");
    default: return QString();
    }
}

int16_t PlanSave(const Entered &entered, const Profile &current, Profile &next)
{
    double start = 0, end = 0;
    if (!ReadWorkTime(entered.startText, start) || !ReadWorkTime(entered.endText, end) || !(start < end))
        return 624;
    Profile p = current;
    p.workStart = start;
    p.workEnd = end;
    p.choices = entered.choices;
    if (entered.langId >= 0 && entered.langId <= 3)
        p.langId = static_cast<int16_t>(entered.langId);
    int16_t timeOut = 0;
    if (ReadTimeOut(entered.timeOutText, timeOut))
        p.timeOut = timeOut;
    if (entered.keyCode == 0 || entered.keyMask == 0) {
        p.keyCode = 0;
        p.keyMask = 0;
    } else {
        p.keyCode = entered.keyCode;
        p.keyMask = entered.keyMask;
    }
    next = p;
    return 0;
}

Entered WithDefaults(const Entered &entered)
{
    Entered d = entered;
    d.startText = QStringLiteral("09:00:00");
    d.endText = QStringLiteral("17:00:00");
    d.choices = Choices{};
    d.timeOutText = QStringLiteral("15");
    d.keyCode = 121;
    d.keyMask = 2;
    return d;
}

QString KeyName(int keyCode)
{
    if (keyCode >= 112 && keyCode <= 123)
        return QStringLiteral("F%1").arg(keyCode - 111);
    return QString();
}

QString ModifierPrefix(int shift)
{
    QString prefix;
    if (shift & 1)
        prefix += QStringLiteral("SHIFT+");
    if (shift & 2)
        prefix += QStringLiteral("CTRL+");
    if (shift & 4)
        prefix += QStringLiteral("ALT+");
    return prefix;
}

bool IsModifierKey(int keyCode)
{
    return keyCode >= 16 && keyCode <= 18;
}

bool IsHotKey(int keyCode, int mask)
{
    return !KeyName(keyCode).isEmpty() && (mask & 7) != 0;
}

QString KeyText(int keyCode, int mask)
{
    return IsHotKey(keyCode, mask) ? ModifierPrefix(mask) + KeyName(keyCode) : QString();
}

Capture CaptureKey(int keyCode, int shift)
{
    Capture c;
    const int mask = shift & 7;
    if (keyCode == 46 || keyCode == 8) {
        c.kind = Capture::Cleared;
    } else if (IsModifierKey(keyCode)) {
        // Part of a combination being pressed: shown, never taken on its own.
        c.kind = Capture::ModifierOnly;
        c.text = ModifierPrefix(mask);
    } else if (IsHotKey(keyCode, mask)) {
        c.kind = Capture::Accepted;
        c.code = static_cast<int16_t>(keyCode);
        c.mask = static_cast<int16_t>(mask);
        c.text = KeyText(keyCode, mask);
    } else {
        c.kind = Capture::Refused;
    }
    return c;
}

Verification ClassifyVerification(const QString &result)
{
    Verification v;
    const QString name = result.trimmed();
    if (name.isEmpty()) {
        v.code = NoFullName;
        return v;
    }
    bool number = false;
    const double value = QLocale::c().toDouble(name, &number);
    if (number) {
        const double whole = std::nearbyint(value);
        v.code = std::isfinite(value) && whole == value && whole >= 1 && whole <= 32767
                     ? static_cast<int16_t>(whole) : int16_t(0);
        return v;
    }
    v.ok = true;
    v.fullName = name;
    return v;
}

} // namespace optrules
