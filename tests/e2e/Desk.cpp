#include "tests/e2e/Desk.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QThread>
#include <QTime>

#include <algorithm>
#include <csignal>
#include <map>

namespace e2e {

// ---- the window map ------------------------------------------------------------------------

QString UiItem::Plain() const
{
    QString t = text;
    t.remove(QLatin1Char('&'));
    return t;
}

namespace {

// A map is taken as showing the effect of an action when it was written this long after it.
constexpr int kSettleMs = 60;

bool PathEndsWith(const QString &path, const QString &name)
{
    return path == name || path.endsWith(QLatin1Char('/') + name);
}

} // namespace

const UiItem *UiMap::Widget(const QString &name) const
{
    for (const UiItem &i : items)
        if ((i.kind == QLatin1String("widget") || i.kind == QLatin1String("window")) && PathEndsWith(i.path, name))
            return &i;
    return nullptr;
}

QString UiMap::Text(const QString &name) const
{
    const UiItem *w = Widget(name);
    return w ? w->text : QString();
}

QList<UiItem> UiMap::Cells(const QString &grid) const
{
    QList<UiItem> out;
    for (const UiItem &i : items)
        if (i.kind == QLatin1String("cell") && PathEndsWith(i.path, grid))
            out << i;
    return out;
}

const UiItem *UiMap::Cell(const QString &grid, const QString &text, int col) const
{
    for (const UiItem &i : items)
        if (i.kind == QLatin1String("cell") && PathEndsWith(i.path, grid) && i.text == text && (col < 0 || i.Col() == col))
            return &i;
    return nullptr;
}

int UiMap::RowOf(const QString &grid, const QString &text, int col) const
{
    const UiItem *c = Cell(grid, text, col);
    return c ? c->Row() : -1;
}

QList<UiItem> UiMap::TreeRows(const QString &tree) const
{
    QList<UiItem> rows;
    for (const UiItem &i : items)
        if (i.kind == QLatin1String("item") && PathEndsWith(i.path, tree))
            rows << i;
    if (rows.isEmpty())
        return rows;
    // The rows come in display order; a deeper row starts further right.
    QList<int> lefts;
    for (const UiItem &r : rows)
        if (!lefts.contains(r.rect.x()))
            lefts << r.rect.x();
    std::sort(lefts.begin(), lefts.end());
    QStringList chain;
    for (UiItem &r : rows) {
        r.depth = int(lefts.indexOf(r.rect.x()));
        while (chain.size() > r.depth)
            chain.removeLast();
        while (chain.size() < r.depth)
            chain << QString(); // the parent is scrolled out of view
        chain << r.text;
        r.treePath = chain.join(QStringLiteral(" / "));
    }
    return rows;
}

std::optional<UiItem> UiMap::TreeRow(const QString &tree, const QString &treePath) const
{
    for (const UiItem &r : TreeRows(tree))
        if (r.treePath == treePath)
            return r;
    return std::nullopt;
}

const UiItem *UiMap::Action(const QString &nameOrText, const QString &cls) const
{
    for (const UiItem &i : items)
        if (i.kind == QLatin1String("action") && (cls.isEmpty() || i.cls == cls)
            && (i.extra == nameOrText || i.Plain() == nameOrText))
            return &i;
    return nullptr;
}

const UiItem *UiMap::Tray() const
{
    for (const UiItem &i : items)
        if (i.kind == QLatin1String("tray"))
            return &i;
    return nullptr;
}

QPoint UiMap::TrayPoint() const
{
    const UiItem *icon = Tray();
    if (!icon)
        return QPoint();
    const QRect r = icon->rect;
    QRect best = r;
    for (const UiItem &w : items) {
        if (w.kind != QLatin1String("window") || w.cls != QLatin1String("QBalloonTip") || !w.rect.intersects(r))
            continue;
        // The strips of the icon left free above, below, left and right of the balloon.
        const QRect strips[] = {
            QRect(QPoint(r.left(), r.top()), QPoint(r.right(), w.rect.top() - 1)),
            QRect(QPoint(r.left(), w.rect.bottom() + 1), QPoint(r.right(), r.bottom())),
            QRect(QPoint(r.left(), r.top()), QPoint(w.rect.left() - 1, r.bottom())),
            QRect(QPoint(w.rect.right() + 1, r.top()), QPoint(r.right(), r.bottom())),
        };
        QRect free;
        for (const QRect &s : strips) {
            const QRect in = s & best;
            if (in.isValid() && in.width() * in.height() > free.width() * free.height())
                free = in;
        }
        if (!free.isValid())
            return r.center(); // wholly covered: the click goes to the balloon and closes it
        best = free;
    }
    return best.center();
}

QRect UiMap::VisibleRect(const UiItem &item) const
{
    const bool own = item.kind == QLatin1String("widget") || item.kind == QLatin1String("window");
    // Only the window the item is in clips it (a pop-up menu is a window of its own, although
    // its path runs through the window that opened it).
    QString top;
    for (const UiItem &w : items)
        if (w.kind == QLatin1String("window") && !w.path.isEmpty() && w.path.size() > top.size()
            && (item.path == w.path || item.path.startsWith(w.path + QLatin1Char('/'))))
            top = w.path;
    QRect r = item.rect;
    for (const UiItem &a : items) {
        if (a.kind != QLatin1String("widget") && a.kind != QLatin1String("window"))
            continue;
        if (!top.isEmpty() && a.path != top && !a.path.startsWith(top + QLatin1Char('/')))
            continue;
        const bool ancestor = item.path.startsWith(a.path + QLatin1Char('/'));
        // A row or cell lies within its own view as well.
        const bool view = !own && a.path == item.path;
        if (a.path.isEmpty() || (!ancestor && !view))
            continue;
        QRect area = a.rect;
        // The scroll bars of an area cover its edges.
        for (const UiItem &bar : items) {
            if (bar.kind != QLatin1String("widget") || bar.path.section(QLatin1Char('/'), 0, -2) != a.path)
                continue;
            if (bar.path.endsWith(QLatin1String("/qt_scrollarea_hcontainer")))
                area.setBottom(std::min(area.bottom(), bar.rect.top() - 1));
            else if (bar.path.endsWith(QLatin1String("/qt_scrollarea_vcontainer")))
                area.setRight(std::min(area.right(), bar.rect.left() - 1));
        }
        r &= area;
    }
    return r;
}

QString UiMap::ScrollAreaOf(const UiItem &item) const
{
    QString best;
    for (const UiItem &bar : items) {
        if (bar.kind != QLatin1String("widget"))
            continue;
        if (!bar.path.endsWith(QLatin1String("/qt_scrollarea_hcontainer")) && !bar.path.endsWith(QLatin1String("/qt_scrollarea_vcontainer")))
            continue;
        const QString area = bar.path.section(QLatin1Char('/'), 0, -2);
        const bool within = item.path.startsWith(area + QLatin1Char('/'))
                            || (item.path == area && item.kind != QLatin1String("widget") && item.kind != QLatin1String("window"));
        if (within && area.size() > best.size())
            best = area;
    }
    return best;
}

QString UiMap::Dump() const
{
    QStringList out;
    out << QStringLiteral("(map written %1%2)")
               .arg(written.toString(QStringLiteral("HH:mm:ss.zzz")),
                    stale ? QStringLiteral("; none written since the last action: the program is busy") : QString());
    for (const UiItem &i : items)
        out << QStringLiteral("%1 %2 [%3] (%4,%5 %6x%7)%8 \"%9\" %10")
                   .arg(i.kind, i.path, i.cls)
                   .arg(i.rect.x())
                   .arg(i.rect.y())
                   .arg(i.rect.width())
                   .arg(i.rect.height())
                   .arg(i.enabled ? QString() : QStringLiteral(" disabled"), i.text, i.extra);
    return out.join(QLatin1Char('\n'));
}

UiMap ReadUiMap(const QString &file)
{
    UiMap map;
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return map;
    map.written = QFileInfo(f).lastModified();
    for (const QByteArray &raw : f.readAll().split('\n')) {
        if (raw.isEmpty())
            continue;
        const QStringList p = QString::fromUtf8(raw).split(QLatin1Char('\t'));
        if (p.size() < 9)
            continue;
        UiItem i;
        i.kind = p[0];
        i.path = p[1];
        i.cls = p[2];
        i.rect = QRect(p[3].toInt(), p[4].toInt(), p[5].toInt(), p[6].toInt());
        i.enabled = p[7] == QLatin1String("1");
        i.text = p[8];
        i.extra = p.size() > 9 ? p[9] : QString();
        map.items << i;
    }
    return map;
}

QString AsShown(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.remove(QLatin1Char('\r'));
    text.replace(QLatin1Char('\n'), QStringLiteral("\\n"));
    text.replace(QLatin1Char('\t'), QLatin1Char(' '));
    return text;
}

// ---- the program's process -----------------------------------------------------------------

Program::~Program()
{
    Kill();
}

bool Program::Start(const QString &binary, const QProcessEnvironment &env, QString *error)
{
    Kill();
    m_output.clear();
    m_process = std::make_unique<QProcess>();
    m_process->setProcessChannelMode(QProcess::MergedChannels);
    m_process->setProcessEnvironment(env);
    m_process->setWorkingDirectory(QFileInfo(binary).absolutePath());
    m_process->start(binary, {});
    if (!m_process->waitForStarted(10000)) {
        if (error)
            *error = QStringLiteral("%1 did not start: %2").arg(binary, m_process->errorString());
        return false;
    }
    return true;
}

bool Program::Running() const
{
    return m_process && m_process->state() != QProcess::NotRunning;
}

bool Program::WaitForEnd(int timeoutMs)
{
    if (!m_process)
        return true;
    QElapsedTimer t;
    t.start();
    while (m_process->state() != QProcess::NotRunning) {
        if (t.elapsed() > timeoutMs)
            return false;
        m_process->waitForFinished(100);
        m_output += QString::fromLocal8Bit(m_process->readAll());
    }
    m_output += QString::fromLocal8Bit(m_process->readAll());
    return true;
}

QString Program::Output()
{
    if (m_process) {
        // Nothing reads the pipe while the test waits elsewhere: take what is waiting in it.
        m_output += QString::fromLocal8Bit(m_process->readAll());
        while (m_process->state() != QProcess::NotRunning && m_process->waitForReadyRead(100))
            m_output += QString::fromLocal8Bit(m_process->readAll());
    }
    return m_output;
}

long Program::ResidentKb() const
{
    if (!Running())
        return 0;
    QFile f(QStringLiteral("/proc/%1/status").arg(m_process->processId()));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : f.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    return 0;
}

void Program::Kill()
{
    if (!m_process)
        return;
    if (m_process->state() != QProcess::NotRunning) {
        m_process->kill();
        m_process->waitForFinished(5000);
    }
    m_output += QString::fromLocal8Bit(m_process->readAll());
}

// ---- the desk ------------------------------------------------------------------------------

Desk::Desk(xtest::XServer *x, QString mapFile, QString shotsDir)
    : m_x(x), m_mapFile(std::move(mapFile)), m_shotsDir(std::move(shotsDir))
{
    QDir().mkpath(m_shotsDir);
}

void Desk::Note(const QString &what)
{
    m_history << QTime::currentTime().toString(QStringLiteral("HH:mm:ss.zzz ")) + what;
}

void Desk::Acted()
{
    m_lastAction = QDateTime::currentDateTime();
}

UiMap Desk::Map(int timeoutMs)
{
    QElapsedTimer t;
    t.start();
    UiMap map;
    for (;;) {
        map = ReadUiMap(m_mapFile);
        // The program rewrites the map four times a second: one written after the last
        // action shows what that action did (or that it did nothing yet).
        if (!map.Empty() && (!m_lastAction.isValid() || map.written > m_lastAction.addMSecs(kSettleMs)))
            return map;
        if (t.elapsed() > timeoutMs) {
            map.stale = true;
            return map;
        }
        QThread::msleep(50);
    }
}

bool Desk::WaitFor(const std::function<bool(const UiMap &)> &pred, int timeoutMs, UiMap *last)
{
    QElapsedTimer t;
    t.start();
    for (;;) {
        const UiMap map = Map(std::max<int>(100, timeoutMs - int(t.elapsed())));
        const bool ok = !map.Empty() && pred(map);
        if (last)
            *last = map;
        if (ok)
            return true;
        if (t.elapsed() > timeoutMs)
            return false;
        QThread::msleep(100);
    }
}

bool Desk::Xdo(const QStringList &args) const
{
    const xtest::RunResult r = m_x->Run(QStringLiteral("xdotool"), args, 10000);
    return r.finished && r.exitCode == 0;
}

bool Desk::MoveTo(QPoint p)
{
    // "--sync" waits for the pointer to arrive, and so for ever when it is there already.
    if (m_pointer == p)
        return true;
    const bool ok = Xdo({QStringLiteral("mousemove"), QStringLiteral("--sync"), QString::number(p.x()), QString::number(p.y())});
    m_pointer = ok ? p : QPoint(-1, -1);
    return ok;
}

bool Desk::ClickAt(QPoint p, int button)
{
    Note(QStringLiteral("click %1 at %2,%3").arg(button).arg(p.x()).arg(p.y()));
    const bool ok = MoveTo(p) && Xdo({QStringLiteral("click"), QString::number(button)});
    Acted();
    return ok;
}

bool Desk::DoubleClickAt(QPoint p)
{
    Note(QStringLiteral("double click at %1,%2").arg(p.x()).arg(p.y()));
    const bool ok = MoveTo(p) && Xdo({QStringLiteral("click"), QStringLiteral("--repeat"), QStringLiteral("2"), QStringLiteral("--delay"),
                            QStringLiteral("80"), QStringLiteral("1")});
    Acted();
    return ok;
}

bool Desk::Click(const UiItem &item, int button, QString *why, int leftOffset)
{
    UiItem target = item;
    UiMap map = ReadUiMap(m_mapFile);
    const auto point = [&](const UiItem &t) {
        return leftOffset >= 0 ? QPoint(t.rect.x() + leftOffset, t.rect.center().y()) : t.Centre();
    };
    // A person scrolls the area the item is in until it shows, then clicks it.
    for (int tries = 0; tries < 30; ++tries) {
        const QRect visible = map.VisibleRect(target);
        if (visible.contains(point(target)))
            return ClickAt(point(target), button);
        if (leftOffset < 0 && visible.width() >= std::min(target.rect.width(), 8) && visible.height() >= std::min(target.rect.height(), 8))
            return ClickAt(visible.center(), button);
        const QString area = map.ScrollAreaOf(target);
        const UiItem *areaItem = map.Widget(area);
        const UiItem *h = map.Widget(area + QStringLiteral("/qt_scrollarea_hcontainer"));
        const UiItem *v = map.Widget(area + QStringLiteral("/qt_scrollarea_vcontainer"));
        if (area.isEmpty() || !areaItem || (!h && !v))
            break;
        const QRect view = map.VisibleRect(*areaItem).intersected(QRect(areaItem->rect.topLeft(),
            QSize(v ? v->rect.left() - areaItem->rect.left() : areaItem->rect.width(),
                  h ? h->rect.top() - areaItem->rect.top() : areaItem->rect.height())));
        const QPoint p = point(target);
        QPoint press;
        // The arrows at the scroll bars' ends move the area a step at a time.
        if (h && p.x() > view.right())
            press = QPoint(h->rect.right() - 5, h->rect.center().y());
        else if (h && p.x() < view.left())
            press = QPoint(h->rect.left() + 5, h->rect.center().y());
        else if (v && p.y() > view.bottom())
            press = QPoint(v->rect.center().x(), v->rect.bottom() - 5);
        else if (v && p.y() < view.top())
            press = QPoint(v->rect.center().x(), v->rect.top() + 5);
        else
            break;
        for (int i = 0; i < 4; ++i)
            ClickAt(press);
        map = Map();
        // The same item, wherever it is now.
        bool found = false;
        for (const UiItem &i : map.items)
            if (i.kind == target.kind && i.path == target.path && i.cls == target.cls && i.text == target.text) {
                target = i;
                found = true;
                break;
            }
        if (!found)
            break;
    }
    if (why)
        *why = QStringLiteral("%1 %2 \"%3\" cannot be brought into view").arg(target.kind, target.path, target.text);
    return false;
}

bool Desk::Type(const QString &text)
{
    Note(QStringLiteral("type \"%1\"").arg(text));
    const bool ok = Xdo({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("30"), text});
    Acted();
    return ok;
}

bool Desk::Key(const QString &combination)
{
    Note(QStringLiteral("key %1").arg(combination));
    const bool ok = Xdo({QStringLiteral("key"), combination});
    Acted();
    return ok;
}

QString Desk::ActiveWindow() const
{
    const xtest::RunResult r = m_x->Run(QStringLiteral("xdotool"), {QStringLiteral("getactivewindow")}, 5000);
    return r.finished && r.exitCode == 0 ? r.out.trimmed() : QString();
}

QString Desk::WindowState(const QString &windowId) const
{
    const xtest::RunResult r = m_x->Run(QStringLiteral("xprop"), {QStringLiteral("-id"), windowId, QStringLiteral("WM_STATE")}, 5000);
    if (!r.finished || r.exitCode != 0)
        return QString();
    static const QRegularExpression state(QStringLiteral("window state: (\\w+)"));
    return state.match(r.out).captured(1);
}

QString Desk::Screenshot(const QString &name) const
{
    const QString file = m_shotsDir + QLatin1Char('/') + name + QStringLiteral(".png");
    m_x->Run(QStringLiteral("import"), {QStringLiteral("-window"), QStringLiteral("root"), file}, 20000);
    return file;
}

// ---- the database, from outside --------------------------------------------------------------

bool SqlCipher(const QString &file, const QString &key, const QString &statements, QList<QStringList> *rows,
               QString *error)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::SeparateChannels);
    p.start(QStringLiteral("sqlcipher"), {QStringLiteral("-batch"), QStringLiteral("-bail"), file});
    if (!p.waitForStarted(10000)) {
        if (error)
            *error = QStringLiteral("sqlcipher did not start: ") + p.errorString();
        return false;
    }
    QString script = QStringLiteral("PRAGMA key = '%1';\n").arg(QString(key).replace(QLatin1Char('\''), QStringLiteral("''")));
    script += QStringLiteral(".mode list\n.separator \"\\t\"\n.nullvalue <NULL>\n");
    script += statements;
    if (!script.endsWith(QLatin1Char('\n')))
        script += QLatin1Char('\n');
    p.write(script.toUtf8());
    p.closeWriteChannel();
    if (!p.waitForFinished(30000)) {
        p.kill();
        p.waitForFinished(5000);
        if (error)
            *error = QStringLiteral("sqlcipher did not finish");
        return false;
    }
    const QString out = QString::fromUtf8(p.readAllStandardOutput());
    const QString err = QString::fromUtf8(p.readAllStandardError()).trimmed();
    if (p.exitCode() != 0 || !err.isEmpty()) {
        if (error)
            *error = QStringLiteral("sqlcipher (exit %1): %2").arg(p.exitCode()).arg(err);
        return false;
    }
    if (rows) {
        rows->clear();
        for (const QString &line : out.split(QLatin1Char('\n')))
            if (!line.isEmpty())
                *rows << line.split(QLatin1Char('\t'));
    }
    return true;
}

} // namespace e2e
