// Small helpers of the main module that several windows share: placing windows, the help page
// of a window, opening files, the fixed pause, tree and list look-ups, two queries on the
// open database and the overlap check of a time span against the entries around it.
#include "core/modMain.h"

#include "store/modDBchr_Timers.h"
#include "platform/dao/dao.h"
#include "platform/forms/ComboBox.h"
#include "platform/forms/TreeView.h"
#include "platform/shell/Shell.h"

#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QUrl>
#include <QWidget>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <thread>

namespace modMain {

WindowRect FormRect;

namespace {

// Closes a record set when the helper leaves, whatever way it leaves; errors while closing
// are of no interest then.
struct CloseOnExit {
    std::unique_ptr<dao::Recordset> &rs;
    ~CloseOnExit()
    {
        if (!rs)
            return;
        try {
            rs->Close();
        } catch (...) {
        }
        rs.reset();
    }
};

dao::Database &OpenDatabase()
{
    if (!DB || !DB->IsOpen())
        throw dao::DaoError(dao::ErrClosed, QStringLiteral("The database is not open."));
    return *DB;
}

// The short date form of the locale, with a two-digit year widened to four digits: a date
// text is read back into a date, and "05" would not tell 1905 from 2005.
QString ShortDateFormat(const QLocale &locale)
{
    QString format = locale.dateFormat(QLocale::ShortFormat);
    if (!format.contains(QStringLiteral("yyyy")))
        format.replace(QStringLiteral("yy"), QStringLiteral("yyyy"));
    return format;
}

} // namespace

// ---- windows ----------------------------------------------------------------------------

void GetFormRect(QWidget *window)
{
    if (!window)
        return;
    QRect r;
    if (window->isWindow())
        r = window->frameGeometry();
    else
        r = QRect(window->mapToGlobal(QPoint(0, 0)), window->size());
    FormRect.Left = r.x();
    FormRect.Top = r.y();
    FormRect.Right = r.x() + r.width();
    FormRect.Bottom = r.y() + r.height();
}

void SetFormPos(QWidget *window, int32_t insertAfter, int32_t x, int32_t y, int32_t width,
                int32_t height, int32_t flags)
{
    constexpr int32_t NoSize = 0x1, NoMove = 0x2, NoZOrder = 0x4, NoActivate = 0x10, Show = 0x40,
                      Hide = 0x80;
    if (!window)
        return;
    const bool wasVisible = window->isVisible();

    if (!(flags & NoZOrder)) {
        if ((insertAfter == -1 || insertAfter == -2) && window->isWindow()) {
            const bool top = insertAfter == -1;
            if (window->windowFlags().testFlag(Qt::WindowStaysOnTopHint) != top) {
                // Changing a window's flags hides it: show it again as it was.
                window->setWindowFlag(Qt::WindowStaysOnTopHint, top);
                if (wasVisible)
                    window->show();
            }
            if (top)
                window->raise();
        } else if (insertAfter == 0 || insertAfter == -1) {
            window->raise();
        } else if (insertAfter == 1) {
            window->lower();
        }
    }
    if (!(flags & NoMove)) {
        QPoint p(x, y);
        if (!window->isWindow() && window->parentWidget())
            p = window->parentWidget()->mapFromGlobal(p);
        window->move(p);
    }
    if (!(flags & NoSize)) {
        // The size given is the outer one; Qt sizes the inside of a window.
        int dw = 0, dh = 0;
        if (window->isWindow()) {
            dw = window->frameGeometry().width() - window->width();
            dh = window->frameGeometry().height() - window->height();
        }
        window->resize(std::max(0, width - dw), std::max(0, height - dh));
    }
    if (flags & Hide)
        window->hide();
    else if (flags & Show)
        window->show();
    if (!(flags & NoActivate) && !(flags & Hide) && window->isWindow() && window->isVisible())
        window->activateWindow();
}

void MakeLayered(QWidget *window)
{
    // Every top-level Qt window can change its opacity: nothing to prepare.
    (void)window;
}

void SetAlpha(QWidget *window, uint8_t alpha)
{
    if (window)
        window->setWindowOpacity(alpha / 255.0);
}

QString HelpPagePath(const QWidget *window, int16_t langID)
{
    (void)langID;
    QString name;
    if (window) {
        name = window->objectName();
        if (name.isEmpty())
            name = QString::fromLatin1(window->metaObject()->className());
    }
    return AppPath() + QStringLiteral("/hlp_") + name + QStringLiteral(".htm");
}

void ShellOpen(QWidget *owner, const QString &fileOrAddress)
{
    (void)owner;
    QString target = fileOrAddress.trimmed();
    if (target.isEmpty())
        return;
    // A file name without a folder is one of the program's own files.
    const QUrl url(target);
    if (url.scheme().isEmpty() && QFileInfo(target).isRelative())
        target = QDir(AppPath()).filePath(target);
    shell::ShellExecute(target);
}

std::chrono::steady_clock::time_point PauseEnd(double secs)
{
    using clock = std::chrono::steady_clock;
    using std::chrono::seconds;
    const auto now = clock::now();
    // Tests and benchmarks shorten the designed pauses with TARV_NO_PAUSES=1, or scale them
    // with TARV_PAUSE_MS (the milliseconds one second of a pause lasts).
    if (qEnvironmentVariableIntValue("TARV_NO_PAUSES") == 1 || !(secs >= 0))
        return now;
    bool scaled = false;
    const int msPerSec = qEnvironmentVariableIntValue("TARV_PAUSE_MS", &scaled);
    if (scaled && msPerSec >= 0)
        return now + std::chrono::milliseconds(static_cast<long long>(std::min(secs, 86400.0) * msPerSec));
    // The pause ends at the first whole-second tick after which more than secs ticks have
    // passed since the call.
    const auto startTick = std::chrono::floor<seconds>(now);
    const auto ticks = static_cast<long long>(std::floor(std::min(secs, 86400.0))) + 1;
    return startTick + seconds(ticks);
}

void WaitSecs(double secs)
{
    using clock = std::chrono::steady_clock;
    const auto until = PauseEnd(secs);
    while (clock::now() < until)
        std::this_thread::sleep_until(until);
}

// ---- dates in lists ---------------------------------------------------------------------

QString ShortDateText(const QDate &date)
{
    const QLocale locale;
    return locale.toString(date, ShortDateFormat(locale));
}

QDate ShortDateToDate(const QString &text)
{
    const QLocale locale;
    return locale.toDate(text.trimmed(), ShortDateFormat(locale));
}

// ---- trees and lists --------------------------------------------------------------------

int16_t NodeLevel(const forms::Node *node)
{
    if (!node || !node->Parent())
        return 0;
    return node->Parent()->Parent() ? 2 : 1;
}

void SelectNodeByTag(forms::TreeView *tree, const QString &parentTag, const QString &childTag)
{
    if (!tree)
        return;
    // Ids of projects, tasks and categories come from separate tables and may be equal: the
    // parent is the first node with that tag that has such a child.
    forms::Node *parent = nullptr;
    forms::Node *child = nullptr;
    for (int i = 1; i <= tree->Count() && !child; ++i) {
        if (tree->Nodes(i)->Tag() != parentTag)
            continue;
        for (forms::Node *n = tree->Nodes(i)->Child(); n && !child; n = n->Next())
            if (n->Tag() == childTag) {
                parent = tree->Nodes(i);
                child = n;
            }
    }
    if (!child)
        return;
    parent->EnsureVisible();
    child->SetExpanded(true);
    child->SetSelected(true);
    child->EnsureVisible();
    tree->setVisible(true);
}

int16_t AddDateItem(int32_t dayKey, forms::ComboBox *combo)
{
    if (!combo)
        return -1;
    combo->AddItem(ShortDateText(LongToDate(dayKey)));
    const int index = combo->NewIndex();
    combo->SetItemData(index, dayKey);
    return static_cast<int16_t>(index);
}

int16_t FindComboText(const QString &text, const forms::ComboBox *combo)
{
    if (!combo)
        return -1;
    const QString wanted = text.trimmed();
    for (int i = 0; i < combo->ListCount() && i <= INT16_MAX; ++i)
        if (combo->List(i) == wanted)
            return static_cast<int16_t>(i);
    return -1;
}

int16_t FindComboData(int32_t value, const forms::ComboBox *combo)
{
    if (!combo)
        return -1;
    for (int i = 0; i < combo->ListCount() && i <= INT16_MAX; ++i)
        if (combo->ItemData(i) == value)
            return static_cast<int16_t>(i);
    return -1;
}

// ---- queries on the open database --------------------------------------------------------

bool DayHasRecords(int32_t dayKey, const QString &table)
{
    std::unique_ptr<dao::Recordset> rs;
    CloseOnExit guard{rs};
    try {
        // The timers window's parked timers in tblDaily are no entries.
        const QString entriesOnly = table.compare(QLatin1String("tblDaily"), Qt::CaseInsensitive) == 0
            ? QStringLiteral(" AND ") + modDBchr::EntriesOnly
            : QString();
        rs = OpenDatabase().OpenRecordset(QStringLiteral("SELECT cDate FROM ") + table +
                                              QStringLiteral(" WHERE cUsrID = ? AND cDate = ?") + entriesOnly,
                                          dao::dbOpenDefault, {CurrentUserID, double(dayKey)});
        rs->MoveLast();
        return rs->RecordCount() != 0;
    } catch (...) {
        return false;
    }
}

bool CountExpenseProjects()
{
    std::unique_ptr<dao::Recordset> rs;
    CloseOnExit guard{rs};
    try {
        rs = OpenDatabase().OpenRecordset(
            QStringLiteral("SELECT cExp FROM tblProjects WHERE cUsrID = ? AND cExp <> -1"),
            dao::dbOpenDefault, {CurrentUserID});
        rs->MoveLast();
        return rs->RecordCount() != 0;
    } catch (...) {
        return false;
    }
}

int16_t CheckTimeOverlap(double start, double end, std::vector<TimeSpan> others)
{
    if (others.empty())
        return -1;
    std::stable_sort(others.begin(), others.end(), [](const TimeSpan &x, const TimeSpan &y) { return x.start < y.start; });

    // A single instant (a timer starting now) overlaps an entry only when it lies inside it:
    // the moment an entry ends is free, as for a span that starts there.
    const bool instant = start == end;
    int16_t rule = 0;
    for (const TimeSpan &o : others) {
        const double s = o.start;
        const double e = o.end;
        if (s <= start && start < e)
            rule = 1;
        else if (instant)
            continue;
        else if (s < end && end <= e)
            rule = 2;
        else if (start <= s && end >= e)
            rule = 3;
        else if (start >= s && end <= e)
            rule = 4;
        if (rule != 0)
            break;
    }
    switch (rule) {
    case 1:
        ShowMsg(GetLangString(1003, false), 16);
        break;
    case 2:
        ShowMsg(GetLangString(1004, false), 0);
        break;
    case 3:
        ShowMsg(GetLangString(1005, false), 0);
        break;
    case 4:
        ShowMsg(GetLangString(1006, false), 0);
        break;
    default:
        break;
    }
    return rule;
}

} // namespace modMain
