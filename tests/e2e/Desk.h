#pragma once
// What the end-to-end test needs to use the real program as a person would: the program's
// window map (TARV_UI_MAP) read back, to know where things are and what they show; the mouse
// and keyboard through xdotool on the test's X server; screenshots; the program's process.
//
// The window map is only ever read. Everything the test does to the program goes through the
// X server, as clicks and key strokes.
#include "tests/xserver/XServer.h"

#include <QDateTime>
#include <QList>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRect>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

namespace e2e {

// One line of the window map: "kind path class x y w h enabled text extra".
struct UiItem {
    QString kind;   // window, widget, item, cell, action, tray
    QString path;   // objectNames from the top window down, joined by "/"
    QString cls;    // class name; "row,col" for cells; "node" for tree rows; "menu"/"menubar"
    QRect rect;     // global screen pixels
    bool enabled = false;
    QString text;
    QString extra;  // window id, the action's objectName; tree rows: "selected", "checked"
    int depth = 0;  // tree rows: 0 for a top node, 1 below it ... (worked out from the indent)
    QString treePath; // tree rows: the texts from the top node down, joined by " / "

    QPoint Centre() const { return rect.center(); }
    int Row() const { return cls.section(QLatin1Char(','), 0, 0).toInt(); }
    int Col() const { return cls.section(QLatin1Char(','), 1, 1).toInt(); }
    // The text without the "&" of an accelerator.
    QString Plain() const;
};

class UiMap {
public:
    QList<UiItem> items;
    QDateTime written;
    bool stale = false; // no map was written after the last action (the program is busy)

    bool Empty() const { return items.isEmpty(); }
    // The window or widget whose path is name or ends with "/" + name (first match).
    const UiItem *Widget(const QString &name) const;
    bool Has(const QString &name) const { return Widget(name) != nullptr; }
    QString Text(const QString &name) const;
    // The cells of the grid whose path ends with grid.
    QList<UiItem> Cells(const QString &grid) const;
    const UiItem *Cell(const QString &grid, const QString &text, int col = -1) const;
    int RowOf(const QString &grid, const QString &text, int col) const;
    // The rows of the tree whose path ends with tree, with their depth and tree path.
    QList<UiItem> TreeRows(const QString &tree) const;
    std::optional<UiItem> TreeRow(const QString &tree, const QString &treePath) const;
    // A menu item (of a popup menu or a menu bar) by its objectName or its text without "&".
    const UiItem *Action(const QString &nameOrText, const QString &cls = QString()) const;
    const UiItem *Tray() const;
    // A point of the tray icon that no balloon covers, as a person would aim at the part of
    // the icon they can see (the centre when nothing lies over it).
    QPoint TrayPoint() const;
    // The part of item that is not cut off by the windows and areas it lies in (its
    // ancestors in the map, less the scroll bars of a scrolled area). Empty when none.
    QRect VisibleRect(const UiItem &item) const;
    // The scrolled area around item whose scroll bars move it into view ("" when none).
    QString ScrollAreaOf(const UiItem &item) const;
    // The whole map as text, for failure messages.
    QString Dump() const;
};

UiMap ReadUiMap(const QString &file);

// Text as the map shows it: line breaks (CR LF or LF) become the two characters "\n".
QString AsShown(QString text);

// One start of the program. The destructor kills what is still running.
class Program {
public:
    Program() = default;
    ~Program();
    Program(const Program &) = delete;
    Program &operator=(const Program &) = delete;

    bool Start(const QString &binary, const QProcessEnvironment &env, QString *error);
    bool Running() const;
    // Waits for the end; false when it has not ended within timeoutMs.
    bool WaitForEnd(int timeoutMs);
    int ExitCode() const { return m_process ? m_process->exitCode() : -1; }
    QProcess::ExitStatus ExitStatus() const { return m_process ? m_process->exitStatus() : QProcess::CrashExit; }
    qint64 Pid() const { return m_process ? m_process->processId() : 0; }
    // What the program printed so far.
    QString Output();
    // Resident memory in kB (VmRSS), 0 when unknown.
    long ResidentKb() const;
    void Kill();

private:
    std::unique_ptr<QProcess> m_process;
    QString m_output;
};

// The person at the desk: sees the map, moves the mouse, types, presses keys.
class Desk {
public:
    Desk(xtest::XServer *x, QString mapFile, QString shotsDir);

    // A map written after the last action of the desk (waits for one at most timeoutMs).
    UiMap Map(int timeoutMs = 3000);
    // Polls fresh maps until pred holds; the last map is left in *last. False at the limit.
    bool WaitFor(const std::function<bool(const UiMap &)> &pred, int timeoutMs, UiMap *last = nullptr);

    // Mouse and keys, as a person would use them.
    // Clicks the middle of what is visible of item (or the point leftOffset pixels from its
    // left edge, half way down); scrolls its area with the area's scroll
    // bars first when the item lies out of view. False when it could not be brought into view.
    bool Click(const UiItem &item, int button = 1, QString *why = nullptr, int leftOffset = -1);
    bool ClickAt(QPoint p, int button = 1);
    bool DoubleClickAt(QPoint p);
    bool Type(const QString &text);
    bool Key(const QString &combination);
    QString ActiveWindow() const;
    // What the window manager does with a window (its WM_STATE): "Normal", "Iconic" (the
    // window is minimised), "Withdrawn", or "" when unknown.
    QString WindowState(const QString &windowId) const;

    // A screenshot of the whole screen into the shots folder, named name.png.
    QString Screenshot(const QString &name) const;

    // Marks "now" as the moment of an action: the next Map() is newer than it.
    void Acted();

    xtest::XServer *X() const { return m_x; }
    // What the person did, one line per action with its time, for failure messages.
    QString History() const { return m_history.join(QLatin1Char('\n')); }
    void Note(const QString &what);

private:
    bool Xdo(const QStringList &args) const;
    bool MoveTo(QPoint p);

    xtest::XServer *m_x;
    QString m_mapFile;
    QString m_shotsDir;
    QDateTime m_lastAction;
    QStringList m_history;
    QPoint m_pointer{-1, -1};
};

// Runs the sqlcipher command-line tool on file with the key and the statements; the rows come
// back as lists of fields. *error gets the tool's complaint when it fails.
bool SqlCipher(const QString &file, const QString &key, const QString &statements,
               QList<QStringList> *rows, QString *error);

} // namespace e2e
